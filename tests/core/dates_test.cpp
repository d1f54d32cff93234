#include <gtest/gtest.h>

#include <ctime>

#include "core/dates.h"

using vm::CivilDate;

namespace {

// An independent calendar: the C library's own normalisation of a broken-down time.
std::tm Libc(int y, int m, int d) {
    std::tm t{};
    t.tm_year = y - 1900;
    t.tm_mon = m - 1;
    t.tm_mday = d;
    t.tm_hour = 12;
    timegm(&t);
    return t;
}
CivilDate LibcAddDays(int y, int m, int d, int add) {
    const std::tm t = Libc(y, m, d + add);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday};
}
int LibcDayOfYear(const CivilDate& c) { return Libc(c.y, c.m, c.d).tm_yday + 1; }

TEST(DayKey, EveryDayFrom1900To2100RoundTripsAgainstTheCLibrary) {
    int32_t previous = 0;
    for (int i = 0;; ++i) {
        const CivilDate c = LibcAddDays(1900, 1, 1, i);
        if (c.y > 2100) break;
        const int32_t key = vm::Date2Julian(c);
        ASSERT_EQ(key, c.y * 1000 + LibcDayOfYear(c)) << vm::FormatMDY(c);
        ASSERT_GT(key, previous) << "keys must order as days do";
        previous = key;
        int32_t back = key;
        ASSERT_EQ(vm::CVJulian2Date(back), vm::FormatMDY(c));
        ASSERT_EQ(back, key) << "a normalised key stays";
        if (c.d == 1) {  // the last day of the month before, and whether its year leaps
            const CivilDate last = LibcAddDays(c.y, c.m, 1, -1);
            ASSERT_EQ(vm::DaysInMonth(last.y, last.m), last.d) << vm::FormatMDY(last);
            ASSERT_EQ(vm::LeapYears(c.y), LibcDayOfYear({c.y, 12, 31}) == 366) << c.y;
        }
        ASSERT_EQ(vm::Weekday(c), Libc(c.y, c.m, c.d).tm_wday);
        // Stepping a key forward by up to 364 days lands where the calendar does.
        const int step = (i * 37) % 365;
        int32_t stepped = key + step;
        const std::string text = vm::CVJulian2Date(stepped);
        const CivilDate expect = LibcAddDays(c.y, 1, 1, (key % 1000) - 1 + step);
        ASSERT_EQ(text, vm::FormatMDY(expect)) << key << "+" << step;
        ASSERT_EQ(stepped, vm::Date2Julian(expect));
    }
}

TEST(DayKey, KeysPastTheYearEndCarry) {
    EXPECT_EQ(vm::Date2Julian(vm::DateTime{{2024, 2, 29}, 23, 59, 0}), 2024060);

    struct Case { int32_t in; const char* text; int32_t out; };
    for (const Case& c : {Case{2023366, "1/1/2024", 2024001}, Case{2023430, "3/5/2024", 2024065},
                          Case{2024431, "3/6/2025", 2025065}}) {
        int32_t key = c.in;
        EXPECT_EQ(vm::CVJulian2Date(key), c.text) << c.in;
        EXPECT_EQ(key, c.out) << c.in;
    }
}

TEST(DayKey, DateTextsAreReadStrictly) {
    EXPECT_EQ(vm::ParseMDY("3/5/2024"), (CivilDate{2024, 3, 5}));
    EXPECT_EQ(vm::ParseMDY(" 12 / 31 / 2024 "), (CivilDate{2024, 12, 31}));
    EXPECT_FALSE(vm::ParseMDY("2/29/2023"));
    EXPECT_FALSE(vm::ParseMDY("13/1/2024"));
    EXPECT_FALSE(vm::ParseMDY("1/1/0"));
    EXPECT_FALSE(vm::ParseMDY("1/1/10000"));
    EXPECT_FALSE(vm::ParseMDY("1/1/2147483647")) << "a year the day key cannot hold";
    EXPECT_EQ(vm::ParseMDY("12/31/9999"), (CivilDate{9999, 12, 31}));
    EXPECT_EQ(vm::FormatIso({2024, 3, 5}), "2024-03-05");
    EXPECT_EQ(vm::ParseIso("2024-03-05"), (CivilDate{2024, 3, 5}));
    EXPECT_FALSE(vm::ParseIso("2024-02-30"));
}

