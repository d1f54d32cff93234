#include <gtest/gtest.h>

#include "core/record.h"
#include "core/recordstyle.h"

namespace {

TEST(RecordStyle, DayColorsAndFontTextsReadMalformedPartsAsMissing) {
    EXPECT_EQ(vm::ComposeDayColors({"-255", "&HFF00&", "&HFF00", " 1 2 "}, "day is transparent", "Title is Transparent"),
              "-255;65280;-256;12;3;2");
    const auto shown = vm::ShowDayColors("1;2;3;4;9;2");
    EXPECT_EQ(shown.boxes[0], "1");
    EXPECT_EQ(shown.boxes[3], "4");
    EXPECT_FALSE(shown.dayList) << "a style outside 0..3 leaves the list";
    EXPECT_EQ(shown.titleList, "Title is Transparent");
    const auto partial = vm::ShowDayColors("7;8");
    EXPECT_EQ(partial.boxes[1], "8");
    EXPECT_FALSE(partial.boxes[2]);
    EXPECT_FALSE(partial.titleList);

    using P = std::vector<std::optional<double>>;
    EXPECT_EQ(vm::SplitDayColors(" 255;x;;-3 "), (P{255, std::nullopt, std::nullopt, -3}));
    EXPECT_TRUE(vm::SplitDayColors("").empty());
}

}  // namespace
