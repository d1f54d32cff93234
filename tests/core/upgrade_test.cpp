#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/files.h"
#include "core/module1.h"
#include "core/schema.h"
#include "core/upgrade.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

const char* kOldRecordCols =
    "([ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Hide] INTEGER, [Date] TEXT, [Hour] INTEGER, [Minute] INTEGER, "
    "[AM_PM] TEXT, [DateText] TEXT, [Duration] INTEGER, [Repeat] TEXT, [BGColor] INTEGER, [FGColor] INTEGER, "
    "[DateType] TEXT, [WorkDay] INTEGER, [JulDate] INTEGER, [Alarm] TEXT, [SoundNum] INTEGER, [Font] TEXT, "
    "[UseColor] INTEGER)";

// A calendar file of the oldest layout: no [Hr24], [Priority] or [DayColors],
// and the legacy [UseColor] still there.
std::string OldCalendar() {
    const std::string path = vmtest::MakeTempDir("velmora-old") + "/Old.mdb";
    auto d = db::Database::Create(path);
    d->exec(std::string("CREATE TABLE [Velmora] ") + kOldRecordCols);
    d->exec(std::string("CREATE TABLE [RepeatingData] ") + kOldRecordCols);
    d->exec("CREATE TABLE [Sorting] ([DayNo] INTEGER, [Hour] INTEGER, [Min] INTEGER, [AMPM] TEXT, [DayMsg] TEXT, "
            "[Alarm] TEXT, [SoundNum] INTEGER, [JulDate] INTEGER, [Date] TEXT, [Font] TEXT, [UseColor] INTEGER, "
            "[TimeSort] INTEGER)");
    d->exec(vm::CreateTableSql(vm::FindTable(vm::CalendarTables(), "Backgrounds")));
    auto ins = d->prepare("INSERT INTO [Velmora] ([Hour], [AM_PM], [FGColor], [BGColor], [DateText]) VALUES (?, ?, ?, ?, ?)");
    struct Row { int hour; db::Value ampm; int fg, bg; };
    for (const Row& r : {Row{12, db::Text("AM"), 255, 16777215}, Row{12, db::Text("PM"), 0, 65280},
                         Row{3, db::Text("PM EST"), 1, 2}, Row{0, db::Text("AM"), 3, 4}, Row{5, db::Value{}, 5, 6},
                         Row{7, db::Text("am"), 7, 8}})
        ins.bind(1, db::Int(r.hour)).bind(2, r.ampm).bind(3, db::Int(r.fg)).bind(4, db::Int(r.bg)).bind(5, db::Text("x")).run();
    d->exec("INSERT INTO [RepeatingData] ([Hour], [AM_PM], [FGColor], [BGColor]) VALUES (9, 'PM', 10, 20)");
    d->exec("INSERT INTO [Sorting] ([Hour], [AMPM]) VALUES (11, 'PM')");
    return path;
}

