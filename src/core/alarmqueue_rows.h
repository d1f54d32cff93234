// Where the alarm queue's entries come from, without any window: which day
// cell is today's, the entries of the calendar file's records of yesterday,
// today and tomorrow (read as the month build reads them, whatever month is
// shown),
// the daily alarms of the settings database, the summary and fired message
// texts, and the quick countdown's duration.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/alarmqueue.h"
#include "core/dates.h"
#include "core/sorting.h"
#include "platform/sqlstore.h"

namespace vm {

// Today's cell of the month grid: the weekday of the 1st (Sunday = 0) plus
// the day of the month minus 1.
int TodayCell(const CivilDate& today);

// Yesterday's, today's and tomorrow's rows as ReadAlarmRows gives them,
// already in hand for `today` (the month build read them with its month).
struct RowsInHand {
    CivilDate today;
    std::vector<SortingRow> rows;
};

// The change count of [Velmora] in the file now, when it is kept there.
using VelmoraChanges = std::function<std::optional<int64_t>(db::Database&)>;

// The entries of the calendar file's records of yesterday, today and
// tomorrow (an entry of yesterday may fall after midnight, one of tomorrow
// before it), whatever month is shown: the generated occurrences and the
// date records, left out and read as the month build reads them, in the
// order a day cell shows them (entries due at one moment are queued in that
// order). When the month the file's [Sorting] holds covers these days and
// nothing was written since (`changesNow` tells), they are read from there.
// Nothing is written.
std::vector<SortingRow> ReadAlarmRows(const std::string& calendarPath, const CivilDate& today,
                                      const VelmoraChanges& changesNow = {});

// The enabled daily alarms of [Alarms] as rows of today's cell ("DAILY
// ALARM: " and the text, no alarm offsets, an empty sound number as 0). Rows
// without an hour or a minute are left out. Nothing is written anywhere: the
// rows join the queue in memory only.
std::vector<SortingRow> SetDailyAlarms(db::Database& settings, int dayNo, int32_t julDate, const CivilDate& today);

// The entries of one row: its own time when not earlier than fromMs (a sound
// outside 1..30 there becomes 1), and each alarm offset in minutes before
// (positive) or after (negative) it, when not earlier than fromMs. A row of
// a day that begins at or after untilMs (tomorrow's) gives only the entries
// that fall before untilMs: an entry's day is the day it rings on. Throws
// OpError when the row's date cannot be read.
std::vector<AlarmEntry> RowEntries(const SortingRow& row, int64_t fromMs, int64_t untilMs = INT64_MAX);

// "1: 12/6/2026 9:05:00 AM - Dentist Snd:3" and CR LF, for every entry held.
std::string AlarmSummary(const AlarmQueue& queue);

// "Sunday Dec 6, 2026 9:05 am - text", the message of a fired entry.
std::string FiredAlarmMessage(const DateTime& moment, const std::string& text);

// The sound a firing plays: numbers outside 1..30 play sound 1.
int PlayableSound(int64_t sound);

// The quick countdown's duration in seconds: "s", "m:s" or "h:m:s"; a part
// that is no number counts as 0. nullopt for an empty box.
std::optional<int64_t> QuickDurationSeconds(std::string_view text);

}  // namespace vm
