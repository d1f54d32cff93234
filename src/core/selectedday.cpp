#include "core/selectedday.h"

#include <algorithm>
#include <cmath>

namespace vm {
namespace {

// 1..12 for an English month name written exactly, else 0.
int MonthOfTitle(std::string_view title) {
    for (int m = 1; m <= 12; ++m)
        if (title == MonthName(m)) return m;
    return 0;
}

}  // namespace

bool TitleIsMonthText(std::string_view title) { return MonthOfTitle(title) != 0; }

CivilDate SelectedDayDate(std::string_view title, std::string_view dayNo, std::string_view year,
                          const CivilDate& today) {
    if (!TitleIsMonthText(title)) return today;
    const int month = MonthOfTitle(title);
    if (month == 0) return today;
    std::string text = std::to_string(month);
    text.append("/").append(dayNo).append("/").append(year);
    const auto day = ParseMDY(text);
    // The month grid draws the years 1..9999: a day of any of them is itself.
    if (!day) return today;
    return *day;
}

std::string CleanDayText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '*') continue;
        out.push_back(text[i]);
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&') ++i;
    }
    return out;
}

int32_t OpeningHeight(int32_t keptHeight) { return keptHeight < 2000 ? 4500 : keptHeight; }
int32_t OpeningWidth(int32_t keptWidth) { return keptWidth < 2000 ? 8000 : keptWidth; }

int StepFontSize(int kept, int delta) { return std::clamp(kept + delta, 1, 32767); }

}  // namespace vm
