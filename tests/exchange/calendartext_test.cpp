// The calendar text file without any window: the exact bytes written, the
// reader (whole and in pieces), the encodings both ways, the checks of
// imported lines, whole files read in pieces and a full round trip through
// two calendar files, stored whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "core/calendartext.h"
#include "core/dates.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"
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

    // Read back into another file: exporting that gives the same bytes (an
    // empty priority reads as 0), and
    // the stored columns hold the original values, with the time, Hr24 and
    // the day key set for every line (the empty time after a set one included).
    const auto parsed =
        vm::ParseCalendarImport(vm::DecodeImportBytes(vmtest::ReadAll(file)), vm::DefaultFieldPositions());
    EXPECT_TRUE(parsed.rejected.empty());
    EXPECT_EQ(vm::StoreImportedRecords(*to.db, parsed.records), 3);
    auto back = to.Source();
    vm::WriteCalendarExport(dir + "/b.txt", back, AllBoxes());
    std::string again = vmtest::ReadAll(file);
    again.replace(again.find("\"\",\"\",\"\"\r\n\"\",\"1/2"), 10, "\"\",\"\",\"0\"\r\n");
    EXPECT_EQ(vmtest::ReadAll(dir + "/b.txt"), again);
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
    // Whole, and in two pieces cut at every place, as a file is read.
    for (const Case& c : all) {
        for (size_t cut = 0; cut <= c.text.size(); ++cut) {
            vm::CalendarLineReader reader(std::string_view{}, true);
            std::vector<Row> got;
            std::vector<int64_t> lines;
            Row values;
            std::string piece = c.text.substr(0, cut);
            for (const bool more : {true, false}) {
                reader.setText(piece, more);
                while (reader.next(values)) {
                    got.push_back(values);
                    lines.push_back(reader.lineNumber());
                }
                piece = std::string(reader.unread()) + c.text.substr(cut);
            }
            EXPECT_EQ(got, c.records) << c.text << " cut at " << cut;
            EXPECT_EQ(lines, c.lines) << c.text << " cut at " << cut;
        }
    }
}

