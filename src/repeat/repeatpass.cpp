#include "repeat/repeatpass.h"

#include <memory>

#include "core/module1.h"
#include "core/numtext.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/steps.h"
#include "repeat/repeatstate.h"
#include "repeat/repeatwrite.h"

namespace vm {
namespace {

CivilDate ReadDate(const db::Value& v) {
    const std::string text = db::AsText(v);
    return ReadStoredDate(text).value_or(CivilDate{});
}

void ShowProblems(const Expansion& e, std::span<const DateRecord> records, const RepeatPassHooks& hooks) {
    // Records whose Date cannot be read get no rows: one box names them all.
    std::string unreadable;
    int unreadableCount = 0;
    for (const Problem& p : e.problems)
        if (p.kind == ProblemKind::UnreadableDate && ++unreadableCount <= 10)
            unreadable += "\r\n  ID " + std::to_string(records[p.record].ID) + ": " + records[p.record].DateText;
    if (unreadableCount > 10) unreadable += "\r\n  ... and " + std::to_string(unreadableCount - 10) + " more";
    if (unreadableCount > 0)
        InfoBox("The Date of these records cannot be read, so they are not repeated:" + unreadable,
                "Unreadable Date");
    for (const Problem& p : e.problems) {
        const std::string& rule = records[p.record].Repeat;
        switch (p.kind) {
            case ProblemKind::InvalidEntry:
                InfoBox("Repeat Type: " + rule + " is Invalid. Should be Every-10 (days)\r\nReplace 10 with your value",
                        "Invalid Repeat Type Entry");
                break;
            case ProblemKind::MonthWeekFormat:
                InfoBox("Repeat Type Incorrectly Entered. Should be like: MonthWeek-2-Mon", "Invalid Repeat Type");
                break;
            case ProblemKind::WeekRuleWord:
                InfoBox("Repeat Type: " + rule + " is Invalid. Should be like: " +
                            (ToLower(rule).starts_with("yearweek") ? "YearWeek-4-Thu-Nov" : "MonthWeek-2-Mon"),
                        "Invalid Repeat Type");
                break;
            case ProblemKind::UnrecognisedType:
                Messages().beep();
                if (hooks.statusText) hooks.statusText(4, "Invalid Repeat Type Selected");
                break;
            case ProblemKind::UnreadableDate: break;  // reported above, all in one box
        }
    }
}

void RunPass(Operation& op, db::RecordSource& DataDates, const RepeatPassHooks& hooks, RepeatPassResult& result) {
    // One report at most: after a failure the pass goes to its end.
    auto ok = [&op](int point, auto&& fn) { return op.step(point, fn) && op.lastError() == 0; };

    if (!ok(1, [&] {
            MainState.pSQL = kRepeatPassSQL;
            MainState.pSQLOrder = kRepeatPassOrder;
            DataDates.setDatabaseName(Module1.CalendarFilePath);
            DataDates.setRecordSource(MainState.pSQL + MainState.pSQLOrder);
            DataDates.refresh();
            if (hooks.refreshDateGrid) hooks.refreshDateGrid();
        }))
        return;

    // Nothing the pass reads has changed since it last wrote [RepeatingData]:
    // the table already holds the very rows it would write.
    const RepeatInputs inputs{StartRepeatYear(), Module1.OptCalcYearsSince};
    const std::optional<RepeatState> kept = MatchingRepeatState(DataDates.database(), inputs, &DataDates);
    if (kept) result = {true, kept->rows, DataDates.recordCount()};
    if (kept && !kept->problems) return;

    std::vector<DateRecord> records;
    std::vector<std::string> sourceColumns;
    if (!ok(21, [&] {
            records = ReadDateRecords(DataDates);
            for (int i = 0; i < DataDates.fieldCount(); ++i) sourceColumns.push_back(DataDates.fieldName(i));
        }))
        return;

    Expansion expansion;
    if (!ok(2, [&] {
            RepeatOptions options;
            options.startYear = StartRepeatYear();
            options.calcYearsSince = Module1.OptCalcYearsSince;
            if (options.calcYearsSince) options.birthDateOf = MakeBirthLookup(DataDates.database());
            expansion = ExpandRepeats(records, options);
        }))
        return;
    ShowProblems(expansion, records, hooks);
    if (kept) {  // the problems shown again, the rows as they were
        DataDates.moveFirst();
        return;
    }

    const auto bookkeeping = [&](db::Database& db) { SaveRepeatState(db, inputs, !expansion.problems.empty()); };
    if (!ok(1, [&] { WriteExpansion(DataDates.database(), sourceColumns, records, expansion, op.iErPt, bookkeeping); }))
        return;
    result = {true, static_cast<int64_t>(expansion.rows.size()), static_cast<int64_t>(records.size())};

    ok(19, [&] {
        DataDates.refresh();  // the Alarm fields as written
        if (hooks.refreshDateGrid) hooks.refreshDateGrid();
    });
}

}  // namespace

int StartRepeatYear() {
    std::string text = Trim(MainState.txtBeginRepeatYear);
    if (text.empty()) text = Module1.OptStartRepeatYear;
    const double year = Val(text);
    return year > 0 && year < 100000 ? static_cast<int>(RoundHalfEven(year)) : 0;
}

std::vector<DateRecord> ReadDateRecords(db::RecordSource& source) {
    std::vector<DateRecord> records;
    records.reserve(static_cast<size_t>(source.recordCount()));
    for (source.moveFirst(); !source.eof(); source.moveNext()) records.push_back(ReadDateRecord(source));
    return records;
}

BirthLookup MakeBirthLookup(db::Database& db) {
    auto query = std::make_shared<db::Statement>(db.prepare(
        "SELECT [DateText], [Date] FROM [Velmora] WHERE instr(FOLD([DateText]), FOLD(?)) > 0 ORDER BY [ID]"));
    return [query](const std::string& name) -> std::optional<CivilDate> {
        if (name.empty()) return std::nullopt;
        query->bind(1, db::Text(name));
        std::optional<CivilDate> birth;
        while (query->step()) {
            if (!ContainsNoCase(db::AsText(query->column(0)), "birth")) continue;
            const CivilDate d = ReadDate(query->column(1));
            if (d.valid()) birth = d;
        }
        query->reset();
        return birth;
    };
}

RepeatPassResult BuildRepeatingData(db::RecordSource& DataDates, const RepeatPassHooks& hooks) {
    RepeatPassResult result;
    Operation op("Build Repeating Error", "@Err Pnt: ");
    op.iErPt = 1;
    if (hooks.waitCursor) hooks.waitCursor(true);
    // A read-only calendar keeps the occurrences it has stored.
    if (FileExists(Module1.CalendarFilePath) && !MainState.CalendarReadOnly) RunPass(op, DataDates, hooks, result);
    if (hooks.waitCursor) hooks.waitCursor(false);
    MainState.pRebuildRepeating = false;
    return result;
}

}  // namespace vm
