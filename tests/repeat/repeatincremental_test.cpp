// The pass writes only the rows of records that changed: after any mix of
// edits its table must hold exactly what a pass over every record writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <random>

#include <sqlite3.h>

#include "core/copyrecords.h"
#include "repeat/changecount.h"
#include "repeat/repeatpass.h"
#include "repeat/repeatstate.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;
namespace db = vm::db;

const char* const kRules[] = {"Daily",        "Weekly",       "Monthly",         "Yearly",
                              "Quarterly",    "Every-10",     "EveryMonth-2",    "EveryYear-2",
                              "MonthLastDay", "Hour-2",       "Min-90",          "MonthWeek-2-Mon",
                              "YearWeek-4-Thu-Nov+1",         "WeekMask-tftftft", "None"};
const char* const kTexts[] = {"Meeting", "'s Birthday", "'s Death", "Wedding", "Independence Day"};

class RepeatIncremental : public ::testing::Test, protected CalendarFile {
protected:
    void SetUp() override {
        vm::MainState.txtBeginRepeatYear = "2019";
        vm::Module1.OptCalcYearsSince = true;
        std::vector<vm::DateRecord> records;
        for (int i = 0; i < 2000; ++i) records.push_back(Random());
        Insert(records);
        Run(path);
        reference = MakeTempDir("velmora-reference") + "/Velmoras.mdb";
        std::filesystem::copy_file(path, reference);
    }

    void Insert(const std::vector<vm::DateRecord>& records) {
        auto file = db::Database::Open(path);
        db::Transaction tx(*file);
        auto insert = file->prepare(
            "INSERT INTO [Velmora] ([Hide], [Date], [JulDate], [DateText], [Duration], [Repeat], [WorkDay], "
            "[DateType], [Hour], [AM_PM]) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
        for (const vm::DateRecord& r : records) {
            insert.bindAll({db::Bool(r.Hide), db::Text(vm::FormatIso(r.Date)), db::Int(r.JulDate),
                            db::Text(r.DateText), db::Int(r.Duration), db::Text(r.Repeat), db::Bool(r.WorkDay),
                            db::Text(r.DateType), db::Int(r.Hour), db::Text(r.AM_PM)});
            insert.run();
        }
        tx.commit();
    }

    vm::DateRecord Random() {
        vm::DateRecord r = Rec(D(Pick(1990, 2030), Pick(1, 12), Pick(1, 28)), kRules[Pick(0, 14)], Pick(1, 30));
        r.DateText = kTexts[Pick(0, 4)];
        if (r.DateText.starts_with("'")) r.DateText = "Person" + std::to_string(Pick(1, 150)) + "z" + r.DateText;
        r.WorkDay = Pick(0, 3) != 0;  // a quarter are holidays, observed on a weekday
        r.Hide = Pick(0, 9) == 0;
        r.Hour = Pick(1, 12);
        r.AM_PM = Pick(0, 1) ? "AM" : "PM";
        return r;
    }
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }

    static vm::RepeatPassResult Run(const std::string& file, vm::RepeatCheck check = vm::RepeatCheck::Quick) {
        vm::Module1.CalendarFilePath = file;
        db::RecordSource DataDates;
        return vm::BuildRepeatingData(DataDates, {}, check);
    }

    // The same SQL on both files; the reference is then expanded afresh.
    void Both(const std::string& sql) {
        Exec(sql);
        db::Database::Open(reference)->exec(sql);
    }
    void ExpectSameAsAWholePass() {
        vm::RepeatBook::Forget(*db::Database::Open(reference));
        EXPECT_TRUE(Run(reference).whole);
        vm::Module1.CalendarFilePath = path;
        for (const char* table : {"RepeatingData", "Velmora"}) {
            const Strings mine = Dump(path, table), whole = Dump(reference, table);
            EXPECT_EQ(mine.size(), whole.size()) << table;
            EXPECT_EQ(OnlyIn(mine, whole), "") << table << " rows the whole pass does not write";
            EXPECT_EQ(OnlyIn(whole, mine), "") << table << " rows the whole pass writes";
        }
    }
    // The first rows of `a` that `b` lacks (both sorted).
    static std::string OnlyIn(const Strings& a, const Strings& b) {
        Strings only;
        std::set_difference(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(only));
        std::string out;
        for (size_t i = 0; i < only.size() && i < 5; ++i) out += only[i] + "\n";
        return out;
    }
    int64_t LastId() {
        auto file = db::Database::Open(path);
        auto st = file->prepare("SELECT max([ID]) FROM [Velmora]");
        return st.step() ? db::AsInt(st.column(0)) : 0;
    }
    std::string Ids(int count) {
        std::string ids = "0";
        for (int i = 0; i < count; ++i) ids += "," + std::to_string(Pick(1, 2100));
        return ids;
    }

