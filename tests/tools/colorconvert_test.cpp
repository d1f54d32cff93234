// The colour converter's arithmetic without a window.
#include <gtest/gtest.h>

#include "core/colorconvert.h"

namespace {

TEST(ColorConvert, DecimalToComponentsAndHex) {
    const struct {
        const char* decimal;
        const char *red, *green, *blue, *hex;
        long sample;
    } cases[] = {{"255", "255", "0", "0", "&H000000FF&", 255},
                 {"65280", "0", "255", "0", "&H0000FF00&", 65280},
                 {"16711680", "0", "0", "255", "&H00FF0000&", 16711680},
                 {"-65280", "0", "255", "0", "&H0000FF00&", 65280},
                 {" 8421504", "128", "128", "128", "&H00808080&", 8421504},
                 {"", "0", "0", "0", "&H00000000&", 0}};
    for (const auto& c : cases) {
        const auto u = vm::ConvertDecimal(c.decimal);
        ASSERT_TRUE(u.ok()) << c.decimal;
        EXPECT_EQ(u.red, c.red) << c.decimal;
        EXPECT_EQ(u.green, c.green) << c.decimal;
        EXPECT_EQ(u.blue, c.blue) << c.decimal;
        EXPECT_EQ(u.hex, c.hex) << c.decimal;
        EXPECT_FALSE(u.decimal) << "the decimal box keeps its text";
        EXPECT_EQ(u.message, std::string("VB6 Hex = ") + c.hex);
        EXPECT_EQ(u.sample, c.sample);
        EXPECT_FALSE(u.clipboard);
    }
    const auto big = vm::ConvertDecimal("16777216");
    EXPECT_FALSE(big.ok());
    EXPECT_FALSE(big.red);
}

TEST(ColorConvert, HexBackToComponentsAndDecimal) {
    const struct {
        const char* hex;
        const char *red, *green, *blue, *decimal;
    } cases[] = {{"&H000000FF&", "255", "0", "0", "255"},   // what Dec 2 RGB writes
                 {"&H00FF0000&", "0", "0", "255", "16711680"},
                 {"&HFF00&", "0", "255", "0", "65280"},
                 {"FF", "255", "0", "0", "255"},
                 {"&h00a0b0c0&", "192", "176", "160", "10531008"}};
    for (const auto& c : cases) {
        const auto u = vm::ConvertHex(c.hex);
        ASSERT_TRUE(u.ok()) << c.hex << ": " << u.refusal;
        EXPECT_EQ(u.red, c.red) << c.hex;
        EXPECT_EQ(u.green, c.green) << c.hex;
        EXPECT_EQ(u.blue, c.blue) << c.hex;
        EXPECT_EQ(u.decimal, c.decimal) << c.hex;
        EXPECT_FALSE(u.hex) << "the hex box is not rewritten";
        EXPECT_EQ(u.message, "VB6 Hex = " + vm::HexColorText(std::stol(c.decimal)));
    }
    const auto system = vm::ConvertHex("&H8000000F&");
    EXPECT_FALSE(system.ok());
    EXPECT_EQ(system.refusalTitle, "System Color");
    EXPECT_EQ(system.refusal, "This is a system color = 15\nThis Cannot be Directly Converted to RGB");
    EXPECT_FALSE(system.critical);
    EXPECT_EQ(vm::ConvertHex("&H80000005&").refusal.substr(0, 26), "This is a system color = 5");
    for (const char* bad : {"", "&H&", "&HXYZ&", "12G4", "&H01000000&", "&H1000000"}) {
        const auto u = vm::ConvertHex(bad);
        EXPECT_FALSE(u.ok()) << bad;
        EXPECT_FALSE(u.red || u.decimal) << bad;
    }
}

TEST(ColorConvert, ComponentsToDecimalWithTheClipboard) {
    auto u = vm::ConvertComponents("0", "0", "255");
    ASSERT_TRUE(u.ok());
    EXPECT_EQ(u.decimal, " 16711680");
    EXPECT_EQ(u.clipboard, "16711680");
    EXPECT_EQ(u.hex, "&H00FF0000&");
    EXPECT_EQ(u.message, "VB6 Hex = &H00FF0000&\nDecimal = 16711680\nDecimal Value Copied to Clipboard");
    EXPECT_FALSE(u.red) << "the component boxes stay as typed";
    u = vm::ConvertComponents("10", "0", "0");
    EXPECT_EQ(u.decimal, " 10");
    EXPECT_EQ(u.hex, "&H0000000A&");
    u = vm::ConvertComponents("255", "x", "");
    EXPECT_EQ(u.decimal, " 255") << "text that is not a number reads as 0";
    for (auto parts : {std::array<const char*, 3>{"256", "0", "0"}, {"0", "-1", "0"}, {"0", "0", "1e9"}}) {
        u = vm::ConvertComponents(parts[0], parts[1], parts[2]);
        EXPECT_FALSE(u.ok()) << parts[0] << "," << parts[1] << "," << parts[2];
        EXPECT_FALSE(u.decimal || u.clipboard);
    }
}

}  // namespace
