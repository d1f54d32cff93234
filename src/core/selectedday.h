// The window-free rules of the selected-day window: the day a title names,
// the text that is spoken and copied, the kept size, the font-size steps and
// the centring on the main window.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "core/dates.h"

namespace vm {

// A title counts as a month name only when it is one of the twelve English
// month names exactly, letter case kept ("June"; not "Jun", "une" or "june").
bool TitleIsMonthText(std::string_view title);

// The window's day: a month-name title with the day number and the year,
// blanks around them allowed; today when the title is no month name or the
// three make no real day (years 1 to 9999).
CivilDate SelectedDayDate(std::string_view title, std::string_view dayNo, std::string_view year,
                          const CivilDate& today);

// The text as spoken and copied: every "&&" becomes "&", every "*" is dropped.
std::string CleanDayText(std::string_view text);

// A kept height below 2000 twips opens 4500 high, a width below 2000 opens
// 8000 wide; other sizes are kept.
int32_t OpeningHeight(int32_t keptHeight);
int32_t OpeningWidth(int32_t keptWidth);

// The kept font size after a Font + (delta 1) or Font - (delta -1); it never
// goes below 1 point.
int StepFontSize(int kept, int delta);

}  // namespace vm
