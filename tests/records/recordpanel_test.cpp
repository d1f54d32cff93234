// A colour picked for a box of the colour panels keeps the box's sign.
#include <gtest/gtest.h>

#include "core/recordpanel.h"

namespace {

TEST(ColorPick, KeepsTheSignOfTheBox) {
    const struct {
        const char* box;
        long asked;
        long chosen;
        const char* text;
    } cases[] = {
        {"-65280", 65280, 255, "-255"},   // a forced colour stays forced
        {"65280", 65280, 255, " 255"},
        {"-65280", 65280, 0, " 0"},       // black cannot carry the mark
        {"Text Color", 0, 16777215, " 16777215"},
        {"&HFF00&", 65280, 12, " 12"},
        {"-12.6", 13, 7, "-7"},
        {"", 0, 65280, " 65280"},
    };
    for (const auto& c : cases) {
        const auto start = vm::StartColorPick(c.box);
        EXPECT_EQ(start.color, c.asked) << c.box;
        EXPECT_EQ(vm::PickedColorText(start, c.chosen), c.text) << c.box;
    }
}

}  // namespace
