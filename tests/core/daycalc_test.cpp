// The day calculator's and the work-day calculator's arithmetic, checked
// against day-by-day counts and a calendar file built by the test.
#include <gtest/gtest.h>

#include <tuple>

#include "core/daycalc.h"
#include "core/module1.h"
#include "core/record.h"
#include "repeat/repeatpass.h"
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
    // Twelve months carry into a year.
    EXPECT_EQ(vm::YearsMonthsDaysCaption("1/15/2020", "1/20/2025"), "5 Years  5 Days ");
    EXPECT_EQ(vm::YearsMonthsDaysCaption("1/1/2020", "1/1/2030"), "10 Years ");
    const vm::DatedValues whole = vm::DatedRowValues({2020, 1, 1}, {2030, 1, 1});
    EXPECT_EQ(std::tie(whole.years, whole.months, whole.days), std::make_tuple(10, 0, 0));
    EXPECT_EQ(vm::YearsMonthsDaysCaption("5/5/2024", "5/5/2024"), "");
    EXPECT_EQ(vm::YearsMonthsDaysCaption("x", "5/5/2024"), "");
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
}

// A calendar whose holidays are repeated by the real expansion, so
// [RepeatingData] holds exactly what the program writes (observed weekday
// copies of weekend holidays included).
struct HolidayCalendar {
    vmtest::Fixture fx;
    std::string path = vmtest::FreshCalendar();
    struct Rule { int m, d; const char* type; bool workDay; };
    std::vector<Rule> rules;
    HolidayCalendar(std::vector<Rule> yearly) : rules(std::move(yearly)) {
        vm::Module1.CalendarFilePath = path;
        vm::Module1.OptStartRepeatYear = "2020";
        db::RecordSource rs;
        rs.setDatabaseName(path);
        rs.setRecordSource("Velmora");
        rs.refresh();
        for (const Rule& r : rules) {
            vm::DateRecord rec;
            rec.Date = {2020, r.m, r.d};
            rec.JulDate = vm::Date2Julian(rec.Date);
            rec.DateText = "Day " + std::to_string(r.m) + "/" + std::to_string(r.d);
            rec.DateType = r.type;
            rec.WorkDay = r.workDay;
            rec.Repeat = "Yearly";
            rec.Duration = 12;
            rs.addNew();
            vm::WriteDateRecord(rs, rec);
            rs.update();
        }
        db::RecordSource DataDates;
        vm::BuildRepeatingData(DataDates, {});
        d = db::Database::Open(path);
    }
    // Work days of the span counted day by day from the rules themselves: a
    // weekday is off when a holiday falls on it or is observed on it (a
    // Saturday's on the Friday before, a Sunday's on the Monday after).
    int64_t WalkedWorkDays(vm::CivilDate b, vm::CivilDate e) const {
        int64_t work = 0;
        for (vm::CivilDate day = b; !(e < day); day = vm::AddDays(day, 1)) {
            const int wd = vm::Weekday(day);
            if (wd == 0 || wd == 6) continue;
            bool off = false;
            for (const Rule& r : rules) {
                if (r.workDay || db::FoldCase(r.type).find("holiday") == std::string::npos) continue;
                for (int y = day.y - 1; y <= day.y + 1; ++y) {
                    const vm::CivilDate h{y, r.m, r.d};
                    if (y <= 2020 || y > 2031) continue;  // the record's own day stays in [Velmora]
                    const int hw = vm::Weekday(h);
                    const vm::CivilDate seen = hw == 6 ? vm::AddDays(h, -1) : hw == 0 ? vm::AddDays(h, 1) : h;
                    off = off || seen == day;
                }
            }
            if (!off) ++work;
        }
        return work;
    }
    std::shared_ptr<db::Database> d;
};

TEST(WorkDays, DaysOffAreTheWeekdaysHoldingAHolidayOrItsObservedCopy) {
    HolidayCalendar c({{1, 1, "Holiday", false},       // 2022 a Saturday, 2023 a Sunday
                       {7, 4, "Holiday", false},       // 2026 a Saturday
                       {12, 25, "Federal Holiday", false},
                       {12, 25, "State holiday", false},  // two rows on one date
                       {11, 11, "Holiday", true},      // a work day: never off
                       {3, 17, "Parade", false},       // not a holiday type
                       {5, 19, "BANK HOLİDAY", false},  // a capital dotted I folds to i
                       {2, 14, "Event", false}});
    struct Span { vm::CivilDate b, e; };
    for (const Span& s : {Span{{2026, 6, 29}, {2026, 7, 10}}, Span{{2026, 1, 1}, {2028, 1, 1}},
                          Span{{2021, 12, 20}, {2023, 1, 6}}, Span{{2022, 12, 24}, {2022, 12, 27}},
                          Span{{2021, 3, 1}, {2030, 12, 31}}}) {
        const std::string bt = vm::FormatMDY(s.b), et = vm::FormatMDY(s.e);
        const auto r = vm::CountWorkDays(*c.d, bt, et);
        ASSERT_TRUE(r.ok) << r.text;
        EXPECT_EQ(r.workDays, c.WalkedWorkDays(s.b, s.e)) << bt << " - " << et;
        EXPECT_EQ(r.calendarDays - r.weekendDays - r.holidays, r.workDays);
        // The holidays listed are the same rows whether read by the day
        // index or by one pass over the table.
        auto listed = [&](bool wholeTable) {
            auto st = c.d->prepare("SELECT [ID] FROM [RepeatingData] WHERE " + vm::HolidayCondition(wholeTable) +
                                   " ORDER BY [ID]");
            st.bindAll({db::Int(vm::Date2Julian(s.b)), db::Int(vm::Date2Julian(s.e))});
            std::vector<int64_t> ids;
            while (st.step()) ids.push_back(db::AsInt(st.column(0)));
            return ids;
        };
        EXPECT_EQ(listed(true), listed(false)) << bt << " - " << et;
        EXPECT_FALSE(listed(false).empty()) << bt << " - " << et;
    }
    EXPECT_TRUE(vm::SpansMostOccurrences(*c.d, {2021, 3, 1}, {2030, 12, 31}));
    EXPECT_FALSE(vm::SpansMostOccurrences(*c.d, {2026, 6, 29}, {2026, 7, 10}));
    EXPECT_EQ(vm::CountWorkDays(*c.d, "6/29/2026", "7/10/2026").workDays, 9) << "4 July 2026 is observed on Friday 3 July";
    EXPECT_EQ(vm::CountWorkDays(*c.d, "6/29/26", "7/10/26").workDays, 9) << "two-digit years";

    // Refusals, in the order a user meets them.
    EXPECT_EQ(vm::CountWorkDays(*c.d, "Begin Date", "3/1/2026").text, "Invalid Date Entered");
    EXPECT_EQ(vm::CountWorkDays(*c.d, "3/1/2026", "3/1/2026").text, "Error - End Date Cannot Be Before Begin Date");
    EXPECT_NE(vm::CountWorkDays(*c.d, "1/1/2020", "3/1/2026").text.find("Holiday Data Begins: "), std::string::npos);

    HolidayCalendar empty({});
    const auto none = vm::CountWorkDays(*empty.d, "1/1/2026", "2/1/2026");
    EXPECT_FALSE(none.ok);
    EXPECT_NE(none.text.find("no holiday data"), std::string::npos) << none.text;
}

}  // namespace
