// Today's alarm queue without any window: which day cell is today's, today's
// entries read from the calendar file as the month build reads today's cell,
// the daily alarms of the settings database, when a queued entry is due and
// how long until the next one is, the summary and fired message texts, and
// the quick countdown's duration. The queue itself is the shared
// Module1.AlarmQueue* (slots 1..94; a zero moment is free or fired).
//
// Moments are compared in milliseconds of the local wall clock; a quick
// countdown is due by the steady clock instead, so a change of the wall clock
// never shortens or lengthens it.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dates.h"
#include "core/sorting.h"
#include "platform/sqlstore.h"

namespace vm {

inline constexpr int kAlarmQueueSlots = 94;
inline constexpr const char* kTimerCompleteText = "Timer Complete";

// Moments as seconds since 1970-01-01 00:00 (local time), and back.
int64_t MomentSeconds(const DateTime& moment);
DateTime MomentFromSeconds(int64_t seconds);
// The wall clock now, in milliseconds on the same scale.
int64_t WallNowMs();
// A slot's moment that is "0": free, or already fired.
inline bool IsFreeMoment(const DateTime& moment) { return moment.date.y == 0; }

// Today's cell of the month grid: the weekday of the 1st (Sunday = 0) plus
// the day of the month minus 1.
int TodayCell(const CivilDate& today);

// Today's entries of the calendar file, whatever month is shown: the
// generated occurrences of today, then today's date records, left out and
// read as the month build reads them for today's cell. Nothing is written.
std::vector<SortingRow> ReadTodaysRows(const std::string& calendarPath, const CivilDate& today);

// The enabled daily alarms of [Alarms] as rows of today's cell ("DAILY
// ALARM: " and the text, no alarm offsets, an empty sound number as 0). Rows
// without an hour or a minute are left out. Nothing is written anywhere: the
// rows join the queue in memory only.
std::vector<SortingRow> SetDailyAlarms(db::Database& settings, int dayNo, int32_t julDate, const CivilDate& today);

// Empties the queue (the count; the slots keep what they held).
void ClearAlarmQueue();
// Puts an entry into the next slot; false when all 94 are taken. A quick
// countdown also gives its end on the steady clock (ms), by which it is due.
bool AddAlarm(const DateTime& moment, const std::string& text, int32_t sound, const std::string& soundFile = "",
              int64_t steadyDueMs = 0);

// The entries of one row: its own time when not earlier than fromMs (a sound
// outside 1..30 there becomes 1), and each alarm offset in minutes before
// (positive) or after (negative) it, when not earlier than fromMs. Returns
// how many were queued. Throws OpError when the row's date cannot be read.
int QueueRow(const SortingRow& row, int64_t fromMs);
inline int QueueRow(const SortingRow& row, const DateTime& now) { return QueueRow(row, MomentSeconds(now) * 1000); }

// "1: 12/6/2026 9:05:00 AM - Dentist Snd:3" and CR LF, for every entry.
std::string AlarmSummary();

// Due once its moment has come, never before it, however late: a moment
// passed while the machine slept or the clock jumped forward is still due. A
// free slot never is.
bool AlarmDue(const DateTime& moment, int64_t nowMs);
bool SlotDue(int slot, int64_t nowMs, int64_t steadyNowMs);
// Milliseconds until the next entry is due (0 when one already is);
// nullopt when no slot keeps a moment.
std::optional<int64_t> MsUntilNextDue(int64_t nowMs, int64_t steadyNowMs);
// Frees the slots of the quick countdowns still running; how many there were.
int CancelCountdowns();
// True while some slot 1..count keeps a moment.
bool AnyAlarmLeft();

// "Sunday Dec 6, 2026 9:05 am - text", the message of a fired entry.
std::string FiredAlarmMessage(const DateTime& moment, const std::string& text);

// The sound a firing plays: numbers outside 1..30 play sound 1.
int PlayableSound(int64_t sound);

// The quick countdown's duration in seconds: "s", "m:s" or "h:m:s"; a part
// that is no number counts as 0. nullopt for an empty box.
std::optional<int64_t> QuickDurationSeconds(std::string_view text);

}  // namespace vm
