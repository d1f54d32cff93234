// The expansion pass skips its rewrite only when nothing it reads has
// changed: after every kind of change the calendar must end up exactly as a
// full pass leaves it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/module1.h"
#include "repeat/repeatpass.h"
#include "repeat_testutil.h"
#include "testsupport.h"

namespace {

using namespace vmtest;
namespace db = vm::db;

class RepeatState : public ::testing::Test {
protected:
    void SetUp() override {
        vm::Module1.CalendarFilePath = path;
        vm::Module1.OptStartRepeatYear = "2019";
        vm::MainState.txtBeginRepeatYear = "2019";
        vm::Module1.OptCalcYearsSince = true;
    }

    int64_t Add(const vm::DateRecord& r) {
        db::RecordSource rs;
        rs.setDatabaseName(path);
        rs.setRecordSource("Velmora");
        rs.refresh();
        rs.addNew();
        vm::WriteDateRecord(rs, r);
        rs.update();
        return rs.database().lastInsertId();
    }

    // A calendar with one record of each kind the pass treats differently.
    void FillCalendar() {
        vm::DateRecord holiday = Holiday(D(2020, 7, 4), "Yearly", 5);
        holiday.DateText = "Independence Day";
        holiday.Font = " Arial, 10,False,False ";
        ids.holiday = Add(holiday);
        vm::DateRecord born = Rec(D(1930, 1, 1), "None", 1);
        born.DateText = "Kay's Birthday";
        born.Hide = true;  // not expanded, yet its date is looked up
        ids.birth = Add(born);
        vm::DateRecord death = Rec(D(2001, 3, 10), "Yearly", 4);
        death.DateText = "Kay's Death";
        Add(death);
        vm::DateRecord hourly = Rec(D(2025, 3, 3), "Hour-1", 4);
        hourly.Hour = 6;
        hourly.AM_PM = "PM";
        ids.hourly = Add(hourly);
        ids.weekmask = Add(Rec(D(2025, 1, 15), "WeekMask-ftftftf", 3));
        ids.monthly = Add(Rec(D(2025, 1, 31), "Monthly", 6));
        vm::DateRecord hidden = Rec(D(2025, 5, 1), "Daily", 5);
        hidden.Hide = true;
        ids.hidden = Add(hidden);
        Add(Rec(D(2025, 2, 3), "YearWeek-4-Thu-Nov", 3));
    }

    void Exec(const std::string& sql) { db::Database::Open(path)->exec(sql); }

    void Run(const std::string& file) {
        vm::Module1.CalendarFilePath = file;
        db::RecordSource DataDates;
        vm::BuildRepeatingData(DataDates);
        vm::Module1.CalendarFilePath = path;
    }

    // A table's whole content, ID aside: once in the order the rows were
    // written, once sorted.
    static Strings Dump(const std::string& file, const std::string& table) {
        auto st = db::Database::Open(file)->prepare("SELECT * FROM [" + table + "] ORDER BY [ID]");
        Strings rows;
        while (st.step()) {
            std::string& line = rows.emplace_back();
            for (int i = 0; i < st.columnCount(); ++i) {
                if (st.columnName(i) == "ID") continue;
                const db::Value v = st.column(i);
                line += st.columnName(i) + "=" + (db::IsNull(v) ? "<null>" : db::AsText(v)) + "|";
            }
        }
        Strings sorted = rows;
        std::sort(sorted.begin(), sorted.end());
        rows.push_back("--");
        rows.insert(rows.end(), sorted.begin(), sorted.end());
        return rows;
    }

    // What a full pass writes: a copy of the file without the pass's
    // bookkeeping or rows, expanded afresh.
    std::string FullPassCopy() {
        const std::string copy = MakeTempDir("velmora-full") + "/Velmoras.mdb";
        std::filesystem::copy_file(path, copy);
        auto conn = db::Database::Open(copy);
        conn->exec("DROP TABLE IF EXISTS [RepeatState]");
        conn->exec("DELETE FROM [RepeatingData]");
        conn.reset();
        Run(copy);
        return copy;
    }

    // Alters one generated row without changing how many there are.
    void Tamper() {
        Exec("UPDATE [RepeatingData] SET [DateText] = 'stale' WHERE [ID] = (SELECT min([ID]) FROM [RepeatingData])");
    }

