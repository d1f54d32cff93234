// The 42 day cells of the month grid as plain values: what each day-number
// strip (title) and each entry text (day) shows. The month build works on
// these values step by step; the main window writes them onto its labels.
// Cell i lies in row i / 7 and column i % 7, column 0 being Sunday.
//
// Colours are colour numbers (red + 256 * green + 65536 * blue).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/dates.h"
#include "core/module1.h"
#include "core/recordstyle.h"
#include "core/sorting.h"

namespace vm {

inline constexpr int kCellCount = 42;
inline constexpr int32_t kBlack = 0;
inline constexpr int32_t kWhite = 16777215;

struct FontLook {
    std::string name;  // empty: the label's own font
    double size = 8;
    bool bold = false, italic = false, underline = false, strikeout = false;
    friend bool operator==(const FontLook&, const FontLook&) = default;
};

struct LabelLook {
    std::string caption;
    std::string tooltip;
    int32_t fore = kBlack;
    int32_t back = kWhite;
    bool opaque = false;  // false: the picture shows through
    bool visible = true;
    FontLook font;
    friend bool operator==(const LabelLook&, const LabelLook&) = default;
};

struct CellLooks {
    std::array<LabelLook, kCellCount> title;  // lblTitle(i)
    std::array<LabelLook, kCellCount> day;    // lblDay(i)
    // The strip today's mark turned black, with the back colour it held before.
    std::optional<std::pair<int, int32_t>> todayMark;
};

// The colour lock and colour priority of every cell, cleared by each build.
struct CellColorState {
    std::array<bool, kCellCount> locked{};
    std::array<int, kCellCount> priority{};
    void clear() {
        locked.fill(false);
        priority.fill(0);
    }
};

// Calendar styles.
inline constexpr int kStyleMixed = 1;        // "Mixed Transparent/Opaque"
inline constexpr int kStyleAllTransparent = 2;
inline constexpr int kStyleAllOpaque = 3;

// The year the year box names: its leading number, rounded; no number or a
// year outside 1..9999 gives the current year.
int YearFromBox(std::string_view yearText, int currentYear);

// What one build works out about the shown month.
struct MonthFrame {
    int year = 0;
    int month = 0;
    int firstCell = 0;            // cell of the 1st, 0..6
    int daysInMonth = 0;
    int daysInPreviousMonth = 0;
    int32_t firstKey = 0;         // day key of the 1st
    std::optional<int> todayCell; // only in the current month of the current year
    int32_t lastKey() const { return firstKey + daysInMonth - 1; }
};
// nullopt when no month was ever recognised (month 0).
std::optional<MonthFrame> MakeMonthFrame(int month, std::string_view yearText, const CivilDate& today);

// All 84 labels shown or hidden.
void ShowCells(CellLooks& cells, bool shown);

// Day numbers and tooltips: the leading days of the previous month, the
// month's own days ("5 " with the tooltip " March 5, 2025 ") with their day
// keys; clears the colour state.
void NumberCells(CellLooks& cells, const MonthFrame& frame, std::string_view monthText, std::string_view yearText,
                 std::array<int32_t, kCellCount>& cellJulDate, CellColorState& state);

// The month's colours and fonts on every cell, emptying the entry texts.
// Font sizes below 8 are raised to 8 in the month's appearance itself.
void ApplyMonthAppearance(CellLooks& cells, MonthAppearance& month, int calendarStyle, CellColorState& state);

// Today's number white on black (on the picture under "All Days Transparent").
void MarkToday(CellLooks& cells, std::optional<int> todayCell, int calendarStyle);

// A cell that receives an entry: opaque, its number in the month's title
// colours (today's keeps its own), transparent again under style 2.
void MarkEntryCell(CellLooks& cells, int dayNo, std::optional<int> todayCell, int calendarStyle, int32_t titleBG,
                   int32_t titleFG);

// What PlaceEntry last read from an entry's time, font and colours: entries
// of a month mostly repeat them, so each is worked out once per run of equal
// texts.
struct EntryReadings {
    std::string hour, min, ampm, time;
    bool haveTime = false;
    std::string font;
    FontSpec fontSpec;
    bool haveFont = false;
    std::string colors;
    std::vector<std::optional<double>> colorParts;
    bool haveColors = false;
};

// Writes one entry (in display order) into its cell: alarm mark, time and
// text, the entry's font, and its colours under the priority rule. The month's
// entries in a row pass one `readings`.
void PlaceEntry(CellLooks& cells, CellColorState& state, const SortingRow& entry,
                EntryReadings* readings = nullptr);

// Today's entries black on white under a white-on-black number.
void ReapplyToday(CellLooks& cells, std::optional<int> todayCell);

// The next month's first days after the month's last cell; returns the rows
// shown (5 when cell 35 stays empty, else 6) and hides or shows the sixth row.
int TrailingCells(CellLooks& cells, const MonthFrame& frame);

// The month's day font on every entry text and its title font on every
// number strip (all six values of each; unusable values are passed over).
void ApplyDayLabelFonts(CellLooks& cells, const MonthAppearance& month);

// The 42 day-text cells (dayText) or day-number cells take all six values of
// one month's day or title font, whichever month they show.
void ApplyMonthFont(CellLooks& cells, const MonthAppearance& month, bool dayText);

}  // namespace vm
