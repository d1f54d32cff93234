#include "repeat/repeatpass.h"

#include <memory>
#include <optional>
#include <tuple>
#include <unordered_set>

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

// A rule problem with what its box names of the record.
struct ShownProblem {
    ProblemKind kind;
    int64_t ID;
    std::string DateText, Repeat;
};

void ShowProblems(const std::vector<ShownProblem>& problems, const RepeatPassHooks& hooks) {
    // Records whose Date cannot be read get no rows: one box names them all.
    std::string unreadable;
    int unreadableCount = 0;
    for (const ShownProblem& p : problems)
        if (p.kind == ProblemKind::UnreadableDate && ++unreadableCount <= 10)
            unreadable += "\r\n  ID " + std::to_string(p.ID) + ": " + p.DateText;
    if (unreadableCount > 10) unreadable += "\r\n  ... and " + std::to_string(unreadableCount - 10) + " more";
    if (unreadableCount > 0)
        InfoBox("The Date of these records cannot be read, so they are not repeated:" + unreadable,
                "Unreadable Date");
    for (const ShownProblem& p : problems) {
        const std::string& rule = p.Repeat;
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

// What the pass does with one record of its query.
enum class Action : uint8_t {
    Keep,    // its rows stand
    Report,  // its rows stand; its rule problems are shown again
    Write,   // its rows are written (again)
};

// More changed records than this share of all rewrite the whole table: its
// indexes are then built once instead of kept up to date row by row.
constexpr int64_t kWholeShare = 3;

class Pass {
public:
    Pass(Operation& op, db::RecordSource& DataDates, const RepeatPassHooks& hooks, RepeatPassResult& result)
        : op_(op), dates_(DataDates), hooks_(hooks), result_(result), db_(DataDates.database()) {}

    void Run() {
        if (!ok(21, [&] { Plan(); })) return;
        if (!whole_ && writes_ == 0 && gone_.empty() && state_.births == births_) {
            // Nothing to write: the problems of the rules are shown again.
            if (reports_ > 0 && !ok(2, [&] { Expand(/*write=*/false); })) return;
            ShowProblems(problems_, hooks_);
            dates_.moveFirst();
            return;
        }
        if (!ok(1, [&] { Write(); })) return;
        ShowProblems(problems_, hooks_);
        if (alarmsWritten_)
            ok(19, [&] {
                dates_.refresh();  // the Alarm fields as written
                if (hooks_.refreshDateGrid) hooks_.refreshDateGrid();
            });
        else
            dates_.moveFirst();
    }

private:
    template <class Fn>
    bool ok(int point, Fn&& fn) {  // one report at most: after a failure the pass goes to its end
        return op_.step(point, fn) && op_.lastError() == 0;
    }

    // The grid's record at `index` of the pass's order, when it is still the
    // planned one.
    std::optional<DateRecord> RecordAt(size_t index) {
        dates_.setAbsolutePosition(static_cast<int>(index));
        if (dates_.eof() || dates_.bof()) return std::nullopt;
        DateRecord r = ReadDateRecord(dates_);
        if (r.ID != planned_[index].id) return std::nullopt;
        return r;
    }

    // The birth date a record's remembrance text finds now (as a day number).
    int32_t BirthOf(size_t index) {
        const std::optional<DateRecord> r = RecordAt(index);
        return r ? BirthOf(*r) : -1;
    }
    int32_t BirthOf(const DateRecord& r) {
        if (!lookup_) lookup_ = MakeBirthLookup(db_);
        int32_t found = 0;
        PrepareRemembrance(r.DateType, r.DateText, r.Date, [&](const std::string& name) {
            const std::optional<CivilDate> birth = lookup_(name);
            if (birth) found = Date2Julian(*birth);
            return birth;
        });
        return found;
    }

    // Decides each record's action from what the pass read last time.
    void Plan() {
        for (int i = 0; i < dates_.fieldCount(); ++i) sourceColumns_.push_back(dates_.fieldName(i));
        const RepeatInputs inputs{StartRepeatYear(), Module1.OptCalcYearsSince};
        inputs_ = InputsFingerprint(db_, inputs, sourceColumns_);
        births_ = BirthsFingerprint(db_, inputs.calcYearsSince);
        if (auto kept = LoadRepeatState(db_)) state_ = std::move(*kept);
        whole_ = state_.inputs != inputs_ || RepeatingBounds(db_) != std::pair(state_.firstRow, state_.lastRow);
        const bool birthsMoved = state_.births != births_;

        // The rows are streamed from the store, so the grid's records are read
        // only where a record is written.
        auto rows = db_.prepare(std::string(kRepeatPassSQL) + kRepeatPassOrder);
        std::vector<std::string> names;
        for (int c = 0; c < rows.columnCount(); ++c) names.push_back(rows.columnName(c));
        const RecordFingerprinter fingerprint(names);
        const auto field = [&rows](int c) { return rows.column(c); };
        std::unordered_set<int64_t> ids;
        while (rows.step()) {
            const int64_t id = fingerprint.IdOf(field);
            const size_t i = planned_.size();
            planned_.push_back({id, Action::Write});
            if (!ids.insert(id).second) whole_ = true;  // IDs not unique: no record can be told apart
            if (whole_) continue;
            const auto kept = state_.records.find(id);
            if (kept == state_.records.end()) continue;
            RecordState& k = kept->second;
            k.seen = true;
            if (k.fingerprint != fingerprint.Of(field) || (k.usesBirths && birthsMoved && BirthOf(i) != k.birth)) {
                replaced_.push_back(id);
                continue;
            }
            planned_[i].action = k.problems ? Action::Report : Action::Keep;
        }
        if (static_cast<int>(planned_.size()) != dates_.recordCount()) whole_ = true;  // changed meanwhile
        if (!whole_)
            for (const auto& [id, k] : state_.records)
                if (!k.seen) gone_.push_back(id);
        for (const Planned& p : planned_) {
            writes_ += p.action == Action::Write;
            reports_ += p.action == Action::Report;
        }
        if (!whole_ && writes_ * kWholeShare > static_cast<int64_t>(planned_.size()) && writes_ > 100) whole_ = true;
        if (whole_) {
            for (Planned& p : planned_) p.action = Action::Write;
            writes_ = static_cast<int64_t>(planned_.size());
            gone_.clear();
            replaced_.clear();
        }
    }

    // Expands the records that are to be written (and, with `write`, writes
    // them) or reported, in the order of the pass's query.
    void Expand(bool write, ExpansionWriter* writer = nullptr, RepeatBook* book = nullptr) {
        RepeatOptions options;
        options.startYear = StartRepeatYear();
        options.calcYearsSince = Module1.OptCalcYearsSince;
        bool askedBirth = false;
        int32_t birth = 0;
        if (options.calcYearsSince) {
            if (!lookup_) lookup_ = MakeBirthLookup(db_);
            options.birthDateOf = [&askedBirth, &birth, this](const std::string& name) {
                askedBirth = true;
                const std::optional<CivilDate> found = lookup_(name);
                if (found) birth = Date2Julian(*found);
                return found;
            };
        }
        std::unique_ptr<db::Statement> alarm;
        if (write) alarm = std::make_unique<db::Statement>(db_.prepare("UPDATE [Velmora] SET [Alarm] = ? WHERE [ID] = ?"));
        const int64_t total = (write ? writes_ : 0) + reports_;
        std::vector<std::string> names;
        for (int c = 0; c < dates_.fieldCount(); ++c) names.push_back(dates_.fieldName(c));
        const RecordFingerprinter fingerprint(names);
        const auto field = [this](int c) { return dates_.field(c); };
        int64_t done = 0, shownPercent = -1;
        for (size_t i = 0; i < planned_.size(); ++i) {
            const Action action = planned_[i].action;
            if (action == Action::Keep || (action == Action::Write && !write)) continue;
            std::optional<DateRecord> read = RecordAt(i);
            if (!read) {  // the grid's records changed since: the next pass starts afresh
                unsure_ = true;
                continue;
            }
            DateRecord& r = *read;
            askedBirth = false;
            birth = 0;
            const Expansion e = ExpandRepeats(std::span<const DateRecord>(&r, 1), options);
            for (const Problem& p : e.problems) problems_.push_back({p.kind, r.ID, r.DateText, r.Repeat});
            if (action == Action::Write) {
                // The record's rows carry the alarm list the pass writes on it.
                bool newAlarm = false;
                for (const AlarmList& a : e.alarms) {
                    if (a.Alarm != r.Alarm) {
                        alarm->bind(1, db::Text(a.Alarm)).bind(2, db::Int(a.ID));
                        alarm->run();
                        r.Alarm = a.Alarm;
                        newAlarm = alarmsWritten_ = true;
                    }
                }
                RecordState s;
                std::tie(s.firstRow, s.rows) = writer->Write(r, e);
                s.fingerprint = fingerprint.Of(field, newAlarm ? &r.Alarm : nullptr);
                s.problems = !e.problems.empty();
                s.usesBirths = askedBirth;
                s.birth = birth;
                book->Put(r.ID, s);
                ++result_.records;
            }
            ++done;
            if (hooks_.progress && total > 0 && done * 100 / total != shownPercent) {
                shownPercent = done * 100 / total;
                hooks_.progress(done, total);
            }
        }
    }

    void RemoveRows(db::Statement& drop, const RecordState& k) {
        drop.bind(1, db::Int(k.firstRow)).bind(2, db::Int(k.firstRow + k.rows - 1));
        drop.run();
        result_.rowsRemoved += db_.changes();
    }

    void Write() {
        result_.whole = whole_;
        PassCache cache(db_, 8 * 1024);
        db::Transaction tx(db_);
        std::optional<RepeatingIndexes> indexes;
        if (whole_) {
            db_.exec("DELETE FROM [RepeatingData]");
            result_.rowsRemoved = db_.changes();
            indexes.emplace(db_);
        }
        RepeatBook book(db_, whole_);
        if (!whole_) {  // the old rows of the records that went or changed
            auto drop = db_.prepare("DELETE FROM [RepeatingData] WHERE rowid BETWEEN ? AND ?");
            for (int64_t id : gone_) book.Remove(id);
            for (const auto* ids : {&gone_, &replaced_})
                for (int64_t id : *ids)
                    if (const RecordState& k = state_.records.at(id); k.rows > 0) RemoveRows(drop, k);
        }
        op_.iErPt = 17;
        ExpansionWriter writer(db_, sourceColumns_);
        Expand(/*write=*/true, &writer, &book);
        const bool numbered = writer.Finish();
        result_.rowsWritten = writer.written();
        if (indexes) {
            cache.set(2 * 1024);
            indexes->Restore();
        }
        op_.iErPt = 19;
        if (numbered && !unsure_) book.Finish(inputs_, births_);
        else RepeatBook::Forget(db_);  // rows numbered otherwise than counted: start afresh next time
        tx.commit();
    }

    Operation& op_;
    db::RecordSource& dates_;
    const RepeatPassHooks& hooks_;
    RepeatPassResult& result_;
    db::Database& db_;
    std::vector<std::string> sourceColumns_;
    std::string inputs_, births_;
    RepeatState state_;
    bool whole_ = false, alarmsWritten_ = false, unsure_ = false;
    struct Planned {
        int64_t id;
        Action action;
    };
    std::vector<Planned> planned_;  // the pass's records in its order
    std::vector<int64_t> gone_, replaced_;
    int64_t writes_ = 0, reports_ = 0;
    std::vector<ShownProblem> problems_;
    BirthLookup lookup_;
};

void RunPass(Operation& op, db::RecordSource& DataDates, const RepeatPassHooks& hooks, RepeatPassResult& result) {
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
    result.ran = true;
    Pass(op, DataDates, hooks, result).Run();
    if (op.lastError() != 0) result.ran = false;  // the failure has had its box
}

}  // namespace

int StartRepeatYear() {
    std::string text = Trim(MainState.txtBeginRepeatYear);
    if (text.empty()) text = Module1.OptStartRepeatYear;
    const double year = Val(text);
    return year > 0 && year < 100000 ? static_cast<int>(RoundHalfEven(year)) : 0;
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
    Operation op("Build Repeating Error", "@Err Pnt: ");
    op.iErPt = 1;
    RepeatPassResult result;
    if (hooks.waitCursor) hooks.waitCursor(true);
    // A read-only calendar keeps the occurrences it has stored.
    if (FileExists(Module1.CalendarFilePath) && !MainState.CalendarReadOnly) RunPass(op, DataDates, hooks, result);
    if (hooks.waitCursor) hooks.waitCursor(false);
    MainState.pRebuildRepeating = false;
    return result;
}

}  // namespace vm
