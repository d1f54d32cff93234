#include "core/weekmask.h"

#include <algorithm>
#include <string>

#include "core/numtext.h"

namespace vm {

std::optional<WeekMaskWeek> ReadWeekMask(std::string_view ruleLower, const CivilDate& recordDate) {
    const size_t dash = ruleLower.find('-');
    if (ruleLower.substr(0, dash) != "weekmask") return std::nullopt;
    const std::string_view mask = dash == std::string_view::npos ? std::string_view() : ruleLower.substr(dash + 1);
    const bool wellFormed = dash != std::string_view::npos && std::all_of(mask.begin(), mask.end(), [](char c) {
                                return c == 't' || c == 'f' || c == 'y' || c == 'n';
                            });
    WeekMaskWeek week;
    for (size_t k = 0; k < 7; ++k) week.marked[k] = k < mask.size() && (mask[k] == 't' || mask[k] == 'y');
    week.before = wellFormed ? AddDays(recordDate, -(Weekday(recordDate) + 1)) : recordDate;
    return week;
}

bool WeekMaskExpands(const DateRecord& record) {
    if (record.Hide || record.Duration <= 0) return false;
    if (!record.Date.valid() || record.Date.y < 1 || record.Date.y > 9999) return false;
    const auto week = ReadWeekMask(ToLower(record.Repeat), record.Date);
    if (!week) return false;
    CivilDate day = week->before;
    for (size_t k = 0; k < 7; ++k) {
        day = AddDays(day, 1);
        if (day.y > 9999) return false;
        if (week->marked[k] && day.y >= 1) return true;
    }
    return false;
}

}  // namespace vm
