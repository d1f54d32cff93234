#include "core/calendarimport.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/dates.h"
#include "core/numtext.h"
#include "core/record.h"
#include "core/schema.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int kConstraintFailed = 19;  // the store's primary code for a refused value

bool SameName(const std::string& a, const std::string& b) { return db::FoldCase(a) == db::FoldCase(b); }

// Where each written column comes from: a source column, or a rule.
enum class From { Source, Hr24Rule, DayColorsRule, JulDateRule, DateRule };

struct ColumnPlan {
    std::string name;
    From from = From::Source;
    int source = -1;
    // Font, Priority, DayColors and Hr24 are the file's own extras: a value the
    // open calendar cannot hold gives way to the rule or the table's default
    // rather than refusing the row.
    const ColumnDef* extra = nullptr;
};

struct CopyPlan {
    std::vector<ColumnPlan> columns;
    int date = -1, hour = -1, minute = -1, ampm = -1, text = -1, fg = -1, bg = -1, jul = -1, hr24 = -1;  // source indexes
};

int Find(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (SameName(names[i], name)) return static_cast<int>(i);
    return -1;
}

CopyPlan MakePlan(const std::vector<std::string>& sourceNames, const std::vector<std::string>& targetNames) {
    CopyPlan p;
    p.date = Find(sourceNames, "Date");
    p.hour = Find(sourceNames, "Hour");
    p.minute = Find(sourceNames, "Minute");
    p.ampm = Find(sourceNames, "AM_PM");
    p.text = Find(sourceNames, "DateText");
    p.fg = Find(sourceNames, "FGColor");
    p.bg = Find(sourceNames, "BGColor");
    p.jul = Find(sourceNames, "JulDate");
    p.hr24 = Find(sourceNames, "Hr24");
    const TableDef& table = FindTable(CalendarTables(), "Velmora");
    for (const std::string& t : targetNames) {
        if (SameName(t, "ID")) continue;
        ColumnPlan c{t, From::Source, Find(sourceNames, t)};
        for (const char* extra : {"Font", "Priority", "DayColors", "Hr24"})
            if (SameName(t, extra))
                for (const ColumnDef& d : table.columns)
                    if (d.name == extra) c.extra = &d;
        // Hr24, the day key and the colours: the source's value when it has one.
        if (SameName(t, "Date")) c.from = From::DateRule;
        else if (SameName(t, "Hr24")) c.from = From::Hr24Rule;
        else if (SameName(t, "JulDate")) c.from = From::JulDateRule;
        else if (SameName(t, "DayColors")) c.from = From::DayColorsRule;
        else if (c.source >= 0) c.from = From::Source;
        else continue;  // a column the source lacks keeps the table's default
        p.columns.push_back(c);
    }
    return p;
}

std::string Bracketed(const std::string& name) { return "[" + name + "]"; }

db::Value At(const db::Statement& st, int index) { return index >= 0 ? st.column(index) : db::Value{}; }

// The day of a source row's Date, read as a typed date ("3/15/2024", the ISO
// form; a time after the day is passed over). nullopt when it names no day.
std::optional<CivilDate> SourceDay(const db::Statement& st, const CopyPlan& p) {
    const db::Value v = At(st, p.date);
    if (db::IsNull(v)) return std::nullopt;
    std::string t = Trim(db::AsText(v));
    t = t.substr(0, t.find_first_of(" T"));
    return ReadTypedDate(t);
}

// Whether a value fits a column of the open calendar: a byte within 0..255,
// a text within its length.
bool Fits(const db::Value& v, const ColumnDef& c) {
    if (db::IsNull(v)) return true;
    if (c.kind == ColKind::Byte) {
        if (std::holds_alternative<std::string>(v)) return false;
        const int64_t n = db::AsInt(v);
        return n >= 0 && n <= 255 && (!std::holds_alternative<double>(v) || std::get<double>(v) == double(n));
    }
    if (c.kind == ColKind::Text) return CharCount(db::AsText(v)) <= static_cast<size_t>(c.size);
    return true;
}

