// The step rules: each rule's chain of occurrences across year ends, leap
// days and month ends; observed copies of weekend holidays; alarm offset
// lists; and the rules that are reported instead.
#include <gtest/gtest.h>

#include "repeat/observance.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;
using vm::ProblemKind;
using vm::RowKind;

struct RuleCase { const char* name; vm::CivilDate date; const char* rule; int64_t duration; Strings rows; };

class StepRules : public ::testing::TestWithParam<RuleCase> {};

TEST_P(StepRules, GiveTheirChain) {
    const RuleCase& c = GetParam();
    const vm::Expansion e = Expand({Rec(c.date, c.rule, c.duration)});
    EXPECT_EQ(Days(e), c.rows);
    EXPECT_TRUE(e.problems.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, StepRules,
    ::testing::Values(
        RuleCase{"DailyIntoNextYear", D(2024, 12, 30), "Daily", 4, {"12/31/2024", "1/1/2025", "1/2/2025"}},
        RuleCase{"WeeklyIntoNextYear", D(2023, 12, 25), "WEEKLY", 3, {"1/1/2024", "1/8/2024"}},
        RuleCase{"MonthlyCarriesTheClampedDay", D(2023, 1, 31), "Monthly", 4, {"2/28/2023", "3/28/2023", "4/28/2023"}},
        RuleCase{"MonthIntoNextYear", D(2024, 12, 31), "mon", 3, {"1/31/2025", "2/28/2025"}},
        RuleCase{"QuarterKeepsItsOwnDay", D(2024, 11, 30), "quarter", 3, {"2/28/2025", "5/30/2025"}},
        RuleCase{"EveryMonthKeepsItsOwnDay", D(2024, 12, 31), "EveryMonth-2", 3, {"2/28/2025", "4/30/2025"}},
        RuleCase{"YearlyFromLeapDay", D(2024, 2, 29), "Yearly", 5, {"2/28/2025", "2/28/2026", "2/28/2027", "2/29/2028"}},
        RuleCase{"EveryFourYearsFromLeapDay", D(2024, 2, 29), "everyyear-4", 2, {"2/29/2028"}},
        RuleCase{"EveryAddsExactDays", D(2024, 3, 1), "Every-400", 2, {"4/5/2025"}},
        RuleCase{"EveryIntoNextYearRoundedHalfToEven", D(2024, 12, 25), "every-10.5", 3, {"1/4/2025", "1/14/2025"}},
        RuleCase{"MonthLastDayIntoNextYear", D(2023, 11, 30), "monthlastday", 4, {"12/31/2023", "1/31/2024", "2/29/2024"}},
        RuleCase{"YearWeek", D(2023, 11, 23), "YearWeek-4-Thu-Nov", 3, {"11/28/2024", "11/27/2025"}},
        // The shift moves each row only: a week after the last Friday of
        // December lands in January, and no year is skipped.
        RuleCase{"YearWeekShiftMovesOnlyTheRow", D(2023, 12, 29), "yearweek-last-fri-dec+7", 4,
                 {"1/3/2025", "1/2/2026", "1/1/2027"}},
        RuleCase{"MonthWeekGivesDurationMinusTwo", D(2024, 1, 8), "MonthWeek-2-Mon", 5,
                 {"2/12/2024", "3/11/2024", "4/8/2024"}},
        RuleCase{"MonthWeekLast", D(2024, 11, 29), "monthweek-last-fri", 4, {"12/27/2024", "1/31/2025"}},
        RuleCase{"MonthWeekWithoutAFifthMonday", D(2024, 1, 1), "MonthWeek-5-Mon", 6, {"4/29/2024"}},
        RuleCase{"DurationOneIsTheRecordAlone", D(2024, 5, 5), "Daily", 1, {}},
        RuleCase{"NothingPastTheLastYear", D(9999, 12, 30), "Daily", 5, {"12/31/9999"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StepRules, InaugurationShiftIsEveryYearsOnly) {
    // 20 January 2013 and 2019 were Sundays, 20 January 2018 a Saturday.
    vm::DateRecord plain = Rec(D(2012, 1, 20), "Yearly", 8);
    plain.WorkDay = false;  // a holiday: a weekend day gets a weekday copy
    vm::DateRecord yearly = plain;
    yearly.DateType = "Inauguration";
    vm::DateRecord every = Rec(D(2012, 1, 20), "everyyear-1", 8);
    every.DateType = "INAUGURATION";
    // The shift moves only the row: the chain keeps the 20th.
    EXPECT_EQ(Days({yearly}), Days({plain})) << "a yearly record keeps its rows";
    EXPECT_EQ(Days({yearly}, {}, vm::RowKind::Observed), (Strings{"1/21/2013", "1/19/2018", "1/21/2019"}))
        << "a Sunday holiday gets its Monday copy, a Saturday one its Friday copy";
    EXPECT_EQ(Days({every}), (Strings{"1/21/2013", "1/20/2014", "1/20/2015", "1/20/2016", "1/20/2017", "1/20/2018",
                                      "1/21/2019"}));
}

TEST(StepRules, AWeekMaskWeekStartingBeforeYearOneWritesNoRowThere) {
    // 1 January of year 1 was a Monday (proleptic Gregorian): its week began
    // on 31 December of year 0, which no row may name.
    const Strings rows = Days({Rec(D(1, 1, 1), "WeekMask-TTTTTTT", 1)}, {}, vm::RowKind::WeekMask);
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.front(), Days({Rec(D(1, 1, 1), "WeekMask-FTFFFFF", 1)}, {}, vm::RowKind::WeekMask).at(0));
}

TEST(StepRules, StartYearMovesOnlyYearlyRecords) {
    vm::RepeatOptions start;
    start.startYear = 2020;
    EXPECT_EQ(Days({Rec(D(1960, 7, 4), "yearly", 3)}, start), (Strings{"7/4/2021", "7/4/2022"}));
    EXPECT_EQ(Days({Rec(D(2025, 2, 1), "Year", 2)}, start), (Strings{"2/1/2026"}));
    EXPECT_EQ(Days({Rec(D(1960, 7, 4), "EveryYear-1", 2)}, start), (Strings{"7/4/1961"}));
    EXPECT_EQ(Days({Rec(D(2001, 11, 22), "yearweek-4-thu-nov", 3)}, start), (Strings{"11/25/2021", "11/24/2022"}));
    // The observance looks at the moved start: 4 July 2020 is a Saturday.
    EXPECT_EQ(Days({Holiday(D(1960, 7, 4), "Yearly", 1)}, start, RowKind::Observed), (Strings{"7/3/2020"}));
}

TEST(WeekMask, MarkedDaysOfEachWeekFromSunday) {
    // Wednesday 15 January 2025.
    EXPECT_EQ(Days({Rec(D(2025, 1, 15), "WeekMask-ftftftf", 2)}, {}, RowKind::WeekMask),
              (Strings{"1/13/2025", "1/15/2025", "1/17/2025", "1/20/2025", "1/22/2025", "1/24/2025"}));
    // Across the year end, from Wednesday 28 December 2022.
    EXPECT_EQ(Days({Rec(D(2022, 12, 28), "weekmask-YNNNNNY", 2)}, {}, RowKind::WeekMask),
              (Strings{"12/25/2022", "12/31/2022", "1/1/2023", "1/7/2023"}));
}

TEST(AlarmLists, OffsetsUpToMidnightInsteadOfRows) {
    const struct { const char* rule; int hour; const char* ampm; int64_t duration; const char* alarm; } cases[] = {
        {"Hour-1", 6, "PM", 10, "-60,-120,-180,-240,-300,-360"},
        {"Min-15", 11, "PM", 3, "-15,-30,-45"},
        {"hr-0.5", 9, "AM", 3, "-30,-60,-90"},
        {"MINUTE-2.5", 9, "AM", 3, "-2,-5,-8"},
        {"Hour-3", 3, "pmET", 9, "-180,-360,-540"},
        {"Hour-2", 11, "PM", 5, ""},    // nothing left before midnight
        {"Hour-600", 12, "AM", 3, ""},  // 36000 minutes: past a 16-bit count
    };
    for (const auto& c : cases) {
        vm::DateRecord r = Rec(D(2025, 5, 5), c.rule, c.duration, 42);
        r.Hour = c.hour;
        r.Minute = 30;
        r.AM_PM = c.ampm;
        const vm::Expansion e = Expand({r});
        EXPECT_TRUE(e.rows.empty()) << c.rule;
        ASSERT_EQ(e.alarms.size(), 1u) << c.rule;
        EXPECT_EQ(e.alarms[0].ID, 42);
        EXPECT_EQ(e.alarms[0].Alarm, c.alarm) << c.rule << " " << c.hour << c.ampm;
    }
    EXPECT_TRUE(Expand({Rec(D(2025, 5, 5), "Hour-1", 1)}).alarms.empty()) << "Duration 1 leaves the alarm";
}

// Each is reported once per record, with no rows. Duration 3 is the least
// that reaches the rule on every type (monthweek's first step only takes the
// month).
TEST(BadRules, AreReportedOncePerRecordWithoutRows) {
    const std::pair<const char*, ProblemKind> cases[] = {
        {"None", ProblemKind::UnrecognisedType},         {"Every-10-2", ProblemKind::InvalidEntry},
        {"every-0.4", ProblemKind::InvalidEntry},        {"EveryMonth-0", ProblemKind::InvalidEntry},
        {"EveryYear-0", ProblemKind::InvalidEntry},      {"Min--5", ProblemKind::InvalidEntry},
        {"Hour-0", ProblemKind::InvalidEntry},           {"min", ProblemKind::InvalidEntry},
        {"MonthWeek-2mon", ProblemKind::MonthWeekFormat}, {"MonthWeek-2-xyz", ProblemKind::WeekRuleWord},
        {"YearWeek-4-at-nov", ProblemKind::WeekRuleWord}, {"YearWeek-4-thu", ProblemKind::WeekRuleWord},
    };
    for (const auto& [rule, kind] : cases) {
        const vm::Expansion e = Expand({Rec(D(2025, 3, 1), rule, 365), Rec(D(2025, 3, 2), rule, 3)});
        EXPECT_TRUE(e.rows.empty() && e.alarms.empty()) << rule;
        ASSERT_EQ(e.problems.size(), 2u) << rule;
        EXPECT_EQ(e.problems[0].kind, kind) << rule;
        EXPECT_EQ(e.problems[1].record, 1u) << rule;
    }
}

}  // namespace
