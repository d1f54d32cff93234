// Weekday-of-month rules, checked against an independent weekday count.
#include <gtest/gtest.h>

#include "repeat/weekrules.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;
using vm::WeekRuleResult;

// Zeller's congruence, Sunday = 0: independent of the calendar code under test.
int ZellerWeekday(int y, int m, int d) {
    if (m < 3) m += 12, --y;
    return ((d + 13 * (m + 1) / 5 + y + y / 4 - y / 100 + y / 400) % 7 + 6) % 7;
}

const char* kDays[] = {"sun", "mon", "tue", "wed", "thu", "fri", "sat"};
const char* kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"};

// Every month of 2019..2032 (three leap years), every weekday, weeks 1 to 5
// and "last", both rules, against the month's matching days.
TEST(WeekRules, AllMonthsAgreeWithAnIndependentCount) {
    for (int y = 2019; y <= 2032; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int w = 0; w < 7; ++w) {
                std::vector<int> matching;
                for (int day = 1; day <= vm::DaysInMonth(y, m); ++day)
                    if (ZellerWeekday(y, m, day) == w) matching.push_back(day);
                for (int n = 1; n <= 6; ++n) {
                    const std::string week = n == 6 ? "last" : std::to_string(n);
                    const size_t want = n == 6 ? matching.size() - 1 : static_cast<size_t>(n - 1);
                    const std::string where = std::to_string(y) + "/" + std::to_string(m) + " " + week + " " + kDays[w];
                    vm::CivilDate got, byYear;
                    const WeekRuleResult r = vm::MonthWeek(y, m, week + "-" + kDays[w], got);
                    const WeekRuleResult ry = vm::YearWeekMonth(y, week + "-" + kDays[w] + "-" + kMonths[m - 1], byYear);
                    if (want < matching.size()) {
                        ASSERT_EQ(r, WeekRuleResult::Found) << where;
                        ASSERT_EQ(ry, WeekRuleResult::Found) << where;
                        EXPECT_EQ(got, D(y, m, matching[want])) << where;
                        EXPECT_EQ(byYear, got) << where;
                    } else {
                        EXPECT_EQ(r, WeekRuleResult::NoSuchDay) << where;
                        EXPECT_EQ(ry, WeekRuleResult::NoSuchDay) << where;
                    }
                }
            }
}

}  // namespace