db::Value Hr24Of(const db::Statement& st, const CopyPlan& p) {
    const auto h = Hr24Rule(static_cast<int>(db::AsInt(At(st, p.hour))), db::AsText(At(st, p.ampm)), std::nullopt);
    return h && *h >= 0 && *h <= 255 ? db::Int(*h) : db::Value{};
}

db::Value ColoursOf(const db::Statement& st, const CopyPlan& p) {
    // Black on white for colours that are not there.
    const db::Value f = At(st, p.fg), b = At(st, p.bg);
    const std::string fg = db::IsNull(f) ? "0" : db::AsText(f), bg = db::IsNull(b) ? "16777215" : db::AsText(b);
    return db::Text(fg + ";" + bg + ";" + fg + ";" + bg + ";3;3");
}

db::Value Value(const db::Statement& st, const CopyPlan& p, const ColumnPlan& c, const CivilDate& day) {
    const db::Value own = At(st, c.source);
    const bool usable = !db::IsNull(own) && (!c.extra || Fits(own, *c.extra));
    switch (c.from) {
        case From::Source: return usable || !c.extra ? own : db::Value{};
        case From::Hr24Rule: return usable ? own : Hr24Of(st, p);
        case From::DayColorsRule: return usable ? own : ColoursOf(st, p);
        case From::JulDateRule: return db::Int(Date2Julian(day));
        case From::DateRule: return db::Text(FormatIso(day));
    }
    return {};
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

}  // namespace

namespace {

// "date: text" lines of the listed rows, then "and N more".
std::string ListedRows(const std::vector<RefusedRow>& rows, int count, bool quoteDate) {
    std::string text;
    for (const RefusedRow& r : rows) {
        std::string date = r.date.substr(0, 10);
        if (quoteDate) date = "\"" + r.date.substr(0, 30) + "\"";
        else if (const auto d = ParseIso(date)) date = FormatMDY(*d);
        std::string shown = r.text.substr(0, 60);
        for (char& c : shown)
            if (c == '\r' || c == '\n') c = ' ';
        if (shown.size() < r.text.size()) {
            while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80) shown.pop_back();
            if (!shown.empty() && static_cast<unsigned char>(shown.back()) >= 0xC0) shown.pop_back();
            shown += "...";
        }
        text += "\r\n" + date + ": " + shown;
    }
    const int listed = static_cast<int>(rows.size());
    if (count > listed) text += "\r\nand " + std::to_string(count - listed) + " more";
    return text;
}

std::string Records(int n) { return std::to_string(n) + (n == 1 ? " record was" : " records were"); }

}  // namespace

std::string RefusedRowsMessage(const CalendarImportResult& result) {
    std::string text;
    if (result.refusedCount > 0)
        text = Records(result.refusedCount) + " not imported: the open calendar cannot hold their values." +
               ListedRows(result.refused, result.refusedCount, false);
    if (result.unreadableCount > 0)
        text += (text.empty() ? "" : "\r\n") + Records(result.unreadableCount) +
                " not imported: their Date cannot be read as a day." +
                ListedRows(result.unreadable, result.unreadableCount, true);
    return text;
}

