#include "core/monthlayout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/numtext.h"

namespace vm::layout {

int PixelsFromTwips(double twips) {
    // Whatever a file held: no length beyond what a screen coordinate can be.
    return static_cast<int>(std::clamp<int64_t>(RoundHalfEven(twips / kTwipsPerPixel), -1000000000, 1000000000));
}
int TwipsFromPixels(int pixels) { return pixels * kTwipsPerPixel; }

int16_t TitleHeightFromFontSize(double size) {
    if (size <= 8) return 220;
    if (size <= 10) return 290;
    if (size <= 11) return 330;
    if (size <= 14) return 360;
    if (size <= 19) return 420;
    return 550;
}

SplitterColumns ColumnsFromSplitter(double panelWidth, double barLeft) {
    SplitterColumns c;
    c.columnWidth = static_cast<int>(RoundHalfEven((panelWidth - barLeft - kColumnMargin) / 7.0));
    for (int col = 0; col < 7; ++col)
        c.columnLeft[static_cast<size_t>(col)] =
            static_cast<int>(RoundHalfEven(barLeft + kColumnOffset + col * c.columnWidth));
    c.gridWidth = static_cast<int>(RoundHalfEven(barLeft - kGridGap));
    c.pictureLeft = static_cast<int>(RoundHalfEven(barLeft + kPictureGap));
    c.pictureWidth = static_cast<int>(RoundHalfEven(panelWidth - barLeft - kPictureRightGap));
    c.searchBarShown = barLeft > kSearchBarFrom;
    return c;
}

int PanelHeightFromWindow(double windowHeight, double pictureTop, double statusBarHeight) {
    return static_cast<int>(RoundHalfEven(windowHeight - pictureTop - statusBarHeight - kPanelHeightMargin));
}

DayGridRows RowsFromHeights(int panelHeight, int pictureTop, int titleHeight, int rows) {
    DayGridRows g;
    if (rows < 1) rows = 6;
    g.pictureHeight = panelHeight - kPictureHeightMargin;
    const int T = titleHeight;
    g.titleHeight = T;
    g.cellHeight = static_cast<int>(
        RoundHalfEven(static_cast<double>(panelHeight - pictureTop - rows * T - 100) / rows));
    const int C = g.cellHeight;
    g.titleTop[0] = pictureTop + 30;
    g.dayTop[0] = T + 732;
    g.titleTop[1] = T + 700 + C;
    g.dayTop[1] = 2 * T + 670 + C;
    for (int r = 2; r < 6; ++r) {
        g.titleTop[static_cast<size_t>(r)] = r * T + 670 + r * C;
        g.dayTop[static_cast<size_t>(r)] = (r + 1) * T + 670 + r * C;
    }
    return g;
}

double CentredLeft(double cellLeft, double cellWidth, double headingWidth) {
    const float left = static_cast<float>(cellWidth) / 2.0f + static_cast<float>(cellLeft) -
                       static_cast<float>(headingWidth) / 2.0f;
    return left;
}

namespace {
// "##,##0": whole number with thousands separators.
std::string Grouped(double value) {
    const int64_t n = RoundHalfEven(value);
    std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return n < 0 ? "-" + out : out;
}

// A number rounded to two decimals (halves to even), written without
// trailing zeros.
std::string TwoDecimals(double value) {
    const double scaled = value * 100.0;
    double rounded = static_cast<double>(RoundHalfEven(scaled)) / 100.0;
    std::string t = FixedText(rounded, 2);
    while (!t.empty() && t.back() == '0') t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    if (t == "-0") t = "0";
    return t;
}
}  // namespace

std::optional<std::string> RatioBoxText(double pictureWidth, double height) {
    const double w = static_cast<double>(RoundHalfEven(pictureWidth));
    const double h = static_cast<double>(RoundHalfEven(height));
    if (h == 0) return std::nullopt;
    return std::string("4/3 = 1.33\n") + "11\"/8.5\" = 1.29\n" + "Current Ratio: " + Grouped(w) + " Pix/" +
           Grouped(h) + " Pix = " + TwoDecimals(w / h);
}

}  // namespace vm::layout
