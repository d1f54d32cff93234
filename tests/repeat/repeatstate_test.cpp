// The expansion pass skips its rewrite only when nothing it reads has
// changed: after every kind of change the calendar must end up exactly as a
// full pass leaves it.
#include <gtest/gtest.h>

#include <filesystem>

#include "repeat/repeatpass.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;
namespace db = vm::db;

// A change made between two passes: SQL run on the calendar, then option
// changes. `tamper` also alters one generated row (same row count) so a pass
// that wrongly skips its rewrite leaves a visible difference.
struct Change {
    const char* name;
    const char* sql;
    void (*options)() = nullptr;
    bool tamper = false;
};
void PrintTo(const Change& c, std::ostream* os) { *os << c.name; }

class RepeatState : public ::testing::TestWithParam<Change>, protected CalendarFile {
protected:
    void SetUp() override {
        vm::MainState.txtBeginRepeatYear = "2019";
        vm::Module1.OptCalcYearsSince = true;
        // One record of each kind the pass treats differently.
        vm::DateRecord holiday = Holiday(D(2020, 7, 4), "Yearly", 5);
        holiday.DateText = "Independence Day";
        holiday.Font = " Arial, 10,False,False ";
        vm::DateRecord born = Rec(D(1930, 1, 1), "None", 1);
        born.DateText = "Kay's Birthday";
        born.Hide = true;  // not expanded, yet its date is looked up
        vm::DateRecord death = Rec(D(2001, 3, 10), "Yearly", 4);
        death.DateText = "Kay's Death";
        vm::DateRecord hourly = Rec(D(2025, 3, 3), "Hour-1", 4);
        hourly.Hour = 6;
        hourly.AM_PM = "PM";
        vm::DateRecord hidden = Rec(D(2025, 5, 1), "Daily", 5);
        hidden.Hide = true;
        AddRecords(path, {holiday, born, death, hourly, Rec(D(2025, 1, 15), "WeekMask-ftftftf", 3),
                          Rec(D(2025, 1, 31), "Monthly", 6), hidden, Rec(D(2025, 2, 3), "YearWeek-4-Thu-Nov", 3)});
        Run(path);
    }

    static void Run(const std::string& file) {
        vm::Module1.CalendarFilePath = file;
        db::RecordSource DataDates;
        vm::BuildRepeatingData(DataDates);
    }

    // What a full pass writes: a copy of the file without the pass's
    // bookkeeping or rows, expanded afresh.
    std::string FullPassCopy() {
        const std::string copy = MakeTempDir("velmora-full") + "/Velmoras.mdb";
        std::filesystem::copy_file(path, copy);
        db::Database::Open(copy)->exec("DROP TABLE IF EXISTS [RepeatState]; DROP TABLE IF EXISTS [RepeatRecords]; DELETE FROM [RepeatingData];");
        Run(copy);
        vm::Module1.CalendarFilePath = path;
        return copy;
    }

    void Tamper() {
        Exec("UPDATE [RepeatingData] SET [DateText] = 'stale' WHERE [ID] = (SELECT min([ID]) FROM [RepeatingData])");
    }
};

TEST_P(RepeatState, AfterAChangeIsAFullPass) {
    ASSERT_GT(Dump(path, "RepeatingData").size(), 10u);
    Exec(GetParam().sql);
    if (GetParam().options) GetParam().options();
    if (GetParam().tamper) Tamper();
    Run(path);
    const Strings after = Dump(path, "RepeatingData"), velmora = Dump(path, "Velmora");
    const std::string full = FullPassCopy();
    EXPECT_EQ(after, Dump(full, "RepeatingData"));
    EXPECT_EQ(velmora, Dump(full, "Velmora"));
}

const char* const kNoSql = "";

