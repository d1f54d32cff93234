#include "repeat/repeatpass.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

#include "core/module1.h"
#include "core/numtext.h"
#include "core/sortedmonth.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/steps.h"
#include "repeat/births.h"
#include "repeat/changecount.h"
#include "repeat/repeatstate.h"
#include "repeat/repeatwrite.h"

namespace vm {
namespace {

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
// Fewer rows than this to take out are taken out where they are.
constexpr int64_t kWholeRowsGoing = 10000;
// The records to expand are kept from the plan's one read up to this many;
// past it, and in a whole pass, they are read again while they are expanded.
constexpr size_t kKeptRecords = 20000;
// The share of the progress that the work after the expansion takes (the
// indexes built again, the commit), as a fraction of the records written.
constexpr int64_t kTailShare = 4;

std::string PassQuery() { return std::string(kRepeatPassSQL) + kRepeatPassOrder; }

class Pass {
public:
    Pass(Operation& op, db::Database& db, RepeatCheck check, const RepeatPassHooks& hooks, RepeatPassResult& result)
        : op_(op), db_(db), check_(check), hooks_(hooks), result_(result) {}

    void Run() {
        if (!ok(21, [&] { Plan(); })) return;
        if (unchanged_) return;  // no record changed since the pass: nothing is read
        if (!whole_ && writes_ == 0 && gone_.empty() && strays_.empty() && state_.births == births_.fingerprint() &&
            state_.inputs == inputs_) {
            // Nothing to write: the problems of the rules are shown again.
            if (reports_ > 0 && !ok(2, [&] { Expand(/*write=*/false); })) return;
            ShowProblems(problems_, hooks_);
            if (changes_.watched && changes_.seen != changes_.changes) {
                try {  // the next start finds this out without reading the records
                    RecordChangesSeen(db_, changes_.changes);
                } catch (...) {
                }
            }
            return;
        }
        if (!ok(1, [&] { Write(); })) return;
        wrote_ = whole_ || result_.records > 0 || result_.rowsRemoved > 0 || alarmsWritten_;
        ShowProblems(problems_, hooks_);
    }

    // The pass changed the table or the records: the grid shows them afresh.
    bool wrote() const { return wrote_; }

private:
    template <class Fn>
    bool ok(int point, Fn&& fn) {  // one report at most: after a failure the pass goes to its end
        return op_.step(point, fn) && op_.lastError() == 0;
    }

    // A record to expand, as read by the plan.
    struct Kept {
        size_t index;                 // in the plan's order
        DateRecord record;
        std::vector<db::Value> row;  // its columns, for its fingerprint
    };

    void Keep(const db::Statement& rows, size_t index) {
        if (whole_ || rereadAll_) return;
        if (kept_.size() == kKeptRecords) {
            rereadAll_ = true;
            kept_.clear();
            return;
        }
        Kept& k = kept_.emplace_back();
        k.index = index;
        k.record = ReadDateRecord(rows);
        for (int c = 0; c < rows.columnCount(); ++c) k.row.push_back(rows.column(c));
    }

    // The day number of the birth date a record's remembrance text finds now, 0 for none.
    int32_t BirthOf(const DateRecord& r) {
        int32_t found = 0;
        PrepareRemembrance(r.DateType, r.DateText, r.Date, [&](const std::string& name) {
            const std::optional<CivilDate> birth = births_.Find(name);
            if (birth) found = Date2Julian(*birth);
            return birth;
        });
        return found;
    }

    // Marks the records whose rows in the table are not as many as counted,
    // and finds the rows that belong to no record.
    void CheckRowCounts() {
        auto count = db_.prepare("SELECT count(*) FROM [RepeatingData] WHERE rowid BETWEEN ? AND ?");
        std::vector<std::pair<int64_t, int64_t>> runs;
        int64_t counted = 0;
        for (auto& [id, k] : state_.records) {
            if (k.rows <= 0) continue;
            count.bind(1, db::Int(k.firstRow)).bind(2, db::Int(k.firstRow + k.rows - 1));
            const int64_t n = count.step() ? db::AsInt(count.column(0)) : -1;
            count.reset();
            counted += n;
            k.damaged = n != k.rows;
            runs.emplace_back(k.firstRow, k.firstRow + k.rows - 1);
        }
        auto all = db_.prepare("SELECT count(*) FROM [RepeatingData]");
        if (!all.step() || db::AsInt(all.column(0)) == counted) return;
        // The rows between the records' runs are another writer's.
        std::sort(runs.begin(), runs.end());
        int64_t from = std::numeric_limits<int64_t>::min();
        for (const auto& [first, last] : runs) {
            if (first > from) strays_.emplace_back(from, first - 1);
            from = std::max(from, last + 1);
        }
        strays_.emplace_back(from, std::numeric_limits<int64_t>::max());
    }

