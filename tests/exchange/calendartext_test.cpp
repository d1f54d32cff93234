// The calendar text file without any window: the exact bytes written, the
// reader, the encodings both ways, the checks of imported lines and a full
// round trip through two calendar files, stored whole or not at all.
#include <gtest/gtest.h>

#include <memory>

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
    // Each row's values of `cols`, joined by "|".
    std::vector<std::string> Rows(const std::string& cols) {
        std::vector<std::string> out;
        auto st = db->prepare("SELECT " + cols + " FROM [Velmora] ORDER BY [ID]");
        while (st.step()) out.push_back(db::AsText(st.column(0)));
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
              T("Birthday"), I(-1), T("15,-10"), I(3), T("Arial, 12,True,False"), T("255;16777215;0;16777215;3;3"),
              I(7)},
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
    EXPECT_EQ(to.Rows("[DateText]||'|'||[Alarm]||'|'||[Font]||'|'||[JulDate]||'|'||[Hr24]"),
              (std::vector<std::string>{"Lunch, \"Bob\"\r\nat noon|15,-10|Arial, 12,True,False|2026064|9",
                                        "|||2026365|0",
                                        "Caf\xC3\xA9 \xC3\xBCnd \xE6\x97\xA5\xE6\x9C\xAC|-5||2027002|12"}));

    // An empty list gives the two header lines alone; a folder that is not there fails.
    auto none = empty.Source();
    EXPECT_EQ(vm::WriteCalendarExport(file, none, AllBoxes()), 0);
    EXPECT_EQ(vmtest::ReadAll(file), headers);
    EXPECT_THROW(vm::WriteCalendarExport("/nonexistent-folder/x.txt", none, AllBoxes()), std::exception);

    // A record the store refuses (here the second): none of the others is
    // kept, and the failure reaches the caller.
    empty.db->exec("CREATE TRIGGER [NoEmpty] BEFORE INSERT ON [Velmora] WHEN NEW.[DateText] = '' "
                   "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_THROW(vm::StoreImportedRecords(*empty.db, parsed.records), db::DbError);
    EXPECT_TRUE(empty.Rows("[ID]").empty());
}

TEST(CalendarText, ReaderSplitsQuotedValuesAndCountsLines) {
    struct Case {
        std::string text;
        std::vector<Row> records;
        std::vector<int64_t> lines;  // where each record starts
    } cases[] = {
        {"\"He said \"\"hi\"\"\",x", {{"He said \"hi\"", "x"}}, {1}},
        {"\"He said \"hi\" ok\",\"z\"", {{"He said \"hi\" ok", "z"}}, {1}}, {"ab\"c,d", {{"ab\"c", "d"}}, {1}},
        {"a,\r\n\r\nb", {{"a", ""}, {""}, {"b"}}, {1, 2, 3}},
        {"\"abc,def\nnext,line\nlast", {{"abc,def"}, {"next", "line"}, {"last"}}, {1, 2, 3}},  // never closed
        {"", {}, {}}, {"\"", {{""}}, {1}},
    };
    std::vector<Case> all(std::begin(cases), std::end(cases));
    // LF, CR and CR LF ends alike; a value spanning lines counts its lines.
    for (const std::string eol : {"\n", "\r", "\r\n"})
        all.push_back({"**legend" + eol + "\"1/2/2026\",\"x" + eol + "y\"" + eol + "\"bad\",\"z\"" + eol,
                       {{"**legend"}, {"1/2/2026", "x" + eol + "y"}, {"bad", "z"}}, {1, 2, 4}});
    for (const Case& c : all) {
        vm::CalendarLineReader reader(c.text);
        std::vector<Row> got;
        std::vector<int64_t> lines;
        Row values;
        while (reader.next(values)) {
            got.push_back(values);
            lines.push_back(reader.lineNumber());
        }
        EXPECT_EQ(got, c.records) << c.text;
        EXPECT_EQ(lines, c.lines) << c.text;
    }
}

TEST(CalendarText, BytesAreUtf8ElseWindows1252) {
    EXPECT_EQ(vm::DecodeImportBytes("\xE6\x97\xA5 \xE2\x82\xAC"), "\xE6\x97\xA5 \xE2\x82\xAC");
    // Windows-1252: the euro sign and curly quotes; an overlong form is not UTF-8.
    EXPECT_EQ(vm::DecodeImportBytes("\x80 \x93x\x94 \xC0\x80"),
              "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xC3\x80\xE2\x82\xAC");
}

TEST(CalendarText, LinesAreCheckedWhole) {
    const auto pos = vm::DefaultFieldPositions();
    using V = vm::LineVerdict;
    auto at = [](const std::string& time) { return Row{"False", "3/5/2026", time}; };
    struct Case {
        Row values;
        V verdict;
        int hour = -1, minute = -1;
        const char* ampm = "";
    } cases[] = {
        {{"**0Hide", " 1Date"}, V::Skipped}, {{"1", "Smith", "John"}, V::Skipped}, {{"3/5/2026"}, V::Skipped},
        {{"False", "3/5/2026"}, V::Rejected},  // no value for the time's position
        {{"False", "13/45/2026", ""}, V::Rejected}, {{"maybe", "3/5/2026", ""}, V::Rejected},
        {at("3:15 PMET"), V::Record, 3, 15, "PMET"},
        {at("14:30"), V::Record, 2, 30, "PM"}, {at("0:15"), V::Record, 12, 15, "AM"},
        {at("13:00 PM"), V::Rejected}, {at("9:75 AM"), V::Rejected}, {at("24:00"), V::Rejected},
        {{"False", "3/5/2026", "", "t", "abc"}, V::Rejected},
        {{"False", "3/5/2026", "", "t", "", "", "", "", "", "x"}, V::Rejected},
        {{"False", "3/5/2026", "", "t", "", "", "", "", "", "", "", "", "256"}, V::Rejected},
        {{"False", "3/5/2026", "", "t", "", "", "", "", "", "", "", "", "255"}, V::Record},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.values));
        const auto r = vm::ReadImportLine(c.values, pos);
        EXPECT_EQ(r.verdict, c.verdict);
        EXPECT_EQ(r.reason.empty(), c.verdict != V::Rejected);
        if (c.hour >= 0) {
            EXPECT_EQ(r.record.Hour, db::Int(c.hour));
            EXPECT_EQ(r.record.Minute, db::Int(c.minute));
            EXPECT_EQ(r.record.AM_PM, db::Text(c.ampm));
        }
    }
}

}  // namespace
