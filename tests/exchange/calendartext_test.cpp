// The calendar text file without any window: the exact bytes written, the
// reader, the encodings both ways, the checks of imported lines and a full
// round trip through two calendar files.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "core/calendartext.h"
#include "core/dates.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

using Row = std::vector<std::string>;

// A calendar file with rows put in by plain SQL.
struct Calendar {
    std::string path = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> db = db::Database::Open(path);

    db::RecordSource Source() {
        db::RecordSource rs;
        rs.setDatabaseName(path);
        rs.setRecordSource("SELECT * FROM [Velmora] ORDER BY [ID]");
        rs.refresh();
        return rs;
    }
    std::vector<std::vector<db::Value>> Rows(const std::string& cols) {
        std::vector<std::vector<db::Value>> out;
        auto st = db->prepare("SELECT " + cols + " FROM [Velmora] ORDER BY [ID]");
        while (st.step()) {
            out.emplace_back();
            for (int i = 0; i < st.columnCount(); ++i) out.back().push_back(st.column(i));
        }
        return out;
    }
};

db::Value T(const char* s) { return db::Text(s); }
db::Value I(int64_t i) { return db::Int(i); }
const db::Value N{};

vm::ExportBoxes AllBoxes() {
    vm::ExportBoxes b{};
    b.fill(true);
    return b;
}

const std::string kLegend =
    "**0Hide, 1Date, 2Time, 3Date Text, 4Repeat Periods, 5Repeat Type, 8Date Type, 9Work Day, 10Alarm, 11SoundFile, "
    "12Font +Size +Bold +Italic, 13Colors+DateColr+DayBG+DayStyl+TitlTxt+TitlBG+TitlStyl, 14Priority ";

TEST(CalendarText, ExactExportBytesAndARoundTripKeepingAllThirteenFields) {
    // Three records covering the encodings: a text with a comma, quotes and a
    // line break, two alarm offsets, a font text, an empty text, empty fields
    // and text beyond ASCII.
    Calendar from, to, empty;
    auto add = from.db->prepare(
        "INSERT INTO [Velmora] ([Hide],[Date],[Hour],[Minute],[AM_PM],[DateText],[Duration],[Repeat],[DateType],"
        "[WorkDay],[Alarm],[SoundNum],[Font],[DayColors],[Priority]) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    for (const auto& v : std::vector<std::vector<db::Value>>{
             {I(0), T("2026-03-05"), I(9), I(5), T("AM"), T("Lunch, \"Bob\"\r\nat noon"), I(0), T(" Yearly "),
              T("Birthday"), I(-1), T("15,-10"), I(3), T("Arial, 12,True,False"), T("255;16777215;0;16777215;3;3"), I(7)},
             {I(-1), T("2026-12-31"), I(0), I(0), T("AM"), T(""), N, T(""), T(""), I(0), N, N, T(""), T(""), N},
             {N, T("2027-01-02"), I(12), I(30), T("PM"), T("Caf\xC3\xA9 \xC3\xBCnd \xE6\x97\xA5\xE6\x9C\xAC"), I(2),
              T("Daily"), T("Holiday"), I(0), T("-5"), I(1), T(""), T(""), I(255)}}) {
        add.bindAll(v);
        add.run();
    }
    auto rs = from.Source();
    const std::string dir = vmtest::MakeTempDir("velmora-export"), file = dir + "/a.txt";
    vmtest::WriteAll(file, "old content that must go away, much longer than nothing at all\r\n");
    EXPECT_EQ(vm::WriteCalendarExport(file, rs, AllBoxes()), 3);
    const std::string headers = kLegend + "\r\n**" + std::string(110, '-') + "\r\n";
    EXPECT_EQ(kLegend.size(), 207u);
    EXPECT_EQ(vmtest::ReadAll(file),
              headers +
                  "\"False\",\"3/5/2026\",\"9:05 AM\",\"Lunch++ \"\"Bob\"\"[]at noon\",\"0\",\"Yearly\",\"Birthday\","
                  "\"True\",\"15--10\",\"3\",\"Arial; 12;True;False\",\"255;16777215;0;16777215;3;3\",\"7\"\r\n"
                  "\"True\",\"12/31/2026\",\"\",\"\",\"\",\"\",\"\",\"False\",\"\",\"0\",\"\",\"\",\"\"\r\n"
                  "\"\",\"1/2/2027\",\"12:30 PM\",\"Caf\xC3\xA9 \xC3\xBCnd \xE6\x97\xA5\xE6\x9C\xAC\",\"2\",\"Daily\","
                  "\"Holiday\",\"False\",\"-5\",\"1\",\"\",\"\",\"255\"\r\n");

    // Read back into another file: exporting that gives the same bytes, and
    // the stored columns hold the original values, with the time, Hr24 and
    // the day key set for every line (the empty time after a set one included).
    const auto parsed =
        vm::ParseCalendarImport(vm::DecodeImportBytes(vmtest::ReadAll(file)), vm::DefaultFieldPositions());
    EXPECT_TRUE(parsed.rejected.empty());
    EXPECT_EQ(vm::StoreImportedRecords(*to.db, parsed.records), 3);
    auto back = to.Source();
    vm::WriteCalendarExport(dir + "/b.txt", back, AllBoxes());
    EXPECT_EQ(vmtest::ReadAll(dir + "/b.txt"), vmtest::ReadAll(file));
    const std::vector<std::vector<db::Value>> want = {
        {T("Lunch, \"Bob\"\r\nat noon"), T("15,-10"), T("Arial, 12,True,False"), I(2026064), I(9)},
        {T(""), T(""), T(""), I(2026365), I(0)},
        {T("Caf\xC3\xA9 \xC3\xBCnd \xE6\x97\xA5\xE6\x9C\xAC"), T("-5"), T(""), I(2027002), I(12)}};
    EXPECT_EQ(to.Rows("[DateText],[Alarm],[Font],[JulDate],[Hr24]"), want);

    // An empty list gives the two header lines alone; a folder that is not there fails.
    auto none = empty.Source();
    EXPECT_EQ(vm::WriteCalendarExport(file, none, AllBoxes()), 0);
    EXPECT_EQ(vmtest::ReadAll(file), headers);
    EXPECT_THROW(vm::WriteCalendarExport("/nonexistent-folder/x.txt", none, AllBoxes()), std::exception);
}

