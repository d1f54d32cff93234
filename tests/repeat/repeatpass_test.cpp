// The expansion pass over a calendar file: what it writes, what it leaves
// alone, and that a failure keeps the old table.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "core/copyrecords.h"
#include "core/schema.h"
#include "core/upgrade.h"
#include "repeat/repeatpass.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;
namespace db = vm::db;
using RowMap = std::map<std::string, db::Value>;

class RepeatPass : public ::testing::Test, protected CalendarFile {
protected:
    void SetUp() override {
        hooks.waitCursor = [this](bool busy) { cursor.push_back(busy); };
        hooks.statusText = [this](int panel, const std::string& text) { status.push_back(std::to_string(panel) + ":" + text); };
    }

    int64_t Add(const vm::DateRecord& r) { return AddRecords(path, {r}); }
    void Run() { vm::BuildRepeatingData(DataDates, hooks); }

    std::vector<RowMap> Query(const std::string& sql) {
        auto st = db::Database::Open(path)->prepare(sql);
        std::vector<RowMap> rows;
        while (st.step()) {
            RowMap& row = rows.emplace_back();
            for (int i = 0; i < st.columnCount(); ++i) row[st.columnName(i)] = st.column(i);
        }
        return rows;
    }

    // [RepeatingData] in date order; every row's key must be its date's.
    std::vector<RowMap> Repeating() {
        std::vector<RowMap> rows = Query("SELECT * FROM [RepeatingData] ORDER BY [JulDate], [DateText]");
        for (RowMap& row : rows) {
            const auto date = vm::ParseIso(db::AsText(row["Date"]));
            EXPECT_TRUE(date && vm::Date2Julian(*date) == db::AsInt(row["JulDate"])) << db::AsText(row["Date"]);
        }
        return rows;
    }

    // [RepeatingData], the named columns of each row joined by "|".
    Strings Lines(std::initializer_list<const char*> columns) {
        Strings out;
        for (RowMap& row : Repeating()) {
            std::string& line = out.emplace_back();
            for (const char* c : columns) line += (db::IsNull(row[c]) ? "<null>" : db::AsText(row[c])) + "|";
        }
        return out;
    }

    std::string AlarmOf(int64_t id) {
        return db::AsText(Query("SELECT [Alarm] FROM [Velmora] WHERE [ID] = " + std::to_string(id)).at(0)["Alarm"]);
    }

    db::RecordSource DataDates;
    vm::RepeatPassHooks hooks;
    std::vector<bool> cursor;
    Strings status;
};

TEST_F(RepeatPass, WritesRowsCopiesAndAlarmsAndLeavesTheGridOnItsQuery) {
    vm::DateRecord holiday = Holiday(D(2020, 7, 4), "Yearly", 3);
    holiday.DateText = "Independence Day";
    holiday.Font = " Arial, 10,False,False ";
    holiday.Priority = 5;
    holiday.Hr24 = 14;
    vm::DateRecord hourly = Rec(D(2025, 3, 3), "Hour-1", 10);
    hourly.Hour = 6;
    hourly.AM_PM = "PM";
    vm::DateRecord hidden = Rec(D(2025, 1, 1), "Daily", 5);
    hidden.Hide = true;
    const int64_t hourlyId = AddRecords(path, {holiday, hourly});
    AddRecords(path, {hidden, Rec(D(2025, 2, 3), "Daily", 0)});
    // A stored key that disagrees with the record's date is not followed.
    Exec("UPDATE [Velmora] SET [JulDate] = 2023001 WHERE [DateText] = 'Independence Day'");
    vm::MainState.pRebuildRepeating = true;

    Run();

    // 2020 (Saturday): its copy only; 2021 (Sunday): row and copy; 2022: row.
    EXPECT_EQ(Lines({"Date", "DateText", "WorkDay", "Priority", "Hr24", "Font"}),
              (Strings{"2020-07-03| Independence Day *OBSERVED*|-1|5|14|Arial, 10,False,False|",
                       "2021-07-04|Independence Day|0|5|14|Arial, 10,False,False|",
                       "2021-07-05| Independence Day *OBSERVED*|-1|5|14|Arial, 10,False,False|",
                       "2022-07-04|Independence Day|0|5|14|Arial, 10,False,False|"}));
    EXPECT_EQ(AlarmOf(hourlyId), "-60,-120,-180,-240,-300,-360");
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_FALSE(vm::MainState.pRebuildRepeating);
    EXPECT_EQ(cursor, (std::vector<bool>{true, false}));
    ASSERT_EQ(DataDates.recordCount(), 2);  // not the hidden or Duration-0 records
    DataDates.moveLast();
    EXPECT_EQ(db::AsText(DataDates.field("Alarm")), "-60,-120,-180,-240,-300,-360");
}

