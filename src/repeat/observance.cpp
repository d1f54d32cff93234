#include "repeat/observance.h"

#include "core/numtext.h"

namespace vm {

bool Check4WeekEndDate(bool workDay, const CivilDate& date, CivilDate& observed) {
    if (workDay) return false;
    switch (Weekday(date)) {
        case 6: observed = AddDays(date, -1); return true;  // Saturday: the Friday before
        case 0: observed = AddDays(date, 1); return true;   // Sunday: the Monday after
        default: return false;
    }
}

std::string ObservedDateText(std::string_view dateText) {
    std::string out;
    out.reserve(dateText.size() + 12);
    out += ' ';
    out += dateText;
    out += " *OBSERVED*";
    return out;
}

std::string ObservedDayColors(std::string_view dayColors) {
    std::string own = Trim(dayColors);
    return own.size() < 2 ? std::string(kObservedDayColors) : own;
}

}  // namespace vm