INSTANTIATE_TEST_SUITE_P(
    Pass, RepeatState,
    ::testing::Values(
        Change{"EditedRule", "UPDATE [Velmora] SET [Repeat] = 'Quarterly' WHERE [Repeat] = 'Monthly'"},
        Change{"EditedAlarmByHand", "UPDATE [Velmora] SET [Alarm] = '' WHERE [Repeat] = 'Hour-1'"},
        Change{"Hidden", "UPDATE [Velmora] SET [Hide] = -1 WHERE [DateText] = 'Independence Day'"},
        Change{"Deleted", "DELETE FROM [Velmora] WHERE [Repeat] LIKE 'WeekMask%'"},
        Change{"BirthDateOfASingleRecord", "UPDATE [Velmora] SET [Date] = '1940-06-15' WHERE [Repeat] = 'None'"},
        Change{"NewStartYear", kNoSql,
               [] {
                   vm::Module1.OptStartRepeatYear = "2022";
                   vm::MainState.txtBeginRepeatYear = "2022";
               }},
        Change{"StartYearTypedInTheBox", kNoSql, [] { vm::MainState.txtBeginRepeatYear = "2021"; }},
        Change{"YearsSinceTurnedOff", kNoSql, [] { vm::Module1.OptCalcYearsSince = false; }},
        Change{"OlderFileWithoutFingerprint", "DROP TABLE [RepeatState]", nullptr, true},
        Change{"OlderRulesVersion", "UPDATE [RepeatState] SET [RulesVersion] = [RulesVersion] - 1", nullptr, true},
        Change{"RepeatingDataEmptied", "DELETE FROM [RepeatingData]"},
        Change{"RepeatingDataLostARow",
               "DELETE FROM [RepeatingData] WHERE [ID] = (SELECT max([ID]) FROM [RepeatingData])"},
        Change{"RewrittenByAnotherProgram",  // as many rows, under new numbers
               "CREATE TABLE [Saved] AS SELECT * FROM [RepeatingData]; DELETE FROM [RepeatingData];"
               "INSERT INTO [RepeatingData] ([Date], [JulDate], [DateText]) SELECT [Date], [JulDate], 'stale' "
               "FROM [Saved]; DROP TABLE [Saved];"},
        Change{"ColumnAddedByAnUpgrade", "ALTER TABLE [RepeatingData] ADD COLUMN [Extra] TEXT", nullptr, true},
        Change{"BookkeepingUnreadable", "DROP TABLE [RepeatState]; CREATE TABLE [RepeatState] ([Other] TEXT);",
               nullptr, true}),
    [](const auto& info) { return std::string(info.param.name); });

class RepeatStateRun : public RepeatState {};

TEST_F(RepeatStateRun, UnchangedCalendarIsNotRewritten) {
    Tamper();  // only a rewrite would put this row right again
    const Strings tampered = Dump(path, "RepeatingData");
    Run(path);
    EXPECT_EQ(Dump(path, "RepeatingData"), tampered);
    EXPECT_NE(tampered, Dump(FullPassCopy(), "RepeatingData"));
}

// Turning the years-since option on or off rewrites the rows of the records
// that remember years, and only theirs, both ways.
TEST_F(RepeatStateRun, YearsSinceTurnedRewritesOnlyTheRecordsThatRememberYears) {
    const auto tamperText = [&](const char* like, const char* text) {
        Exec(std::string("UPDATE [RepeatingData] SET [DateText] = '") + text +
             "' WHERE [ID] = (SELECT min([ID]) FROM [RepeatingData] WHERE [DateText] LIKE '" + like + "')");
    };
    const auto count = [&](const char* text) {
        auto st = db::Database::Open(path)->prepare("SELECT count(*) FROM [RepeatingData] WHERE [DateText] = ?");
        st.bind(1, db::Text(text));
        return st.step() ? db::AsInt(st.column(0)) : -1;
    };
    for (const bool on : {false, true}) {
        tamperText("Independence%", "kept as it was");
        tamperText("Kay%", "written again");
        vm::Module1.OptCalcYearsSince = on;
        Run(path);
        EXPECT_EQ(count("kept as it was"), 1) << on << ": a record that remembers no years keeps its rows";
        EXPECT_EQ(count("written again"), 0) << on;
        Exec("UPDATE [RepeatingData] SET [DateText] = 'Independence Day' WHERE [DateText] = 'kept as it was'");
        EXPECT_EQ(Dump(path, "RepeatingData"), Dump(FullPassCopy(), "RepeatingData")) << on;
        // Left as it is, the option changes nothing more.
        tamperText("Kay%", "kept too");
        Run(path);
        EXPECT_EQ(count("kept too"), 1) << on;
        Exec("DELETE FROM [RepeatingData]");  // the next round starts from a whole pass
        Run(path);
    }
}

}  // namespace