TEST_F(RepeatPass, ALongAlarmListIsStoredWholeAlsoInAFileOfTheOldLayout) {
    // The old layout held [Alarm] to 255 characters.
    std::filesystem::remove(path);
    {
        auto d = db::Database::Create(path);
        for (vm::TableDef t : vm::CalendarTables()) {
            for (vm::ColumnDef& c : t.columns)
                if (c.name == "Alarm") c = {"Alarm", vm::ColKind::Text, 255};
            d->exec(vm::CreateTableSql(t));
        }
    }
    vm::UpdateVelmoraFile(path, DataDates);
    vm::DateRecord r = Rec(D(2025, 5, 5), "Min-5", 300);
    r.Hour = 12;
    r.Minute = 0;
    r.AM_PM = "AM";
    const int64_t id = Add(r);
    Run();
    const std::string list = AlarmOf(id);
    EXPECT_EQ(std::count(list.begin(), list.end(), ',') + 1, 288) << "every 5 minutes up to midnight";
    EXPECT_TRUE(list.ends_with(",-1440"));
}

struct Injected { const char* name; const char* trigger; };
void PrintTo(const Injected& c, std::ostream* os) { *os << c.name; }

class RepeatPassFailure : public RepeatPass, public ::testing::WithParamInterface<Injected> {};

TEST_P(RepeatPassFailure, KeepsTheOldTableAndReportsOnce) {
    vm::DateRecord hourly = Rec(D(2025, 3, 3), "Hour-1", 3);
    hourly.Hour = 9;
    const int64_t hourlyId = AddRecords(path, {Rec(D(2025, 1, 1), "Daily", 100), hourly});
    Run();
    const Strings before = Dump(path, "RepeatingData");
    ASSERT_EQ(before.size(), 99u);
    ASSERT_EQ(AlarmOf(hourlyId), "-60,-120,-180");

    // New work for the pass, which then fails part-way.
    Add(Rec(D(2026, 1, 1), "Weekly", 10));
    Exec("UPDATE [Velmora] SET [Duration] = 2 WHERE [ID] = " + std::to_string(hourlyId));
    Exec(GetParam().trigger);
    Run();

    EXPECT_EQ(Dump(path, "RepeatingData"), before);
    EXPECT_EQ(AlarmOf(hourlyId), "-60,-120,-180");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Build Repeating Error");
    EXPECT_NE(fx.messages.shown[0].text.find("injected"), std::string::npos) << fx.messages.shown[0].text;
    EXPECT_FALSE(vm::MainState.pRebuildRepeating);
    EXPECT_EQ(cursor.back(), false);
    // The work is still waiting for the next pass.
    Exec("DROP TRIGGER [fail]");
    Run();
    EXPECT_EQ(Dump(path, "RepeatingData").size(), 99u + 9u);
    EXPECT_EQ(AlarmOf(hourlyId), "-60,-120");
}