    // Decides each record's action from what the pass read last time, reading
    // the records once.
    void Plan() {
        const RepeatInputs inputs{StartRepeatYear(), Module1.OptCalcYearsSince};
        // In the table's own order: the check needs no sort (the rows are
        // written in the pass's order when all are read again).
        auto rows = db_.prepare(kRepeatPassSQL);
        for (int c = 0; c < rows.columnCount(); ++c) sourceColumns_.push_back(rows.columnName(c));
        inputs_ = InputsFingerprint(db_, inputs, sourceColumns_);
        // Counted before any record is read: a write after the read moves the count.
        changes_ = WatchChanges(db_);
        if (check_ != RepeatCheck::Rows && changes_.unchanged()) {
            const std::optional<RepeatState> head = LoadRepeatState(db_, /*records=*/false);
            unchanged_ = head && head->inputs == inputs_ && !head->problems &&
                         RepeatingBounds(db_) == std::pair(head->firstRow, head->lastRow);
            if (unchanged_) return;
        }
        if (inputs.calcYearsSince) births_ = BirthBook::Read(db_);
        if (auto kept = LoadRepeatState(db_)) state_ = std::move(*kept);
        whole_ = EveryRecordsInputs(state_.inputs) != EveryRecordsInputs(inputs_) ||
                 RepeatingBounds(db_) != std::pair(state_.firstRow, state_.lastRow);
        if (!whole_ && check_ == RepeatCheck::Rows) CheckRowCounts();
        const bool birthsMoved = state_.births != births_.fingerprint();

        const RecordFingerprinter fingerprint(sourceColumns_, inputs.calcYearsSince);
        const auto field = [&rows](int c) { return rows.column(c); };
        std::unordered_set<int64_t> ids;
        while (rows.step()) {
            const int64_t id = fingerprint.IdOf(field);
            const size_t i = planned_.size();
            planned_.push_back({id, Action::Write});
            if (!ids.insert(id).second) whole_ = true;  // IDs not unique: no record can be told apart
            if (whole_) continue;
            const auto known = state_.records.find(id);
            if (known == state_.records.end()) {
                Keep(rows, i);
                continue;
            }
            RecordState& k = known->second;
            k.seen = true;
            if (k.fingerprint != fingerprint.Of(field) || k.damaged ||
                (k.usesBirths && birthsMoved && BirthOf(ReadDateRecord(rows)) != k.birth)) {
                replaced_.push_back(id);
                Keep(rows, i);
                continue;
            }
            if (k.problems && hooks_.reportKept) {
                planned_[i].action = Action::Report;
                Keep(rows, i);
            } else {
                planned_[i].action = Action::Keep;
            }
        }
        if (!whole_)
            for (const auto& [id, k] : state_.records)
                if (!k.seen) gone_.push_back(id);
        for (const Planned& p : planned_) {
            writes_ += p.action == Action::Write;
            reports_ += p.action == Action::Report;
        }
        if (!whole_ && writes_ * kWholeShare > static_cast<int64_t>(planned_.size()) && writes_ > 100) whole_ = true;
        if (!whole_ && MostRowsGo()) whole_ = true;
        if (whole_) {
            for (Planned& p : planned_) p.action = Action::Write;
            writes_ = static_cast<int64_t>(planned_.size());
            gone_.clear();
            replaced_.clear();
            strays_.clear();
            kept_.clear();
            rereadAll_ = true;
        }
    }

