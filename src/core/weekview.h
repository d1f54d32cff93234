// The week view's window-free rules: which seven days a week offset shows,
// the entry line of a record or occurrence, the rows of the week from both
// tables of the calendar file, and where each line lands in its day's box
// with the colours and font it takes.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "core/recordstyle.h"
#include "platform/sqlstore.h"

namespace vm {

// One shown week: the day the offset lands on (now + 7 x offset), the seven
// days from the Sunday on or before it, their day keys and the caption.
struct WeekFrame {
    CivilDate shown;
    std::array<CivilDate, 7> days{};
    std::array<int32_t, 7> keys{};
    std::string caption;   // "December -  2026": month and year of `shown`
    int todayColumn = -1;  // the column of today on the current week, else -1
};
WeekFrame MakeWeekFrame(const CivilDate& today, int weekOffset);

// " 27": the day label's text.
std::string WeekDayLabel(const CivilDate& day);

// "  9:05 AM  Dentist " for a timed row, "  Dentist " for an untimed one
// (Hour missing or 0, or Minute missing); every "&&" becomes "&".
std::string WeekEntryLine(std::optional<int64_t> hour, std::optional<int64_t> minute, std::string_view ampm,
                          std::string_view text);

// One entry line of the week with its column and its record's look texts.
struct WeekLine {
    int column = 0;
    std::string text;
    std::string dayColors;
    std::string font;
};

// Appends the lines of one table ("Velmora" or "RepeatingData") for the
// seven day keys, ordered by day, Hr24 and Minute. Every key is selected on
// its own, so a week running over 31 December keeps its new-year days.
void ReadWeekTable(db::Database& store, const std::string& table, const std::array<int32_t, 7>& keys,
                   std::vector<WeekLine>& out);

// A line's look: text colour and highlight colour (colour numbers, never
// negative) and the record's font (empty when it has none).
struct LineLook {
    int32_t fg = 0;
    int32_t bg = 0xFFFFFF;
    FontSpec font;
    bool hasFont = false;
};
LineLook WeekLineLook(std::string_view dayColors, std::string_view font);

// Where a line stands in its box: start and length in UTF-16 code units of
// the box's plain text (the positions a text document counts).
struct LineFormat {
    int column = 0;
    int start = 0;
    int length = 0;
    LineLook look;
};

// The seven boxes' plain texts (each line followed by an empty line) and one
// format record per line, in the order the lines were added.
struct WeekBoxes {
    std::array<std::string, 7> text;
    std::vector<LineFormat> formats;
};
WeekBoxes LayOutWeek(const std::vector<WeekLine>& lines);

// A box's highlight colours: the 1-based index of `color`, added at the end
// when it is not there yet (the first match wins).
int AddColorToTable(std::vector<int32_t>& table, int32_t color);

// Length of a UTF-8 text in UTF-16 code units.
int Utf16Length(std::string_view utf8);

}  // namespace vm
