#include <gtest/gtest.h>

#include "core/numtext.h"

TEST(LeadingNumber, ReadsTheWayBoxesAlwaysHave) {
    const struct {
        const char* text;
        double value;
    } reads[] = {{"  42abc", 42},       {"1 2 3", 123},    {" 1\n2\t3 ", 123},    {"abc", 0},
                 {"", 0},               {"&HFF", 255},     {"&hFFFFFF", 16777215}, {"&O17", 15},
                 {"&HFFFF", -1},        {"&HFF00", -256},  {"&HFF00&", 65280},     {"&H00FF00", 65280},
                 {"&HFFFFFFFF", -1}};  // hex is 16 bits, or 32 with a closing "&" or more digits
    for (const auto& r : reads) EXPECT_EQ(vm::Val(r.text), r.value) << r.text;
    EXPECT_EQ(vm::RoundHalfEven(2.5), 2);
    EXPECT_EQ(vm::RoundHalfEven(3.5), 4);
    EXPECT_EQ(vm::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(vm::RoundHalfEven(vm::Val("1e30")), INT64_MAX);
    EXPECT_EQ(vm::RoundHalfEven(-1e300), INT64_MIN);
    EXPECT_EQ(vm::Str(int64_t{16777215}), " 16777215");
    EXPECT_EQ(vm::Str(int64_t{-5}), "-5");
    for (auto [n, text] : {std::pair<int64_t, const char*>{0, "0"}, {999, "999"}, {1234, "1,234"},
                           {1234567, "1,234,567"}, {-1000, "-1,000"}})
        EXPECT_EQ(vm::CountText(n), text);
}

TEST(WordCase, OnlyAsciiLettersChangeAndOnlyAsciiBlanksAreTrimmed) {
    EXPECT_EQ(vm::ToLower("ID MonthWeek-2-FRI"), "id monthweek-2-fri");
    EXPECT_EQ(vm::ToUpper("inauguration"), "INAUGURATION");
    // "İ", "ı", "É" and a lone Latin-1 byte are left as they are.
    const std::string other = "\xC4\xB0\xC4\xB1\xC3\x89\xC9";
    EXPECT_EQ(vm::ToLower(other), other);
    EXPECT_EQ(vm::ToUpper(other), other);
    EXPECT_TRUE(vm::ContainsNoCase("Sam's BIRTHDAY", "Birth"));
    EXPECT_FALSE(vm::ContainsNoCase("\xC4\xB0" "D", "id"));
    EXPECT_EQ(vm::Trim(" \t\xC2\xA0x\xA0\r\n"), "\xC2\xA0x\xA0") << "a no-break space is not a blank";
}
