// The day calculator and the work-day calculator, with no window: the
// three-box date calculation, the years-months-days caption, the dated
// list's recalculation, weekend and holiday counts and the work-day result.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vm {

// "Friday, March 20, 2024": the long written form of a date.
std::string LongDateText(const CivilDate& date);

// The three boxes of the day calculator: two filled, the third computed.
struct ThreeBoxes {
    std::string date1, days, date2;
};
struct ThreeBoxResult {
    enum Kind { Days, Date1, Date2, NotTwoFilled, Refused } kind = NotTwoFilled;
    std::string text;     // the computed box's text, or the refusal message
};
// Fills the empty box of three, two of which hold text (a box counts as
// filled when its text is not empty). Dates are read as M/D/YYYY; the day
// count is a 32-bit whole number (rounded, halves to even).
ThreeBoxResult CalcThirdBox(const ThreeBoxes& boxes);

// The caption of the span between two dates: "Y Years M Months D Days ",
// each part left out when 0; empty when a date is missing or unreadable.
std::string YearsMonthsDaysCaption(const std::string& date1, const std::string& date2);

// The computed columns of one dated-list row for a base date.
struct DatedValues {
    int64_t years = 0, months = 0, days = 0;
    int32_t totalDays = 0;  // the row's date minus the base date
};
DatedValues DatedRowValues(const CivilDate& rowDate, const CivilDate& base);
// Recalculates every row of [CalculateDates] for the base date in one
// transaction; a row without a valid date gets empty values. Returns the
// number of rows written.
int RecalculateDatedList(db::Database& calendar, const CivilDate& base);

// Saturdays and Sundays from begin to end, both included (0 when end is
// before begin); counted by whole weeks, never day by day.
int64_t WeekendDays(const CivilDate& begin, const CivilDate& end);

// Holiday data of a calendar's occurrences: the span of its non-work-day
// rows, and the holidays (date type containing "Holiday", not a work day,
// not hidden) from begin to end.
struct HolidaySpan {
    CivilDate first, last;
};
std::optional<HolidaySpan> HolidayDataSpan(db::Database& calendar);
// Whether the days from begin to end hold so large a share of the
// occurrences that one pass over the whole table reads them sooner than the
// day index does (the index costs a seek into the table for every row it
// finds: past about a fifth of the rows a plain pass wins, by three times
// over twenty years of a large calendar).
bool SpansMostOccurrences(db::Database& calendar, const CivilDate& begin, const CivilDate& end);
// The condition (no "WHERE") that lists the holiday rows between the two
// day keys bound to its two "?"; by one pass over the table when
// `wholeTable`, else by the day index.
std::string HolidayCondition(bool wholeTable = false);
// Distinct weekdays from begin to end that hold a holiday row or the observed
// copy of one.
int64_t CountHolidayDates(db::Database& calendar, const CivilDate& begin, const CivilDate& end);

// The work-day calculation of two typed dates over a calendar's holidays.
struct WorkDays {
    bool ok = false;
    std::string text;         // the six result lines, or the message
    int64_t calendarDays = 0, weekendDays = 0, holidays = 0, workDays = 0;
};
WorkDays CountWorkDays(db::Database& calendar, const std::string& beginText, const std::string& endText);

}  // namespace vm
