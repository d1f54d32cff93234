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

TEST(MonthFrame, EachMonthsShapeNumbersTheCellsAroundIt) {
    const struct {
        int month;
        const char* year;
        int firstCell, lastCell, rows;
        const char* beforeFirst;  // the previous month's last day, in the cell before the 1st
    } cases[] = {
        {2, " 2026", 0, 27, 5, nullptr},  // from a Sunday: four full rows
        {5, " 2026", 5, 35, 6, "30 "},    // 31 days from a Friday need six rows
        {1, " 2026", 4, 34, 5, "31 "},    // from a Thursday five
        {11, " 2025", 6, 35, 6, "31 "},   // 30 days from a Saturday end in cell 35
        {3, " 2024", 5, 35, 6, "29 "},    // a leap February before it
    };
    for (const auto& c : cases) {
        const Month m(c.month, c.year, "March");
        EXPECT_EQ(m.frame.firstCell, c.firstCell) << c.month;
        EXPECT_EQ(m.title(c.firstCell), "1 ") << c.month;
        EXPECT_EQ(m.title(c.lastCell), std::to_string(c.lastCell - c.firstCell + 1) + " ") << c.month;
        // The next month's days fill the last row (and the fifth always).
        const int next = c.lastCell + 1;
        EXPECT_EQ(m.title(next), next < 35 || next % 7 != 0 ? "1 " : "") << c.month;
        EXPECT_EQ(m.title(c.firstCell > 0 ? c.firstCell - 1 : 0), c.beforeFirst ? c.beforeFirst : "1 ") << c.month;
        EXPECT_EQ(m.rows, c.rows) << c.month;
        EXPECT_EQ(m.cells.title[35].visible, c.rows == 6) << c.month;
        EXPECT_EQ(m.cells.day[41].visible, c.rows == 6) << c.month;
        EXPECT_EQ(m.keys[c.firstCell], vm::Date2Julian(vm::CivilDate{std::stoi(c.year), c.month, 1})) << c.month;
        EXPECT_FALSE(m.frame.todayCell.has_value()) << "today is in July 2026 only";
    }
    const Month march(3, " 2024", "March");
    EXPECT_EQ(march.cells.day[9].tooltip, " March 5, 2024 ");
    EXPECT_EQ(march.cells.title[4].tooltip, "") << "leading days have none";
    EXPECT_FALSE(vm::MakeMonthFrame(0, " 2026", kToday).has_value()) << "no month ever recognised";
    EXPECT_EQ(Frame(7, "").todayCell, 3 + 15 - 1) << "1 July 2026 is a Wednesday; an empty year box is this year";
}

// ---- appearance and entries

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

TEST(CellLooks, PriorityDecidesWhoseColoursACellShows) {
    const struct {
        const char* what;
        vm::SortingRow first, second;
        int32_t dayFore, dayBack;
        bool locked;
        int priority;
    } cases[] = {
        {"a higher priority comes first and locks the cell", Entry(0, "Boss", "255;65535;16711680;0;3;3", 5),
         Entry(0, "Other", "0;16776960;0;16776960;3;3"), 255, 65535, true, 5},
        {"among priority 0 the last colour wins", Entry(0, "Red", "255;16777215;255;16777215;3;3"),
         Entry(0, "Yellow", "0;65535;0;65535;3;3"), 0, 65535, false, 0},
        {"a forced colour locks at priority 0", Entry(0, "Red forced", "-255;16777215;255;16777215;3;3"),
         Entry(0, "Yellow", "0;65535;0;65535;3;3"), 255, 16777215, true, 0},
        {"no colours with a priority only locks", Entry(0, "Plain but important", "", 3),
         Entry(0, "Yellow", "0;65535;0;65535;3;3"), 123, 456, true, 3},
        {"no colours resets an unlocked cell", Entry(0, "Red", "255;16777215;255;16777215;3;3"), Entry(0, "Plain"),
         kBlack, kWhite, false, 0},
    };
    for (const auto& c : cases) {
        CellLooks cells;
        CellColorState state;
        cells.day[0].fore = 123;
        cells.day[0].back = 456;
        vm::PlaceEntry(cells, state, c.first);
        vm::PlaceEntry(cells, state, c.second);
        EXPECT_EQ(cells.day[0].fore, c.dayFore) << c.what;
        EXPECT_EQ(cells.day[0].back, c.dayBack) << c.what;
        EXPECT_EQ(state.locked[0], c.locked) << c.what;
        EXPECT_EQ(state.priority[0], c.priority) << c.what;
    }
}

TEST(CellLooks, BrokenColourAndFontPartsAreReadAsMissing) {
    CellLooks cells;
    CellColorState state;
    cells.day[10].back = 777;
    cells.title[10].back = 888;
    vm::PlaceEntry(cells, state, Entry(10, "Odd", "255;abc;;x;two", 0, "0", "0", "AM", "", "Serif,big,maybe,True"));
    EXPECT_EQ(cells.day[10].fore, 255);
    EXPECT_EQ(cells.day[10].back, 777);
    EXPECT_EQ(cells.title[10].back, 888);
    EXPECT_EQ(cells.day[10].font.name, "Serif");
    EXPECT_EQ(cells.day[10].font.size, 8);
    EXPECT_FALSE(cells.day[10].font.bold);
    EXPECT_TRUE(cells.day[10].font.italic);
    vm::PlaceEntry(cells, state, Entry(10, "No font"));
    EXPECT_EQ(cells.day[10].font.name, "Serif") << "the last entry with a font sets it";
    // A colour beyond the colour range leaves its property unchanged.
    vm::PlaceEntry(cells, state, Entry(11, "Too bright", "16777216;1;2;3;3;3"));
    EXPECT_EQ(cells.day[11].fore, kBlack);
    EXPECT_EQ(cells.day[11].back, 1);
    EXPECT_NO_THROW(vm::PlaceEntry(cells, state, Entry(42, "Nowhere")));
    EXPECT_NO_THROW(vm::PlaceEntry(cells, state, Entry(-1, "Nowhere")));
}

}  // namespace
