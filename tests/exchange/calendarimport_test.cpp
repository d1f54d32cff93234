// Taking over the records of another calendar file, without a window: the
// duplicate test (any case, apostrophes), sources of another column order or
// an older layout, rows the open file refuses named in one message, rows
// without a day key, and failures or Cancel that keep nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/calendarimport.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::MsgResult;

namespace {

// One row of the current layout, as an INSERT (texts quoted for SQL by hand).
std::string Row(const std::string& date, int jul, int hour, std::string text) {
    for (size_t at = 0; (at = text.find('\'', at)) != std::string::npos; at += 2) text.insert(at, "'");
    return "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[DateType],"
           "[BGColor],[FGColor],[SoundNum],[WorkDay]) VALUES (0,'" + date + "'," + std::to_string(jul) + "," +
           std::to_string(hour) + ",5,'AM','" + text + "',0,'Event',255,65280,3,-1)";
}
// A row on 15 March 2026 at the time given.
std::string AtTime(int hour, int minute, const std::string& ampm, const std::string& text) {
    std::string quoted = text;
    for (size_t at = 0; (at = quoted.find('\'', at)) != std::string::npos; at += 2) quoted.insert(at, "'");
    return "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration]) VALUES "
           "(0,'2026-03-15',2026074," + std::to_string(hour) + "," + std::to_string(minute) + ",'" + ampm + "','" +
           quoted + "',0)";
}
std::string OldRow(int hour, const std::string& ampm, const std::string& text) {
    return "INSERT INTO [Velmora] ([Hide],[Date],[Hour],[Minute],[AM_PM],[DateText],[Duration],[BGColor],[FGColor],"
           "[JulDate],[UseColor]) VALUES (0,'2026-06-01'," + std::to_string(hour) + ",0,'" + ampm + "','" + text +
           "',0,12632256,128,2026152,-1)";
}

const std::string kReversed =
    "CREATE TABLE [Velmora] ([Hr24] INTEGER, [DayColors] TEXT, [Priority] INTEGER, [Font] TEXT, [SoundNum] INTEGER,"
    " [Alarm] TEXT, [JulDate] INTEGER, [WorkDay] INTEGER, [DateType] TEXT, [FGColor] INTEGER, [BGColor] INTEGER,"
    " [Repeat] TEXT, [Duration] INTEGER, [DateText] TEXT, [AM_PM] TEXT, [Minute] INTEGER, [Hour] INTEGER,"
    " [Date] TEXT, [Hide] INTEGER, [ID] INTEGER PRIMARY KEY)";
// An older layout, without the checks of today's file.
const std::string kOld =
    "CREATE TABLE [Velmora] ([ID] INTEGER PRIMARY KEY, [Hide] INTEGER, [Date] TEXT, [Hour] INTEGER,"
    " [Minute] INTEGER, [AM_PM] TEXT, [DateText] TEXT, [Duration] INTEGER, [Repeat] TEXT, [BGColor] INTEGER,"
    " [FGColor] INTEGER, [DateType] TEXT, [WorkDay] INTEGER, [JulDate] INTEGER, [Alarm] TEXT,"
    " [SoundNum] INTEGER, [Font] TEXT, [UseColor] INTEGER)";
struct Case {
    const char* what;
    std::string create;  // the source's table; "" a fresh calendar, "text" no database, "target" the open file
    std::vector<std::string> rows;
    bool duplicates;
    std::vector<MsgResult> answers;
    bool done;
    std::vector<std::string> added;  // the rows the target gains, in order, as `shown` gives them
    std::string shown = "[DateText]";
    std::string refused = "";  // the one message naming the rows the open file refused
};

TEST(CalendarImport, RowsMatchByColumnNameWithoutDuplicatesAllOrNothing) {
    const std::vector<std::string> dupSource = {
        Row("2026-03-15", 2026074, 9, "DENTIST'S VISIT"),  // same, other case
        Row("2026-03-15", 2026074, 10, "Dentist's visit"), // other hour
        Row("2026-03-16", 2026075, 9, "Dentist's visit"),  // other day
        Row("2026-03-15", 2026074, 0, "ÄRZTIN MÜLLER"),    // same, folded beyond A-Z
        Row("2026-03-15", 2026074, 9, "Dentist s visit"),  // apostrophe missing: another text
        Row("2026-03-15", 2026074, 9, "dentist's VISIT"),  // same again
        Row("2026-03-16", 2026075, 9, "Dentist's visit"),  // repeats a row this import added
        AtTime(9, 5, "pm", "Dentist's visit"),             // the same hour at night
        AtTime(9, 30, "AM", "Dentist's visit"),            // another minute
        AtTime(9, 5, "am", "Dentist's visit"),             // the same, AM in another case
        // Each below the first of its text repeats it: a record without a time
        // (hour 0) has no minute or half of the day to differ by, and no
        // minute is minute 0.
        "INSERT INTO [Velmora] ([Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText]) VALUES "
        "('2026-03-15',2026074,0,0,'AM','All day'), ('2026-03-15',2026074,0,NULL,NULL,'All day'),"
        "('2026-03-15',2026074,7,0,'pm','Seven'), ('2026-03-15',2026074,7,NULL,'PM','Seven')",
    };
    const std::string bad = "INSERT INTO [Velmora] ([Date],[Hour],[DateText],[DateType]) VALUES ('2026-05-02',1,"
                            "'Bad','" + std::string(60, 'x') + "')";
    const std::vector<std::string> badSource = {
        Row("2026-05-01", 2026121, 1, "First"), bad, Row("2026-05-03", 2026123, 1, "Third"),
        "INSERT INTO [Velmora] ([Date],[Hour],[DateText],[Repeat]) VALUES ('2026-05-04',1,'Far too long a repeat','" +
            std::string(60, 'r') + "')"};
    const std::string kColours = "128;12632256;128;12632256;3;3 2026152 -";  // from FG 128 and BG 12632256
    const Case cases[] = {
        {"duplicates left out", "", dupSource, false, {}, true,
         {"Dentist's visit 10:5", "Dentist's visit 9:5", "Dentist s visit 9:5", "Dentist's visit 9:5 pm",
          "Dentist's visit 9:30", "All day 0:0", "Seven 7:0 pm"},
         "[DateText]||' '||[Hour]||':'||[Minute]||IIF([AM_PM] = 'pm', ' pm', '')"},
        {"duplicates taken over", "", dupSource, true, {}, true,
         {"DENTIST'S VISIT", "Dentist's visit", "Dentist's visit", "ÄRZTIN MÜLLER", "Dentist s visit",
          "dentist's VISIT", "Dentist's visit", "Dentist's visit", "Dentist's visit", "Dentist's visit", "All day",
          "All day", "Seven", "Seven"}},
        {"another column order", kReversed,
         {"INSERT INTO [Velmora] VALUES (15, '1;2;3;4;2;3', 7, 'Serif,12,True,False', 4, '10,5', 2026046, -1,"
          " 'Birthday', 65535, 16711680, 'Yearly', 10, 'Grandma''s birthday', 'PM', 30, 3, '2026-02-15', 0, 77)"},
         false, {}, true,
         {"#3 0 2026-02-15 3:30 PM Grandma's birthday 10 Yearly 16711680 65535 Birthday -1 2026046 10,5 4 "
          "Serif,12,True,False 7 1;2;3;4;2;3 15"},  // the record number is given anew
         "'#'||[ID]||' '||[Hide]||' '||[Date]||' '||[Hour]||':'||[Minute]||' '||[AM_PM]||' '||[DateText]||' '||"
         "[Duration]||' '||[Repeat]||' '||[BGColor]||' '||[FGColor]||' '||[DateType]||' '||[WorkDay]||' '||[JulDate]"
         "||' '||[Alarm]||' '||[SoundNum]||' '||[Font]||' '||[Priority]||' '||[DayColors]||' '||[Hr24]"},
        {"an old layout", kOld,
         {OldRow(9, "PM", "Nine at night"), OldRow(12, "AM", "Midnight"), OldRow(12, "PM", "Noon"),
          OldRow(7, "AMET", "Seven eastern"), OldRow(4, "", "No half of day")},
         true, {}, true,
         {"Nine at night 21 " + kColours, "Midnight 0 " + kColours, "Noon 12 " + kColours,
          "Seven eastern 7 " + kColours, "No half of day - " + kColours},
         "[DateText]||' '||IFNULL([Hr24],'-')||' '||[DayColors]||' '||[JulDate]||' '||IFNULL([Priority],'-')"},
        {"rows the open file refuses", kOld, badSource, true, {}, true, {"First", "Third"}, "[DateText]",
         "2 records were not imported: the open calendar cannot hold their values.\r\n5/2/2026: Bad\r\n"
         "5/4/2026: Far too long a repeat"},
        {"a row without day key or colours", "",
         {"INSERT INTO [Velmora] ([Date],[Hour],[DateText]) VALUES ('2026-07-04',0,'No key')"}, true, {}, true,
         {"No key 2026185 0;16777215;0;16777215;3;3"}, "[DateText]||' '||[JulDate]||' '||[DayColors]"},
        {"no database", "text", {}, true, {}, false, {}},
        {"the open file itself", "target", {}, true, {}, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vmtest::Fixture fx;
        const std::string target = vmtest::FreshCalendar();
        auto store = db::Database::Open(target);
        store->exec(Row("2026-03-15", 2026074, 9, "Dentist's visit"));
        store->exec(Row("2026-03-15", 2026074, 0, "Ärztin Müller"));
        std::string source = c.create == "target" ? target : vmtest::FreshCalendar();
        if (c.create == "text") vmtest::WriteAll(source, "just some words, not a database");
        if (c.create.rfind("CREATE", 0) == 0) {
            source = vmtest::MakeTempDir("velmora-src") + "/Other.mdb";
            db::Database::Create(source)->exec(c.create);
        }
        if (!c.rows.empty()) {
            auto s = db::Database::Open(source);
            for (const std::string& sql : c.rows) s->exec(sql);
        }
        const std::string sourceBytes = vmtest::ReadAll(source);
        fx.messages.answers.assign(c.answers.begin(), c.answers.end());

        vm::Operation op("ImportVelmoraFile_Error");
        const auto r = vm::ImportCalendarRows(source, target, c.duplicates, op);
        EXPECT_EQ(r.done, c.done);
        EXPECT_EQ(vm::RefusedRowsMessage(r), c.refused);
        if (c.done) {
            EXPECT_EQ(r.added, int(c.added.size()));
        }
        EXPECT_EQ(vmtest::ReadAll(source), sourceBytes) << "the source file is only read";
        const bool failed = !c.done || !c.answers.empty();
        ASSERT_EQ(fx.messages.shown.size(), failed ? 1u : 0u);
        if (failed) {
            const bool named = fx.messages.shown[0].text.find(source) != std::string::npos;
            EXPECT_TRUE(named || !c.rows.empty()) << "a source refused whole is named";
        }

        std::vector<std::string> added;
        auto st = store->prepare("SELECT " + c.shown + " FROM [Velmora] WHERE [ID] > 2 ORDER BY [ID]");
        while (st.step()) added.push_back(db::AsText(st.column(0)));
        EXPECT_EQ(added, c.added);
        auto kept = store->prepare("SELECT group_concat([DateText], '|') FROM [Velmora] WHERE [ID] <= 2");
        ASSERT_TRUE(kept.step());
        EXPECT_EQ(db::AsText(kept.column(0)), "Dentist's visit|Ärztin Müller");

        // Cancelled on the way: the open file is as it was.
        if (!c.done || c.rows.empty()) continue;
        store->exec("DELETE FROM [Velmora] WHERE [ID] > 2");
        int asked = 0;
        const auto cancelled =
            vm::ImportCalendarRows(source, target, c.duplicates, op, [&](int64_t, int64_t) { return ++asked < 1; });
        EXPECT_FALSE(cancelled.done);
        EXPECT_EQ(asked, 1);
        auto count = store->prepare("SELECT COUNT(*) FROM [Velmora]");
        ASSERT_TRUE(count.step());
        EXPECT_EQ(db::AsInt(count.column(0)), 2);
    }
}

// A Date as other tools write it ("3/15/2024", two-digit years, a time after
// the day) is stored in the ISO form with its day key; a row whose Date names
// no day is named rather than copied without a day key. The file's extras
// (Priority, Hr24, Font, DayColors) never refuse a row: a value the open
// calendar cannot hold gives way to the rule or the table's default.
TEST(CalendarImport, DatesAreReadAsTypedAndExtrasNeverRefuseARow) {
    vmtest::Fixture fx;
    const std::string target = vmtest::FreshCalendar();
    const std::string source = vmtest::MakeTempDir("velmora-src") + "/Other.mdb";
    {
        auto s = db::Database::Create(source);
        s->exec(kReversed);
        auto add = s->prepare("INSERT INTO [Velmora] ([Date],[Hour],[AM_PM],[DateText],[Priority],[Hr24],[Font],"
                              "[DayColors]) VALUES (?,3,'PM',?,?,?,?,?)");
        const db::Value N{};
        const std::vector<std::vector<db::Value>> rows = {
            {db::Text("3/15/2024"), db::Text("month first"), N, N, N, N},
            {db::Text("2024-03-16 10:00:00"), db::Text("with a time"), N, N, N, N},
            {db::Text("3/17/24"), db::Text("two digits"), db::Int(300), db::Int(300), db::Text(std::string(150, 'f')),
             db::Text(std::string(120, '1'))},
            {db::Text("someday"), db::Text("no day"), N, N, N, N},
            {N, db::Text("no date at all"), N, N, N, N},
            {db::Text("2/30/2024"), db::Text("no such day"), N, N, N, N},
        };
        for (const auto& r : rows) {
            add.bindAll(r);
            add.run();
        }
    }
    vm::Operation op("ImportVelmoraFile_Error");
    const auto r = vm::ImportCalendarRows(source, target, true, op);
    EXPECT_TRUE(r.done);
    EXPECT_EQ(r.added, 3);
    EXPECT_TRUE(fx.messages.shown.empty());
    std::vector<std::string> added;
    auto st = db::Database::Open(target)->prepare(
        "SELECT [DateText]||' '||[Date]||' '||[JulDate]||' '||IFNULL([Priority],'-')||' '||IFNULL([Hr24],'-')||' '||"
        "IFNULL([Font],'-')||' '||[DayColors] FROM [Velmora] ORDER BY [ID]");
    while (st.step()) added.push_back(db::AsText(st.column(0)));
    const std::string colours = "0;16777215;0;16777215;3;3";
    EXPECT_EQ(added, (std::vector<std::string>{"month first 2024-03-15 2024075 - 15 - " + colours,
                                               "with a time 2024-03-16 2024076 - 15 - " + colours,
                                               "two digits 2024-03-17 2024077 - 15 - " + colours}));
    EXPECT_EQ(vm::RefusedRowsMessage(r),
              "3 records were not imported: their Date cannot be read as a day.\r\n\"someday\": no day\r\n"
              "\"\": no date at all\r\n\"2/30/2024\": no such day");
}

}  // namespace
