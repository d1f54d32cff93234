// Weekend observance: a non-working day (a holiday) that falls on a Saturday is
// observed on the Friday before it, one on a Sunday on the Monday after it.
// The weekend day keeps its own row; the observed copy comes beside it.
#pragma once
#include <string>
#include <string_view>

#include "core/dates.h"

namespace vm {

// Colours of an observed copy whose record has none: black on white for the
// text and the day number, both opaque.
inline constexpr std::string_view kObservedDayColors = "0;16777215;0;16777215;3;3";

// True when a copy is due for a record with this WorkDay on this date; the
// observed day is then written into `observed`.
bool Check4WeekEndDate(bool workDay, const CivilDate& date, CivilDate& observed);

// DateText of the copy: a blank, the record's DateText, " *OBSERVED*".
std::string ObservedDateText(std::string_view dateText);
// DayColors of the copy: the record's, trimmed, or kObservedDayColors when
// that is shorter than two characters.
std::string ObservedDayColors(std::string_view dayColors);

}  // namespace vm
