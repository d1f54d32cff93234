#include "core/daycalc.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/numtext.h"

namespace vm {
namespace {

const char* kDayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

std::optional<CivilDate> ReadDate(const std::string& text) { return ReadTypedDate(text); }

// The three parts of the mode-2 span text "Y, M, D", as split at ",".
std::vector<std::string> SpanParts(const CivilDate& a, const CivilDate& b) {
    const std::string s = DateDiffYearsMonthsDays(std::min(a, b), std::max(a, b), 2);
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; (at = s.find(',', from)) != std::string::npos; from = at + 1) parts.push_back(s.substr(from, at - from));
    parts.push_back(s.substr(from));
    return parts;
}

bool InYearRange(const CivilDate& d) { return d.y >= 1 && d.y <= 9999; }

}  // namespace

std::string LongDateText(const CivilDate& d) {
    const std::string year = std::to_string(d.y);
    return std::string(kDayNames[Weekday(d)]) + ", " + MonthName(d.m) + " " + std::to_string(d.d) + ", " +
           std::string(year.size() < 4 ? 4 - year.size() : 0, '0') + year;
}

ThreeBoxResult CalcThirdBox(const ThreeBoxes& b) {
    const bool has1 = !b.date1.empty(), hasN = !b.days.empty(), has2 = !b.date2.empty();
    auto refuse = [](const std::string& why) { return ThreeBoxResult{ThreeBoxResult::Refused, why}; };
    auto date = [](const std::string& t) { return ReadDate(t); };
    auto notDate = [](const std::string& t) { return "\"" + t + "\" is not a date. Type dates as M/D/YYYY."; };
    if (has1 && has2 && !hasN) {
        const auto d1 = date(b.date1), d2 = date(b.date2);
        if (!d1) return refuse(notDate(b.date1));
        if (!d2) return refuse(notDate(b.date2));
        return {ThreeBoxResult::Days, std::to_string(DaysFromCivil(*d2) - DaysFromCivil(*d1))};
    }
    if (hasN && (has1 != has2)) {
        const std::string& from = has1 ? b.date1 : b.date2;
        const auto d = date(from);
        if (!d) return refuse(notDate(from));
        const auto n = PlainNumber(b.days);
        if (!n || std::fabs(*n) > double(std::numeric_limits<int32_t>::max()))
            return refuse("\"" + b.days + "\" is not a number of days. Type a whole number of days.");
        const int64_t days = RoundHalfEven(*n);
        const CivilDate out = AddDays(*d, has1 ? days : -days);
        if (!InYearRange(out)) return refuse("The date lies outside the years 1 to 9999.");
        return {has1 ? ThreeBoxResult::Date2 : ThreeBoxResult::Date1, FormatMDY(out)};
    }
    return {ThreeBoxResult::NotTwoFilled, ""};
}

std::string YearsMonthsDaysCaption(const std::string& date1, const std::string& date2) {
    if (date1.empty() || date2.empty()) return "";
    const auto a = ReadDate(date1), b = ReadDate(date2);
    if (!a || !b) return "";
    const auto p = SpanParts(*a, *b);
    if (p.size() != 3) return "";
    std::string out;
    if (Val(p[0]) > 0) out += p[0] + " Years ";
    if (Val(p[1]) > 0) out += p[1] + " Months ";
    if (Val(p[2]) > 0) out += p[2] + " Days ";
    return out;
}

DatedValues DatedRowValues(const CivilDate& rowDate, const CivilDate& base) {
    DatedValues v;
    const auto p = SpanParts(rowDate, base);
    if (p.size() == 3) {
        v.years = static_cast<int64_t>(Val(p[0]));
        v.months = static_cast<int64_t>(Val(p[1]));
        v.days = static_cast<int64_t>(Val(p[2]));
    }
    v.totalDays = static_cast<int32_t>(DaysFromCivil(rowDate) - DaysFromCivil(base));
    return v;
}

int RecalculateDatedList(db::Database& calendar, const CivilDate& base) {
    std::vector<std::pair<int64_t, db::Value>> rows;
    {
        auto st = calendar.prepare("SELECT [ID], [Date] FROM [CalculateDates]");
        while (st.step()) rows.emplace_back(db::AsInt(st.column(0)), st.column(1));
    }
    db::Transaction tx(calendar);
    auto write = calendar.prepare(
        "UPDATE [CalculateDates] SET [Years] = ?, [Months] = ?, [Days] = ?, [TDays] = ? WHERE [ID] = ?");
    for (const auto& [id, date] : rows) {
        const auto d = ReadStoredDate(db::AsText(date));
        if (d && InYearRange(*d)) {
            const DatedValues v = DatedRowValues(*d, base);
            write.bindAll({db::Int(v.years), db::Int(v.months), db::Int(v.days), db::Int(v.totalDays), db::Int(id)});
        } else {
            write.bindAll({db::Value{}, db::Value{}, db::Value{}, db::Value{}, db::Int(id)});
        }
        write.run();
    }
    tx.commit();
    return static_cast<int>(rows.size());
}

int64_t WeekendDays(const CivilDate& begin, const CivilDate& end) {
    const int64_t n = DaysFromCivil(end) - DaysFromCivil(begin) + 1;
    if (n <= 0) return 0;
    int64_t count = (n / 7) * 2;  // every whole week has one Saturday and one Sunday
    const int first = Weekday(begin);
    for (int64_t k = 0; k < n % 7; ++k) {
        const int wd = static_cast<int>((first + k) % 7);
        if (wd == 0 || wd == 6) ++count;
    }
    return count;
}

