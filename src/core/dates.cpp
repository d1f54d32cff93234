#include "core/dates.h"

#include <array>
#include <charconv>
#include <cstdio>

namespace vm {
namespace {

constexpr std::array<const char*, 13> kMonthNames = {
    "", "January", "February", "March", "April", "May", "June", "July",
    "August", "September", "October", "November", "December"};

// Cumulative day counts before each month, ordinary and leap years.
constexpr std::array<int, 13> kCumOrdinary = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
constexpr std::array<int, 13> kCumLeap = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366};

const std::array<int, 13>& CumTable(int year) { return LeapYears(year) ? kCumLeap : kCumOrdinary; }

int64_t FloorDiv(int64_t a, int64_t b) { return (a >= 0) ? a / b : -((-a + b - 1) / b); }

}  // namespace

bool LeapYears(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int16_t DaysInMonth(int year, int month) {
    if (month < 1 || month > 12) return 0;
    const auto& t = CumTable(year);
    return static_cast<int16_t>(t[month] - t[month - 1]);
}

bool CivilDate::valid() const { return m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m); }

// Howard Hinnant's days-from-civil, valid for the whole proleptic calendar.
int64_t DaysFromCivil(const CivilDate& date) {
    int64_t y = date.y - (date.m <= 2 ? 1 : 0);
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t mp = (date.m + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + date.d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int y = static_cast<int>(yoe + era * 400 + (m <= 2 ? 1 : 0));
    return {y, m, d};
}

CivilDate AddDays(const CivilDate& date, int64_t days) { return CivilFromDays(DaysFromCivil(date) + days); }

CivilDate AddMonthsClamped(const CivilDate& date, int months) {
    int64_t total = static_cast<int64_t>(date.y) * 12 + (date.m - 1) + months;
    const int y = static_cast<int>(FloorDiv(total, 12));
    const int m = static_cast<int>(total - static_cast<int64_t>(y) * 12) + 1;
    const int dim = DaysInMonth(y, m);
    return {y, m, date.d > dim ? dim : date.d};
}

int Weekday(const CivilDate& date) {
    // 1970-01-01 was a Thursday (4).
    const int64_t w = (DaysFromCivil(date) + 4) % 7;
    return static_cast<int>(w < 0 ? w + 7 : w);
}

int32_t Date2Julian(const CivilDate& date) {
    if (date.m < 1 || date.m > 12) return 0;
    return date.y * 1000 + CumTable(date.y)[date.m - 1] + date.d;
}

int32_t Date2Julian(const DateTime& moment) { return Date2Julian(moment.date); }

CivilDate KeyToCivil(int32_t key) {
    // Truncating division, as the key's year part is read; the day part is
    // then counted from 1 January of that year, whatever its size.
    const int y = key / 1000;
    const int dayPart = key - y * 1000;
    return AddDays(CivilDate{y, 1, 1}, dayPart - 1);
}

std::string CVJulian2Date(int32_t& key) {
    const CivilDate c = KeyToCivil(key);
    key = Date2Julian(c);
    return FormatMDY(c);
}

void GetMonthNumber(std::string_view name, int16_t& month) {
    for (int i = 1; i <= 12; ++i) {
        if (name == kMonthNames[i]) {
            month = static_cast<int16_t>(i);
            return;
        }
    }
}

const char* MonthName(int month) { return (month >= 1 && month <= 12) ? kMonthNames[month] : ""; }

std::string DateDiffYearsMonthsDays(const CivilDate& start, const CivilDate& end, int mode) {
    CivilDate s = start;
    int years = end.y - s.y;
    if (s.m >= end.m) --years;
    if (years >= 1) {
        s = AddMonthsClamped(s, years * 12);
    } else {
        years = 0;
    }
    int months = 12 * (end.y - s.y) + (end.m - s.m);
    if (start.d > end.d) --months;
    if (months >= 1) {
        s = AddMonthsClamped(s, months);
    } else {
        months = 0;
    }
    const int64_t days = DaysFromCivil(end) - DaysFromCivil(s);

    if (mode != 1) {
        // Twelve whole months are a year (1/1/2020 to 1/1/2030 is 10 years).
        if (months == 12) {
            ++years;
            months = 0;
        }
        return std::to_string(years) + ", " + std::to_string(months) + ", " + std::to_string(days);
    }
    std::string yearPart, monthPart;
    if (months == 12) {
        const int y1 = years + 1;
        yearPart = std::to_string(y1) + " Year" + (y1 > 1 ? "s" : "") + ",";
    } else {
        yearPart = std::to_string(years) + " Year" + (years > 1 ? "s" : "") + ",";
        monthPart = std::to_string(months) + " Month" + (months > 1 ? "s" : "") + ",";
    }
    const std::string dayPart = std::to_string(days) + " Day" + (days > 1 ? "s" : "");
    return yearPart + monthPart + dayPart;
}

std::string FormatMDY(const CivilDate& date) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d/%d/%04d", date.m, date.d, date.y);
    return buf;
}

