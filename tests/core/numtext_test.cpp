#include <gtest/gtest.h>

#include "core/numtext.h"

TEST(LeadingNumber, ReadsTheWayBoxesAlwaysHave) {
    EXPECT_EQ(vm::Val("  42abc"), 42);
    EXPECT_EQ(vm::Val("-3.5x"), -3.5);
    EXPECT_EQ(vm::Val("1 2 3"), 123);
    EXPECT_EQ(vm::Val("2.5e2"), 250);
    EXPECT_EQ(vm::Val("abc"), 0);
    EXPECT_EQ(vm::Val(""), 0);
    EXPECT_EQ(vm::Val("&HFF"), 255);
    EXPECT_EQ(vm::Val("&hFFFFFF"), 16777215);
    EXPECT_EQ(vm::Val("&HFFFF"), -1);
    EXPECT_EQ(vm::Val("&O17"), 15);
    EXPECT_EQ(vm::RoundHalfEven(2.5), 2);
    EXPECT_EQ(vm::RoundHalfEven(3.5), 4);
    EXPECT_EQ(vm::RoundHalfEven(-2.5), -2);
    EXPECT_EQ(vm::RoundHalfEven(vm::Val("1e30")), INT64_MAX);
    EXPECT_EQ(vm::RoundHalfEven(-1e300), INT64_MIN);
    EXPECT_EQ(vm::Str(int64_t{16777215}), " 16777215");
    EXPECT_EQ(vm::Str(int64_t{-5}), "-5");
    EXPECT_EQ(vm::Str(int64_t{0}), " 0");
}

TEST(LeadingNumber, HexWithAClosingAmpersandIsThirtyTwoBits) {
    EXPECT_EQ(vm::Val("&HFF00&"), 65280);
    EXPECT_EQ(vm::Val("&HFF00"), -256);
    EXPECT_EQ(vm::Val("&H00FF00"), 65280);
    EXPECT_EQ(vm::Val("&HFFFFFFFF"), -1);
    EXPECT_EQ(vm::Val(" 1\n2\t3 "), 123);
}