INSTANTIATE_TEST_SUITE_P(
    Pass, RepeatPassFailure,
    ::testing::Values(Injected{"InsertOfARow",
                               "CREATE TRIGGER [fail] BEFORE INSERT ON [RepeatingData] WHEN NEW.[JulDate] = 2026008 "
                               "BEGIN SELECT RAISE(ABORT, 'injected'); END"},
                      Injected{"AlarmWrite",
                               "CREATE TRIGGER [fail] BEFORE UPDATE OF [Alarm] ON [Velmora] "
                               "BEGIN SELECT RAISE(ABORT, 'injected'); END"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RepeatPass, BadRulesAndUnreadableDatesAreReportedOncePerRecord) {
    vm::DateRecord one = Rec(D(2025, 1, 1), "Daily", 3), two = one;
    one.DateText = "Broken one";
    two.DateText = "Broken two";
    AddRecords(path, {Rec(D(2025, 1, 1), "None", 5), Rec(D(2025, 1, 2), "Every-10-2", 365),
                      Rec(D(2025, 1, 3), "MonthWeek-2mon", 10), Rec(D(2025, 1, 4), "YearWeek-4-xyz-Nov", 5),
                      Rec(D(2025, 1, 1), "Daily", 3), one, two});
    Exec("UPDATE [Velmora] SET [Date] = 'not a day' WHERE [DateText] LIKE 'Broken%'");
    Run();
    EXPECT_EQ(fx.messages.beeps, 1);
    EXPECT_EQ(status, (Strings{"4:Invalid Repeat Type Selected"}));
    ASSERT_EQ(fx.messages.shown.size(), 4u) << "three rule boxes, one for both unreadable dates";
    std::string all;
    for (const auto& m : fx.messages.shown) all += m.title + ": " + m.text + "\n";
    for (const char* text : {"Every-10-2", "Unreadable Date: ", "Broken one", "Broken two"})
        EXPECT_NE(all.find(text), std::string::npos) << text << " in " << all;
    EXPECT_EQ(Repeating().size(), 2u) << "the readable record still gets its rows";
    Run();  // nothing changed, yet the problems are shown again
    EXPECT_EQ(fx.messages.beeps, 2);
    EXPECT_EQ(fx.messages.shown.size(), 8u);
    // After a write, only the problems of the records written are said.
    hooks.reportKept = false;
    Run();
    EXPECT_EQ(fx.messages.shown.size(), 8u);
    Exec("UPDATE [Velmora] SET [Duration] = 6 WHERE [Repeat] = 'MonthWeek-2mon'");
    Run();
    EXPECT_EQ(fx.messages.beeps, 2);
    ASSERT_EQ(fx.messages.shown.size(), 9u);
    EXPECT_EQ(fx.messages.shown[8].text, "Repeat Type Incorrectly Entered. Should be like: MonthWeek-2-Mon");
}

TEST_F(RepeatPass, DeathLookupTakesTheNameLiterallyInIdOrder) {
    vm::Module1.OptCalcYearsSince = true;
    vm::MainState.txtBeginRepeatYear = "1990";  // the box before the stored option
    std::vector<vm::DateRecord> records;
    auto add = [&](vm::CivilDate date, const char* rule, const char* text) {
        records.push_back(Rec(date, rule, rule[0] == 'N' ? 1 : 2));
        records.back().DateText = text;
    };
    add(D(1920, 5, 2), "None", "A_B's Birthday");  // hidden: still looked up
    records.back().Hide = true;
    add(D(1950, 1, 1), "None", "AxB's Birthday");  // "_" matches no other letter
    add(D(1931, 2, 2), "None", "Kay's Birthday (corrected)");
    add(D(1930, 1, 1), "None", "Kay's Birthday");  // the higher ID wins
    add(D(1940, 6, 6), "None", "ÉVA's Birthday");  // case folds beyond A-Z
    for (const char* text : {"A_B's Death", "Kay's Death", "100% Death", "éva's Death"})
        add(D(2001, 3, 10), "Yearly", text);
    AddRecords(path, records);
    Run();
    std::map<std::string, std::string> texts;
    for (RowMap& row : Repeating()) {
        const std::string text = db::AsText(row["DateText"]);
        texts[text.substr(0, text.find(' '))] = text;
    }
    const auto lived = [](vm::CivilDate born) { return vm::DateDiffYearsMonthsDays(born, D(2001, 3, 10), 1); };
    EXPECT_EQ(texts["A_B's"], "A_B's Death  1 Years Since Death  Lived: " + lived(D(1920, 5, 2)));
    EXPECT_EQ(texts["Kay's"], "Kay's Death  1 Years Since Death  Lived: " + lived(D(1930, 1, 1)));
    EXPECT_EQ(texts["100%"], "100% Death  1 Years Since Death ");  // "%" matches nothing else
    EXPECT_EQ(texts["éva's"], "éva's Death  1 Years Since Death  Lived: " + lived(D(1940, 6, 6)));
}

TEST_F(RepeatPass, APassThatWritesNothingLeavesTheGridAlone) {
    const int64_t id = Add(Rec(D(2025, 3, 3), "Weekly", 3));
    int refreshed = 0;
    hooks.refreshDateGrid = [&] { ++refreshed; };
    Run();
    EXPECT_EQ(refreshed, 1);
    const std::string month = "SELECT * FROM [Velmora] WHERE [JulDate] > 2025059 ORDER BY [ID]";
    DataDates.setRecordSource(month);
    DataDates.refresh();
    Run();
    EXPECT_EQ(DataDates.recordSource(), month);
    EXPECT_EQ(refreshed, 1);
    Exec("UPDATE [Velmora] SET [Duration] = 4 WHERE [ID] = " + std::to_string(id));
    Run();
    EXPECT_EQ(DataDates.recordSource(), std::string(vm::kRepeatPassSQL) + vm::kRepeatPassOrder);
    EXPECT_EQ(refreshed, 2);
    EXPECT_EQ(Repeating().size(), 3u);
}

// A copy uses [RepeatingData] as scratch space: in a table that numbers its
// rows from 1 again, as many scratch rows as there were occurrences keep the
// table's bounds, and still none of them may stay.
TEST_F(RepeatPass, ScratchRowsOfACopyNeverStayInATableWithoutAutoincrement) {
    auto file = db::Database::Open(path);
    std::string sql;
    {
        auto st = file->prepare("SELECT [sql] FROM sqlite_master WHERE [name] = 'RepeatingData'");
        ASSERT_TRUE(st.step());
        sql = db::AsText(st.column(0));
    }
    const size_t at = sql.find("AUTOINCREMENT");
    ASSERT_NE(at, std::string::npos);
    sql.erase(at, 13);
    file->exec("DROP TABLE [RepeatingData]");
    file->exec(sql);
    file.reset();
    for (int i = 0; i < 3; ++i) Add(Rec(D(2025, 3, 3 + i), "Daily", 2));
    Run();
    ASSERT_EQ(Repeating().size(), 3u);
    ASSERT_EQ(CopyAllRecords(path, "Copied"), 3);
    Run();
    // Each record and its copy: one occurrence each, the day after.
    EXPECT_EQ(Lines({"Date", "DateText"}), (Strings{"2025-03-04|Entry|", "2025-03-04|Entry|", "2025-03-05|Entry|",
                                                    "2025-03-05|Entry|", "2025-03-06|Entry|", "2025-03-06|Entry|"}));
}

}  // namespace