namespace {
bool ReadInt(std::string_view part, int& out) {
    while (!part.empty() && part.front() == ' ') part.remove_prefix(1);
    while (!part.empty() && part.back() == ' ') part.remove_suffix(1);
    if (part.empty()) return false;
    auto [p, ec] = std::from_chars(part.data(), part.data() + part.size(), out);
    return ec == std::errc() && p == part.data() + part.size();
}
}  // namespace

std::optional<CivilDate> ParseMDY(std::string_view text) {
    const auto a = text.find('/');
    if (a == std::string_view::npos) return std::nullopt;
    const auto b = text.find('/', a + 1);
    if (b == std::string_view::npos) return std::nullopt;
    CivilDate c;
    if (!ReadInt(text.substr(0, a), c.m) || !ReadInt(text.substr(a + 1, b - a - 1), c.d) ||
        !ReadInt(text.substr(b + 1), c.y))
        return std::nullopt;
    // The calendar's years are 1..9999; a longer year is no date.
    if (c.y < 1 || c.y > 9999 || !c.valid()) return std::nullopt;
    return c;
}

std::string FormatIso(const CivilDate& date) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", date.y, date.m, date.d);
    return buf;
}

std::optional<CivilDate> ParseIso(std::string_view text) {
    if (text.size() < 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
    CivilDate c;
    if (!ReadInt(text.substr(0, 4), c.y) || !ReadInt(text.substr(5, 2), c.m) || !ReadInt(text.substr(8, 2), c.d))
        return std::nullopt;
    if (!c.valid()) return std::nullopt;
    return c;
}

namespace {
std::string_view Stripped(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) t.remove_suffix(1);
    return t;
}
bool AllDigits(std::string_view t) {
    if (t.empty()) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    return true;
}
}  // namespace

std::optional<CivilDate> ReadTypedDate(std::string_view text) {
    const std::string_view t = Stripped(text);
    if (t.size() == 10 && t[4] == '-' && t[7] == '-') {
        if (!AllDigits(t.substr(0, 4)) || !AllDigits(t.substr(5, 2)) || !AllDigits(t.substr(8, 2)))
            return std::nullopt;
        const auto d = ParseIso(t);
        if (!d || d->y < 1) return std::nullopt;
        return d;
    }
    const auto a = t.find('/');
    const auto b = a == std::string_view::npos ? a : t.find('/', a + 1);
    if (b == std::string_view::npos) return std::nullopt;
    const std::string_view year = Stripped(t.substr(b + 1));
    if (!AllDigits(year) || year.size() > 4) return std::nullopt;
    const std::string_view m = Stripped(t.substr(0, a)), d = Stripped(t.substr(a + 1, b - a - 1));
    if (!AllDigits(m) || !AllDigits(d)) return std::nullopt;
    CivilDate c;
    if (!ReadInt(m, c.m) || !ReadInt(d, c.d) || !ReadInt(year, c.y)) return std::nullopt;
    if (year.size() <= 2) c.y += c.y < 30 ? 2000 : 1900;
    if (c.y < 1 || c.y > 9999 || !c.valid()) return std::nullopt;
    return c;
}

std::optional<CivilDate> ReadStoredDate(std::string_view text) {
    const std::string_view t = Stripped(text);
    if (t.size() >= 10 && t[4] == '-') {
        const auto d = ParseIso(t.substr(0, 10));
        if (!d || d->y < 1 || d->y > 9999) return std::nullopt;
        return d;
    }
    return ParseMDY(t.substr(0, t.find(' ')));
}

}  // namespace vm

#include "platform/clock.h"

namespace vm {
CivilDate Today() {
    const LocalTime t = Clock().now();
    return {t.year, t.month, t.day};
}
DateTime Now() {
    const LocalTime t = Clock().now();
    return {{t.year, t.month, t.day}, t.hour, t.minute, t.second};
}
}  // namespace vm
