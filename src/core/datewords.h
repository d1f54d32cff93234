// English names of weekdays and months and the long date of window captions
// ("Wednesday Jun 5, 2024"), the same whatever the desktop's language.
#pragma once
#include <string>

#include "core/dates.h"

namespace vm {

const char* WeekdayName(int weekday);  // 0 = "Sunday" .. 6 = "Saturday"; "" outside
const char* MonthAbbrev(int month);    // 1 = "Jan" .. 12 = "Dec"; "" outside

// Weekday name, abbreviated month, day without a leading zero, a comma and
// the four-digit year: "Wednesday Jun 5, 2024". "" for a day that does not exist.
std::string LongCaptionDate(const CivilDate& date);

}  // namespace vm