    // Calls `visit(action, record, field)` for each record to expand, in the
    // pass's order: from what the plan kept, or from the file read again.
    template <class Visit>
    void EachToExpand(bool write, Visit&& visit) {
        auto wanted = [write](Action a) { return a == Action::Report || (a == Action::Write && write); };
        if (!rereadAll_) {
            for (Kept& k : kept_)
                if (wanted(planned_[k.index].action))
                    visit(planned_[k.index].action, k.record, [&k](int c) { return k.row[static_cast<size_t>(c)]; });
            return;
        }
        std::unordered_map<int64_t, size_t> at;  // the plan's index of each record
        if (!whole_)
            for (size_t i = 0; i < planned_.size(); ++i) at.emplace(planned_[i].id, i);
        auto rows = db_.prepare(PassQuery());
        const RecordFingerprinter fingerprint(sourceColumns_);
        const auto field = [&rows](int c) { return rows.column(c); };
        size_t read = 0;
        for (; rows.step(); ++read) {
            // A whole pass writes every record as met (IDs need not be unique).
            Action action = Action::Write;
            if (!whole_) {
                const auto found = at.find(fingerprint.IdOf(field));
                if (found == at.end()) {
                    // A record added since the plan: the others are still
                    // written; the next pass starts afresh and writes it too.
                    unsure_ = true;
                    continue;
                }
                action = planned_[found->second].action;
            }
            if (!wanted(action)) continue;
            DateRecord r = ReadDateRecord(rows);
            visit(action, r, field);
        }
        if (read != planned_.size()) unsure_ = true;  // the records changed since the plan
    }

    void Progress(int64_t done, int64_t total) {
        if (hooks_.progress && total > 0) hooks_.progress(done, total);
    }

    // Expands the records that are to be written (and, with `write`, writes
    // them) or reported, in the order of the pass's query.
    void Expand(bool write, ExpansionWriter* writer = nullptr, RepeatBook* book = nullptr) {
        RepeatOptions options;
        options.startYear = StartRepeatYear();
        options.calcYearsSince = Module1.OptCalcYearsSince;
        bool askedBirth = false;
        int32_t birth = 0;
        if (options.calcYearsSince)
            options.birthDateOf = [&askedBirth, &birth, this](const std::string& name) {
                askedBirth = true;
                const std::optional<CivilDate> found = births_.Find(name);
                if (found) birth = Date2Julian(*found);
                return found;
            };
        std::unique_ptr<db::Statement> alarm;
        if (write) alarm = std::make_unique<db::Statement>(db_.prepare("UPDATE [Velmora] SET [Alarm] = ? WHERE [ID] = ?"));
        const int64_t total = progressTotal();
        const RecordFingerprinter fingerprint(sourceColumns_, options.calcYearsSince);
        int64_t done = 0, shownPercent = -1;
        EachToExpand(write, [&](Action action, DateRecord& r, auto&& field) {
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
                        ownChanges_ += db_.changes();  // each row updated moves the change count
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
            if (total > 0 && done * 100 / total != shownPercent) {
                shownPercent = done * 100 / total;
                Progress(done, total);
            }
        });
    }

    // More of the stored rows go than stay (most records hidden or deleted at
    // once): emptying the table and writing what stays costs a fraction of
    // taking the rows out one by one from the table and its index.
    bool MostRowsGo() const {
        int64_t stored = 0, going = 0;
        for (const auto& [id, k] : state_.records) stored += k.rows;
        for (const auto* ids : {&gone_, &replaced_})
            for (int64_t id : *ids) going += state_.records.at(id).rows;
        return going > kWholeRowsGoing && going > stored - going;
    }

    // The progress runs over the records expanded, then the work after them.
    int64_t expandTotal() const { return writes_ + reports_; }
    int64_t progressTotal() const { return expandTotal() + expandTotal() / kTailShare; }

    void RemoveRows(db::Statement& drop, int64_t first, int64_t last) {
        drop.bind(1, db::Int(first)).bind(2, db::Int(last));
        drop.run();
        result_.rowsRemoved += db_.changes();
    }