std::optional<HolidaySpan> HolidayDataSpan(db::Database& calendar) {
    // By the day key, which orders as the days do whatever form [Date] has.
    auto st = calendar.prepare("SELECT MIN([JulDate]), MAX([JulDate]) FROM [RepeatingData] WHERE [WorkDay] = 0");
    if (!st.step() || db::IsNull(st.column(0)) || db::IsNull(st.column(1))) return std::nullopt;
    const int32_t first = static_cast<int32_t>(db::AsInt(st.column(0))), last = static_cast<int32_t>(db::AsInt(st.column(1)));
    if (first < 1001 || last < first) return std::nullopt;
    return HolidaySpan{KeyToCivil(first), KeyToCivil(last)};
}

bool SpansMostOccurrences(db::Database& calendar, const CivilDate& begin, const CivilDate& end) {
    // The day keys run evenly enough through the years for their spread to
    // stand for the rows' (both ends are read from the index alone).
    auto st = calendar.prepare(
        "SELECT (SELECT MIN([JulDate]) FROM [RepeatingData]), (SELECT MAX([JulDate]) FROM [RepeatingData])");
    if (!st.step() || db::IsNull(st.column(0)) || db::IsNull(st.column(1))) return false;
    const int64_t first = db::AsInt(st.column(0)), last = db::AsInt(st.column(1));
    const int64_t from = std::max<int64_t>(first, Date2Julian(begin)), to = std::min<int64_t>(last, Date2Julian(end));
    return to >= from && (to - from) * 5 > last - first;
}

namespace {

// The day range's own term: "+" keeps the planner off the day index.
std::string DayRangeTerm(bool wholeTable) {
    return wholeTable ? "+[JulDate] BETWEEN ? AND ?" : "[JulDate] BETWEEN ? AND ?";
}

}  // namespace

std::string HolidayCondition(bool wholeTable) {
    return DayRangeTerm(wholeTable) +
           " AND [WorkDay] = 0 AND [Hide] = 0 AND FOLDHAS('Holiday', [DateType])";
}

int64_t CountHolidayDates(db::Database& calendar, const CivilDate& begin, const CivilDate& end) {
    // A day off is a weekday holding a holiday row or the observed copy of a
    // weekend holiday (a work day by its flag, marked by its text). A holiday
    // on a Saturday or Sunday is already counted as a weekend day.
    // (Read in the table's own order over a wide span: DISTINCT would walk
    // the day index, a seek into the table for every row.)
    const bool wide = SpansMostOccurrences(calendar, begin, end);
    auto st = calendar.prepare(
        std::string("SELECT DISTINCT [JulDate] FROM [RepeatingData]") + (wide ? " NOT INDEXED" : "") +
        " WHERE [JulDate] BETWEEN ? AND ? AND FOLDHAS('Holiday', [DateType]) AND IFNULL([Hide], 0) = 0 "
        "AND (IFNULL([WorkDay], 0) = 0 OR substr(rtrim([DateText]), -10) = '*OBSERVED*')");
    st.bindAll({db::Int(Date2Julian(begin)), db::Int(Date2Julian(end))});
    int64_t days = 0;
    while (st.step()) {
        const int wd = Weekday(KeyToCivil(static_cast<int32_t>(db::AsInt(st.column(0)))));
        if (wd != 0 && wd != 6) ++days;
    }
    return days;
}

WorkDays CountWorkDays(db::Database& calendar, const std::string& beginText, const std::string& endText) {
    WorkDays r;
    const auto b = ReadDate(beginText), e = ReadDate(endText);
    if (!b || !e) {
        r.text = "Invalid Date Entered";
        return r;
    }
    if (DaysFromCivil(*e) <= DaysFromCivil(*b)) {
        r.text = "Error - End Date Cannot Be Before Begin Date";
        return r;
    }
    const auto span = HolidayDataSpan(calendar);
    if (!span) {
        r.text = "This calendar holds no holiday data. Add holiday records, build the repeating data, and try again.";
        return r;
    }
    auto outside = [&](const CivilDate& d) { return d < span->first || span->last < d; };
    if (outside(*b) || outside(*e)) {
        r.text = "Holiday Data Begins: " + FormatMDY(span->first) + " and Ends: " + FormatMDY(span->last) +
                 "\nPlease Adjust Your Dates or Add More Holiday Data.";
        return r;
    }
    r.calendarDays = DaysFromCivil(*e) - DaysFromCivil(*b) + 1;
    r.holidays = CountHolidayDates(calendar, *b, *e);
    r.weekendDays = WeekendDays(*b, *e);
    r.workDays = r.calendarDays - r.weekendDays - r.holidays;
    r.ok = true;
    r.text = std::to_string(r.calendarDays) + " Calendar Days Difference\n" + beginText + " Is a " +
             kDayNames[Weekday(*b)] + "\n" + endText + " Is a " + kDayNames[Weekday(*e)] + "\nWeekend Days: " +
             std::to_string(r.weekendDays) + "\nHoliday Days: " + std::to_string(r.holidays) +
             "\nWorkdays Between: " + beginText + " and " + endText + " = " + std::to_string(r.workDays) +
             " Work Days";
    return r;
}

}  // namespace vm
