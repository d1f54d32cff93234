// The entry window's boxes and the date record: which box writes which column
// on a save, what a save refuses, what a loaded record puts back into the
// boxes, and the record sets the window steps through. No window here.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vm {

// What the boxes show when they hold no value.
namespace entry {
inline constexpr const char* kDate = "Date";
inline constexpr const char* kHourUnset = "Hr";     // the hour is not written
inline constexpr const char* kHour = "Hour";        // the set-up's text: reads as hour 0
inline constexpr const char* kMinuteUnset = "Min";
inline constexpr const char* kAmPmUnset = "AM/PM";
inline constexpr const char* kRepeatNo = "Repeat#";
inline constexpr const char* kRepeatType = "Repeat Type";
inline constexpr const char* kDayType = "Date Type";
inline constexpr const char* kAlarm = "Alarm Mins";
inline constexpr const char* kSound = "Sound";
inline constexpr const char* kFont = "Select Font";
inline constexpr const char* kColors = "Select FG Colors";
inline constexpr const char* kColorsDesign = "Colors";
inline constexpr const char* kPriority = "Priority";
inline constexpr const char* kSearch = "Search";
}  // namespace entry

// The texts of the entry window's boxes and its two check boxes.
struct EntryBoxes {
    bool hide = false, workDay = false;
    std::string date, hour, minute, ampm, dateText, repeatNo, repeatType, dayType, alarm, sound, font, colors,
        priority;
    bool operator==(const EntryBoxes&) const = default;
};

// The day a date box holds: "M/D/YYYY" (the written form) or "YYYY-MM-DD".
std::optional<CivilDate> ReadBoxDate(std::string_view text);

// The columns a save writes, in the order it writes them, or the reason it
// refuses (nothing is written then).
struct EntrySave {
    std::vector<std::pair<std::string, db::Value>> columns;
    std::string ampmBox;  // the AM/PM box's text, which sets Hr24
    bool ampmFromRow = false;  // Hr24 by the AM/PM the row holds (the box's may be another window's past)
    std::string refusal;  // empty when the save may go ahead
    bool ok() const { return refusal.empty(); }
};
EntrySave PlanEntrySave(const EntryBoxes& boxes);
// The part of a save that the user's edits make: the columns `now` writes
// otherwise than `loaded` (the save of the boxes as the record filled them),
// and the AM/PM box only when it, the hour or the AM/PM column changed; an
// hour changed alone takes its Hr24 by the AM/PM the row holds. What another
// window wrote meanwhile into the other columns stays.
EntrySave ChangedSince(const EntrySave& now, const EntrySave& loaded);

// Writes the planned columns into the row being added or edited, then Hr24 by
// the time-of-day rule from the Hour the row then holds and the AM/PM box's
// text (its placeholder "AM/PM" counts as AM; a text naming neither keeps
// the row's Hr24).
void WriteEntrySave(db::RecordSource& rs, const EntrySave& save);

// The boxes for the current row; a column holding nothing gives the box's
// placeholder, so a later save leaves that column alone.
EntryBoxes EntryBoxesFromRecord(const db::RecordSource& rs);

// ---- the window's record sets ----
// Every record by date.
// Every record by its day (whatever form its Date text has), then Priority.
std::string EntryAllByDate();
// The month the main window shows (every record when no month was built yet).
std::string EntryMonthSource();
// The IDs of the records whose DateText contains `word` literally, in any
// letter case (the word is a bound parameter; %, _ and \ match themselves).
std::vector<int64_t> FindDateTextIds(db::Database& db, std::string_view word);
// The record set of those IDs, by date.
std::string EntryIdsSource(const std::vector<int64_t>& ids);

// The distinct stored values of one [Velmora] column, blanks trimmed, empty
// ones left out, in the column's text order. Only known columns are asked.
std::vector<std::string> DistinctColumnValues(db::Database& db, const std::string& column);

}  // namespace vm
