// Hour and minute rules: instead of rows, a record repeating every N hours or
// minutes gets an alarm offset list on its own Alarm field, so that its day's
// alarms ring every N after its time up to midnight.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vm {

enum class AlarmUnit { Hours, Minutes };

// The 24-hour hour of a record: AM keeps Hour (12 becomes 0), PM adds 12 below
// 12; the AM_PM text counts as PM when it contains "pm" in any case.
int Hr24Of(int hour, std::string_view amPm);

// Offsets k x N (k = 1..duration) in whole minutes, rounded half to even, kept
// while they stay within midnight, written negative and joined by ","
// ("-60,-120,-180"); the Alarm field holds the whole list however long. Empty
// when none fits. n must be above 0.
std::string BuildAlarmList(AlarmUnit unit, double n, int64_t duration, int hr24);

}  // namespace vm
