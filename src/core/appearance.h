// The per-month look (picture, colours, day and title fonts) between the
// calendar file's [Backgrounds] rows and MainState.Month / Module1.MonthImageFile.
#pragma once
#include "platform/sqlstore.h"

namespace vm {

// Loads the twelve months from the open calendar file; months the table has
// no row for get the defaults of an empty row.
void ReadCalValues(db::RecordSource& DataSettings);
// Repairs unusable values after a load at start-up: a 0 background becomes
// white, a font size below 8 becomes 11.
void SetDefaultCalValues();
// Stores the twelve months into the open calendar file, adding the rows a
// short table lacks. An empty picture name keeps the stored one.
void SaveFonts2File(db::RecordSource& DataSettings);

// The look an all-empty row loads as.
struct MonthAppearance;
MonthAppearance DefaultMonthAppearance();

}  // namespace vm
