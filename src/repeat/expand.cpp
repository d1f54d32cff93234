#include "repeat/expand.h"

#include <algorithm>

#include "core/numtext.h"
#include "core/weekmask.h"
#include "repeat/alarmlist.h"
#include "repeat/observance.h"
#include "repeat/weekrules.h"

namespace vm {
namespace {

enum class RuleType {
    Minute, Hour, WeekMask, Daily, Weekly, Monthly, Yearly, YearWeek, MonthWeek,
    MonthLastDay, Every, EveryMonth, EveryYear, Quarter, Unknown,
};

RuleType Classify(std::string_view t) {
    if (t == "min" || t == "minute") return RuleType::Minute;
    if (t == "hour" || t == "hr") return RuleType::Hour;
    if (t == "weekmask") return RuleType::WeekMask;
    if (t == "daily" || t == "day") return RuleType::Daily;
    if (t == "week" || t == "weekly") return RuleType::Weekly;
    if (t == "monthly" || t == "month" || t == "mon") return RuleType::Monthly;
    if (t == "yearly" || t == "year") return RuleType::Yearly;
    if (t == "yearweek") return RuleType::YearWeek;
    if (t == "monthweek") return RuleType::MonthWeek;
    if (t == "monthlastday") return RuleType::MonthLastDay;
    if (t == "every") return RuleType::Every;
    if (t == "everymonth") return RuleType::EveryMonth;
    if (t == "everyyear") return RuleType::EveryYear;
    if (t == "quarter" || t == "quarterly") return RuleType::Quarter;
    return RuleType::Unknown;
}

bool RowProducing(RuleType t) {
    return t != RuleType::Minute && t != RuleType::Hour && t != RuleType::WeekMask && t != RuleType::Unknown;
}

// Rows lie within the years 1 to 9999.
constexpr int kFirstYear = 1;
constexpr int kLastYear = 9999;
// Counted steps larger than this pass the last year at once.
constexpr int64_t kMaxCount = 4'000'000;

// A chain date may keep a day its month lacks (29 February, the 31st); its
// row falls on the month's last day.
CivilDate Clamped(CivilDate c) {
    const int length = DaysInMonth(c.y, c.m);
    if (c.d > length) c.d = length;
    return c;
}

void NextDay(CivilDate& c) {
    if (++c.d > DaysInMonth(c.y, c.m)) {
        c.d = 1;
        if (++c.m > 12) {
            c.m = 1;
            ++c.y;
        }
    }
}

void PlusDays(CivilDate& c, int64_t n) {
    if (n > 62) {
        c = AddDays(c, n);
        return;
    }
    c.d += static_cast<int>(n);
    for (int length = DaysInMonth(c.y, c.m); c.d > length; length = DaysInMonth(c.y, c.m)) {
        c.d -= length;
        if (++c.m > 12) {
            c.m = 1;
            ++c.y;
        }
    }
}

// Month arithmetic with whole-year carry; the day is left as it is.
void PlusMonths(CivilDate& c, int64_t n) {
    const int64_t total = static_cast<int64_t>(c.y) * 12 + (c.m - 1) + n;
    c.y = static_cast<int>(total / 12);
    c.m = static_cast<int>(total % 12) + 1;
}

// The leading number of a text rounded half to even, kept within +-limit.
int64_t WholeNumber(std::string_view text, int64_t limit) {
    const double v = Val(text);
    if (!(v > -static_cast<double>(limit))) return -limit;
    if (!(v < static_cast<double>(limit))) return limit;
    return RoundHalfEven(v);
}

// The number after "+" in a yearweek parameter is a day shift; the "+" and the
// number are taken out of the parameter.
int64_t TakeDayShift(std::string& parameter) {
    const size_t plus = parameter.find('+');
    if (plus == std::string::npos) return 0;
    const int64_t shift = WholeNumber(std::string_view(parameter).substr(plus + 1), kMaxCount);
    size_t end = plus + 1;
    if (end < parameter.size() && parameter[end] == '-') ++end;
    while (end < parameter.size() &&
           (parameter[end] == ' ' || parameter[end] == '.' || (parameter[end] >= '0' && parameter[end] <= '9')))
        ++end;
    parameter.erase(plus, end - plus);
    return shift;
}

class Expander {
public:
    Expander(std::span<const DateRecord> records, const RepeatOptions& options, Expansion& out)
        : records_(records), options_(options), out_(out) {}