    void Write() {
        result_.whole = whole_;
        PassCache cache(db_, 8 * 1024);
        db::Transaction tx(db_);
        OccurrenceWriteBegins(db_);  // the month kept in [Sorting] is of the rows replaced here
        std::optional<RepeatingIndexes> indexes;
        if (whole_) {
            db_.exec("DELETE FROM [RepeatingData]");
            result_.rowsRemoved = db_.changes();
            indexes.emplace(db_);
        }
        RepeatBook book(db_, whole_);
        if (!whole_) {  // the old rows of the records that went or changed, and rows of no record
            auto drop = db_.prepare("DELETE FROM [RepeatingData] WHERE rowid BETWEEN ? AND ?");
            for (int64_t id : gone_) book.Remove(id);
            for (const auto* ids : {&gone_, &replaced_})
                for (int64_t id : *ids)
                    if (const RecordState& k = state_.records.at(id); k.rows > 0)
                        RemoveRows(drop, k.firstRow, k.firstRow + k.rows - 1);
            for (const auto& [first, last] : strays_) RemoveRows(drop, first, last);
        }
        op_.iErPt = 17;
        ExpansionWriter writer(db_, sourceColumns_);
        Expand(/*write=*/true, &writer, &book);
        const bool numbered = writer.Finish();
        result_.rowsWritten = writer.written();
        const int64_t total = progressTotal(), tail = total - expandTotal();
        if (indexes) {
            cache.set(2 * 1024);
            indexes->Restore([&](size_t built, size_t count) {
                Progress(expandTotal() + tail * static_cast<int64_t>(built) / static_cast<int64_t>(count + 1), total);
            });
        }
        op_.iErPt = 19;
        if (numbered && !unsure_) {
            book.Finish(inputs_, births_.fingerprint());
            if (changes_.watched) RecordChangesSeen(db_, changes_.changes + ownChanges_);
        } else RepeatBook::Forget(db_);  // rows numbered otherwise than counted: start afresh next time
        OccurrenceWriteEnds(db_);
        tx.commit();
        Progress(total, total);
    }

    Operation& op_;
    db::Database& db_;
    RepeatCheck check_;
    const RepeatPassHooks& hooks_;
    RepeatPassResult& result_;
    std::vector<std::string> sourceColumns_;
    std::string inputs_;
    BirthBook births_;
    RepeatState state_;
    ChangeCount changes_;        // of [Velmora], as the plan found it
    int64_t ownChanges_ = 0;     // the pass's own writes to [Velmora]
    bool unchanged_ = false;     // the count says no record changed since the last pass
    bool whole_ = false, alarmsWritten_ = false, unsure_ = false, wrote_ = false, rereadAll_ = false;
    struct Planned {
        int64_t id;
        Action action;
    };
    std::vector<Planned> planned_;  // the pass's records in its order
    std::vector<Kept> kept_;        // the records to expand, unless all are read again
    std::vector<int64_t> gone_, replaced_;
    std::vector<std::pair<int64_t, int64_t>> strays_;  // runs of row numbers that belong to no record
    int64_t writes_ = 0, reports_ = 0;
    std::vector<ShownProblem> problems_;
};

void RunPass(Operation& op, db::RecordSource& DataDates, RepeatCheck check, const RepeatPassHooks& hooks,
             RepeatPassResult& result) {
    auto ok = [&op](int point, auto&& fn) { return op.step(point, fn) && op.lastError() == 0; };
    db::Database* db = nullptr;
    if (!ok(1, [&] {
            // A cell edit still open in the grid is stored first, so the pass reads it.
            DataDates.storeOpenEdit();
            DataDates.setDatabaseName(Module1.CalendarFilePath);
            db = &DataDates.database();
        })) {
        result.failed = true;
        return;
    }
    result.ran = true;
    Pass pass(op, *db, check, hooks, result);
    pass.Run();
    if (op.lastError() != 0) {
        result.ran = false;  // the failure has had its box
        result.failed = true;
        return;
    }
    if (!pass.wrote() || !hooks.listPassRecords) return;  // the grid shows what it showed
    ok(19, [&] {
        MainState.pSQL = kRepeatPassSQL;
        MainState.pSQLOrder = kRepeatPassOrder;
        DataDates.setRecordSource(MainState.pSQL + MainState.pSQLOrder);
        DataDates.refresh();
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

RepeatPassResult BuildRepeatingData(db::RecordSource& DataDates, const RepeatPassHooks& hooks, RepeatCheck check) {
    Operation op("Build Repeating Error", "@Err Pnt: ");
    op.iErPt = 1;
    RepeatPassResult result;
    if (hooks.waitCursor) hooks.waitCursor(true);
    // A read-only calendar keeps the occurrences it has stored.
    if (FileExists(Module1.CalendarFilePath) && !MainState.CalendarReadOnly) RunPass(op, DataDates, check, hooks, result);
    if (hooks.waitCursor) hooks.waitCursor(false);
    MainState.pRebuildRepeating = false;
    return result;
}

}  // namespace vm
