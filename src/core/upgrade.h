// Bringing calendar files and the settings database of earlier layouts up to
// the current one: the columns they lack are added, the legacy [UseColor]
// dropped, and the new columns of calendar files filled in.
#pragma once
#include <string>

#include "platform/sqlstore.h"

namespace vm {

// Upgrades the calendar file at path and fills empty [DayColors] from each
// record's own colours. Does nothing when no file is there. Sets
// MainState.Hr24Added when [Velmora] just received [Hr24]. Leaves DataDates
// bound to [RepeatingData] of that file when it back-filled.
void UpdateVelmoraFile(const std::string& path, db::RecordSource& DataDates);

// Fills [Hr24] of [Velmora], [Sorting] and [RepeatingData] of the open
// calendar file from the hour and the AM/PM text.
void Table24UpdateAll(db::RecordSource& DataDates);
void Table24Update(db::RecordSource& DataDates, const std::string& table, const std::string& ampmColumn);

// Upgrades the settings database at its fixed path (nothing when it is missing).
void UpdateSettingsFile();

// The 24-hour hour of an hour and its AM/PM text, by the back-fill's rule:
// "AM" anywhere keeps the hour (12 becomes 0); then "PM" anywhere adds 12
// below 12. Both read AM and PM in any case; with neither, `current` stays.
int Hr24FromAmPm(int hour, const std::string& ampm, int current);

}  // namespace vm