    // Records whose rules have problems are read on every pass (their boxes
    // show again); without them an unchanged calendar's records are not read.
    void WithoutProblems() {
        Both("DELETE FROM [Velmora] WHERE [ID] IN (SELECT [ID] FROM [RepeatRecords] WHERE [Flags] & 1)");
        Run(path);
    }

    std::mt19937 random{20261207};
    std::string reference;
};

TEST_F(RepeatIncremental, RandomEditsLeaveWhatAWholePassWrites) {
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        Both("UPDATE [Velmora] SET [DateText] = [DateText] || ' x' WHERE [ID] IN (" + Ids(20) + ")");
        Both("UPDATE [Velmora] SET [Duration] = [Duration] % 7 + " + std::to_string(round) + " WHERE [ID] IN (" +
             Ids(20) + ")");
        Both("UPDATE [Velmora] SET [Hide] = -1 - [Hide] WHERE [ID] IN (" + Ids(20) + ")");
        Both("UPDATE [Velmora] SET [WorkDay] = -1 - [WorkDay], [Repeat] = 'Yearly' WHERE [ID] IN (" + Ids(10) + ")");
        Both("DELETE FROM [Velmora] WHERE [ID] IN (" + Ids(15) + ")");
        Both("INSERT INTO [Velmora] ([Hide], [Date], [JulDate], [DateText], [Duration], [Repeat], [WorkDay], "
             "[DateType], [Hour], [AM_PM]) SELECT 0, [Date], [JulDate], [DateText] || ' new', [Duration] + 1, "
             "[Repeat], [WorkDay], [DateType], [Hour], [AM_PM] FROM [Velmora] WHERE [ID] IN (" + Ids(15) + ")");
        if (round == 2)  // a birth date moves: the deaths' ages follow
            Both("UPDATE [Velmora] SET [Date] = '1931-02-03' WHERE [DateText] LIKE 'Person7z''s Birthday%'");
        // Births come, go and change their text; deaths change their name.
        const std::string person = "Person" + std::to_string(Pick(1, 150)) + "z";
        Both("INSERT INTO [Velmora] ([Hide], [Date], [JulDate], [DateText], [Duration], [Repeat], [WorkDay], "
             "[DateType], [Hour], [AM_PM]) VALUES (-1, '19" + std::to_string(Pick(10, 99)) + "-0" +
             std::to_string(Pick(1, 9)) + "-1" + std::to_string(Pick(0, 9)) + "', 0, '" + person +
             "''s birth day', 1, 'None', -1, 'Event', 0, 'AM')");
        Both("DELETE FROM [Velmora] WHERE [ID] IN (SELECT [ID] FROM [Velmora] WHERE [DateText] LIKE '%Birth%' "
             "ORDER BY ([ID] * " + std::to_string(Pick(3, 97)) + ") % 101 LIMIT 2)");
        Both("UPDATE [Velmora] SET [DateText] = 'Person' || ([ID] % 150) || 'z''s Birthday' WHERE [ID] IN (" +
             Ids(5) + ")");
        Both("UPDATE [Velmora] SET [DateText] = 'Person' || ([ID] % 150 + 1) || 'z''s Death' WHERE [ID] IN (" +
             Ids(5) + ")");
        const vm::RepeatPassResult result = Run(path);
        EXPECT_FALSE(result.whole);
        EXPECT_GT(result.records, 0);
        EXPECT_LT(result.records, 300);
        ExpectSameAsAWholePass();
    }
    // Nothing changed since: nothing written.
    const vm::RepeatPassResult again = Run(path);
    EXPECT_TRUE(again.ran);
    EXPECT_EQ(again.records, 0);
    EXPECT_EQ(again.rowsWritten, 0);
}

