// Taking over the records of another calendar file, without a window: the
// duplicate test (any case, apostrophes), sources of another column order or
// an older layout, and failures that keep nothing.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/calendarimport.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::MsgResult;

namespace {

struct Row {
    std::string date;  // stored form
    int jul;           // its day key
    int hour;
    std::string ampm, text;
};

void Insert(const std::string& path, const std::vector<Row>& rows) {
    auto store = db::Database::Open(path);
    auto st = store->prepare(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[DateType],"
        "[BGColor],[FGColor],[SoundNum],[WorkDay]) VALUES (0,?,?,?,5,?,?,0,'Event',255,65280,3,-1)");
    for (const Row& r : rows) {
        st.bindAll({db::Text(r.date), db::Int(r.jul), db::Int(r.hour), db::Text(r.ampm), db::Text(r.text)});
        st.run();
    }
}

std::vector<std::string> Texts(const std::string& path) {
    std::vector<std::string> out;
    auto st = db::Database::Open(path)->prepare("SELECT [DateText] FROM [Velmora] ORDER BY [ID]");
    while (st.step()) out.push_back(db::AsText(st.column(0)));
    return out;
}
int Count(const std::string& path) { return int(Texts(path).size()); }

// The row with this text, by column name.
std::map<std::string, db::Value> RowOf(const std::string& path, const std::string& text) {
    auto st = db::Database::Open(path)->prepare("SELECT * FROM [Velmora] WHERE [DateText] = ?");
    st.bind(1, db::Text(text));
    std::map<std::string, db::Value> out;
    if (st.step())
        for (int i = 0; i < st.columnCount(); ++i) out[st.columnName(i)] = st.column(i);
    return out;
}

std::string NewDatabase(const std::string& createSql) {
    const std::string path = vmtest::MakeTempDir("velmora-src") + "/Other.mdb";
    auto store = db::Database::Create(path);
    store->exec(createSql);
    return path;
}

vm::CalendarImportResult Import(const std::string& from, const std::string& to, bool duplicates) {
    vm::Operation op("ImportVelmoraFile_Error");
    return vm::ImportCalendarRows(from, to, duplicates, op);
}

TEST(CalendarImport, DuplicatesAreLeftOutWithoutRegardToCaseOrAreAllTakenOver) {
    struct Case {
        bool importDuplicates;
        int added, skipped;
    };
    for (const Case c : {Case{false, 3, 4}, Case{true, 7, 0}}) {
        vmtest::Fixture fx;
        const std::string target = vmtest::FreshCalendar(), source = vmtest::FreshCalendar();
        Insert(target, {{"2026-03-15", 2026074, 9, "AM", "Dentist's visit"}, {"2026-03-15", 2026074, 0, "AM", "Ärztin Müller"}});
        Insert(source, {
                           {"2026-03-15", 2026074, 9, "AM", "DENTIST'S VISIT"},  // same, other case
                           {"2026-03-15", 2026074, 10, "AM", "Dentist's visit"}, // other hour
                           {"2026-03-16", 2026075, 9, "AM", "Dentist's visit"},  // other day
                           {"2026-03-15", 2026074, 0, "AM", "ÄRZTIN MÜLLER"},    // same, folded beyond A-Z
                           {"2026-03-15", 2026074, 9, "AM", "Dentist s visit"},  // apostrophe missing: another text
                           {"2026-03-15", 2026074, 9, "AM", "dentist's VISIT"},  // same again
                           {"2026-03-16", 2026075, 9, "AM", "Dentist's visit"},  // repeats a row this import added
                       });
        const auto r = Import(source, target, c.importDuplicates);
        EXPECT_TRUE(r.done);
        EXPECT_EQ(r.added, c.added);
        EXPECT_EQ(r.skipped, c.skipped);
        EXPECT_EQ(Count(target), 2 + c.added);
        EXPECT_TRUE(fx.messages.shown.empty());
        if (!c.importDuplicates) {
            EXPECT_EQ(Texts(target), (std::vector<std::string>{"Dentist's visit", "Ärztin Müller", "Dentist's visit",
                                                               "Dentist's visit", "Dentist s visit"}));
        }
    }
}

TEST(CalendarImport, ASourceWithAnotherColumnOrderLandsEachValueInItsColumn) {
    vmtest::Fixture fx;
    const std::string target = vmtest::FreshCalendar();
    const std::string source = NewDatabase(
        "CREATE TABLE [Velmora] ([Hr24] INTEGER, [DayColors] TEXT, [Priority] INTEGER, [Font] TEXT, [SoundNum] INTEGER,"
        " [Alarm] TEXT, [JulDate] INTEGER, [WorkDay] INTEGER, [DateType] TEXT, [FGColor] INTEGER, [BGColor] INTEGER,"
        " [Repeat] TEXT, [Duration] INTEGER, [DateText] TEXT, [AM_PM] TEXT, [Minute] INTEGER, [Hour] INTEGER,"
        " [Date] TEXT, [Hide] INTEGER, [ID] INTEGER PRIMARY KEY)");
    {
        auto s = db::Database::Open(source);
        s->exec("INSERT INTO [Velmora] VALUES (15, '1;2;3;4;2;3', 7, 'Serif,12,True,False', 4, '10,5', 2026046, -1,"
                " 'Birthday', 65535, 16711680, 'Yearly', 10, 'Grandma''s birthday', 'PM', 30, 3, '2026-02-15', 0, 77)");
    }
    const std::string sourceBytes = vmtest::ReadAll(source);
    const auto r = Import(source, target, false);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.added, 1);
    EXPECT_EQ(vmtest::ReadAll(source), sourceBytes) << "the source file is only read";
    auto row = RowOf(target, "Grandma's birthday");
    ASSERT_FALSE(row.empty());
    const std::map<std::string, db::Value> expected = {
        {"Hide", db::Int(0)},         {"Date", db::Text("2026-02-15")}, {"Hour", db::Int(3)},
        {"Minute", db::Int(30)},      {"AM_PM", db::Text("PM")},        {"Duration", db::Int(10)},
        {"Repeat", db::Text("Yearly")}, {"BGColor", db::Int(16711680)}, {"FGColor", db::Int(65535)},
        {"DateType", db::Text("Birthday")}, {"WorkDay", db::Int(-1)},   {"JulDate", db::Int(2026046)},
        {"Alarm", db::Text("10,5")},  {"SoundNum", db::Int(4)},         {"Font", db::Text("Serif,12,True,False")},
        {"Priority", db::Int(7)},     {"DayColors", db::Text("1;2;3;4;2;3")}, {"Hr24", db::Int(15)}};
    for (const auto& [name, value] : expected) EXPECT_EQ(row[name], value) << name;
    EXPECT_NE(row["ID"], db::Int(77));  // the record number is given anew
}