    void Run() {
        out_.texts.resize(records_.size());
        out_.rows.reserve(EstimateRows());
        for (uint32_t i = 0; i < records_.size(); ++i) Record(i);
    }

private:
    size_t EstimateRows() const {
        size_t total = 0;
        for (const auto& r : records_) {
            if (r.Hide || r.Duration <= 1) continue;
            const size_t steps = static_cast<size_t>(std::min<int64_t>(r.Duration, 100'000));
            total += ContainsNoCase(std::string_view(r.Repeat).substr(0, 8), "weekmask") ? steps * 7 : steps;
        }
        return total;
    }

    void Report(ProblemKind kind) {
        for (auto it = out_.problems.rbegin(); it != out_.problems.rend() && it->record == index_; ++it)
            if (it->kind == kind) return;
        out_.problems.push_back({kind, index_});
    }

    void Push(const CivilDate& d, RowKind kind, int32_t years) {
        out_.rows.push_back(OccurrenceRow{d, Date2Julian(d), index_, kind, years});
    }

    void Observe(const CivilDate& d) {
        CivilDate observed;
        if (Check4WeekEndDate(rec_->WorkDay, d, observed) && observed.y >= kFirstYear && observed.y <= kLastYear)
            Push(observed, RowKind::Observed, kNoYears);
    }

    // Appends an occurrence and its observed copy; false outside the years.
    bool Emit(const CivilDate& d) {
        if (d.y > kLastYear || d.y < kFirstYear) return false;
        Push(d, RowKind::Occurrence, remember_ ? YearsSince(rec_->Date, d) : kNoYears);
        if (!rec_->WorkDay) Observe(d);
        return true;
    }

    void PrepareTexts(RuleType type) {
        RecordTexts& t = out_.texts[index_];
        t.font = Trim(rec_->Font);
        t.dayColors = Trim(rec_->DayColors);
        if (!rec_->WorkDay) {
            t.observedText = ObservedDateText(rec_->DateText);
            t.observedDayColors = ObservedDayColors(rec_->DayColors);
        }
        remember_ = false;
        if (options_.calcYearsSince && RowProducing(type)) {
            t.remembrance = PrepareRemembrance(rec_->DateType, rec_->DateText, rec_->Date, options_.birthDateOf);
            remember_ = t.remembrance.active;
        }
    }

    void Record(uint32_t i) {
        const DateRecord& r = records_[i];
        if (r.Hide || r.Duration <= 0) return;
        rec_ = &r;
        index_ = i;
        if (!r.Date.valid() || r.Date.y < kFirstYear || r.Date.y > kLastYear) {
            Report(ProblemKind::UnreadableDate);
            return;
        }
        const std::string rule = ToLower(r.Repeat);
        const size_t dash = rule.find('-');
        const std::string_view type = std::string_view(rule).substr(0, dash);
        const std::string parameter = dash == std::string::npos ? std::string() : rule.substr(dash + 1);
        const RuleType kind = Classify(type);

        // Yearly records begin no earlier than the start year; a record dated
        // before it has its first row after its anniversary in that year.
        CivilDate chain = r.Date;
        if ((rule == "yearly" || rule == "year" || rule.find("yearweek") != std::string::npos) &&
            options_.startYear > chain.y)
            chain.y = std::min(options_.startYear, kLastYear + 1);
        if (chain.y > kLastYear) return;

        PrepareTexts(kind);
        Observe(Clamped(chain));

        const int64_t steps = kind == RuleType::WeekMask ? r.Duration : r.Duration - 1;
        if (steps < 1) return;
        switch (kind) {
            case RuleType::Minute:
            case RuleType::Hour: Alarms(kind, parameter); break;
            case RuleType::WeekMask: WeekMask(rule, steps); break;
            case RuleType::Daily:
                for (int64_t s = 0; s < steps; ++s) {
                    NextDay(chain);
                    if (!Emit(chain)) break;
                }
                break;
            case RuleType::Weekly: Days(chain, 7, steps); break;
            case RuleType::Monthly:
                for (int64_t s = 0; s < steps; ++s) {
                    PlusMonths(chain, 1);
                    chain = Clamped(chain);  // the clamped day is carried on
                    if (!Emit(chain)) break;
                }
                break;
            case RuleType::Yearly: Years(chain, 1, steps, false); break;
            case RuleType::YearWeek: YearWeek(chain.y, parameter, steps); break;
            case RuleType::MonthWeek: MonthWeeks(chain, parameter, steps); break;
            case RuleType::MonthLastDay:
                for (int64_t s = 0; s < steps; ++s) {
                    PlusMonths(chain, 1);
                    chain.d = DaysInMonth(chain.y, chain.m);
                    if (!Emit(chain)) break;
                }
                break;
            case RuleType::Every: {
                const int64_t n = Count(parameter);
                if (n < 1 || parameter.find('-') != std::string::npos) Report(ProblemKind::InvalidEntry);
                else Days(chain, n, steps);
                break;
            }
            case RuleType::EveryMonth: {
                const int64_t n = Count(parameter);
                if (n < 1) Report(ProblemKind::InvalidEntry);
                else Months(chain, n, steps);
                break;
            }
            case RuleType::EveryYear: {
                const int64_t n = Count(parameter);
                if (n < 1) Report(ProblemKind::InvalidEntry);
                else Years(chain, n, steps, ToLower(rec_->DateType) == "inauguration");
                break;
            }
            case RuleType::Quarter: Months(chain, 3, steps); break;
            case RuleType::Unknown: Report(ProblemKind::UnrecognisedType); break;
        }
    }

    static int64_t Count(std::string_view parameter) { return WholeNumber(parameter, kMaxCount); }

    void Days(CivilDate chain, int64_t n, int64_t steps) {
        for (int64_t s = 0; s < steps; ++s) {
            PlusDays(chain, n);
            if (!Emit(chain)) break;
        }
    }

    // The chain keeps its own day; each row falls on the month's last day when
    // the month is shorter.
    void Months(CivilDate chain, int64_t n, int64_t steps) {
        for (int64_t s = 0; s < steps; ++s) {
            PlusMonths(chain, n);
            if (!Emit(Clamped(chain))) break;
        }
    }

    // 29 February falls on the 28th in common years and comes back in leap
    // years. With `sundayToMonday` (an "everyyear" inauguration day) a row on
    // a Sunday is held on the Monday; the next step starts again from the
    // chain's own day.
    void Years(CivilDate chain, int64_t n, int64_t steps, bool sundayToMonday) {
        const bool inauguration = sundayToMonday;
        for (int64_t s = 0; s < steps; ++s) {
            if (chain.y + n > kLastYear) break;
            chain.y += static_cast<int>(n);
            CivilDate row = Clamped(chain);
            if (inauguration && Weekday(row) == 0) NextDay(row);
            if (!Emit(row)) break;
        }
    }

    // The shift moves each row only; the year counter goes on from the
    // record's year, so every year gets its row.
    void YearWeek(int year, std::string parameter, int64_t steps) {
        const int64_t shift = TakeDayShift(parameter);
        for (int64_t s = 0; s < steps && year < kLastYear; ++s) {
            ++year;
            CivilDate d;
            const WeekRuleResult found = YearWeekMonth(year, parameter, d);
            if (found == WeekRuleResult::BadWord || found == WeekRuleResult::NoDash) {
                Report(ProblemKind::WeekRuleWord);
                return;
            }
            if (found == WeekRuleResult::NoSuchDay) continue;
            if (shift != 0) d = AddDays(d, shift);
            if (!Emit(d)) return;
        }
    }

    // The first step only takes the record's month; every later step is the
    // next month, so a record yields Duration - 2 rows.
    void MonthWeeks(CivilDate chain, const std::string& parameter, int64_t steps) {
        int year = chain.y, month = chain.m;
        for (int64_t s = 2; s <= steps; ++s) {
            if (++month > 12) {
                month = 1;
                if (++year > kLastYear) return;
            }
            CivilDate d;
            switch (MonthWeek(year, month, parameter, d)) {
                case WeekRuleResult::Found:
                    if (!Emit(d)) return;
                    break;
                case WeekRuleResult::NoSuchDay: break;
                case WeekRuleResult::NoDash: Report(ProblemKind::MonthWeekFormat); return;
                case WeekRuleResult::BadWord: Report(ProblemKind::WeekRuleWord); return;
            }
        }
    }

    // Marked days Sunday..Saturday of each week. A valid mask starts from the
    // Sunday of the record's week; an invalid one from the day after the
    // record's date.
    void WeekMask(const std::string& rule, int64_t steps) {
        const std::optional<WeekMaskWeek> week = ReadWeekMask(rule, rec_->Date);
        if (!week) return;
        CivilDate day = week->before;
        for (int64_t s = 0; s < steps; ++s) {
            for (size_t k = 0; k < 7; ++k) {
                NextDay(day);
                if (day.y > kLastYear) return;
                if (week->marked[k] && day.y >= kFirstYear) Push(day, RowKind::WeekMask, kNoYears);  // none before year 1
            }
        }
    }

    void Alarms(RuleType kind, std::string_view parameter) {
        const double n = Val(parameter);
        if (!(n > 0)) {
            Report(ProblemKind::InvalidEntry);
            return;
        }
        const AlarmUnit unit = kind == RuleType::Hour ? AlarmUnit::Hours : AlarmUnit::Minutes;
        out_.alarms.push_back(
            {index_, rec_->ID, BuildAlarmList(unit, n, rec_->Duration, Hr24Of(rec_->Hour, rec_->AM_PM))});
    }

    std::span<const DateRecord> records_;
    const RepeatOptions& options_;
    Expansion& out_;
    const DateRecord* rec_ = nullptr;
    uint32_t index_ = 0;
    bool remember_ = false;
};

}  // namespace

Expansion ExpandRepeats(std::span<const DateRecord> records, const RepeatOptions& options) {
    Expansion out;
    Expander(records, options, out).Run();
    return out;
}

std::string Expansion::DateTextOf(const OccurrenceRow& row, const DateRecord& rec) const {
    const RecordTexts& t = texts[row.record];
    if (row.kind == RowKind::Observed) return t.observedText;
    if (row.years != kNoYears) return t.remembrance.Text(row.years);
    return rec.DateText;
}

const std::string& Expansion::FontOf(const OccurrenceRow& row, const DateRecord& rec) const {
    return row.kind == RowKind::WeekMask ? rec.Font : texts[row.record].font;
}

const std::string& Expansion::DayColorsOf(const OccurrenceRow& row, const DateRecord& rec) const {
    switch (row.kind) {
        case RowKind::WeekMask: return rec.DayColors;
        case RowKind::Observed: return texts[row.record].observedDayColors;
        default: return texts[row.record].dayColors;
    }
}

bool Expansion::WorkDayOf(const OccurrenceRow& row, const DateRecord& rec) const {
    return row.kind == RowKind::Observed || rec.WorkDay;
}

}  // namespace vm
