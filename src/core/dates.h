// Day key (YYYYDDD) and the small date functions every window shares.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vm {

// A calendar day in the proleptic Gregorian calendar.
struct CivilDate {
    int y = 0, m = 0, d = 0;
    bool valid() const;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
    friend auto operator<=>(const CivilDate&, const CivilDate&) = default;
};

// A moment: a day and a time of day (the time is ignored by the day key).
struct DateTime {
    CivilDate date;
    int hour = 0, minute = 0, second = 0;
};

// Day key: year * 1000 + day of year (1..366).
int32_t Date2Julian(const CivilDate& date);
int32_t Date2Julian(const DateTime& moment);

// Writes the key's day as "M/D/YYYY" and rewrites the key to its normal form
// (a day part past the year's end carries into the next year).
std::string CVJulian2Date(int32_t& key);

int16_t DaysInMonth(int year, int month);
bool LeapYears(int year);

// Sets month to 1..12 when name is exactly an English month name; otherwise
// leaves it as it was.
void GetMonthNumber(std::string_view name, int16_t& month);

// Years, months and days from start to end. Mode 1: "2 Years,3 Months,1 Day";
// any other mode: "2, 3, 1".
std::string DateDiffYearsMonthsDays(const CivilDate& start, const CivilDate& end, int mode);

// ---- shared helpers built on the same calendar ----
int64_t DaysFromCivil(const CivilDate& date);  // 1970-01-01 is day 0
CivilDate CivilFromDays(int64_t days);
CivilDate AddDays(const CivilDate& date, int64_t days);
CivilDate AddMonthsClamped(const CivilDate& date, int months);
int Weekday(const CivilDate& date);  // 0 = Sunday .. 6 = Saturday
CivilDate KeyToCivil(int32_t key);    // normalising, like CVJulian2Date

// "M/D/YYYY", the written form of a date, independent of the locale; the
// year always has four digits ("3/1/0024").
std::string FormatMDY(const CivilDate& date);
// Reads "M/D/YYYY" (blanks around the parts allowed); nullopt when the text
// names no existing day of the years 1..9999.
std::optional<CivilDate> ParseMDY(std::string_view text);
// "YYYY-MM-DD", the stored form of a date column.
std::string FormatIso(const CivilDate& date);
std::optional<CivilDate> ParseIso(std::string_view text);

// The one reader of a date a user typed: "M/D/Y" (blanks around the parts
// allowed) or "YYYY-MM-DD". A year of one or two digits is taken from
// 1930..2029; three or four digits are the year as written (1..9999). The
// ISO form has a four-digit year, never 0000. nullopt when the text names no
// existing day.
std::optional<CivilDate> ReadTypedDate(std::string_view text);

// The one reader of a stored Date value: the ISO form (a time after the day
// is passed over) or "M/D/YYYY" text as other tools write it (a time after a
// blank is passed over). nullopt when it names no day of the years 1..9999.
std::optional<CivilDate> ReadStoredDate(std::string_view text);

const char* MonthName(int month);  // "January".."December"; "" outside 1..12

}  // namespace vm

namespace vm {
// Today's date and the time now, from the process-wide clock.
CivilDate Today();
DateTime Now();
}  // namespace vm
