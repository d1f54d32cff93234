// The colour converter's arithmetic without a window.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/colorconvert.h"

namespace {

// The new box texts as "red,green,blue|decimal|hex", "-" for a box left alone.
std::string Boxes(const vm::ConverterUpdate& u) {
    auto t = [](const std::optional<std::string>& s) { return s ? *s : std::string("-"); };
    return t(u.red) + "," + t(u.green) + "," + t(u.blue) + "|" + t(u.decimal) + "|" + t(u.hex);
}

TEST(ColorConvert, EachWayFillsTheOtherBoxes) {
    struct Case { char way; std::array<const char*, 3> typed; const char* boxes; long sample; };
    const Case cases[] = {
        {'d', {"255"}, "255,0,0|-|&H000000FF&", 255},
        {'d', {"16711680"}, "0,0,255|-|&H00FF0000&", 16711680},
        {'d', {"-65280"}, "0,255,0|-|&H0000FF00&", 65280},  // a negative number stands for its absolute value
        {'d', {""}, "0,0,0|-|&H00000000&", 0},
        {'h', {"&H000000FF&"}, "255,0,0|255|-", 255},
        {'h', {"&HFF00&"}, "0,255,0|65280|-", 65280},
        {'h', {"&h00a0b0c0&"}, "192,176,160|10531008|-", 10531008},
        {'c', {"0", "0", "255"}, "-,-,-| 16711680|&H00FF0000&", 16711680},
        {'c', {"255", "x", ""}, "-,-,-| 255|&H000000FF&", 255},  // text that is not a number reads as 0
    };
    for (const Case& c : cases) {
        const auto u = c.way == 'd'   ? vm::ConvertDecimal(c.typed[0])
                       : c.way == 'h' ? vm::ConvertHex(c.typed[0])
                                      : vm::ConvertComponents(c.typed[0], c.typed[1], c.typed[2]);
        ASSERT_TRUE(u.ok()) << c.typed[0] << ": " << u.refusal;
        EXPECT_EQ(Boxes(u), c.boxes) << c.typed[0];
        EXPECT_EQ(u.sample, c.sample) << c.typed[0];
        EXPECT_EQ(u.clipboard.has_value(), c.way == 'c') << c.typed[0];
    }
    EXPECT_EQ(vm::ConvertComponents("0", "0", "255").clipboard, "16711680");
}

TEST(ColorConvert, ValuesOutOfRangeChangeNoBox) {
    std::vector<vm::ConverterUpdate> refused = {vm::ConvertDecimal("16777216"), vm::ConvertComponents("256", "0", "0"),
                                                vm::ConvertComponents("0", "-1", "0"), vm::ConvertComponents("0", "0", "1e9")};
    for (const char* bad : {"", "&H&", "&HXYZ&", "12G4", "&H01000000&", "&H1000000"}) refused.push_back(vm::ConvertHex(bad));
    for (const auto& u : refused) {
        EXPECT_FALSE(u.ok());
        EXPECT_EQ(Boxes(u), "-,-,-|-|-") << u.refusal;
        EXPECT_FALSE(u.clipboard);
    }
    // A system colour has no fixed components: a notice naming its index.
    const auto system = vm::ConvertHex("&H8000000F&");
    EXPECT_FALSE(system.ok() || system.critical);
    EXPECT_EQ(system.refusalTitle, "System Color");
    EXPECT_NE(system.refusal.find("system color = 15\n"), std::string::npos);
    EXPECT_NE(vm::ConvertHex("&H80000005&").refusal.find("= 5\n"), std::string::npos);
}

}  // namespace