TEST(CalendarText, ReaderSplitsQuotedValues) {
    struct Case {
        std::string text;
        std::vector<Row> records;
    } cases[] = {
        {"\"He said \"\"hi\"\"\",x", {{"He said \"hi\"", "x"}}},
        {"\"line1\r\nline2\",z\r\nnext", {{"line1\r\nline2", "z"}, {"next"}}},
        {"\"He said \"hi\" ok\",\"z\"", {{"He said \"hi\" ok", "z"}}},  // stray quotes stay
        {"ab\"c,d", {{"ab\"c", "d"}}},
        {"a,\r\n\r\nb", {{"a", ""}, {""}, {"b"}}},
        {"\"abc,def\nnext,line\nlast", {{"abc,def"}, {"next", "line"}, {"last"}}},  // never closed
        {"\"a\nb\"c\",d", {{"a\nb\"c", "d"}}},
        {"\"\"", {{""}}},
        {"", {}},
        {"\"", {{""}}},
    };
    for (const Case& c : cases) {
        vm::CalendarLineReader reader(c.text);
        std::vector<Row> got;
        Row values;
        while (reader.next(values)) got.push_back(values);
        EXPECT_EQ(got, c.records) << c.text;
    }
}

TEST(CalendarText, LineEndsAndLineNumbers) {
    // The same lines with LF, CR and CR LF ends: the same records and the
    // same line numbers; a value spanning lines counts its lines.
    for (const std::string eol : {"\n", "\r", "\r\n"}) {
        const std::string text = "**legend" + eol + "\"1/2/2026\",\"x" + eol + "y\"" + eol + "\"bad\",\"z\"" + eol;
        vm::CalendarLineReader reader(text);
        Row values;
        std::vector<int64_t> lines;
        while (reader.next(values)) lines.push_back(reader.lineNumber());
        EXPECT_EQ(lines, (std::vector<int64_t>{1, 2, 4}));
        vm::FieldPositions pos{};
        pos[1] = 1;
        pos[3] = 2;
        const auto parsed = vm::ParseCalendarImport(text, pos);
        ASSERT_EQ(parsed.records.size(), 1u);
        EXPECT_EQ(db::AsText(parsed.records[0].DateText), "x" + eol + "y");
        ASSERT_EQ(parsed.rejected.size(), 1u);
        EXPECT_EQ(parsed.rejected[0].line, 4);
    }
}

TEST(CalendarText, BytesAreUtf8ElseWindows1252) {
    EXPECT_EQ(vm::DecodeImportBytes("Caf\xC3\xA9"), "Caf\xC3\xA9");
    EXPECT_EQ(vm::DecodeImportBytes("\xEF\xBB\xBFplain"), "plain");
    // Windows-1252: e acute, the euro sign and curly quotes.
    EXPECT_EQ(vm::DecodeImportBytes("Caf\xE9 \x80 \x93x\x94"),
              "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D");
    for (const char* bad : {"\xC0\x80", "\xED\xA0\x80", "\xF5\x80\x80\x80", "a\xC3", "\xE0\x80\x80"})
        EXPECT_FALSE(vm::IsValidUtf8(bad)) << bad;
    EXPECT_TRUE(vm::IsValidUtf8("\xF0\x9F\x98\x80 \xE6\x97\xA5"));
}

