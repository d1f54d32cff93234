// Weekday-of-month rules: the n-th or last given weekday of a month, for the
// repeat types "yearweek" (a named month every year, "4-thu-nov") and
// "monthweek" (every month, "2-mon", "last-fri").
#pragma once
#include <string_view>

#include "core/dates.h"

namespace vm {

enum class WeekRuleResult {
    Found,      // date holds the day
    NoSuchDay,  // a week number the month lacks (a fifth Monday in a month with four)
    BadWord,    // a week, weekday or month word that names none, or a missing part
    NoDash,     // monthweek only: the parameter has no "-" at all
};

// Weekday and month words are found in "   ,sun,mon,...,sat" and
// "   ,jan,feb,...,dec": the number is the position of the first match divided
// by 4, rounded half to even ("sun" 1 .. "sat" 7, "jan" 1 .. "dec" 12).
// Letter case does not matter. Results outside 1..7 (1..12) name nothing.
int WeekdayWordNumber(std::string_view word);
int MonthWordNumber(std::string_view word);

// parameter "week-weekday-month" (week a number 1..5 or any other text for
// "last"); date is written only when the result is Found.
WeekRuleResult YearWeekMonth(int year, std::string_view parameter, CivilDate& date);

// parameter "week-weekday" for the given month.
WeekRuleResult MonthWeek(int year, int month, std::string_view parameter, CivilDate& date);

}  // namespace vm