    Fixture fx;
    std::string path = FreshCalendar();
    struct {
        int64_t holiday = 0, birth = 0, hourly = 0, weekmask = 0, monthly = 0, hidden = 0;
    } ids;
};

class RepeatStateChange;

struct Change {
    const char* name;
    void (*apply)(RepeatStateChange&);
};

class RepeatStateChange : public RepeatState, public ::testing::WithParamInterface<Change> {
public:
    using RepeatState::Add, RepeatState::Exec, RepeatState::Tamper, RepeatState::ids;
};

TEST_P(RepeatStateChange, LeavesWhatAFullPassWrites) {
    FillCalendar();
    Run(path);
    const Strings before = Dump(path, "RepeatingData");
    ASSERT_GT(before.size(), 20u);

    GetParam().apply(*this);
    Run(path);

    const std::string full = FullPassCopy();
    EXPECT_EQ(Dump(path, "RepeatingData"), Dump(full, "RepeatingData"));
    EXPECT_EQ(Dump(path, "Velmora"), Dump(full, "Velmora"));
    // Running once more changes nothing.
    Run(path);
    EXPECT_EQ(Dump(path, "RepeatingData"), Dump(full, "RepeatingData"));
}

std::string Id(int64_t id) { return std::to_string(id); }

INSTANTIATE_TEST_SUITE_P(
    Pass, RepeatStateChange,
    ::testing::Values(
        Change{"EditedText", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [Velmora] SET [DateText] = 'Rent' WHERE [ID] = " + Id(c.ids.monthly));
               }},
        Change{"EditedDuration", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [Velmora] SET [Duration] = 9 WHERE [ID] = " + Id(c.ids.weekmask));
               }},
        Change{"EditedRule", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [Velmora] SET [Repeat] = 'Quarterly' WHERE [ID] = " + Id(c.ids.monthly));
               }},
        Change{"EditedAlarmByHand", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [Velmora] SET [Alarm] = '' WHERE [ID] = " + Id(c.ids.hourly));
               }},
        Change{"Added", [](RepeatStateChange& c) { c.Add(Rec(D(2025, 6, 1), "Weekly", 8)); }},
        Change{"Hidden", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [Velmora] SET [Hide] = -1 WHERE [ID] = " + Id(c.ids.holiday));
               }},
        Change{"Shown", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [Velmora] SET [Hide] = 0 WHERE [ID] = " + Id(c.ids.hidden));
               }},
        Change{"Deleted", [](RepeatStateChange& c) {
                   c.Exec("DELETE FROM [Velmora] WHERE [ID] = " + Id(c.ids.weekmask));
               }},
        Change{"BirthDateOfASingleRecord", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [Velmora] SET [Date] = '1940-06-15' WHERE [ID] = " + Id(c.ids.birth));
               }},
        Change{"NewStartYear", [](RepeatStateChange&) {
                   vm::Module1.OptStartRepeatYear = "2022";
                   vm::MainState.txtBeginRepeatYear = "2022";
               }},
        Change{"StartYearTypedInTheBox", [](RepeatStateChange&) { vm::MainState.txtBeginRepeatYear = "2021"; }},
        Change{"YearsSinceTurnedOff", [](RepeatStateChange&) { vm::Module1.OptCalcYearsSince = false; }},
        Change{"OlderFileWithoutFingerprint", [](RepeatStateChange& c) {
                   c.Exec("DROP TABLE [RepeatState]");
                   c.Tamper();
               }},
        Change{"OlderRulesVersion", [](RepeatStateChange& c) {
                   c.Exec("UPDATE [RepeatState] SET [RulesVersion] = [RulesVersion] - 1");
                   c.Tamper();
               }},
        Change{"RepeatingDataEmptied", [](RepeatStateChange& c) {
                   c.Exec("DELETE FROM [RepeatingData]");
               }},
        Change{"RepeatingDataGainedRows", [](RepeatStateChange& c) {
                   c.Exec(
                       "INSERT INTO [RepeatingData] ([Date], [JulDate], [DateText]) VALUES ('2025-01-01', 2025001, 'x')");
               }},
        Change{"RepeatingDataLostARow", [](RepeatStateChange& c) {
                   c.Exec(
                       "DELETE FROM [RepeatingData] WHERE [ID] = (SELECT max([ID]) FROM [RepeatingData])");
               }},
        Change{"RewrittenByAnotherProgram", [](RepeatStateChange& c) {  // as many rows, under new numbers
                   c.Exec("CREATE TABLE [Saved] AS SELECT * FROM [RepeatingData]");
                   c.Exec("DELETE FROM [RepeatingData]");
                   c.Exec("INSERT INTO [RepeatingData] ([Date], [JulDate], [DateText]) SELECT [Date], [JulDate], "
                          "'stale' FROM [Saved]");
                   c.Exec("DROP TABLE [Saved]");
               }},
        Change{"ColumnAddedByAnUpgrade", [](RepeatStateChange& c) {
                   c.Exec("ALTER TABLE [RepeatingData] ADD COLUMN [Extra] TEXT");
                   c.Tamper();
               }},
        Change{"BookkeepingUnreadable", [](RepeatStateChange& c) {
                   c.Exec("DROP TABLE [RepeatState]");
                   c.Exec("CREATE TABLE [RepeatState] ([Other] TEXT)");
                   c.Tamper();
               }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RepeatState, UnchangedCalendarIsNotRewritten) {
    FillCalendar();
    Run(path);
    Tamper();  // only a rewrite would put this row right again
    const Strings tampered = Dump(path, "RepeatingData");
    Run(path);
    EXPECT_EQ(Dump(path, "RepeatingData"), tampered);
    EXPECT_NE(Dump(path, "RepeatingData"), Dump(FullPassCopy(), "RepeatingData"));
}

TEST_F(RepeatState, RuleProblemsAreShownOnEveryRun) {
    FillCalendar();
    Add(Rec(D(2025, 1, 1), "None", 5));
    Add(Rec(D(2025, 1, 2), "Every-10-2", 3));
    Run(path);
    EXPECT_EQ(fx.messages.beeps, 1);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    const Strings first = Dump(path, "RepeatingData");
    Run(path);
    EXPECT_EQ(fx.messages.beeps, 2);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].text, fx.messages.shown[0].text);
    EXPECT_EQ(Dump(path, "RepeatingData"), first);
}

TEST_F(RepeatState, FailedPassLeavesTheOldBookkeeping) {
    FillCalendar();
    Run(path);
    const Strings before = Dump(path, "RepeatingData");
    Add(Rec(D(2026, 1, 1), "Weekly", 10));
    Exec("CREATE TRIGGER [fail] BEFORE INSERT ON [RepeatingData] BEGIN SELECT RAISE(ABORT, 'injected'); END");
    Run(path);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(Dump(path, "RepeatingData"), before);
    Exec("DROP TRIGGER [fail]");
    Run(path);  // the change is still waiting for the pass
    EXPECT_EQ(Dump(path, "RepeatingData"), Dump(FullPassCopy(), "RepeatingData"));
}

}  // namespace
