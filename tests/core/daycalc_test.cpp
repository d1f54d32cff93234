// The day calculator's and the work-day calculator's arithmetic, checked
// against day-by-day counts and a calendar file built by the test.
#include <gtest/gtest.h>

#include "core/daycalc.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

TEST(DayCalc, ThreeBoxesGiveTheThirdInEveryDirection) {
    using K = vm::ThreeBoxResult;
    struct Case { vm::ThreeBoxes in; K::Kind kind; const char* text; };
    for (const Case& c : {Case{{"3/20/2024", "", "1/15/2024"}, K::Days, "-65"},
                          Case{{"2/28/2024", "2", ""}, K::Date2, "3/1/2024"},
                          Case{{"", "366", "3/1/2025"}, K::Date1, "2/29/2024"},
                          Case{{"1/1/2024", "2.5", ""}, K::Date2, "1/3/2024"},
                          Case{{"1/1/2024", "1", "1/2/2024"}, K::NotTwoFilled, ""},
                          Case{{"31/31/2025", "", "1/1/2024"}, K::Refused, ""},
                          Case{{"1/1/2024", "9999999999", ""}, K::Refused, ""},
                          Case{{"1/1/9999", "400", ""}, K::Refused, ""}}) {
        const auto r = vm::CalcThirdBox(c.in);
        EXPECT_EQ(r.kind, c.kind) << c.in.date1 << " | " << c.in.days << " | " << c.in.date2;
        if (c.kind != K::Refused && c.kind != K::NotTwoFilled) { EXPECT_EQ(r.text, c.text); }
        if (c.kind == K::Refused) { EXPECT_FALSE(r.text.empty()); }
    }
}

TEST(DayCalc, TheSpanCaptionLeavesOutZeroParts) {
    EXPECT_EQ(vm::YearsMonthsDaysCaption("1/15/2024", "3/20/2024"), " 2 Months  5 Days ");
    EXPECT_EQ(vm::YearsMonthsDaysCaption("1/15/2020", "1/20/2025"), "4 Years  12 Months  5 Days ");
    EXPECT_EQ(vm::YearsMonthsDaysCaption("5/5/2024", "5/5/2024"), "");
    EXPECT_EQ(vm::YearsMonthsDaysCaption("x", "5/5/2024"), "");
    EXPECT_EQ(vm::LongDateText({2024, 3, 20}), "Wednesday, March 20, 2024");
}

TEST(DayCalc, WeekendDaysAgreeWithADayByDayCount) {
    for (int start = 0; start < 7; ++start) {
        const vm::CivilDate b = vm::AddDays({2024, 1, 7}, start);  // 7 January 2024 is a Sunday
        int64_t walked = 0;
        for (int span = 0; span <= 800; ++span) {
            const vm::CivilDate e = vm::AddDays(b, span);
            const int wd = vm::Weekday(e);
            if (wd == 0 || wd == 6) ++walked;
            ASSERT_EQ(vm::WeekendDays(b, e), walked) << "start weekday " << start << ", span " << span;
        }
    }
    EXPECT_EQ(vm::WeekendDays({2024, 3, 5}, {2024, 3, 1}), 0);
    EXPECT_EQ(vm::WeekendDays({2024, 1, 7}, {2024, 3, 9}), 18) << "a Sunday to the Saturday 62 days later";
}

struct HolidayCalendar {
    std::string path = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> d = db::Database::Open(path);
    void Add(const char* date, const char* text, const char* type, bool workDay = false, bool hide = false) {
        const auto day = *vm::ParseIso(date);
        d->prepare("INSERT INTO [RepeatingData] ([Date], [JulDate], [DateText], [DateType], [WorkDay], [Hide]) "
                   "VALUES (?, ?, ?, ?, ?, ?)")
            .bindAll({db::Text(date), db::Int(vm::Date2Julian(day)), db::Text(text), db::Text(type),
                      db::Bool(workDay), db::Bool(hide)})
            .run();
    }
};

TEST(WorkDays, HolidaysCountOncePerWeekdayDate) {
    HolidayCalendar c;
    c.Add("2026-01-01", "New Year's Day", "Holiday");
    c.Add("2026-01-19", "Civil Rights Day", "Federal holiday");
    c.Add("2026-01-19", "Also today", "State Holiday");      // two rows on one date
    c.Add("2026-02-16", "Hidden day", "Holiday", false, true);  // hidden: not counted
    c.Add("2026-07-04", "Independence Day", "Holiday");       // a Saturday
    c.Add("2026-07-03", "Independence Day (Observed)", "Holiday");
    c.Add("2026-03-17", "Parade", "Event");                   // not a holiday type
    c.Add("2026-05-25", "Memorial Day", "Holiday", true);     // a work day
    c.Add("2026-12-31", "Year end", "Holiday");

    const auto r = vm::CountWorkDays(*c.d, "1/1/2026", "12/31/2026");
    ASSERT_TRUE(r.ok) << r.text;
    EXPECT_EQ(r.calendarDays, 365);
    EXPECT_EQ(r.weekendDays, 104);
    EXPECT_EQ(r.holidays, 4) << "1 Jan, 19 Jan once, 3 Jul observed, 31 Dec; the Saturday itself is a weekend day";
    EXPECT_EQ(r.workDays, 365 - 104 - 4);

    // Refusals, in the order a user meets them.
    EXPECT_EQ(vm::CountWorkDays(*c.d, "Begin Date", "3/1/2026").text, "Invalid Date Entered");
    EXPECT_EQ(vm::CountWorkDays(*c.d, "3/1/2026", "3/1/2026").text, "Error - End Date Cannot Be Before Begin Date");
    EXPECT_EQ(vm::CountWorkDays(*c.d, "12/31/2025", "3/1/2026").text,
              "Holiday Data Begins: 1/1/2026 and Ends: 12/31/2026\nPlease Adjust Your Dates or Add More Holiday Data.");
    EXPECT_TRUE(vm::CountWorkDays(*c.d, "1/1/2026", "1/2/2026").ok) << "the span's own first day is inside";

    HolidayCalendar empty;
    const auto none = vm::CountWorkDays(*empty.d, "1/1/2026", "2/1/2026");
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.text.find("no holiday data"), std::string::npos) << none.text;
}

}  // namespace