TEST(CalendarImport, AnOldLayoutSourceGetsItsHourOfDayAndDayColoursDerived) {
    vmtest::Fixture fx;
    const std::string target = vmtest::FreshCalendar();
    const std::string source = NewDatabase(
        "CREATE TABLE [Velmora] ([ID] INTEGER PRIMARY KEY, [Hide] INTEGER, [Date] TEXT, [Hour] INTEGER,"
        " [Minute] INTEGER, [AM_PM] TEXT, [DateText] TEXT, [Duration] INTEGER, [Repeat] TEXT, [BGColor] INTEGER,"
        " [FGColor] INTEGER, [DateType] TEXT, [WorkDay] INTEGER, [JulDate] INTEGER, [Alarm] TEXT,"
        " [SoundNum] INTEGER, [Font] TEXT, [UseColor] INTEGER)");
    struct Case {
        int hour;
        const char* ampm;
        const char* text;
        db::Value hr24;
    };
    const Case cases[] = {{9, "PM", "Nine at night", db::Int(21)}, {12, "AM", "Midnight", db::Int(0)},
                          {12, "PM", "Noon", db::Int(12)},         {7, "AMET", "Seven eastern", db::Int(7)},
                          {4, "", "No half of day", db::Value{}}};
    {
        auto s = db::Database::Open(source);
        auto st = s->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[Hour],[Minute],[AM_PM],[DateText],[Duration],[BGColor],[FGColor],"
            "[JulDate],[UseColor]) VALUES (0,'2026-06-01',?,0,?,?,0,12632256,128,2026152,-1)");
        for (const Case& c : cases) {
            st.bindAll({db::Int(c.hour), db::Text(c.ampm), db::Text(c.text)});
            st.run();
        }
    }
    const auto r = Import(source, target, true);
    ASSERT_TRUE(r.done);
    EXPECT_EQ(r.added, 5);
    for (const Case& c : cases) {
        auto row = RowOf(target, c.text);
        EXPECT_EQ(row["Hr24"], c.hr24) << c.text;
        EXPECT_EQ(row["DayColors"], db::Text("128;12632256;128;12632256;3;3")) << c.text;
        EXPECT_EQ(row["JulDate"], db::Int(2026152)) << c.text;
        EXPECT_TRUE(db::IsNull(row["Priority"])) << c.text;
    }
}

