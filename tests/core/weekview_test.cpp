// The week view's rules without a window: the seven days of a week offset,
// entry lines, the rows of both tables from a real calendar file, the looks
// of the lines and where each line stands in its box.
#include <gtest/gtest.h>

#include <QString>

#include <string>
#include <vector>

#include "core/dates.h"
#include "core/weekview.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace {

namespace db = vm::db;
using vm::CivilDate;

TEST(WeekFrame, SevenSundayFirstDaysWithTheirKeysAcrossYearEnds) {
    const struct {
        CivilDate today;
        int offset;
        CivilDate sunday;
        const char* caption;
        std::array<int32_t, 7> keys;
        int todayColumn;
    } cases[] = {
        // 30 Dec 2026 is a Wednesday: its week runs into 2027.
        {{2026, 12, 30}, 0, {2026, 12, 27}, "December -  2026",
         {2026361, 2026362, 2026363, 2026364, 2026365, 2027001, 2027002}, 3},
        {{2026, 12, 30}, 1, {2027, 1, 3}, "January -  2027",
         {2027003, 2027004, 2027005, 2027006, 2027007, 2027008, 2027009}, -1},
        {{2026, 12, 30}, -1, {2026, 12, 20}, "December -  2026",
         {2026354, 2026355, 2026356, 2026357, 2026358, 2026359, 2026360}, -1},
        // The caption follows the shown day, not its Sunday.
        {{2027, 1, 2}, 0, {2026, 12, 27}, "January -  2027",
         {2026361, 2026362, 2026363, 2026364, 2026365, 2027001, 2027002}, 6},
        {{2026, 1, 1}, 0, {2025, 12, 28}, "January -  2026",
         {2025362, 2025363, 2025364, 2025365, 2026001, 2026002, 2026003}, 4},
        // A leap year's 366th day.
        {{2024, 12, 29}, 0, {2024, 12, 29}, "December -  2024",
         {2024364, 2024365, 2024366, 2025001, 2025002, 2025003, 2025004}, 0},
        {{2027, 1, 9}, -2, {2026, 12, 20}, "December -  2026",
         {2026354, 2026355, 2026356, 2026357, 2026358, 2026359, 2026360}, -1},
    };
    for (const auto& c : cases) {
        const vm::WeekFrame f = vm::MakeWeekFrame(c.today, c.offset);
        const std::string at = vm::FormatMDY(c.today) + " offset " + std::to_string(c.offset);
        EXPECT_EQ(f.days[0], c.sunday) << at;
        EXPECT_EQ(f.caption, c.caption) << at;
        EXPECT_EQ(f.keys, c.keys) << at;
        EXPECT_EQ(f.todayColumn, c.todayColumn) << at;
        for (int i = 0; i < 7; ++i) EXPECT_EQ(vm::Date2Julian(f.days[size_t(i)]), c.keys[size_t(i)]) << at << " " << i;
    }
    EXPECT_EQ(vm::WeekDayLabel({2027, 1, 2}), " 2");
    EXPECT_EQ(vm::WeekDayLabel({2026, 12, 27}), " 27");
}

TEST(WeekEntryLine, TimesTextsAndAmpersands) {
    using O = std::optional<int64_t>;
    const struct {
        O hour, minute;
        const char *ampm, *text, *line;
    } cases[] = {
        {9, 5, "AM", "Dentist", "  9:05 AM  Dentist "},
        {2, 5, "PM", "Call", "  2:05 PM  Call "},
        {12, 0, "PM", "Lunch", "  12:00 PM  Lunch "},
        {0, 30, "AM", "Half past", "  Half past "},  // hour 0: no time whatever the minute
        {0, 0, "AM", "All day", "  All day "},
        {9, 5, "", "No half", "  9:05  No half "},
        {9, 5, "AMET", "Zoned", "  9:05 AMET  Zoned "},
        {9, 5, " PM ", "Padded", "  9:05  PM  Padded "},
        {std::nullopt, 5, "AM", "No hour", "  No hour "},
        {9, std::nullopt, "AM", "No minute", "  No minute "},
        {7, 45, "PM", "Tom && Jerry", "  7:45 PM  Tom & Jerry "},
        {0, 0, "", "a &&&& b", "  a && b "},
        {0, 0, "", "", "   "},
    };
    for (const auto& c : cases) EXPECT_EQ(vm::WeekEntryLine(c.hour, c.minute, c.ampm, c.text), c.line) << c.text;
}

