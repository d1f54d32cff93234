#include <gtest/gtest.h>

#include "core/monthcells.h"

using vm::CellColorState;
using vm::CellLooks;
using vm::kBlack;
using vm::kWhite;

namespace {

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
