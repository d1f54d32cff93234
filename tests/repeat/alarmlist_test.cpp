// Hour and minute rules: alarm offset lists instead of rows.
#include <gtest/gtest.h>

#include "repeat/alarmlist.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;

struct AlarmCase {
    const char* rule;
    int hour;
    const char* ampm;
    int64_t duration;
    const char* alarm;
};

class AlarmLists : public ::testing::TestWithParam<AlarmCase> {};

TEST_P(AlarmLists, OffsetsUpToMidnight) {
    const AlarmCase& c = GetParam();
    vm::DateRecord r = Rec(D(2025, 5, 5), c.rule, c.duration, 42);
    r.Hour = c.hour;
    r.Minute = 30;
    r.AM_PM = c.ampm;
    const vm::Expansion e = Expand({r});
    EXPECT_TRUE(e.rows.empty());
    ASSERT_EQ(e.alarms.size(), 1u);
    EXPECT_EQ(e.alarms[0].ID, 42);
    EXPECT_EQ(e.alarms[0].Alarm, c.alarm);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, AlarmLists,
    ::testing::Values(AlarmCase{"Hour-1", 6, "PM", 10, "-60,-120,-180,-240,-300,-360"},
                      AlarmCase{"Min-15", 11, "PM", 3, "-15,-30,-45"},
                      AlarmCase{"Hour-2", 12, "PM", 7, "-120,-240,-360,-480,-600,-720"},
                      AlarmCase{"hr-0.5", 9, "AM", 3, "-30,-60,-90"},
                      AlarmCase{"MINUTE-2.5", 9, "AM", 3, "-2,-5,-8"},
                      AlarmCase{"Hour-3", 3, "pmET", 9, "-180,-360,-540"},
                      AlarmCase{"Hour-1", 12, "AM", 2, "-60,-120"},
                      AlarmCase{"Hour-2", 11, "PM", 5, ""},
                      AlarmCase{"Hour-600", 12, "AM", 3, ""}));

TEST(AlarmLists, DurationOneOrNoCountLeavesTheAlarm) {
    const vm::Expansion e =
        Expand({Rec(D(2025, 5, 5), "Hour-1", 1), Rec(D(2025, 5, 5), "Hour-0", 5), Rec(D(2025, 5, 5), "min", 5)});
    EXPECT_TRUE(e.alarms.empty());
    ASSERT_EQ(e.problems.size(), 2u);
    EXPECT_EQ(e.problems[0].kind, vm::ProblemKind::InvalidEntry);
}

}  // namespace