// A calendar file with rows written here, column by column.
struct WeekCalendar {
    std::string path = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> store = db::Database::Open(path);
    void Add(const char* table, CivilDate day, int hour, int minute, const char* ampm, const char* text,
             const char* colors = "", const char* font = "", bool hide = false) {
        const int hr24 = std::string(ampm) == "PM" && hour < 12 ? hour + 12 : (hour == 12 ? 0 : hour);
        auto st = store->prepare(std::string("INSERT INTO [") + table +
                                 "] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[DayColors],[Font],"
                                 "[Hr24],[Duration],[WorkDay]) VALUES (?,?,?,?,?,?,?,?,?,?,0,-1)");
        st.bindAll({db::Bool(hide), db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour),
                    db::Int(minute), db::Text(ampm), db::Text(text), db::Text(colors), db::Text(font),
                    db::Int(hr24)});
        st.run();
    }
};

TEST(WeekRows, BothTablesEveryDayOfAWeekOverTheYearEndInOrder) {
    WeekCalendar cal;
    const vm::WeekFrame f = vm::MakeWeekFrame({2026, 12, 30}, 0);
    cal.Add("Velmora", {2026, 12, 27}, 2, 5, "PM", "Afternoon");
    cal.Add("Velmora", {2026, 12, 27}, 9, 30, "AM", "Morning", "255;65535;0;0;3;3", "Arial, 12,True,False");
    cal.Add("RepeatingData", {2026, 12, 27}, 8, 0, "AM", "Early repeat");
    cal.Add("Velmora", {2026, 12, 26}, 9, 0, "AM", "Day before the week");
    cal.Add("Velmora", {2027, 1, 3}, 9, 0, "AM", "Day after the week");
    cal.Add("Velmora", {2026, 12, 31}, 0, 30, "AM", "Eve", "", "", true);  // hidden rows are listed
    cal.Add("Velmora", {2027, 1, 1}, 0, 0, "AM", "New Year");
    cal.Add("RepeatingData", {2027, 1, 2}, 11, 15, "AM", "Brunch");
    cal.Add("RepeatingData", {2027, 1, 1}, 10, 0, "AM", "Parade");
    for (int d = 28; d <= 30; ++d) cal.Add("RepeatingData", {2026, 12, d}, 6, 0, "PM", "Dinner");

    std::vector<vm::WeekLine> lines;
    vm::ReadWeekTable(*cal.store, "Velmora", f.keys, lines);
    vm::ReadWeekTable(*cal.store, "RepeatingData", f.keys, lines);
    std::vector<std::pair<int, std::string>> got;
    for (const auto& l : lines) got.emplace_back(l.column, l.text);
    const std::vector<std::pair<int, std::string>> expected = {
        {0, "  9:30 AM  Morning "}, {0, "  2:05 PM  Afternoon "}, {4, "  Eve "},
        {5, "  New Year "},          {0, "  8:00 AM  Early repeat "}, {1, "  6:00 PM  Dinner "},
        {2, "  6:00 PM  Dinner "},   {3, "  6:00 PM  Dinner "},       {5, "  10:00 AM  Parade "},
        {6, "  11:15 AM  Brunch "},
    };
    EXPECT_EQ(got, expected);
    EXPECT_EQ(lines[0].dayColors, "255;65535;0;0;3;3");
    EXPECT_EQ(lines[0].font, "Arial, 12,True,False");
    EXPECT_EQ(lines[1].font, "");
}

TEST(WeekRows, AnEmptyWeekAddsNothing) {
    WeekCalendar cal;
    std::vector<vm::WeekLine> lines;
    vm::ReadWeekTable(*cal.store, "Velmora", vm::MakeWeekFrame({2030, 6, 5}, 0).keys, lines);
    vm::ReadWeekTable(*cal.store, "RepeatingData", vm::MakeWeekFrame({2030, 6, 5}, 0).keys, lines);
    EXPECT_TRUE(lines.empty());
}