std::string Utf16(const std::u16string& text, bool bigEndian, bool mark = true) {
    std::string out;
    for (char16_t u : (mark ? u"\uFEFF" : u"") + text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

TEST(CalendarText, BytesAreUtf8Utf16OrWindows1252) {
    // UTF-16 either way round, with its mark or without, a character beyond the BMP included.
    for (const bool big : {false, true})
        for (const bool mark : {true, false})
            EXPECT_EQ(vm::DecodeImportBytes(Utf16(u"\"3/5/2026\",\"Caf\u00E9 \U0001F600\"\r\n", big, mark)),
                      "\"3/5/2026\",\"Caf\xC3\xA9 \xF0\x9F\x98\x80\"\r\n");
    EXPECT_EQ(vm::DecodeImportBytes("\xE6\x97\xA5 \xE2\x82\xAC"), "\xE6\x97\xA5 \xE2\x82\xAC");
    // Windows-1252: the euro sign and curly quotes; an overlong form is not UTF-8.
    EXPECT_EQ(vm::DecodeImportBytes("\x80 \x93x\x94 \xC0\x80"),
              "\xE2\x82\xAC \xE2\x80\x9Cx\xE2\x80\x9D \xC3\x80\xE2\x82\xAC");
}

TEST(CalendarText, OnlyADateOrATimeRejectsALine) {
    const auto pos = vm::DefaultFieldPositions();
    using V = vm::LineVerdict;
    auto at = [](const std::string& time) { return Row{"False", "3/5/2026", time}; };
    // Values 4.. of a line: DateText, Duration, Repeat, DateType, WorkDay, Alarm, SoundNum, Font, DayColors, Priority.
    auto with = [](Row rest) {
        Row r{"maybe", "3/5/2026", ""};
        r.insert(r.end(), rest.begin(), rest.end());
        return r;
    };
    const db::Value Null{};
    struct Case {
        Row values;
        V verdict;
        int hour = -1, minute = -1;
        const char* ampm = "";
        // Hide, Duration, WorkDay, SoundNum, Priority, Repeat as stored
        std::vector<db::Value> fields = {};
    } cases[] = {
        {{"3/5/2026"}, V::Skipped},
        {{"False", "3/5/2026"}, V::Rejected},  // no value for the time's position
        {{"False", "13/45/2026", ""}, V::Rejected},
        {at("3:15 PMET"), V::Record, 3, 15, "PMET"}, {at("7:05 pm"), V::Record, 7, 5, "PM"},
        {at("7:05 Am"), V::Record, 7, 5, "AM"},
        {at("14:30"), V::Record, 2, 30, "PM"}, {at("0:15"), V::Record, 12, 15, "AM"},
        // An hour of 13 to 24 beside AM/PM, as the export writes it, is read back as it stands.
        {at("13:00 PM"), V::Record, 13, 0, "PM"}, {at("24:00 AM"), V::Record, 24, 0, "AM"},
        {at("25:00 PM"), V::Rejected}, {at("9:75 AM"), V::Rejected}, {at("24:00"), V::Rejected},
        // Sound File# and Priority by their leading number, 0 when none; other
        // unreadable values leave their field empty, a long text is cut.
        {with({"t", "abc", std::string(60, 'r'), "", "often", "", "Weekly", "", "", "12 high"}), V::Record, 0, 0, "",
         {Null, Null, Null, db::Int(0), db::Int(12), db::Text(std::string(50, 'r'))}},
        {with({"t", "2", "Daily", "", "True", "", "3.6 rings", "", "", ""}), V::Record, 0, 0, "",
         {Null, db::Int(2), db::Bool(true), db::Int(4), db::Int(0), db::Text("Daily")}},
        {with({"t", "", "", "", "", "", "-7", "", "", "300"}), V::Record, 0, 0, "",
         {Null, Null, Null, db::Int(-7), Null, db::Text("")}},
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
        if (!c.fields.empty()) {
            EXPECT_EQ((std::vector<db::Value>{r.record.Hide, r.record.Duration, r.record.WorkDay, r.record.SoundNum,
                                              r.record.Priority, r.record.Repeat}),
                      c.fields);
        }
    }
}

// Dates of imported lines are read as typed dates: two-digit years in
// 1930..2029 and the ISO form, each stored with its day key.
TEST(CalendarText, ImportedDatesAreReadAsTypedDates) {
    const struct {
        const char* text;
        const char* date;  // "" rejected
        int64_t key;
    } cases[] = {{"3/1/24", "2024-03-01", 2024061}, {"2024-03-02", "2024-03-02", 2024062},
                 {"12/31/29", "2029-12-31", 2029365}, {"1/1/30", "1930-01-01", 1930001},
                 {" 3/15/2024 ", "2024-03-15", 2024075}, {"2024-02-30", "", 0}, {"3/1", "", 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const auto r = vm::ReadImportLine({"False", c.text, ""}, vm::DefaultFieldPositions());
        ASSERT_EQ(r.verdict, *c.date ? vm::LineVerdict::Record : vm::LineVerdict::Rejected);
        if (!*c.date) continue;
        EXPECT_EQ(r.record.Date, db::Text(c.date));
        EXPECT_EQ(r.record.JulDate, db::Int(c.key));
    }
}

// What the export writes the import reads back: tabs and line breaks around
// a Repeat or a Date Type stay (the export trims blanks only), and an hour of
// 13 to 24 beside AM/PM comes back as it was.
TEST(CalendarText, ExportTrimsBlanksOnlyAndItsHoursComeBack) {
    Calendar from, to;
    auto add = from.db->prepare("INSERT INTO [Velmora] ([Date],[Hour],[Minute],[AM_PM],[DateText],[Repeat],"
                                "[DateType]) VALUES ('2026-03-05',?,30,?,'x',?,?)");
    add.bindAll({I(14), T("PM"), T(" \tWeekly\r\n "), T("\tHoliday ")});
    add.run();
    add.bindAll({I(24), T("AM"), T("Daily"), T("Event")});
    add.run();
    auto rs = from.Source();
    const std::string file = vmtest::MakeTempDir("velmora-trim") + "/a.txt";
    ASSERT_EQ(vm::WriteCalendarExport(file, rs, AllBoxes()), 2);
    EXPECT_NE(vmtest::ReadAll(file).find("\"14:30 PM\",\"x\",\"\",\"\tWeekly\r\n\",\"\tHoliday\""), std::string::npos);
    const auto parsed =
        vm::ParseCalendarImport(vm::DecodeImportBytes(vmtest::ReadAll(file)), vm::DefaultFieldPositions());
    EXPECT_TRUE(parsed.rejected.empty());
    vm::StoreImportedRecords(*to.db, parsed.records);
    EXPECT_EQ(to.Rows("[Hour]||':'||[Minute]||' '||[AM_PM]||'|'||[Hr24]||'|'||[Repeat]||'|'||[DateType]"),
              (std::vector<std::string>{"14:30 PM|14|\tWeekly\r\n|\tHoliday", "24:30 AM|24|Daily|Event"}));
}

// One bad line refuses that line only: a line holding a zero byte or a
// control character is named and the rest imported, a crash's tail of zero
// bytes included; only a file that is mostly not text is refused.
TEST(CalendarText, BadLinesAreNamedAndOnlyAFileMostlyNotTextIsRefused) {
    const std::string dir = vmtest::MakeTempDir("velmora-badlines");
    std::string good;
    for (int i = 1; i <= 28; ++i) good += "\"False\",\"3/5/2026\",\"\",\"Entry " + std::to_string(i) + "\"\r\n";
    const std::string zero("\0", 1);
    std::string program = "\x7F" "ELF";
    for (int i = 0; i < 4000; ++i) program += static_cast<char>(i % 7 ? (i * 31) % 256 : 0);
    const struct {
        const char* what;
        std::string bytes;
        bool isText;
        int64_t imported;
        std::vector<int64_t> rejected;
    } cases[] = {
        {"a zero byte in one line", good.substr(0, good.size() / 2) + "\"False\",\"3/6/2026\",\"\",\"a" + zero +
                                        "b\"\r\n" + good.substr(good.size() / 2),
         true, 28, {15}},
        {"a crash's tail of zero bytes", good + std::string(4096, '\0'), true, 28, {29}},
        {"a control character", good + "\"False\",\"3/7/2026\",\"\",\"bell\x07\"\r\n", true, 28, {29}},
        {"UTF-16 with a bad line", "", true, 1, {2}},
        {"a program", program, false, 0, {}},
        {"zero bytes only", std::string(5000, '\0'), false, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string bytes = c.bytes;
        if (bytes.empty()) {  // UTF-16 little endian with its mark
            bytes = "\xFF\xFE";
            for (char ch : std::string("\"False\",\"3/5/2026\",\"\",\"ok\"\r\n\"False\",\"3/5/2026\",\"\",\"x\x01\"\r\n"))
                bytes += std::string{ch, '\0'};
        }
        Calendar cal;
        vmtest::WriteAll(dir + "/in.txt", bytes);
        const auto r = vm::ImportCalendarText(dir + "/in.txt", *cal.db, vm::DefaultFieldPositions());
        EXPECT_EQ(r.isText, c.isText);
        EXPECT_EQ(r.imported, c.imported);
        std::vector<int64_t> lines;
        for (const auto& l : r.rejected) lines.push_back(l.line);
        EXPECT_EQ(lines, c.rejected);
        if (!c.rejected.empty()) {
            EXPECT_NE(vm::RejectedLinesMessage(r.rejected).find("not text"), std::string::npos);
        }
    }
}

// A line longer than any record, however long, is named and passed over
// without being held whole; the lines after it are imported.
TEST(CalendarText, ALineTooLongForAnyRecordIsNamedAndPassedOver) {
    const std::string dir = vmtest::MakeTempDir("velmora-longline");
    std::string good;
    for (int i = 1; i <= 28; ++i) good += "\"False\",\"3/5/2026\",\"\",\"Entry " + std::to_string(i) + "\"\r\n";
    for (const char* quote : {"\"", ""}) {
        SCOPED_TRACE(*quote ? "quoted" : "plain");
        Calendar cal;
        vmtest::WriteAll(dir + "/in.txt", good + "\"False\",\"3/8/2026\",\"\"," + quote + std::string(3 << 20, 'x') +
                                               quote + "\r\n" + good);
        const auto r = vm::ImportCalendarText(dir + "/in.txt", *cal.db, vm::DefaultFieldPositions());
        EXPECT_EQ(r.imported, 56);
        ASSERT_EQ(r.rejected.size(), 1u);
        EXPECT_EQ(r.rejected[0].line, 29);
        EXPECT_NE(r.rejected[0].reason.find("longer than"), std::string::npos) << r.rejected[0].reason;
    }
}

// A line that is not UTF-8 is Windows-1252 for every import: the euro sign
// and curly quotes, not invisible control characters.
TEST(CalendarText, ALineNotUtf8IsReadAsWindows1252) {
    EXPECT_EQ(vm::LineAsUtf8("\x80" "5 \x93smart\x94 street"), "\xE2\x82\xAC" "5 \xE2\x80\x9Csmart\xE2\x80\x9D street");
    EXPECT_EQ(vm::LineAsUtf8("Caf\xC3\xA9"), "Caf\xC3\xA9");
}

// One line written in Windows-1252 among UTF-8 lines: each line is read as
// it is written, also a character that straddles two pieces of the reading,
// and the UTF-8 mark at the start is no part of the first record.
TEST(CalendarText, AWindows1252LineLeavesTheUtf8LinesAsTheyAre) {
    const std::string head = "\"False\",\"3/5/2026\",\"\",\"";
    auto line = [&](const std::string& text) {
        return head + text + "\",\"0\",\"\",\"\",\"False\",\"\",\"0\",\"\",\"\",\"0\"\r\n";
    };
    const std::string first = "\xC3\x9Cn\xC3\xAF \xE6\x97\xA5";  // Ünï 日
    std::string bytes = "\xEF\xBB\xBF" + line(first);
    int fillers = 0;
    while (bytes.size() < (1u << 20) - 400) {
        bytes += line("filler \xC3\xA9");
        ++fillers;
    }
    // 日 begins one byte before the first piece ends.
    const std::string straddling =
        std::string((1u << 20) - 1 - bytes.size() - head.size(), 'a') + "\xE6\x97\xA5\xE6\x9C\xAC";
    bytes += line(straddling) + line("Caf\xE9 \x80");  // the last one Windows-1252
    const std::string file = vmtest::MakeTempDir("velmora-mixed") + "/in.txt";
    vmtest::WriteAll(file, bytes);
    Calendar cal;
    const auto r = vm::ImportCalendarText(file, *cal.db, vm::DefaultFieldPositions());
    EXPECT_EQ(r.rejectedCount, 0);
    std::vector<std::string> texts;
    auto st = cal.db->prepare("SELECT [DateText] FROM [Velmora] ORDER BY [ID]");
    while (st.step()) texts.push_back(db::AsText(st.column(0)));
    ASSERT_EQ(texts.size(), static_cast<size_t>(fillers) + 3);
    EXPECT_EQ(texts.front(), first);
    EXPECT_EQ(texts[1], "filler \xC3\xA9");
    EXPECT_EQ(texts[texts.size() - 2], straddling);
    EXPECT_EQ(texts.back(), "Caf\xC3\xA9 \xE2\x82\xAC");

    // Lines ended by a CR alone, as older programs wrote them: each its own.
    std::string crLines = line(first) + line("Caf\xE9");
    for (size_t at; (at = crLines.find("\r\n")) != std::string::npos;) crLines.erase(at + 1, 1);
    vmtest::WriteAll(file, crLines);
    Calendar crCal;
    vm::ImportCalendarText(file, *crCal.db, vm::DefaultFieldPositions());
    auto cr = crCal.db->prepare("SELECT [DateText] FROM [Velmora] ORDER BY [ID]");
    ASSERT_TRUE(cr.step());
    EXPECT_EQ(db::AsText(cr.column(0)), first);
    ASSERT_TRUE(cr.step());
    EXPECT_EQ(db::AsText(cr.column(0)), "Caf\xC3\xA9");
}

// Whole files through the reading in pieces: old-form quotes, the rejected
// lines listed at most twenty times, and a cancelled export leaving no file.
TEST(CalendarText, FilesAreReadInPiecesAndKeepEveryReadableRecord) {
    const std::string dir = vmtest::MakeTempDir("velmora-textimport");
    const auto pos = vm::DefaultFieldPositions();
    // A quote inside a text written as it stands, as older exports did.
    const std::string oldForm =
        "\"False\",\"3/5/2026\",\"9:00 AM\",\"He said \"hi\"\",\"2\",\"Weekly\",\"Event\",\"True\",\"\",\"3\","
        "\"\",\"\",\"7\"\r\n"
        "\"False\",\"3/6/2026\",\"\",\"Plain \"\"doubled\"\" quotes\",\"0\",\"\",\"\",\"False\",\"\",\"0\",\"\",\"\","
        "\"1\"\r\n";
    struct Case {
        const char* what;
        std::string bytes;
        bool isText;
        std::vector<std::string> rows;  // DateText|Duration|Repeat|SoundNum|Priority of the stored records
    } cases[] = {
        {"old-form quotes", oldForm, true,
         {"He said hi|2|Weekly|3|7", "Plain \"doubled\" quotes|0||0|1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Calendar cal;
        const std::string file = dir + "/in.txt";
        vmtest::WriteAll(file, c.bytes);
        const auto r = vm::ImportCalendarText(file, *cal.db, pos);
        EXPECT_EQ(r.isText, c.isText);
        EXPECT_EQ(r.rejectedCount, 0);
        EXPECT_EQ(cal.Rows("[DateText]||'|'||IFNULL([Duration],'')||'|'||IFNULL([Repeat],'')||'|'||"
                           "IFNULL([SoundNum],'')||'|'||IFNULL([Priority],'')"),
                  c.rows);
    }

    // 60,000 lines, 1 in 1,000 without a date: more than one piece of the
    // file, every good line stored, the report naming twenty lines.
    std::string big;
    for (int i = 1; i <= 60000; ++i)
        big += "\"False\",\"" + std::string(i % 1000 ? "3/5/2026" : "someday") + "\",\"9:05 AM\",\"Line " +
               std::to_string(i) + ", padded out to be long enough\",\"0\"\r\n";
    ASSERT_GT(big.size(), 2u << 20);
    const std::string file = dir + "/big.txt";
    vmtest::WriteAll(file, big);
    Calendar cal;
    int64_t lastDone = 0;
    const auto r = vm::ImportCalendarText(file, *cal.db, pos, [&](int64_t done, int64_t total) {
        EXPECT_EQ(total, static_cast<int64_t>(big.size()));
        lastDone = done;
        return true;
    });
    EXPECT_EQ(lastDone, static_cast<int64_t>(big.size()));
    EXPECT_EQ(r.imported, 59940);
    EXPECT_EQ(r.rejectedCount, 60);
    EXPECT_EQ(cal.Rows("COUNT(*)"), std::vector<std::string>{"59940"});
    const std::string message = vm::RejectedLinesMessage(r.rejected, r.rejectedCount);
    EXPECT_EQ(message.rfind("60 lines were not imported; nothing of them was stored:\r\nLine 1000: \"someday\" is not a date\r\n", 0), 0u) << message;
    EXPECT_NE(message.find("\r\nLine 20000: "), std::string::npos);
    EXPECT_EQ(message.find("Line 21000"), std::string::npos);
    EXPECT_EQ(message.substr(message.size() - 13), "\r\nand 40 more");

    // An export cancelled on the way leaves no file behind.
    auto listed = cal.Source();
    const std::string out = dir + "/out.txt";
    EXPECT_EQ(vm::WriteCalendarExport(out, listed, AllBoxes(), [](int64_t, int64_t) { return false; }), -1);
    EXPECT_FALSE(std::filesystem::exists(out));

    // Cancelled, or on a disk that fills up, over a file there already: the
    // old file stays as it was, byte for byte, and nothing is left beside it.
    vmtest::WriteAll(out, "the export of last year");
    EXPECT_EQ(vm::WriteCalendarExport(out, listed, AllBoxes(), [](int64_t, int64_t) { return false; }), -1);
    EXPECT_EQ(vmtest::ReadAll(out), "the export of last year");
    for (const unsigned long long room : {100ull, 200000ull}) {  // in the header lines, in the rows
        vmtest::DiskFullAfter full(room);
        EXPECT_THROW(vm::WriteCalendarExport(out, listed, AllBoxes()), vm::OpError) << room;
    }
    EXPECT_EQ(vmtest::ReadAll(out), "the export of last year");
    int files = 0;
    for (const auto& e : std::filesystem::directory_iterator(std::filesystem::path(out).parent_path()))
        files += e.path().filename().string().find("out.txt") != std::string::npos;
    EXPECT_EQ(files, 1);

}

}  // namespace
