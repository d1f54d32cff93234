// The plain rules behind the settings panel.
#include <gtest/gtest.h>

#include "core/launcher.h"
#include "core/settingsrules.h"

namespace {

TEST(SettingsRules, WholeNumberTextNeedsTheWholeText) {
    struct Case {
        const char* text;
        std::optional<int64_t> value;
    };
    const Case cases[] = {
        {" 42 ", 42},  {"-7", -7},       {"+7", 7},          {"2.5", 2},       {"3.5", 4},
        {"1e3", 1000}, {"&HFF", 255},    {"&hff&", 255},     {"&O17", 15},     {"&HFFFF", -1},
        {"", {}},      {"   ", {}},      {"12abc", {}},      {"1 2", {}},      {"&H", {}},
        {"&HZZ", {}},  {"1e", {}},       {".", {}},          {"--1", {}},      {"&O8", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(vm::WholeNumberText(c.text), c.value) << "'" << c.text << "'";
    EXPECT_EQ(vm::StoredColor("16777215"), 16777215);
    EXPECT_EQ(vm::StoredColor("16777216"), std::nullopt);
    EXPECT_EQ(vm::StoredColor("-1"), std::nullopt);
    EXPECT_EQ(vm::TypedColor("zzz"), 0);
    EXPECT_EQ(vm::TypedColor("&HFF"), 255);
}

TEST(SettingsRules, FontCaptionsAndStyles) {
    EXPECT_EQ(vm::FontCaption("Arial", vm::Currency::FromDouble(10.5), true, false, false, true),
              "Arial, 10.5, True, False, False, True");
    EXPECT_EQ(vm::SizeText(vm::Currency::Whole(11)), "11");
    EXPECT_EQ(vm::SizeText(vm::Currency::FromDouble(8.25)), "8.25");
    EXPECT_EQ(vm::SizeText(vm::Currency{5}), "0.0005");

    EXPECT_EQ(vm::CalendarStyleFromText("All Days Transparent"), 2);
    EXPECT_EQ(vm::CalendarStyleFromText("All Days Opaque"), 3);
    EXPECT_EQ(vm::CalendarStyleFromText("all days opaque"), 1);
    EXPECT_EQ(vm::CalendarStyleText(1), "Mixed Transparent/Opaque");
    EXPECT_EQ(vm::CalendarStyleText(0), std::nullopt);
    EXPECT_EQ(vm::CalendarStyleText(4), std::nullopt);
}

TEST(SettingsRules, MonthCopyPlans) {
    auto plan = vm::PlanMonthCopy("March", "All");
    EXPECT_EQ(plan.from, 3);
    EXPECT_EQ(plan.targets, (std::vector<int>{1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    plan = vm::PlanMonthCopy("JANUARY", "december");
    EXPECT_EQ(plan.from, 1);
    EXPECT_EQ(plan.targets, std::vector<int>{12});
    plan = vm::PlanMonthCopy("april", "April");
    EXPECT_EQ(plan.from, 4);
    EXPECT_TRUE(plan.toNamesMonth);
    EXPECT_TRUE(plan.targets.empty());
    plan = vm::PlanMonthCopy("Smarch", "All");
    EXPECT_EQ(plan.from, 0);
    plan = vm::PlanMonthCopy("May", "Later");
    EXPECT_FALSE(plan.toNamesMonth);
    EXPECT_TRUE(plan.targets.empty());
}

TEST(SettingsRules, StartYearsSoundNumbersAndFolders) {
    EXPECT_EQ(vm::ValidStartYear("2019"), "2019");
    EXPECT_EQ(vm::ValidStartYear(" 2019\t"), "2019");
    for (const char* bad : {"", "201", "20190", "0999", "2O19", "-201", "2019.5", "2,19"})
        EXPECT_EQ(vm::ValidStartYear(bad), std::nullopt) << bad;
    EXPECT_EQ(vm::SoundNumber(" 7"), 7);
    EXPECT_EQ(vm::SoundNumber("x"), 0);
    EXPECT_EQ(vm::SoundNumber("6.5"), 6);
    EXPECT_EQ(vm::SoundNumber("1e30"), 1000000000);
    EXPECT_EQ(vm::FolderPart("/a/b/c.wav"), "/a/b/");
    EXPECT_EQ(vm::FolderPart("c.wav"), "");
}

TEST(SettingsRules, UserDirsValues) {
    const std::string text =
        "# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop/\"\n  XDG_MUSIC_DIR = \"/mnt/music\"\nXDG_DESKTOP_DIRX=\"no\"\n";
    EXPECT_EQ(vm::UserDirsValue(text, "XDG_DESKTOP_DIR", "/home/u"), "/home/u/Desktop");
    EXPECT_EQ(vm::UserDirsValue(text, "XDG_MUSIC_DIR", "/home/u"), "/mnt/music");
    EXPECT_EQ(vm::UserDirsValue(text, "XDG_VIDEOS_DIR", "/home/u"), "");
}

}  // namespace