TEST(WeekLineLook, ColoursOfTheFirstTwoFieldsAndTheFont) {
    const struct {
        const char* colors;
        int32_t fg, bg;
    } cases[] = {
        {"255;65535;0;0;3;3", 255, 65535},   // red on yellow
        {"0;0;255;255;3;3", 0, 0xFFFFFF},    // black on black becomes black on white
        {"", 0, 0xFFFFFF},
        {"255", 255, 0},                     // the missing background counts 0: a black highlight
        {"16711680;16711680;0;0;3;3", 0, 0xFFFFFF},  // text in its own colour never hides
        {"-255;-65535;0;0;3;3", 255, 65535},  // forced colours are their absolute values
        {"-255;255", 0, 0xFFFFFF},
        {"-65280;0", 65280, 0},
        {"abc;xyz", 0, 0xFFFFFF},
        {" 255 ; 16777215 ", 255, 0xFFFFFF},
        {"&HFF;&HFFFF&", 255, 65535},
    };
    for (const auto& c : cases) {
        const vm::LineLook look = vm::WeekLineLook(c.colors, "");
        EXPECT_EQ(look.fg, c.fg) << c.colors;
        EXPECT_EQ(look.bg, c.bg) << c.colors;
        EXPECT_FALSE(look.hasFont) << c.colors;
    }
    const vm::LineLook f = vm::WeekLineLook("", "Times New Roman, 8.5,False,True");
    ASSERT_TRUE(f.hasFont);
    EXPECT_EQ(f.font.name, "Times New Roman");
    EXPECT_EQ(f.font.size, 8.5);
    EXPECT_EQ(f.font.bold, false);
    EXPECT_EQ(f.font.italic, true);
    const vm::LineLook partial = vm::WeekLineLook("", "Serif");
    ASSERT_TRUE(partial.hasFont);
    EXPECT_EQ(partial.font.name, "Serif");
    EXPECT_FALSE(partial.font.size.has_value());
}

TEST(WeekLayout, EveryLineHasItsOwnPlaceEvenWhenItsTextRepeats) {
    const std::vector<vm::WeekLine> lines = {
        {0, "  Meet Bob ", "255", ""},
        {0, "  Meet ", "65280", ""},        // contained in the line before
        {2, "  Same ", "1", ""},
        {2, "  Same ", "2", ""},            // identical to the line before
        {0, "  Café ☕ 𝄞 ", "3", ""},       // two- and three-byte letters and a surrogate pair
        {0, "  Meet ", "4", ""},
        {6, "  Last ", "", "Serif, 9,True,True"},
    };
    const vm::WeekBoxes boxes = vm::LayOutWeek(lines);
    EXPECT_EQ(boxes.text[0], "  Meet Bob \n\n  Meet \n\n  Café ☕ 𝄞 \n\n  Meet \n\n");
    EXPECT_EQ(boxes.text[2], "  Same \n\n  Same \n\n");
    EXPECT_EQ(boxes.text[1], "");
    ASSERT_EQ(boxes.formats.size(), lines.size());
    std::vector<int> starts;
    for (size_t i = 0; i < lines.size(); ++i) {
        const vm::LineFormat& f = boxes.formats[i];
        EXPECT_EQ(f.column, lines[i].column);
        // The recorded place, counted in UTF-16 units as a text document counts.
        const QString box = QString::fromStdString(boxes.text[size_t(f.column)]);
        EXPECT_EQ(box.mid(f.start, f.length), QString::fromStdString(lines[i].text)) << i;
        EXPECT_EQ(f.look.fg, vm::WeekLineLook(lines[i].dayColors, "").fg) << i;
        starts.push_back(f.start);
    }
    EXPECT_NE(starts[0], starts[1]);
    EXPECT_NE(starts[2], starts[3]);
    EXPECT_NE(starts[1], starts[5]);
    EXPECT_TRUE(boxes.formats[6].look.hasFont);
}

TEST(WeekLayout, MoreThanAHundredLinesAllKeepTheirPlaces) {
    std::vector<vm::WeekLine> lines;
    for (int i = 0; i < 250; ++i) lines.push_back({i % 7, "  Entry " + std::to_string(i) + " ", std::to_string(i), ""});
    const vm::WeekBoxes boxes = vm::LayOutWeek(lines);
    ASSERT_EQ(boxes.formats.size(), 250u);
    for (int i = 0; i < 250; ++i) {
        const vm::LineFormat& f = boxes.formats[size_t(i)];
        const QString box = QString::fromStdString(boxes.text[size_t(i % 7)]);
        EXPECT_EQ(box.mid(f.start, f.length).toStdString(), lines[size_t(i)].text);
        EXPECT_EQ(f.look.fg, i) << i;
    }
}

TEST(WeekColorTable, FirstMatchWinsNewColoursGoLast) {
    std::vector<int32_t> table;
    EXPECT_EQ(vm::AddColorToTable(table, 65535), 1);
    EXPECT_EQ(vm::AddColorToTable(table, 65535), 1);
    EXPECT_EQ(vm::AddColorToTable(table, 255), 2);
    EXPECT_EQ(vm::AddColorToTable(table, 65535), 1);
    EXPECT_EQ(vm::AddColorToTable(table, 0), 3);
    EXPECT_EQ(table, (std::vector<int32_t>{65535, 255, 0}));
}

}  // namespace
