// The date record: one row of [Velmora] (and, with the same columns, of
// [RepeatingData]), with the rules every writer follows.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vm {

struct DateRecord {
    int64_t ID = 0;
    bool Hide = false;
    CivilDate Date;
    int Hour = 0;
    int Minute = 0;
    std::string AM_PM;
    std::string DateText;
    int64_t Duration = 0;
    std::string Repeat;
    std::optional<int64_t> BGColor, FGColor;
    std::string DateType;
    bool WorkDay = false;
    int32_t JulDate = 0;
    std::string Alarm;
    int64_t SoundNum = 0;
    std::string Font;
    int Priority = 0;
    std::string DayColors;
    std::optional<int> Hr24;
};

// The columns of a date record, in the order of [Velmora] in a new file.
const std::array<const char*, 20>& DateRecordColumns();

// Reads the current row of a record source holding date-record columns
// (missing columns keep their defaults).
DateRecord ReadDateRecord(const db::RecordSource& rs);
// The same from the row a statement stands on.
DateRecord ReadDateRecord(const db::Statement& st);
// Writes every column but ID into the row being added or edited; Date and
// JulDate always together.
void WriteDateRecord(db::RecordSource& rs, const DateRecord& r);

// Hr24 rule: "AM" anywhere keeps the hour (12 gives 0); otherwise "PM"
// anywhere adds 12 below 12; otherwise the hour stays `current`. AM and PM
// are read in any letter case.
std::optional<int> Hr24Rule(int hour, std::string_view ampm, std::optional<int> current);

// "9:05 AM": hour without leading zero, two minute digits, a blank and the
// AM/PM text.
std::string TimeText(int hour, int minute, std::string_view ampm);

// The AM/PM values and the repeat rules the entry window offers.
const std::vector<std::string>& AmPmValues();
const std::vector<std::string>& RepeatValues();

}  // namespace vm
