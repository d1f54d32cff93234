// Taking over the records of another calendar file, without a window: the
// duplicate test (any case, apostrophes), sources of another column order or
// an older layout, and failures that keep nothing.
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
// A value the target row with this text must hold.
struct Check {
    const char* text;
    const char* column;
    db::Value value;
};

struct Case {
    const char* what;
    std::string create;  // the source's table; "" a fresh calendar, "text" no database, "target" the open file
    std::vector<std::string> rows;
    bool duplicates;
    std::vector<MsgResult> answers;
    bool done;
    std::vector<std::string> added;  // texts the target gains, in order
    std::vector<Check> checks;
};

TEST(CalendarImport, RowsAreTakenOverByColumnNameWithoutDuplicatesAndAllOrNothing) {
    const std::vector<std::string> dupSource = {
        Row("2026-03-15", 2026074, 9, "DENTIST'S VISIT"),  // same, other case
        Row("2026-03-15", 2026074, 10, "Dentist's visit"), // other hour
        Row("2026-03-16", 2026075, 9, "Dentist's visit"),  // other day
        Row("2026-03-15", 2026074, 0, "ÄRZTIN MÜLLER"),    // same, folded beyond A-Z
        Row("2026-03-15", 2026074, 9, "Dentist s visit"),  // apostrophe missing: another text
        Row("2026-03-15", 2026074, 9, "dentist's VISIT"),  // same again
        Row("2026-03-16", 2026075, 9, "Dentist's visit"),  // repeats a row this import added
    };
    const std::string bad = "INSERT INTO [Velmora] ([Date],[Hour],[DateText],[DateType]) VALUES ('2026-05-02',1,"
                            "'Bad','" + std::string(60, 'x') + "')";
    const std::vector<std::string> badSource = {Row("2026-05-01", 2026121, 1, "First"), bad,
                                                Row("2026-05-03", 2026123, 1, "Third")};
    const char* G = "Grandma's birthday";
    const Case cases[] = {
        {"duplicates left out", "", dupSource, false, {}, true,
         {"Dentist's visit", "Dentist's visit", "Dentist s visit"}, {}},
        {"duplicates taken over", "", dupSource, true, {}, true,
         {"DENTIST'S VISIT", "Dentist's visit", "Dentist's visit", "ÄRZTIN MÜLLER", "Dentist s visit",
          "dentist's VISIT", "Dentist's visit"}, {}},
        {"another column order", kReversed,
         {"INSERT INTO [Velmora] VALUES (15, '1;2;3;4;2;3', 7, 'Serif,12,True,False', 4, '10,5', 2026046, -1,"
          " 'Birthday', 65535, 16711680, 'Yearly', 10, 'Grandma''s birthday', 'PM', 30, 3, '2026-02-15', 0, 77)"},
         false, {}, true, {G},
         {{G, "Hide", db::Int(0)}, {G, "Date", db::Text("2026-02-15")}, {G, "Hour", db::Int(3)},
          {G, "Minute", db::Int(30)}, {G, "AM_PM", db::Text("PM")}, {G, "Duration", db::Int(10)},
          {G, "Repeat", db::Text("Yearly")}, {G, "BGColor", db::Int(16711680)}, {G, "FGColor", db::Int(65535)},
          {G, "DateType", db::Text("Birthday")}, {G, "WorkDay", db::Int(-1)}, {G, "JulDate", db::Int(2026046)},
          {G, "Alarm", db::Text("10,5")}, {G, "SoundNum", db::Int(4)}, {G, "Font", db::Text("Serif,12,True,False")},
          {G, "Priority", db::Int(7)}, {G, "DayColors", db::Text("1;2;3;4;2;3")}, {G, "Hr24", db::Int(15)},
          {G, "ID", db::Int(3)}}},  // the record number is given anew
        {"an old layout", kOld,
         {OldRow(9, "PM", "Nine at night"), OldRow(12, "AM", "Midnight"), OldRow(12, "PM", "Noon"),
          OldRow(7, "AMET", "Seven eastern"), OldRow(4, "", "No half of day")},
         true, {}, true, {"Nine at night", "Midnight", "Noon", "Seven eastern", "No half of day"},
         {{"Nine at night", "Hr24", db::Int(21)}, {"Midnight", "Hr24", db::Int(0)}, {"Noon", "Hr24", db::Int(12)},
          {"Seven eastern", "Hr24", db::Int(7)}, {"No half of day", "Hr24", db::Value{}},
          {"Noon", "DayColors", db::Text("128;12632256;128;12632256;3;3")}, {"Noon", "JulDate", db::Int(2026152)},
          {"Noon", "Priority", db::Value{}}}},
        {"a bad row, Cancel", kOld, badSource, true, {MsgResult::Cancel}, false, {}, {}},
        {"a bad row, OK", kOld, badSource, true, {MsgResult::Ok}, true, {"First", "Third"}, {}},
        {"no database", "text", {}, true, {}, false, {}, {}},
        {"the open file itself", "target", {}, true, {}, false, {}, {}},
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
        if (c.done) {
            EXPECT_EQ(r.added, int(c.added.size()));
        }
        EXPECT_EQ(vmtest::ReadAll(source), sourceBytes) << "the source file is only read";
        const bool failed = !c.done || !c.answers.empty();
        ASSERT_EQ(fx.messages.shown.size(), failed ? 1u : 0u);
        if (failed) {
            EXPECT_EQ(fx.messages.shown[0].title, "ImportVelmoraFile_Error");
            const bool named = fx.messages.shown[0].text.find(source) != std::string::npos;
            EXPECT_TRUE(named || !c.rows.empty()) << "a source refused whole is named";
        }

        std::vector<std::string> texts, want = {"Dentist's visit", "Ärztin Müller"};
        want.insert(want.end(), c.added.begin(), c.added.end());
        auto st = store->prepare("SELECT [DateText] FROM [Velmora] ORDER BY [ID]");
        while (st.step()) texts.push_back(db::AsText(st.column(0)));
        EXPECT_EQ(texts, want);
        for (const Check& k : c.checks) {
            auto q = store->prepare(std::string("SELECT [") + k.column + "] FROM [Velmora] WHERE [DateText] = ?");
            q.bind(1, db::Text(k.text));
            ASSERT_TRUE(q.step()) << k.text;
            EXPECT_EQ(q.column(0), k.value) << k.text << " " << k.column;
        }
    }
}

}  // namespace