// Most records hidden at once (the grid's Hide header): the table is
// emptied and what stays written afresh, with the end state of a whole pass.
TEST_F(RepeatIncremental, MostRowsGoingEmptiesTheTableAndWritesWhatStays) {
    const size_t before = Dump(path, "RepeatingData").size();
    Both("UPDATE [Velmora] SET [Hide] = -1 WHERE [ID] % 10 <> 0");
    const vm::RepeatPassResult result = Run(path);
    ASSERT_GT(before - Dump(path, "RepeatingData").size(), 10000u) << "enough rows to make it worth it";
    EXPECT_TRUE(result.whole);
    ExpectSameAsAWholePass();
    // A few hidden again afterwards: taken out where they are.
    Both("UPDATE [Velmora] SET [Hide] = -1 WHERE [ID] % 10 = 0 AND [ID] % 30 = 0");
    EXPECT_FALSE(Run(path).whole);
    ExpectSameAsAWholePass();
}

// The copy panel leaves the occurrences alone: the pass after it writes the
// copies' rows only, and the table is what a whole pass makes.
TEST_F(RepeatIncremental, CopiesAreFollowedByAPassOverThemAloneLikeAWholeOne) {
    db::RecordSource listed;
    listed.setDatabaseName(path);
    listed.setRecordSource("SELECT * FROM [Velmora] WHERE [ID] < 40 ORDER BY [ID]");
    listed.refresh();
    vm::CopyRequest request;
    request.newType = "Copied";
    const vm::CopyOutcome copied = vm::CopyListedRecords(listed.database(), listed, request);
    listed.close();
    ASSERT_GT(copied.copied, 0);
    std::filesystem::copy_file(path, reference, std::filesystem::copy_options::overwrite_existing);
    const vm::RepeatPassResult pass = Run(path);
    EXPECT_FALSE(pass.whole);
    EXPECT_GE(pass.records, copied.copied);  // with the records whose births the copies add to
    ExpectSameAsAWholePass();
}

// Another program takes rows out of the middle of the table and puts others
// in: the bounds stay, so only the check that counts each record's rows
// finds them.
TEST_F(RepeatIncremental, TheRowCountCheckPutsRightRowsTakenOutOrPutIn) {
    auto file = db::Database::Open(path);
    auto near = [&](const char* share) {  // a record with rows near that share of the table
        auto st = file->prepare("SELECT [ID], [FirstRow] FROM [RepeatRecords] WHERE [RowCount] > 2 ORDER BY "
                                "abs([FirstRow] - (SELECT max(rowid) FROM [RepeatingData]) * " + std::string(share) +
                                ")");
        EXPECT_TRUE(st.step());
        return std::pair(db::AsInt(st.column(0)), db::AsInt(st.column(1)));
    };
    const auto [gone, gap] = near("0.3");
    Both("DELETE FROM [Velmora] WHERE [ID] = " + std::to_string(gone));
    Run(path);
    const int64_t damaged = near("0.6").second;
    file->exec("DELETE FROM [RepeatingData] WHERE rowid = " + std::to_string(damaged + 1));
    file->exec("INSERT INTO [RepeatingData] (rowid, [Date], [JulDate], [DateText]) VALUES (" + std::to_string(gap) +
               ", '2026-12-07', 2026341, 'stray')");
    file.reset();
    const vm::RepeatPassResult quick = Run(path);
    EXPECT_EQ(quick.records + quick.rowsRemoved, 0) << "start-up trusts the bounds";
    std::filesystem::copy_file(path, reference, std::filesystem::copy_options::overwrite_existing);
    const vm::RepeatPassResult checked = Run(path, vm::RepeatCheck::Rows);
    EXPECT_FALSE(checked.whole);
    EXPECT_EQ(checked.records, 1);
    ExpectSameAsAWholePass();
    const vm::RepeatPassResult again = Run(path, vm::RepeatCheck::Rows);
    EXPECT_EQ(again.records + again.rowsRemoved, 0);
}

// Another program edits a record while the pass's boxes wait for OK.
class EditDuringBoxes : public vm::FakeMessages {
public:
    std::function<void()> edit;
    vm::MsgResult message(const std::string& text, vm::MsgButtons buttons, vm::MsgIcon icon,
                          const std::string& title) override {
        if (edit) std::exchange(edit, nullptr)();
        return FakeMessages::message(text, buttons, icon, title);
    }
};

