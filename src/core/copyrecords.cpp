#include "core/copyrecords.h"

#include "core/numtext.h"
#include "core/schema.h"

namespace vm {
namespace {

constexpr const char* kOrigYear = "Orig Year";
constexpr const char* kNewYear = "New Year";
constexpr const char* kNewType = "New Type";

}  // namespace

std::optional<int> ReadCopyYear(const std::string& text) {
    // The year of a typed date, by the same rules as every date typed.
    const std::optional<CivilDate> d = ReadTypedDate("1/1/" + Trim(text));
    if (!d) return std::nullopt;
    return d->y;
}

std::string CopyRefusal(const CopyRequest& r) {
    if (r.newYear != kNewYear && !Trim(r.newYear).empty() && !ReadCopyYear(r.newYear))
        return "\"" + r.newYear + "\" is not a year. Type the year as 1 to 4 digits (two digits read 1930 to 2029).";
    const size_t width = RecordTextWidth("DateType");
    if (r.newType != kNewType && width && CharCount(r.newType) > width)
        return "The New Type Text Can Not Be Longer Than " + std::to_string(width) + " Characters.";
    return "";
}

bool CopyHasNothingToDo(const CopyRequest& r) {
    return r.origYear == kOrigYear && r.newYear == kNewYear && r.newType == kNewType;
}

CopyDecision DecideCopy(const CopyRequest& r, const CivilDate& date, const std::optional<std::string>& dateType) {
    CopyDecision d;
    const std::optional<int> orig = ReadCopyYear(r.origYear);
    const std::optional<int> newYear = ReadCopyYear(r.newYear);
    const bool yearMode = orig && newYear;
    const bool typeMode = r.newType != kNewType;
    const bool ofOrigYear = orig && date.y == *orig;
    if (!typeMode && (!ofOrigYear || (dateType && *dateType != r.oldType))) return d;
    if (!yearMode && !typeMode) return d;
    if (newYear && ofOrigYear) {
        if (date.m == 2 && date.d == 29 && !LeapYears(*newYear)) {
            d.leapDayLost = true;
            return d;
        }
        d.newDate = CivilDate{*newYear, date.m, date.d};
    }
    if (typeMode && dateType && db::FoldCase(*dateType) == db::FoldCase(r.oldType)) d.newType = r.newType;
    d.copy = true;
    return d;
}

CopyOutcome CopyListedRecords(db::Database& store, const db::RecordSource& listed, const CopyRequest& request) {
    // The columns both tables share, by name, ID left to the engine.
    std::vector<std::string> columns;
    std::vector<int> from;
    for (const std::string& c : store.columns("Velmora")) {
        if (ToLower(c) == "id") continue;
        for (int i = 0; i < listed.fieldCount(); ++i)
            if (ToLower(listed.fieldName(i)) == ToLower(c)) {
                columns.push_back(c);
                from.push_back(i);
            }
    }
    auto index = [&](const char* name) {
        for (size_t i = 0; i < columns.size(); ++i)
            if (ToLower(columns[i]) == ToLower(name)) return static_cast<int>(i);
        return -1;
    };
    const int dateAt = index("Date"), julAt = index("JulDate"), typeAt = index("DateType"), textAt = index("DateText");
    std::string names, marks;
    for (size_t i = 0; i < columns.size(); ++i) {
        names += (i ? ", [" : "[") + columns[i] + "]";
        marks += i ? ", ?" : "?";
    }

    CopyOutcome out;
    db::Transaction transaction(store);
    // The copies are appended in the listing's order, all or none. The
    // listing holds the rows it read (by their row numbers), so it never
    // meets a copy. The occurrences stay as they are: the pass that follows
    // writes only the copies' (on a large calendar, emptying them meant
    // minutes of writing them all again).
    db::Statement insert = store.prepare("INSERT INTO [Velmora] (" + names + ") VALUES (" + marks + ")");
    std::vector<db::Value> row(columns.size());
    for (int r = 0; r < listed.recordCount(); ++r) {
        for (size_t i = 0; i < columns.size(); ++i) row[i] = listed.valueAt(r, from[i]);
        CivilDate date{};
        if (dateAt >= 0)
            if (auto d = ReadStoredDate(db::AsText(row[size_t(dateAt)]))) date = *d;
        const db::Value* type = typeAt >= 0 ? &row[size_t(typeAt)] : nullptr;
        std::optional<std::string> typeText;
        if (type && !db::IsNull(*type)) typeText = db::AsText(*type);
        const CopyDecision decision = DecideCopy(request, date, typeText);
        if (decision.leapDayLost) {
            out.leapDaysSkipped.push_back(FormatMDY(date) + (textAt >= 0 ? " " + db::AsText(row[size_t(textAt)]) : ""));
            continue;
        }
        if (!decision.copy) continue;
        if (decision.newDate && dateAt >= 0) {
            row[size_t(dateAt)] = db::Text(FormatIso(*decision.newDate));
            if (julAt >= 0) row[size_t(julAt)] = db::Int(Date2Julian(*decision.newDate));
        }
        if (decision.newType && typeAt >= 0) row[size_t(typeAt)] = db::Text(*decision.newType);
        insert.bindAll(row);
        insert.run();
        ++out.copied;
    }
    transaction.commit();
    return out;
}

}  // namespace vm
