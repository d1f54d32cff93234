// The colour panels' and the font choice's rules without a window.
#include <gtest/gtest.h>

#include "core/recordpanel.h"
#include "core/recordstyle.h"

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
    EXPECT_EQ(vm::ShownBoxColors(255).background, 255);
    EXPECT_EQ(vm::ShownBoxColors(255).text, 0);
    EXPECT_EQ(vm::ShownBoxColors(-255).background, 255);
    EXPECT_EQ(vm::ShownBoxColors(0).text, 16777215);
}

TEST(EntryPanel, OpensOnTheStoredTextAndMakesBlackOnBlackReadable) {
    auto shown = vm::OpenEntryPanel("255;0;0;0;2;3");
    EXPECT_EQ(shown.boxes[0], "255");
    EXPECT_EQ(shown.backgrounds[0], 255);
    EXPECT_EQ(shown.dayList, "Day is Transparent");
    EXPECT_EQ(shown.titleList, "Title is Opaque");
    std::array<std::string, 4> boxes = {"255", "0", "0", "0"};
    EXPECT_EQ(vm::EntryPanelOk(boxes, *shown.dayList, *shown.titleList), "255;0;0;16777215;2;3");
    EXPECT_EQ(boxes[3], "16777215");

    shown = vm::OpenEntryPanel("Select FG Colors");
    EXPECT_EQ(shown.boxes[0], "Select FG Colors");
    EXPECT_FALSE(shown.boxes[1]);
    EXPECT_FALSE(shown.backgrounds[0]);
    EXPECT_FALSE(shown.dayList);
    boxes = {"Select FG Colors", "Text BG Color", "Title Text Color", "Title BG Color"};
    EXPECT_EQ(vm::EntryPanelOk(boxes, "Day BG Style", "Title BG Style"), "0;16777215;0;16777215;3;3");

    shown = vm::OpenEntryPanel("-65280;16777215;x");
    EXPECT_EQ(shown.boxes[0], "-65280");
    EXPECT_FALSE(shown.backgrounds[0]) << "a negative colour leaves the background";
    EXPECT_EQ(shown.backgrounds[1], 16777215);
    EXPECT_EQ(shown.boxes[2], "x");
    EXPECT_FALSE(shown.backgrounds[2]);
    EXPECT_FALSE(shown.boxes[3]);

    shown = vm::OpenEntryPanel("   ");
    EXPECT_FALSE(shown.boxes[0]) << "a blank text changes nothing";
}

TEST(FontChoice, PresetAndResultText) {
    auto f = vm::FontDialogPreset("", "Arial");
    EXPECT_EQ(f.name, "Arial");
    EXPECT_EQ(f.size, 10);
    EXPECT_FALSE(f.bold);
    f = vm::FontDialogPreset("Times New Roman, 8.5,False,True", "Arial");
    EXPECT_EQ(f.name, "Times New Roman");
    EXPECT_EQ(f.size, 8.5);
    EXPECT_FALSE(f.bold);
    EXPECT_TRUE(f.italic);
    f = vm::FontDialogPreset("Courier", "Arial");
    EXPECT_EQ(f.name, "Courier");
    EXPECT_EQ(f.size, 0) << "a missing size is not preset";

    vm::FontChoice c;
    c.name = "Arial";
    c.size = 10;
    c.bold = true;
    EXPECT_EQ(vm::FontChoiceText(c), "Arial, 10,True,False");
    c.name = "Times New Roman";
    c.size = 8.5;
    c.bold = false;
    c.italic = true;
    EXPECT_EQ(vm::FontChoiceText(c), "Times New Roman, 8.5,False,True");
    c.size = 0;
    EXPECT_FALSE(vm::FontChoiceText(c));
    c.size = 10;
    c.name.clear();
    EXPECT_FALSE(vm::FontChoiceText(c));
}

TEST(BoxNumber, ReadsBoxesTheOneWay) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"&HFF00&", 65280}, {"&HFF00", -256}, {"1 2", 12}, {"Priority", 0}, {"1e3", 1000}, {"", 0}};
    for (const auto& c : cases) EXPECT_EQ(vm::BoxNumber(c.text), c.value) << c.text;
}

}  // namespace
