// Observed weekday copies of non-working days that fall on a weekend.
#include <gtest/gtest.h>

#include "repeat/observance.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;
using vm::RowKind;

TEST(Check4WeekEndDate, SaturdayToFridaySundayToMonday) {
    const struct {
        bool workDay;
        vm::CivilDate date;
        bool due;
        vm::CivilDate observed;
    } cases[] = {
        {false, D(2026, 7, 4), true, D(2026, 7, 3)},    // Saturday
        {false, D(2023, 12, 31), true, D(2024, 1, 1)},  // Sunday 31 December
        {false, D(2022, 1, 1), true, D(2021, 12, 31)},  // Saturday 1 January
        {false, D(2026, 7, 6), false, {}},              // a Monday holiday
        {true, D(2026, 7, 4), false, {}},               // a working Saturday
    };
    for (const auto& c : cases) {
        vm::CivilDate got{};
        EXPECT_EQ(vm::Check4WeekEndDate(c.workDay, c.date, got), c.due) << vm::FormatMDY(c.date);
        EXPECT_EQ(got, c.observed) << vm::FormatMDY(c.date);
    }
}

TEST(ObservedCopy, EachWeekendOccurrenceHasItsOwnCopyRightAfterIt) {
    // 4 July: Saturday in 2020 and 2026, Sunday in 2021 and 2027.
    const vm::Expansion e = Expand({Holiday(D(2020, 7, 4), "Yearly", 10)});
    EXPECT_EQ(Days(e, RowKind::Observed), (Strings{"7/3/2020", "7/5/2021", "7/3/2026", "7/5/2027"}));
    ASSERT_EQ(e.rows.size(), 9u + 4u);
    EXPECT_EQ(e.rows[1].Date, D(2021, 7, 4));
    EXPECT_EQ(e.rows[2].Date, D(2021, 7, 5));
    // Working days and weekmask rows get none.
    EXPECT_TRUE(Days({Rec(D(2020, 7, 4), "Yearly", 10)}, {}, RowKind::Observed).empty());
    EXPECT_TRUE(Days({Holiday(D(2025, 1, 15), "weekmask-tffffft", 4)}, {}, RowKind::Observed).empty());
}

}  // namespace
