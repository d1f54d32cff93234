#include "repeat/alarmlist.h"

#include "core/numtext.h"

namespace vm {

int Hr24Of(int hour, std::string_view amPm) {
    if (ContainsNoCase(amPm, "pm")) return hour < 12 ? hour + 12 : hour;
    return hour == 12 ? 0 : hour;
}

std::string BuildAlarmList(AlarmUnit unit, double n, int64_t duration, int hr24) {
    std::string list;
    if (!(n > 0)) return list;
    const double perStep = unit == AlarmUnit::Hours ? n * 60.0 : n;
    for (int64_t k = 1; k <= duration; ++k) {
        const double minutes = static_cast<double>(k) * perStep;
        // The offsets only grow, so the first one past midnight ends the list.
        if (minutes > 24.0 * 60.0 + 1.0) break;
        const int64_t m = RoundHalfEven(minutes);
        if (static_cast<double>(m) / 60.0 + hr24 > 24.0) break;
        const std::string item = IntText(-m);
        if (!list.empty()) list += ',';
        list += item;
    }
    return list;
}

}  // namespace vm