TEST(DayKey, TypedDatesAreReadTheOneWayEverywhere) {
    struct Case { const char* typed; std::optional<CivilDate> read; };
    const Case cases[] = {
        {"3/1/4", CivilDate{2004, 3, 1}},     {"3/1/24", CivilDate{2024, 3, 1}},
        {"3/1/29", CivilDate{2029, 3, 1}},    {"3/1/30", CivilDate{1930, 3, 1}},
        {"3/1/00", CivilDate{2000, 3, 1}},    {" 3 / 1 / 99 ", CivilDate{1999, 3, 1}},
        {"3/1/024", CivilDate{24, 3, 1}},     {"3/1/0024", CivilDate{24, 3, 1}},
        {"3/1/2025", CivilDate{2025, 3, 1}},  {"12/31/9999", CivilDate{9999, 12, 31}},
        {"1/1/0001", CivilDate{1, 1, 1}},     {"2024-03-01", CivilDate{2024, 3, 1}},
        {"0001-01-01", CivilDate{1, 1, 1}},   {"2/29/23", std::nullopt},
        {"1/1/000", std::nullopt},            {"1/1/0000", std::nullopt},
        {"1/1/10000", std::nullopt},          {"0000-01-01", std::nullopt},
        {"2024-3-1", std::nullopt},           {"1/1/-5", std::nullopt},
        {"13/1/24", std::nullopt},            {"Begin Date", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(vm::ReadTypedDate(c.typed), c.read) << c.typed;
    // The written form always carries four year digits, so it reads back as it was.
    for (const CivilDate d : {CivilDate{24, 3, 1}, CivilDate{1, 1, 1}, CivilDate{2024, 3, 1}})
        EXPECT_EQ(vm::ReadTypedDate(vm::FormatMDY(d)), d) << vm::FormatMDY(d);
    EXPECT_EQ(vm::FormatMDY({24, 3, 1}), "3/1/0024");

    // Stored dates: the ISO form (with or without a time) and M/D/YYYY text alike.
    for (const char* stored : {"2024-03-01", "2024-03-01 00:00:00", "3/1/2024", "03/01/2024 12:00:00 AM"})
        EXPECT_EQ(vm::ReadStoredDate(stored), (CivilDate{2024, 3, 1})) << stored;
    for (const char* stored : {"", "0000-01-01", "3/1/0", "x"}) EXPECT_FALSE(vm::ReadStoredDate(stored)) << stored;
}

struct DiffCase { CivilDate start, end; const char* text; const char* numbers; };

TEST(DateDiffYearsMonthsDays, BothFormsOfEveryWorkedExample) {
    const DiffCase cases[] = {
        {{2024, 1, 10}, {2024, 3, 10}, "0 Year,2 Months,0 Day", "0, 2, 0"},
        {{2020, 1, 20}, {2024, 1, 10}, "3 Years,11 Months,21 Days", "3, 11, 21"},
        {{2020, 1, 10}, {2024, 1, 15}, "4 Years,5 Days", "4, 0, 5"},  // twelve months are a year
        {{2024, 1, 31}, {2024, 3, 1}, "0 Year,1 Month,1 Day", "0, 1, 1"},
        {{2024, 1, 2}, {2024, 1, 1}, "0 Year,0 Month,-1 Day", "0, 0, -1"},
        // 29 February moved by whole years lands on the 28th.
        {{2020, 2, 29}, {2023, 3, 1}, "3 Years,0 Month,1 Day", "3, 0, 1"},
        {{1960, 7, 4}, {2024, 7, 4}, "64 Years,0 Day", "64, 0, 0"},
        {{2020, 1, 1}, {2030, 1, 1}, "10 Years,0 Day", "10, 0, 0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(vm::DateDiffYearsMonthsDays(c.start, c.end, 1), c.text) << vm::FormatMDY(c.start) << " " << vm::FormatMDY(c.end);
        EXPECT_EQ(vm::DateDiffYearsMonthsDays(c.start, c.end, 2), c.numbers) << vm::FormatMDY(c.start) << " " << vm::FormatMDY(c.end);
    }
}

}  // namespace