TEST(CalendarImport, FailuresKeepNothingUnlessTheUserGoesOnPastABadRow) {
    struct Case {
        const char* what;
        std::vector<MsgResult> answers;
        int kept;
    };
    for (const Case& c : {Case{"Cancel at the bad row", {MsgResult::Cancel}, 0}, Case{"OK at the bad row", {MsgResult::Ok}, 2}}) {
        vmtest::Fixture fx;
        const std::string target = vmtest::FreshCalendar();
        const std::string source = NewDatabase(
            "CREATE TABLE [Velmora] ([ID] INTEGER PRIMARY KEY, [Hide] INTEGER, [Date] TEXT, [JulDate] INTEGER,"
            " [Hour] INTEGER, [Minute] INTEGER, [AM_PM] TEXT, [DateText] TEXT, [Duration] INTEGER, [DateType] TEXT,"
            " [BGColor] INTEGER, [FGColor] INTEGER, [SoundNum] INTEGER, [WorkDay] INTEGER)");
        Insert(source, {{"2026-05-01", 2026121, 1, "AM", "First"}});
        {
            // A date type longer than the column allows is refused by the target.
            auto s = db::Database::Open(source);
            s->exec("INSERT INTO [Velmora] ([Date],[Hour],[DateText],[DateType]) VALUES ('2026-05-02',1,'Bad','" +
                    std::string(60, 'x') + "')");
        }
        Insert(source, {{"2026-05-03", 2026123, 1, "AM", "Third"}});
        fx.messages.answers.assign(c.answers.begin(), c.answers.end());
        const auto r = Import(source, target, true);
        ASSERT_EQ(fx.messages.shown.size(), 1u) << c.what;
        EXPECT_EQ(fx.messages.shown[0].title, "ImportVelmoraFile_Error");
        EXPECT_EQ(Count(target), c.kept) << c.what;
        EXPECT_EQ(r.done, c.kept > 0) << c.what;
    }
}

TEST(CalendarImport, SourcesThatAreNoCalendarAreRefusedAndLeftUnchanged) {
    vmtest::Fixture fx;
    const std::string target = vmtest::FreshCalendar();
    const std::string text = vmtest::MakeTempDir("velmora-src") + "/notes.mdb";
    vmtest::WriteAll(text, "just some words, not a database");
    for (const std::string& source : {text, target}) {
        fx.messages.clear();
        const std::string before = vmtest::ReadAll(source);
        const auto r = Import(source, target, true);
        EXPECT_FALSE(r.done) << source;
        ASSERT_EQ(fx.messages.shown.size(), 1u) << source;
        EXPECT_NE(fx.messages.shown[0].text.find(source), std::string::npos) << fx.messages.shown[0].text;
        EXPECT_EQ(vmtest::ReadAll(source), before);
    }
    EXPECT_EQ(Count(target), 0);
}

}  // namespace