std::vector<db::Value> Column(const std::string& path, const std::string& sql) {
    auto d = db::Database::Open(path);
    auto st = d->prepare(sql);
    std::vector<db::Value> out;
    while (st.step()) out.push_back(st.column(0));
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

TEST(UpdateVelmoraFile, BringsAnOldFileUpToDateWithBothBackFills) {
    vmtest::Fixture fx;
    const std::string path = OldCalendar();
    vm::Module1.CalendarFilePath = path;
    db::RecordSource DataDates;
    vm::UpdateVelmoraFile(path, DataDates);
    EXPECT_TRUE(fx.messages.shown.empty()) << fx.messages.shown[0].text;
    EXPECT_TRUE(vm::MainState.Hr24Added);

    auto d = db::Database::Open(path);
    auto tmpl = db::Database::Open(vm::BlankCalendarTemplate());
    for (const char* t : {"Velmora", "RepeatingData", "Sorting"})
        EXPECT_EQ(Sorted(d->columns(t)), Sorted(tmpl->columns(t))) << t;
    EXPECT_EQ(d->columns("Velmora"), d->columns("RepeatingData")) << "both tables keep one column order";
    // The date types are listed from an index the old file gains, as a new one has it.
    auto plan = d->prepare(std::string("EXPLAIN QUERY PLAN ") + vm::kDateTypesHead + vm::kDateTypesTail);
    ASSERT_TRUE(plan.step());
    EXPECT_NE(db::AsText(plan.column(3)).find("COVERING INDEX VelmoraDateType"), std::string::npos)
        << db::AsText(plan.column(3));
    auto made = tmpl->prepare("SELECT count(*) FROM sqlite_master WHERE [type] = 'index' AND [name] = 'VelmoraDateType'");
    ASSERT_TRUE(made.step());
    EXPECT_EQ(db::AsInt(made.column(0)), 1);

    const auto colors = Column(path, "SELECT [DayColors] FROM [Velmora] ORDER BY [ID]");
    EXPECT_EQ(db::AsText(colors[0]), "255;16777215;255;16777215;3;3");
    EXPECT_EQ(db::AsText(Column(path, "SELECT [DayColors] FROM [RepeatingData]")[0]), "10;20;10;20;3;3");
    EXPECT_TRUE(db::IsNull(Column(path, "SELECT [DayColors] FROM [Sorting]")[0])) << "[Sorting] is not back-filled";

    vm::Table24UpdateAll(DataDates);
    // 12 AM, 12 PM, 3 PM with a zone, 0 AM; no AM/PM is left untouched; "am" in any case.
    const std::vector<db::Value> hr24 = {int64_t{0}, int64_t{12}, int64_t{15}, int64_t{0}, {}, int64_t{7}};
    EXPECT_EQ(Column(path, "SELECT [Hr24] FROM [Velmora] ORDER BY [ID]"), hr24);
    EXPECT_EQ(db::AsInt(Column(path, "SELECT [Hr24] FROM [Sorting]")[0]), 23);
    EXPECT_EQ(db::AsInt(Column(path, "SELECT [Hr24] FROM [RepeatingData]")[0]), 21);
}

// The date types come from their index each once, spelled and ordered as
// first stored (case ignored), whatever the index's own order.
TEST(UpdateVelmoraFile, DateTypesListedFromTheIndexKeepTheOrderFirstStored) {
    const std::string path = vmtest::MakeTempDir("velmora-types") + "/Types.mdb";
    vm::CreateCalendarTemplate(path);
    auto d = db::Database::Open(path);
    d->exec("INSERT INTO [Velmora] ([DateType]) VALUES ('Zeta'), ('holiday'), (NULL), ('Holiday'), (''), ('Alpha'), "
            "('zeta')");
    std::vector<std::string> types;
    for (auto st = d->prepare(std::string(vm::kDateTypesHead) + vm::kDateTypesTail); st.step();)
        types.push_back(db::IsNull(st.column(0)) ? "(null)" : db::AsText(st.column(0)));
    EXPECT_EQ(types, (std::vector<std::string>{"Zeta", "holiday", "(null)", "", "Alpha"}));
}

TEST(UpdateVelmoraFile, CompletesAPartlyUpgradedFile) {
    vmtest::Fixture fx;
    const std::string path = OldCalendar();
    {
        // An earlier run stopped after [Hr24] and [Priority] were added to two tables.
        auto d = db::Database::Open(path);
        d->exec("ALTER TABLE [Sorting] ADD COLUMN [Hr24] INTEGER");
        d->exec("ALTER TABLE [RepeatingData] ADD COLUMN [Hr24] INTEGER");
        d->exec("ALTER TABLE [Velmora] ADD COLUMN [Hr24] INTEGER");
        d->exec("ALTER TABLE [Sorting] ADD COLUMN [Priority] INTEGER");
    }
    db::RecordSource DataDates;
    vm::UpdateVelmoraFile(path, DataDates);
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_FALSE(vm::MainState.Hr24Added) << "[Hr24] was there already";
    auto d = db::Database::Open(path);
    for (const char* t : {"Velmora", "RepeatingData", "Sorting"}) {
        const auto cols = d->columns(t);
        EXPECT_EQ(std::count(cols.begin(), cols.end(), "UseColor"), 0) << t;
        EXPECT_EQ(std::count(cols.begin(), cols.end(), "DayColors"), 1) << t;
        EXPECT_EQ(std::count(cols.begin(), cols.end(), "Priority"), 1) << t;
    }
}

TEST(UpdateVelmoraFile, LeavesACurrentFileAloneRefusesNonCalendarsCreatesNone) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("velmora-bad");
    db::RecordSource DataDates;
    const std::string current = vmtest::FreshCalendar();
    db::Database::Open(current)->exec("INSERT INTO [Velmora] ([FGColor], [BGColor], [DayColors]) VALUES (1, 2, '')");
    const std::string unchanged = vmtest::ReadAll(current);
    vm::UpdateVelmoraFile(current, DataDates);
    EXPECT_EQ(vmtest::ReadAll(current), unchanged);
    EXPECT_FALSE(vm::MainState.Hr24Added);

    vm::UpdateVelmoraFile(dir + "/missing.mdb", DataDates);
    EXPECT_FALSE(std::filesystem::exists(dir + "/missing.mdb"));
    EXPECT_TRUE(fx.messages.shown.empty());

    // A SQLite file of another program: one box naming it, the file untouched.
    const std::string foreign = dir + "/foreign.mdb";
    db::Database::Create(foreign)->exec("CREATE TABLE [Invoices] ([No] INTEGER)");
    const std::string before = vmtest::ReadAll(foreign);
    vm::UpdateVelmoraFile(foreign, DataDates);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "UpdateVelmoraFile_Error");
    EXPECT_NE(fx.messages.shown[0].text.find(foreign), std::string::npos);
    EXPECT_EQ(vmtest::ReadAll(foreign), before);
}

TEST(UpdateSettingsFile, AddsOnlyTheMissingColumnsAndNeedsTheFile) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("velmora-set");
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    vm::UpdateSettingsFile();
    EXPECT_FALSE(std::filesystem::exists(vm::SettingsDatabasePath())) << "no file is created";

    {
        // A settings database that lacks only [Voice].
        auto d = db::Database::Create(vm::SettingsDatabasePath());
        d->exec("CREATE TABLE [Settings] ([Top] INTEGER, [Prev1] TEXT, [Prev2] TEXT, [Prev3] TEXT, [Prev4] TEXT, "
                "[StartRepeatYear] TEXT, [StartUpSound] TEXT, [CalcYearsSince] INTEGER)");
        d->exec("CREATE TABLE [AlarmSounds] ([SoundNum] INTEGER, [SoundFileName] TEXT)");
        d->exec("INSERT INTO [Settings] ([Top]) VALUES (100)");
    }
    vm::UpdateSettingsFile();
    EXPECT_TRUE(fx.messages.shown.empty());
    auto d = db::Database::Open(vm::SettingsDatabasePath());
    const auto cols = d->columns("Settings");
    EXPECT_EQ(cols.back(), "Voice");
    EXPECT_EQ(cols.size(), 9u);
}

}  // namespace
