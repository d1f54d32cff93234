#include "repeat/weekrules.h"

#include <array>
#include <cctype>

#include "core/numtext.h"
#include "platform/asciicase.h"

namespace vm {
namespace {

constexpr std::string_view kWeekdayList = "   ,sun,mon,tue,wed,thu,fri,sat";
constexpr std::string_view kMonthList = "   ,jan,feb,mar,apr,may,jun,jul,aug,sep,oct,nov,dec";

int ListNumber(std::string_view list, std::string_view word, int largest) {
    // A word longer than the list can never be found in it.
    if (word.size() > list.size()) return 0;
    std::array<char, 64> low{};
    for (size_t i = 0; i < word.size(); ++i)
        low[i] = AsciiLower(word[i]);
    const size_t at = list.find(std::string_view(low.data(), word.size()));
    if (at == std::string_view::npos) return 0;
    const auto n = RoundHalfEven(static_cast<double>(at + 1) / 4.0);
    return (n >= 1 && n <= largest) ? static_cast<int>(n) : 0;
}

// A plain number: blanks around, an optional sign, digits and at most one point.
bool IsNumber(std::string_view text) {
    size_t i = 0, n = text.size();
    while (i < n && text[i] == ' ') ++i;
    while (n > i && text[n - 1] == ' ') --n;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    bool digit = false, point = false;
    for (; i < n; ++i) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) digit = true;
        else if (text[i] == '.' && !point) point = true;
        else return false;
    }
    return digit;
}

// Splits on "-" into at most `count` parts; returns how many parts were found.
int SplitDash(std::string_view text, std::string_view* parts, int count) {
    int found = 0;
    while (found < count) {
        const size_t dash = text.find('-');
        parts[found++] = text.substr(0, dash);
        if (dash == std::string_view::npos) break;
        text.remove_prefix(dash + 1);
    }
    return found;
}

WeekRuleResult DayOfMonth(int year, int month, std::string_view week, int weekday, CivilDate& date) {
    const int length = DaysInMonth(year, month);
    const int first = 1 + ((weekday - 1) - Weekday(CivilDate{year, month, 1}) + 7) % 7;
    int day;
    if (IsNumber(week)) {
        const double number = Val(week);
        const auto w = number > 0 && number < 6 ? RoundHalfEven(number) : 0;
        if (w < 1 || w > 5) return WeekRuleResult::BadWord;
        day = static_cast<int>(w - 1) * 7 + first;
        if (day > length) return WeekRuleResult::NoSuchDay;
    } else {
        day = first + (length - first) / 7 * 7;  // the last such weekday
    }
    date = CivilDate{year, month, day};
    return WeekRuleResult::Found;
}

}  // namespace

int WeekdayWordNumber(std::string_view word) { return ListNumber(kWeekdayList, word, 7); }
int MonthWordNumber(std::string_view word) { return ListNumber(kMonthList, word, 12); }

WeekRuleResult YearWeekMonth(int year, std::string_view parameter, CivilDate& date) {
    std::string_view parts[3];
    if (SplitDash(parameter, parts, 3) < 3) return WeekRuleResult::BadWord;
    const int weekday = WeekdayWordNumber(parts[1]);
    const int month = MonthWordNumber(parts[2]);
    if (weekday == 0 || month == 0) return WeekRuleResult::BadWord;
    return DayOfMonth(year, month, parts[0], weekday, date);
}

WeekRuleResult MonthWeek(int year, int month, std::string_view parameter, CivilDate& date) {
    if (parameter.find('-') == std::string_view::npos) return WeekRuleResult::NoDash;
    if (month < 1 || month > 12) return WeekRuleResult::BadWord;
    std::string_view parts[2];
    SplitDash(parameter, parts, 2);
    const int weekday = WeekdayWordNumber(parts[1]);
    if (weekday == 0) return WeekRuleResult::BadWord;
    return DayOfMonth(year, month, parts[0], weekday, date);
}

}  // namespace vm