CalendarImportResult ImportCalendarRows(const std::string& sourcePath, const std::string& targetPath,
                                        bool importDuplicates, Operation& op,
                                        const std::function<bool(int64_t, int64_t)>& progress) {
    CalendarImportResult result;
    std::shared_ptr<db::Database> source, target;
    std::unique_ptr<db::Transaction> tx;
    std::optional<db::Statement> read, insert, duplicate;
    CopyPlan plan;

    const bool opened = op.step(1, [&] {
        if (SameFile(sourcePath, targetPath))
            throw OpError(75, "\"" + sourcePath + "\" is the open calendar file; choose another file to import from.");
        source = db::Database::Open(sourcePath);
        if (!source->hasTable("Velmora"))
            throw db::DbError(db::kWrongKind, "\"" + sourcePath + "\" is not a Velmora calendar file: it has no [Velmora] table.");
        target = OpenStore(targetPath, DbKind::Calendar);
        // Room for the whole import's changed pages, so they are not spilled before the commit.
        target->exec("PRAGMA cache_size = -131072");
        read.emplace(source->prepare("SELECT * FROM [Velmora]"));
        std::vector<std::string> sourceNames;
        for (int i = 0; i < read->columnCount(); ++i) sourceNames.push_back(read->columnName(i));
        plan = MakePlan(sourceNames, target->columns("Velmora"));

        std::string names, marks;
        for (const ColumnPlan& c : plan.columns) {
            names += (names.empty() ? "" : ", ") + Bracketed(c.name);
            marks += marks.empty() ? "?" : ", ?";
        }
        insert.emplace(target->prepare("INSERT INTO [Velmora] (" + names + ") VALUES (" + marks + ")"));
        // The day key narrows the search to one day through its index. A
        // record at another time of that day (9 PM beside 9 AM, 9:30 beside
        // 9:00) is no duplicate; a record without a time (hour 0) has no
        // minute or half of the day to differ by, and no minute is minute 0.
        duplicate.emplace(target->prepare(
            "SELECT 1 FROM [Velmora] WHERE [JulDate] IS ?1 AND [Date] IS ?2 AND [Hour] IS ?3 "
            "AND (IFNULL([Hour], 0) = 0 OR (([Minute] IS ?4 OR (IFNULL([Minute], 0) = 0 AND IFNULL(?4, 0) = 0)) "
            "AND FOLD(IFNULL([AM_PM], '')) = FOLD(?5))) "
            "AND FOLD(IFNULL([DateText], '')) = FOLD(?6) LIMIT 1"));
        tx = std::make_unique<db::Transaction>(*target);
    });
    if (!opened || !tx) return result;

    std::vector<db::Value> row(plan.columns.size());
    int64_t total = 0;
    if (progress) {
        auto count = source->prepare("SELECT COUNT(*) FROM [Velmora]");
        if (count.step()) total = db::AsInt(count.column(0));
    }
    for (int64_t seen = 0;; ++seen) {
        bool more = false, readFailed = true;
        op.step(2, [&] {
            more = read->step();
            readFailed = false;
        });
        if (readFailed || op.ended()) return CalendarImportResult{};  // a source that cannot be read keeps nothing
        if (!more) break;
        if (progress && seen % 256 == 0 && !progress(seen, total)) {
            CalendarImportResult cancelled;
            cancelled.cancelled = true;
            return cancelled;
        }
        op.step(2, [&] {
            const std::optional<CivilDate> day = SourceDay(*read, plan);
            if (!day) {
                // A row without a readable Date would never show in any view: named, not copied.
                if (result.unreadable.size() < kListedRefused)
                    result.unreadable.push_back(
                        {db::AsText(At(*read, plan.date)), db::AsText(At(*read, plan.text)), "no date"});
                ++result.unreadableCount;
                return;
            }
            if (!importDuplicates) {
                duplicate->reset();
                duplicate->bindAll({db::Int(Date2Julian(*day)), db::Text(FormatIso(*day)), At(*read, plan.hour),
                                    At(*read, plan.minute), db::Text(db::AsText(At(*read, plan.ampm))),
                                    db::Text(db::AsText(At(*read, plan.text)))});
                const bool exists = duplicate->step();
                duplicate->reset();
                if (exists) {
                    ++result.skipped;
                    return;
                }
            }
            for (size_t i = 0; i < plan.columns.size(); ++i) row[i] = Value(*read, plan, plan.columns[i], *day);
            try {
                insert->reset();
                insert->bindAll(row);
                insert->run();
                ++result.added;
            } catch (const db::DbError& e) {
                // A value the open calendar cannot hold (a constraint of its
                // columns): the row is left out and named.
                if ((e.number() & 0xFF) != kConstraintFailed) throw;
                insert->reset();
                if (result.refused.size() < kListedRefused)
                    result.refused.push_back(
                        {db::AsText(At(*read, plan.date)), db::AsText(At(*read, plan.text)), e.what()});
                ++result.refusedCount;
            }
        });
        if (op.ended()) return CalendarImportResult{};
    }
    read.reset();
    bool committed = false;
    op.step(3, [&] {
        tx->commit();
        committed = true;
    });
    if (!committed) return CalendarImportResult{};
    result.done = true;
    return result;
}

}  // namespace vm
