#include <gtest/gtest.h>

#include "core/monthlayout.h"

namespace L = vm::layout;

namespace {

TEST(MonthLayout, TitleStripHeightFollowsTheTitleFontSizeBands) {
    const std::pair<double, int> table[] = {{8, 220},  {8.25, 290}, {10, 290},  {11, 330}, {11.5, 360}, {14, 360},
                                            {19, 420}, {19.5, 550}, {72, 550},  {6, 220},  {0, 220},    {-3, 220}};
    for (auto [size, height] : table) EXPECT_EQ(L::TitleHeightFromFontSize(size), height) << size;
}

TEST(MonthLayout, ColumnsFollowTheSplitterBarAndTiesGoToTheEvenNeighbour) {
    // A client panel of 9600 with the bar at 5000: (9600 - 5000 - 300) / 7 = 614.28.
    const auto c = L::ColumnsFromSplitter(9600, 5000);
    EXPECT_EQ(c.columnWidth, 614);
    EXPECT_EQ(c.columnLeft[0], 5200);
    EXPECT_EQ(c.columnLeft[6], 5200 + 6 * 614);
    EXPECT_EQ(c.gridWidth, 4800);
    EXPECT_EQ(c.pictureLeft, 5100);
    EXPECT_EQ(c.pictureWidth, 4450);
    EXPECT_TRUE(c.searchBarShown);
    EXPECT_FALSE(L::ColumnsFromSplitter(9600, 4700).searchBarShown);
    EXPECT_TRUE(L::ColumnsFromSplitter(9600, 4701).searchBarShown);
    // 614.5 -> 614 and 615.5 -> 616.
    EXPECT_EQ(L::ColumnsFromSplitter(9600, 4998.5).columnWidth, 614);
    EXPECT_EQ(L::ColumnsFromSplitter(9600, 4991.5).columnWidth, 616);
}

TEST(MonthLayout, RowsShareTheHeightAndStackByTheFixedOffsets) {
    // T = 290 and C = 1000 with the picture at 700: panel = 6 * 1000 + 700 + 6 * 290 + 100.
    const auto g = L::RowsFromHeights(8540, 700, 290, 6);
    EXPECT_EQ(g.cellHeight, 1000);
    EXPECT_EQ(g.pictureHeight, 7770);
    EXPECT_EQ(g.titleTop[0], 730);
    EXPECT_EQ(g.dayTop[0], 1022);
    EXPECT_EQ(g.titleTop[1], 1990);
    EXPECT_EQ(g.dayTop[1], 2250);
    EXPECT_EQ(g.titleTop[5], 7120);
    EXPECT_EQ(g.dayTop[5], 7410);
    // Five rows: (8000 - 700 - 5 * 360 - 100) / 5 = 1080, and the sixth row is still placed.
    const auto five = L::RowsFromHeights(8000, 700, 360, 5);
    EXPECT_EQ(five.cellHeight, 1080);
    EXPECT_EQ(five.titleTop[5], 5 * 360 + 670 + 5 * 1080);
    // 1000.5 -> 1000 and 1001.5 -> 1002.
    EXPECT_EQ(L::RowsFromHeights(6003 + 700 + 6 * 220 + 100, 700, 220, 6).cellHeight, 1000);
    EXPECT_EQ(L::RowsFromHeights(6009 + 700 + 6 * 220 + 100, 700, 220, 6).cellHeight, 1002);
}

TEST(MonthLayout, TwipsAndPixelsRoundToEven) {
    EXPECT_EQ(L::PixelsFromTwips(1500), 100);
    EXPECT_EQ(L::PixelsFromTwips(22.5), 2);  // 1.5 -> 2
    EXPECT_EQ(L::PixelsFromTwips(37.5), 2);  // 2.5 -> 2
    EXPECT_EQ(L::TwipsFromPixels(7), 105);
}

}  // namespace
