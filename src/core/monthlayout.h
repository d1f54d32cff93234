// Geometry of the main window's month grid in twips: the columns from the
// splitter bar, the rows of day cells, the day-number strip heights and the
// centring of the weekday headings. Plain numbers; the window converts them
// to pixels once, at the widgets.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace vm::layout {

// 15 twips make one pixel at 96 dots per inch.
inline constexpr int kTwipsPerPixel = 15;
int PixelsFromTwips(double twips);
int TwipsFromPixels(int pixels);

// Margins and offsets of the layout, in twips.
inline constexpr int kPanelWidthMargin = 400;      // window width to client panel width
inline constexpr int kSplitterHeightMargin = 800;  // panel height to splitter height
inline constexpr int kGridHeightMargin = 1160;     // panel height to date grid height
inline constexpr int kGridGap = 200;               // date grid ends this far left of the bar
inline constexpr int kPictureGap = 100;            // picture starts this far right of the bar
inline constexpr int kPictureRightGap = 150;       // picture ends this far from the panel's right edge
inline constexpr int kColumnMargin = 300;
inline constexpr int kColumnOffset = 200;          // first cell column, right of the bar
inline constexpr int kPanelHeightMargin = 650;
inline constexpr int kPictureHeightMargin = 770;
inline constexpr int kMonthTitleOffset = 1200;     // month title left of the fourth weekday heading
inline constexpr int kSearchBarFrom = 4700;        // search bar shows when the bar lies right of this
inline constexpr int kBarTopAfterDrop = 700;

// Height of the day-number strip for a title font size (points):
// up to 8 -> 220, up to 10 -> 290, up to 11 -> 330, up to 14 -> 360,
// up to 19 -> 420, above -> 550.
int16_t TitleHeightFromFontSize(double size);

// What the splitter bar's position decides.
struct SplitterColumns {
    int columnWidth = 0;               // width of every day cell
    std::array<int, 7> columnLeft{};   // Left of the cells of each column (Sunday first)
    int gridWidth = 0;                 // date grid width
    int pictureLeft = 0;
    int pictureWidth = 0;
    bool searchBarShown = false;       // search bar and record-type filter
};
SplitterColumns ColumnsFromSplitter(double panelWidth, double barLeft);

// The rows of day cells. All six rows are placed; only `rows` (5 or 6) share
// the height.
struct DayGridRows {
    int pictureHeight = 0;
    int titleHeight = 0;               // T, the strip height
    int cellHeight = 0;                // C, the text area height
    std::array<int, 6> titleTop{};
    std::array<int, 6> dayTop{};
};
// The client panel's height: the window's height as the layout takes it
// (frame included), less the picture's top, the status bar and a margin.
int PanelHeightFromWindow(double windowHeight, double pictureTop, double statusBarHeight);
// The rows for a panel height, the picture's top (Image1.Top), the strip
// height T and the rows shown.
DayGridRows RowsFromHeights(int panelHeight, int pictureTop, int titleHeight, int rows);

// Weekday heading's Left, centred over the day cell below it (worked out in
// single precision as the layout always has).
double CentredLeft(double cellLeft, double cellWidth, double headingWidth);

// The information box of a double click on the client panel; nullopt when
// the height is 0.
std::optional<std::string> RatioBoxText(double pictureWidth, double height);

}  // namespace vm::layout
