#include <gtest/gtest.h>

#include "core/monthcells.h"

using vm::CellColorState;
using vm::CellLooks;
using vm::CivilDate;
using vm::kBlack;
using vm::kWhite;

namespace {

const CivilDate kToday{2026, 7, 15};

vm::MonthFrame Frame(int month, const char* year, CivilDate today = kToday) {
    auto f = vm::MakeMonthFrame(month, year, today);
    EXPECT_TRUE(f.has_value());
    return *f;
}

// Numbers the month and adds its trailing days, as a build does.
struct Month {
    CellLooks cells;
    CellColorState state;
    std::array<int32_t, vm::kCellCount> keys{};
    vm::MonthFrame frame;
    int rows = 0;
    Month(int month, const char* year, const char* monthText = "February") : frame(Frame(month, year)) {
        vm::NumberCells(cells, frame, monthText, year, keys, state);
        rows = vm::TrailingCells(cells, frame);
    }
    std::string title(int i) const { return cells.title[i].caption; }
};

TEST(MonthFrame, FebruaryStartingOnSundayFillsFourRowsAndShowsFive) {
    Month m(2, " 2026");
    EXPECT_EQ(m.frame.firstCell, 0);
    EXPECT_EQ(m.title(0), "1 ");
    EXPECT_EQ(m.title(27), "28 ");
    for (int i = 28; i <= 34; ++i) EXPECT_EQ(m.title(i), std::to_string(i - 27) + " ");  // March 1..7
    EXPECT_EQ(m.title(35), "");
    EXPECT_EQ(m.rows, 5);
    EXPECT_FALSE(m.cells.title[35].visible);
    EXPECT_FALSE(m.cells.day[41].visible);
    EXPECT_EQ(m.keys[0], 2026032);
    EXPECT_EQ(m.keys[27], 2026059);
}

TEST(MonthFrame, ThirtyOneDaysFromFridayNeedSixRowsFromThursdayFive) {
    Month may(5, " 2026");  // 1 May 2026 is a Friday
    EXPECT_EQ(may.frame.firstCell, 5);
    EXPECT_EQ(may.title(35), "31 ");
    EXPECT_EQ(may.rows, 6);
    for (int i = 36; i <= 41; ++i) EXPECT_EQ(may.title(i), std::to_string(i - 35) + " ");
    EXPECT_TRUE(may.cells.day[41].visible);

    Month jan(1, " 2026");  // a Thursday
    EXPECT_EQ(jan.title(34), "31 ");
    EXPECT_EQ(jan.rows, 5);

    Month nov(11, " 2025");  // 30 days from a Saturday end in cell 35
    EXPECT_EQ(nov.title(35), "30 ");
    EXPECT_EQ(nov.rows, 6);
}

TEST(MonthFrame, LeadingCellsShowThePreviousMonthsLastDays) {
    Month jan(1, " 2026");
    EXPECT_EQ(jan.frame.firstCell, 4);
    EXPECT_EQ(jan.title(0), "28 ");
    EXPECT_EQ(jan.title(3), "31 ");  // December has 31
    EXPECT_EQ(jan.cells.title[3].tooltip, "");

    Month march(3, " 2024", "March");  // leap year, 1 March on a Friday
    EXPECT_EQ(march.frame.firstCell, 5);
    EXPECT_EQ(march.title(4), "29 ");
    EXPECT_EQ(march.title(5), "1 ");
    EXPECT_EQ(march.cells.title[9].tooltip, " March 5, 2024 ");
    EXPECT_EQ(march.cells.day[9].tooltip, " March 5, 2024 ");
}

TEST(MonthFrame, YearBoxWithoutAUsableYearDrawsTheCurrentYear) {
    const std::pair<const char*, int> table[] = {{" 2026", 2026}, {"2031", 2031}, {"", 2026},   {"abc", 2026},
                                                 {"0", 2026},    {"-5", 2026},   {"10000", 2026}, {"99999", 2026},
                                                 {"9999", 9999}, {"1", 1},       {"2027.5", 2028}, {"1e300", 2026}};
    for (auto [text, year] : table) EXPECT_EQ(vm::YearFromBox(text, 2026), year) << text;

    Month empty(2, "");
    EXPECT_EQ(empty.frame.year, 2026);
    // The tooltips keep the box's text.
    EXPECT_EQ(empty.cells.title[0].tooltip, " February 1,  ");
}

TEST(MonthFrame, NoMonthEverRecognisedBuildsNothing) {
    EXPECT_FALSE(vm::MakeMonthFrame(0, " 2026", kToday).has_value());
}

TEST(MonthFrame, TodaysCellOnlyInTheCurrentMonthOfTheCurrentYear) {
    EXPECT_EQ(Frame(7, " 2026").todayCell, 3 + 15 - 1);  // 1 July 2026 is a Wednesday
    EXPECT_FALSE(Frame(7, " 2025").todayCell.has_value());
    EXPECT_FALSE(Frame(6, " 2026").todayCell.has_value());
    EXPECT_EQ(Frame(7, "", kToday).todayCell, 17);  // an empty year box is the current year
}

// ---- appearance and entries

vm::MonthAppearance Look() {
    vm::MonthAppearance a;
    a.DayBG = 0xEEEEEE;
    a.TitleFG = 0x112233;
    a.TitleBG = 0x445566;
    a.DayFntName = "Day Face";
    a.DayFntSiz = vm::Currency::Whole(6);
    a.TitleFntName = "";
    a.TitleFntSiz = vm::Currency::Whole(12);
    a.TitleFntItalic = true;
    return a;
}

TEST(CellLooks, MonthAppearanceSetsFontsAndRaisesSmallSizesInTheAppearanceItself) {
    CellLooks cells;
    CellColorState state;
    cells.title[4].font.name = "Kept";
    auto a = Look();
    vm::ApplyMonthAppearance(cells, a, vm::kStyleAllOpaque, state);
    EXPECT_EQ(a.DayFntSiz, vm::Currency::Whole(8));
    EXPECT_EQ(cells.day[40].font.size, 8);
    EXPECT_EQ(cells.day[40].font.name, "Day Face");
    EXPECT_EQ(cells.title[4].font.name, "Kept");  // an empty title font name keeps the label's
    EXPECT_TRUE(cells.title[41].font.italic);
    EXPECT_TRUE(cells.day[0].opaque && cells.title[0].opaque);
    EXPECT_EQ(cells.day[0].back, 0xEEEEEE);
    EXPECT_EQ(cells.title[0].fore, 0x112233);

    vm::ApplyMonthAppearance(cells, a, vm::kStyleMixed, state);
    EXPECT_FALSE(cells.day[0].opaque || cells.title[0].opaque);
}

vm::SortingRow Entry(int day, const char* msg, const char* colors = "", int priority = 0, const char* hour = "0",
                     const char* min = "0", const char* ampm = "AM", const char* alarm = "", const char* font = "") {
    vm::SortingRow r;
    r.DayNo = day;
    r.DayMsg = msg;
    r.DayColors = colors;
    r.Priority = vm::db::Int(priority);
    r.Hour = hour;
    r.Min = min;
    r.AMPM = ampm;
    r.Alarm = alarm;
    r.Font = font;
    return r;
}

TEST(CellLooks, CaptionsCarryTheAlarmMarkTheTimeAndTheText) {
    CellLooks cells;
    CellColorState state;
    vm::PlaceEntry(cells, state, Entry(1, "Dentist"));
    EXPECT_EQ(cells.day[1].caption, " Dentist");
    vm::PlaceEntry(cells, state, Entry(2, "Dentist", "", 0, "0", "0", "AM", " -15 "));
    EXPECT_EQ(cells.day[2].caption, " *Dentist");
    vm::PlaceEntry(cells, state, Entry(3, "Meeting", "", 0, "9", "5", "AM", "10"));
    EXPECT_EQ(cells.day[3].caption, " *9:05 AM Meeting");
    vm::PlaceEntry(cells, state, Entry(3, " Meeting ", "", 0, "9", "5", "AM", "10"));
    vm::PlaceEntry(cells, state, Entry(3, " Lunch ", "", 0, "12", "30", "PM"));
    EXPECT_EQ(cells.day[3].caption, " *9:05 AM Meeting\n  *9:05 AM  Meeting\n 12:30 PM  Lunch");
}

TEST(CellLooks, AHigherPriorityEntryComesFirstAndLocksTheCell) {
    CellLooks cells;
    CellColorState state;
    vm::PlaceEntry(cells, state, Entry(9, "Boss", "255;65535;16711680;0;3;3", 5));
    vm::PlaceEntry(cells, state, Entry(9, "Other", "0;16776960;0;16776960;3;3", 0));
    EXPECT_EQ(cells.day[9].fore, 255);
    EXPECT_EQ(cells.day[9].back, 65535);
    EXPECT_EQ(cells.title[9].fore, 16711680);
    EXPECT_TRUE(state.locked[9]);
    EXPECT_EQ(state.priority[9], 5);
}

TEST(CellLooks, AmongPriorityZeroEntriesTheLastColourWinsUnlessOneIsForced) {
    CellLooks cells;
    CellColorState state;
    vm::PlaceEntry(cells, state, Entry(4, "Red", "255;16777215;255;16777215;3;3"));
    vm::PlaceEntry(cells, state, Entry(4, "Yellow", "0;65535;0;65535;3;3"));
    EXPECT_EQ(cells.day[4].fore, 0);
    EXPECT_EQ(cells.day[4].back, 65535);
    EXPECT_FALSE(state.locked[4]);

    vm::PlaceEntry(cells, state, Entry(5, "Red forced", "-255;16777215;255;16777215;3;3"));
    vm::PlaceEntry(cells, state, Entry(5, "Yellow", "0;65535;0;65535;3;3"));
    EXPECT_EQ(cells.day[5].fore, 255);  // shown as its absolute value
    EXPECT_EQ(cells.day[5].back, 16777215);
    EXPECT_TRUE(state.locked[5]);
    EXPECT_EQ(state.priority[5], 0);
}

TEST(CellLooks, AnEntryWithoutColoursResetsAnUnlockedCellOrOnlyLocksIt) {
    CellLooks cells;
    CellColorState state;
    cells.day[6].fore = 123;
    cells.title[6].back = 456;
    vm::PlaceEntry(cells, state, Entry(6, "Plain"));
    EXPECT_TRUE(cells.day[6].opaque && cells.title[6].opaque);
    EXPECT_EQ(cells.day[6].fore, kBlack);
    EXPECT_EQ(cells.day[6].back, kWhite);
    EXPECT_EQ(cells.title[6].back, kWhite);

    cells.day[7].fore = 123;
    vm::PlaceEntry(cells, state, Entry(7, "Plain but important", "", 3));
    EXPECT_EQ(cells.day[7].fore, 123);
    EXPECT_FALSE(cells.day[7].opaque);
    EXPECT_TRUE(state.locked[7]);
    EXPECT_EQ(state.priority[7], 3);
}

TEST(CellLooks, StylesOfTheColouringEntryDecideTransparency) {
    CellLooks cells;
    CellColorState state;
    cells.day[8].opaque = cells.title[8].opaque = true;
    vm::PlaceEntry(cells, state, Entry(8, "Glass", "0;0;0;0;2;2"));
    EXPECT_FALSE(cells.day[8].opaque);
    EXPECT_FALSE(cells.title[8].opaque);
    vm::PlaceEntry(cells, state, Entry(8, "Solid", "0;0;0;0;3;3"));
    EXPECT_TRUE(cells.day[8].opaque);
    EXPECT_TRUE(cells.title[8].opaque);
    vm::PlaceEntry(cells, state, Entry(8, "Half", "0;0;0;0;2"));  // no number style: unchanged
    EXPECT_FALSE(cells.day[8].opaque);
    EXPECT_TRUE(cells.title[8].opaque);
}

TEST(CellLooks, BrokenColourAndFontTextsAreReadWithTheirBadPartsMissing) {
    CellLooks cells;
    CellColorState state;
    cells.day[10].back = 777;
    cells.title[10].back = 888;
    cells.day[10].opaque = true;
    vm::PlaceEntry(cells, state, Entry(10, "Odd", "255;abc;;x;two", 0, "0", "0", "AM", "", "Serif,big,maybe,True"));
    EXPECT_EQ(cells.day[10].fore, 255);
    EXPECT_EQ(cells.day[10].back, 777);
    EXPECT_EQ(cells.title[10].back, 888);
    EXPECT_TRUE(cells.day[10].opaque);
    EXPECT_EQ(cells.day[10].font.name, "Serif");
    EXPECT_EQ(cells.day[10].font.size, 8);
    EXPECT_FALSE(cells.day[10].font.bold);
    EXPECT_TRUE(cells.day[10].font.italic);
    // A colour beyond the colour range leaves its property unchanged.
    vm::PlaceEntry(cells, state, Entry(11, "Too bright", "16777216;1;2;3;3;3"));
    EXPECT_EQ(cells.day[11].fore, kBlack);
    EXPECT_EQ(cells.day[11].back, 1);
    // Out-of-range cells are passed over.
    EXPECT_NO_THROW(vm::PlaceEntry(cells, state, Entry(42, "Nowhere")));
    EXPECT_NO_THROW(vm::PlaceEntry(cells, state, Entry(-1, "Nowhere")));
}

TEST(CellLooks, TheLastEntryWithAFontSetsTheCellsFont) {
    CellLooks cells;
    CellColorState state;
    vm::PlaceEntry(cells, state, Entry(12, "A", "", 0, "0", "0", "AM", "", "Arial, 12,True,False"));
    EXPECT_EQ(cells.day[12].font.name, "Arial");
    EXPECT_EQ(cells.day[12].font.size, 12);
    EXPECT_TRUE(cells.day[12].font.bold);
    vm::PlaceEntry(cells, state, Entry(12, "B"));
    EXPECT_EQ(cells.day[12].font.name, "Arial");
    vm::PlaceEntry(cells, state, Entry(12, "C", "", 0, "0", "0", "AM", "", "Courier, 9,False,True"));
    EXPECT_EQ(cells.day[12].font.name, "Courier");
    EXPECT_FALSE(cells.day[12].font.bold);
    EXPECT_TRUE(cells.day[12].font.italic);
}

TEST(CellLooks, TodayStaysWhiteOnBlackAndItsEntriesBlackOnWhite) {
    CellLooks cells;
    CellColorState state;
    vm::MarkToday(cells, 17, vm::kStyleAllTransparent);
    EXPECT_EQ(cells.title[17].back, kBlack);
    EXPECT_EQ(cells.title[17].fore, kWhite);
    EXPECT_FALSE(cells.title[17].opaque);
    vm::MarkToday(cells, 17, vm::kStyleMixed);
    EXPECT_TRUE(cells.title[17].opaque);

    vm::MarkEntryCell(cells, 17, 17, vm::kStyleMixed, 0x445566, 0x112233);
    EXPECT_EQ(cells.title[17].back, kBlack);  // today's colours kept
    vm::MarkEntryCell(cells, 18, 17, vm::kStyleMixed, 0x445566, 0x112233);
    EXPECT_EQ(cells.title[18].back, 0x445566);
    EXPECT_TRUE(cells.day[18].opaque);
    vm::MarkEntryCell(cells, 19, 17, vm::kStyleAllTransparent, 0x445566, 0x112233);
    EXPECT_FALSE(cells.day[19].opaque || cells.title[19].opaque);
    EXPECT_EQ(cells.title[19].fore, 0x112233);

    vm::PlaceEntry(cells, state, Entry(17, "Party", "255;65280;255;65280;2;2", 9));
    vm::ReapplyToday(cells, 17);
    EXPECT_EQ(cells.day[17].fore, kBlack);
    EXPECT_EQ(cells.day[17].back, kWhite);
    EXPECT_EQ(cells.title[17].back, kBlack);
    EXPECT_TRUE(cells.day[17].opaque && cells.title[17].opaque);

    // An empty today's cell keeps its back style.
    cells.title[20].opaque = cells.day[20].opaque = false;
    vm::ReapplyToday(cells, 20);
    EXPECT_FALSE(cells.day[20].opaque);
    EXPECT_EQ(cells.day[20].back, kWhite);
    vm::ReapplyToday(cells, std::nullopt);
}

TEST(CellLooks, DayLabelFontsTakeAllSixValuesOfTheMonth) {
    CellLooks cells;
    auto a = Look();
    a.DayFntUndrLn = true;
    a.TitleFntStrkThr = true;
    vm::ApplyDayLabelFonts(cells, a);
    for (int i : {0, 35, 41}) {
        EXPECT_TRUE(cells.title[i].font.italic);
        EXPECT_TRUE(cells.title[i].font.strikeout);
        EXPECT_TRUE(cells.day[i].font.underline);
        EXPECT_EQ(cells.day[i].font.size, 6);
    }
}

}  // namespace
