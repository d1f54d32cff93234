#include "core/datewords.h"

#include <array>
#include <cstdio>

namespace vm {

const char* WeekdayName(int weekday) {
    static constexpr std::array<const char*, 7> kNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                          "Thursday", "Friday", "Saturday"};
    return weekday >= 0 && weekday < 7 ? kNames[static_cast<size_t>(weekday)] : "";
}

const char* MonthAbbrev(int month) {
    static constexpr std::array<const char*, 12> kNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                           "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return month >= 1 && month <= 12 ? kNames[static_cast<size_t>(month - 1)] : "";
}

std::string LongCaptionDate(const CivilDate& date) {
    if (!date.valid()) return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%s %s %d, %04d", WeekdayName(Weekday(date)), MonthAbbrev(date.m), date.d,
                  date.y);
    return buf;
}

}  // namespace vm