TEST_F(RepeatIncremental, ARecordEditedWhileTheBoxesShowIsWrittenAtTheNextStart) {
    std::vector<vm::DateRecord> broken;
    for (int i = 0; i < 300; ++i) broken.push_back(Rec(D(2025, 1, 1), "Every-0", 5, 0));
    broken.push_back(Rec(D(2025, 3, 1), "Weekly", 6));
    Insert(broken);
    const int64_t id = LastId();
    EditDuringBoxes boxes;
    boxes.edit = [&] {
        Exec("UPDATE [Velmora] SET [DateText] = 'Edited elsewhere' WHERE [ID] = " + std::to_string(id));
    };
    vm::SetMessages(&boxes);
    Run(path);
    EXPECT_EQ(boxes.shown.size(), 300u);
    boxes.shown.clear();
    Run(path);  // the next start
    vm::SetMessages(&fx.messages);
    EXPECT_EQ(boxes.shown.size(), 300u) << "the problems are shown on every pass";
    auto st = db::Database::Open(path)->prepare("SELECT count(*) FROM [RepeatingData] WHERE [DateText] = ?");
    st.bind(1, db::Text("Edited elsewhere"));
    ASSERT_TRUE(st.step());
    EXPECT_EQ(db::AsInt(st.column(0)), 5);
}

// Another program writes the file through a plain SQLite connection, knowing
// nothing of this program: every kind of write is still seen at the next start.
void PlainWrite(const std::string& file, const std::string& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

TEST_F(RepeatIncremental, AnotherProgramsPlainSQLiteWritesAreSeen) {
    WithoutProblems();
    const std::string ids = Ids(3);
    for (const std::string& sql :
         {"UPDATE [Velmora] SET [DateText] = 'Elsewhere' WHERE [ID] IN (" + ids + ")",
          "DELETE FROM [Velmora] WHERE [ID] IN (" + Ids(3) + ")",
          std::string("INSERT INTO [Velmora] ([Hide], [Date], [JulDate], [DateText], [Duration], [Repeat], "
                      "[WorkDay], [DateType], [Hour], [AM_PM]) VALUES (0, '2026-12-07', 0, 'Plain', 1, 'Daily', -1, "
                      "'Event', 3, 'PM')")}) {
        SCOPED_TRACE(sql);
        EXPECT_EQ(Run(path).records, 0) << "an unchanged start";
        PlainWrite(path, sql);
        PlainWrite(reference, sql);
        const vm::RepeatPassResult result = Run(path);
        EXPECT_GT(result.records + result.rowsRemoved, 0);
        ExpectSameAsAWholePass();
    }
    // A birth date moved elsewhere: its deaths' ages follow.
    PlainWrite(path, "UPDATE [Velmora] SET [Date] = '1932-04-05' WHERE [DateText] LIKE '%Birthday%'");
    PlainWrite(reference, "UPDATE [Velmora] SET [Date] = '1932-04-05' WHERE [DateText] LIKE '%Birthday%'");
    EXPECT_GT(Run(path).records, 0);
    ExpectSameAsAWholePass();
}

// The count in the file stands for reading the records only while it is
// whole: a trigger taken away, or the count's table, and the records are read.
TEST_F(RepeatIncremental, AnUnchangedCountSparesReadingTheRecords) {
    WithoutProblems();
    EXPECT_EQ(Run(path).records, 0);
    EXPECT_TRUE(vm::ReadChangeCount(*db::Database::Open(path)).unchanged());
    // The bookkeeping of one record no longer matches it: only a read finds that.
    Exec("UPDATE [RepeatRecords] SET [Fingerprint] = 1 WHERE [ID] = (SELECT min([ID]) FROM [RepeatRecords])");
    EXPECT_EQ(Run(path).records, 0) << "the records were read although the count stood";
    PlainWrite(path, "DROP TRIGGER [RepeatChanges_Update]");
    const std::string edit = "UPDATE [Velmora] SET [DateText] = 'Unwatched' WHERE [ID] = " + std::to_string(LastId());
    PlainWrite(path, edit);
    PlainWrite(reference, edit);
    EXPECT_EQ(Run(path).records, 2) << "the record edited and the one whose bookkeeping differs";
    ExpectSameAsAWholePass();
    EXPECT_TRUE(vm::ReadChangeCount(*db::Database::Open(path)).watched) << "the trigger is made again";
    PlainWrite(path, "DELETE FROM [RepeatChanges]; UPDATE [Velmora] SET [DateText] = 'Untold' WHERE [ID] = 6");
    PlainWrite(reference, "UPDATE [Velmora] SET [DateText] = 'Untold' WHERE [ID] = 6");
    EXPECT_EQ(Run(path).records, 1);
    ExpectSameAsAWholePass();
    EXPECT_EQ(Run(path).records, 0);
}

}  // namespace

