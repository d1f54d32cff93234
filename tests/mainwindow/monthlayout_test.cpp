#include <gtest/gtest.h>

#include "core/monthlayout.h"

namespace L = vm::layout;

namespace {

TEST(MonthLayout, TitleStripHeightFollowsTheTitleFontSizeBands) {
    const std::pair<double, int> table[] = {{8, 220},    {8.25, 290}, {10, 290},  {11, 330},  {11.5, 360},
                                            {14, 360},   {19, 420},   {19.5, 550}, {72, 550}, {6, 220},
                                            {0, 220},    {-3, 220}};
    for (auto [size, height] : table) EXPECT_EQ(L::TitleHeightFromFontSize(size), height) << size;
}

TEST(MonthLayout, ColumnsFollowTheSplitterBar) {
    // A window 10000 wide gives a client panel of 9600; the bar at 5000.
    const auto c = L::ColumnsFromSplitter(10000 - L::kPanelWidthMargin, 5000);
    EXPECT_EQ(c.columnWidth, 614);  // 614.28 rounded
    for (int col = 0; col < 7; ++col) EXPECT_EQ(c.columnLeft[col], 5200 + col * 614);
    EXPECT_EQ(c.gridWidth, 4800);
    EXPECT_EQ(c.pictureLeft, 5100);
    EXPECT_EQ(c.pictureWidth, 9600 - 5000 - 150);
    EXPECT_TRUE(c.searchBarShown);

    EXPECT_FALSE(L::ColumnsFromSplitter(9600, 4700).searchBarShown);
    EXPECT_TRUE(L::ColumnsFromSplitter(9600, 4701).searchBarShown);
}

TEST(MonthLayout, ColumnWidthTiesGoToTheEvenNeighbour) {
    // (9600 - 4998.5 - 300) / 7 = 614.5 -> 614; (9600 - 4991.5 - 300) / 7 = 615.5 -> 616.
    EXPECT_EQ(L::ColumnsFromSplitter(9600, 4998.5).columnWidth, 614);
    EXPECT_EQ(L::ColumnsFromSplitter(9600, 4991.5).columnWidth, 616);
}

TEST(MonthLayout, SixRowsShareTheHeightAndStackByTheFixedOffsets) {
    // T = 290 and C = 1000 with the picture at 700: panel = 6 * 1000 + 700 + 6 * 290 + 100.
    const auto g = L::RowsFromHeights(8540, 700, 290, 6);
    EXPECT_EQ(g.cellHeight, 1000);
    EXPECT_EQ(g.pictureHeight, 8540 - 770);
    EXPECT_EQ(g.titleTop[0], 730);
    EXPECT_EQ(g.dayTop[0], 1022);
    EXPECT_EQ(g.titleTop[1], 1990);
    EXPECT_EQ(g.dayTop[1], 2250);
    EXPECT_EQ(g.titleTop[2], 3250);
    EXPECT_EQ(g.dayTop[2], 3540);
    EXPECT_EQ(g.titleTop[5], 5 * 290 + 670 + 5 * 1000);
    EXPECT_EQ(g.dayTop[5], 6 * 290 + 670 + 5 * 1000);
}

TEST(MonthLayout, FiveRowsShareTheHeightAmongFive) {
    const int panel = 8000, top = 700, T = 360;
    const auto g = L::RowsFromHeights(panel, top, T, 5);
    EXPECT_EQ(g.cellHeight, (panel - top - 5 * T - 100) / 5);
    // All six rows are still placed.
    EXPECT_EQ(g.titleTop[5], 5 * T + 670 + 5 * g.cellHeight);
}

TEST(MonthLayout, CellHeightTiesGoToTheEvenNeighbour) {
    // Numerators 6003 and 6009 over six rows: 1000.5 -> 1000 and 1001.5 -> 1002.
    EXPECT_EQ(L::RowsFromHeights(6003 + 700 + 6 * 220 + 100, 700, 220, 6).cellHeight, 1000);
    EXPECT_EQ(L::RowsFromHeights(6009 + 700 + 6 * 220 + 100, 700, 220, 6).cellHeight, 1002);
}

TEST(MonthLayout, PanelHeightLeavesThePictureTopStatusBarAndMargin) {
    EXPECT_EQ(L::PanelHeightFromWindow(12000, 700, 300), 12000 - 700 - 300 - 650);
}

TEST(MonthLayout, HeadingsAreCentredOverTheirCellEvenWhenWider) {
    EXPECT_DOUBLE_EQ(L::CentredLeft(5200, 614, 300), 5200 + 307 - 150);
    // A heading wider than its cell reaches beyond it on both sides.
    EXPECT_DOUBLE_EQ(L::CentredLeft(5200, 614, 1300), 5200 + 307 - 650);
}

TEST(MonthLayout, RatioBoxShowsGroupedNumbersAndTheRoundedRatio) {
    EXPECT_EQ(*L::RatioBoxText(12000, 9000),
              "4/3 = 1.33\n11\"/8.5\" = 1.29\nCurrent Ratio: 12,000 Pix/9,000 Pix = 1.33");
    EXPECT_EQ(*L::RatioBoxText(900, 900), "4/3 = 1.33\n11\"/8.5\" = 1.29\nCurrent Ratio: 900 Pix/900 Pix = 1");
    EXPECT_FALSE(L::RatioBoxText(5000, 0).has_value());
}

TEST(MonthLayout, TwipsAndPixels) {
    EXPECT_EQ(L::PixelsFromTwips(1500), 100);
    EXPECT_EQ(L::PixelsFromTwips(22.5), 2);  // 1.5 -> 2
    EXPECT_EQ(L::PixelsFromTwips(37.5), 2);  // 2.5 -> 2
    EXPECT_EQ(L::TwipsFromPixels(7), 105);
}

}  // namespace
