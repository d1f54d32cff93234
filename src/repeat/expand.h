// The repeat rules engine: turns date records into the rows of
// [RepeatingData] without touching any store. The record itself stays the
// first occurrence; the engine gives every further occurrence, the observed
// weekday copies of weekend holidays, the alarm lists of hour and minute
// rules, and the problems it met in the rules.
//
// Rules (the [Repeat] text, letter case ignored): the type word before the
// first "-", the parameter after it.
//   min/minute-N, hour/hr-N    alarm list on the record (no rows)
//   weekmask-xxxxxxx           marked days (t/y) Sunday..Saturday, Duration weeks
//   daily/day, week/weekly     one day, seven days
//   monthly/month/mon          one month, the day clamped and carried on
//   yearly/year                one year
//   yearweek-W-DDD-MMM[+N]     the W-th (or last) weekday of a month each year, N days later
//   monthweek-W-DDD            the W-th (or last) weekday of each following month
//   monthlastday               the last day of each following month
//   every-N, everymonth-N, everyyear-N, quarter/quarterly
#pragma once
#include <cstdint>
#include <limits>
#include <span>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/record.h"
#include "repeat/remembrance.h"

namespace vm {

struct RepeatOptions {
    int startYear = 0;            // yearly and yearweek records begin no earlier than this year
    bool calcYearsSince = false;  // remembrance texts on the rows
    BirthLookup birthDateOf;      // for the age at death (may be empty)
};

enum class RowKind : uint8_t {
    Occurrence,  // a further occurrence of the record
    Observed,    // the weekday copy of a weekend holiday
    WeekMask,    // a marked day of a weekmask rule (a plain copy of the record)
};

inline constexpr int32_t kNoYears = std::numeric_limits<int32_t>::min();

struct OccurrenceRow {
    CivilDate Date;
    int32_t JulDate = 0;
    uint32_t record = 0;        // index of the record in the input
    RowKind kind = RowKind::Occurrence;
    int32_t years = kNoYears;   // remembrance rows: the years since the record's date
};

// A new Alarm text for the record of an hour or minute rule.
struct AlarmList {
    uint32_t record = 0;
    int64_t ID = 0;
    std::string Alarm;
};

enum class ProblemKind {
    InvalidEntry,      // every-N with a "-" or N below 1, and N below 1 for the other counted rules
    MonthWeekFormat,   // monthweek parameter without "-"
    WeekRuleWord,      // yearweek/monthweek week, weekday or month word that names none
    UnrecognisedType,  // a type word no rule knows
    UnreadableDate,    // the record's Date names no day (of the years 1 to 9999); passed over
};

// Each kind is reported at most once per record.
struct Problem {
    ProblemKind kind;
    uint32_t record;
};

// What a record's rows write over its own columns, worked out once.
struct RecordTexts {
    std::string font, dayColors;                   // trimmed, for occurrences
    std::string observedText, observedDayColors;   // for observed copies
    Remembrance remembrance;
};

struct Expansion {
    std::vector<OccurrenceRow> rows;  // in the order they are appended
    std::vector<AlarmList> alarms;
    std::vector<Problem> problems;
    std::vector<RecordTexts> texts;   // one per input record

    // The DateText, Font, DayColors and WorkDay a row writes; its other
    // columns are its record's (an observed copy's Priority and Hr24 too).
    std::string DateTextOf(const OccurrenceRow& row, const DateRecord& rec) const;
    const std::string& FontOf(const OccurrenceRow& row, const DateRecord& rec) const;
    const std::string& DayColorsOf(const OccurrenceRow& row, const DateRecord& rec) const;
    bool WorkDayOf(const OccurrenceRow& row, const DateRecord& rec) const;
};

// Records that are hidden or have a Duration below 1 are passed over, as the
// pass's query does. Rows lie within the years 1 to 9999; a record dated
// outside them counts as undated.
Expansion ExpandRepeats(std::span<const DateRecord> records, const RepeatOptions& options);

}  // namespace vm