TEST(CalendarText, TimeTexts) {
    struct Case {
        const char* text;
        bool ok;
        int hour, minute;
        const char* ampm;
    } cases[] = {
        {"3:15 PMET", true, 3, 15, "PMET"}, {"14:30", true, 2, 30, "PM"}, {"0:15", true, 12, 15, "AM"},
        {"", true, 0, 0, ""}, {"abc", false, 0, 0, ""}, {"13:00 PM", false, 0, 0, ""}, {"9:75 AM", false, 0, 0, ""},
        {"9 AM", false, 0, 0, ""}, {"24:00", false, 0, 0, ""},
    };
    for (const Case& c : cases) {
        int16_t h = 99, m = 99;
        std::string ap = "old";
        EXPECT_EQ(vm::ParseTimeText(c.text, h, m, ap), c.ok) << c.text;
        EXPECT_EQ(std::tuple(h, m, ap), std::tuple(int16_t(c.hour), int16_t(c.minute), std::string(c.ampm))) << c.text;
    }
}

TEST(CalendarText, LinesAreCheckedWhole) {
    const auto pos = vm::DefaultFieldPositions();
    struct Case {
        Row values;
        vm::LineVerdict verdict;
    } cases[] = {
        {{"**0Hide", " 1Date"}, vm::LineVerdict::Skipped},
        {{"1", "Smith", "John"}, vm::LineVerdict::Skipped},  // a contact line
        {{"3/5/2026"}, vm::LineVerdict::Skipped},
        {{"False", "3/5/2026"}, vm::LineVerdict::Rejected},  // no value for the time's position
        {{"False", "3/5/2026", ""}, vm::LineVerdict::Record},
        {{"False", "13/45/2026"}, vm::LineVerdict::Rejected},
        {{"False", "1/1/202167772", ""}, vm::LineVerdict::Rejected},
        {{"maybe", "3/5/2026"}, vm::LineVerdict::Rejected},
        {{"False", "3/5/2026", "25:00 PM"}, vm::LineVerdict::Rejected},
        {{"False", "3/5/2026", "", "t", "abc"}, vm::LineVerdict::Rejected},
        {{"False", "3/5/2026", "", "t", "", std::string(51, 'x')}, vm::LineVerdict::Rejected},
        {{"False", "3/5/2026", "", "t", "", "", "", "", "", "x"}, vm::LineVerdict::Rejected},
        {{"False", "3/5/2026", "", "t", "", "", "", "", "", "", "", "", "256"}, vm::LineVerdict::Rejected},
        {{"False", "3/5/2026", "", "t", "", "", "", "", "", "", "", "", "255"}, vm::LineVerdict::Record},
    };
    for (const Case& c : cases) {
        const auto r = vm::ReadImportLine(c.values, pos);
        EXPECT_EQ(r.verdict, c.verdict) << testing::PrintToString(c.values);
        if (r.verdict == vm::LineVerdict::Rejected) {
            EXPECT_FALSE(r.reason.empty());
        }
    }
    // No date position at all.
    EXPECT_EQ(vm::ReadImportLine({"a", "b"}, vm::FieldPositions{}).verdict, vm::LineVerdict::Rejected);
    // Positions may repeat: both fields take the value.
    vm::FieldPositions twice{};
    twice[1] = 1;
    twice[3] = 2;
    twice[6] = 2;
    const auto r = vm::ReadImportLine({"1/2/2026", "Party"}, twice);
    EXPECT_EQ(db::AsText(r.record.DateText), "Party");
    EXPECT_EQ(db::AsText(r.record.DateType), "Party");
}

TEST(CalendarText, StoringIsAllOrNothing) {
    // A record the store refuses: none of the others is kept, and the failure reaches the caller.
    Calendar cal;
    cal.db->exec("CREATE TRIGGER [NoFive] BEFORE INSERT ON [Velmora] WHEN NEW.[DateText] = 'five' "
                 "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    std::vector<vm::ImportedRecord> recs(6);
    for (size_t i = 0; i < recs.size(); ++i) {
        recs[i].Date = db::Text("2026-01-0" + std::to_string(i + 1));
        recs[i].DateText = db::Text(i == 4 ? "five" : "ok");
    }
    EXPECT_THROW(vm::StoreImportedRecords(*cal.db, recs), db::DbError);
    EXPECT_TRUE(cal.Rows("[ID]").empty());
}

}  // namespace
