// The colour converter's arithmetic without a window.
#include <gtest/gtest.h>

#include <vector>

#include "core/colorconvert.h"

namespace {

// The new box texts as "red,green,blue|decimal|hex", "-" for a box left alone.
std::string Boxes(const vm::ConverterUpdate& u) {
    auto t = [](const std::optional<std::string>& s) { return s ? *s : std::string("-"); };
    return t(u.red) + "," + t(u.green) + "," + t(u.blue) + "|" + t(u.decimal) + "|" + t(u.hex);
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
