// The expansion pass: rebuilds [RepeatingData] of the open calendar file from
// the repeating, visible date records, and writes the alarm lists of hour and
// minute records. The main window runs it from File > "Build &Repeating Data"
// (Ctrl+R, mnuFile_Build_Repeating_Click), at start-up, after opening or
// creating a calendar file, after copying records and after an import.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/sqlstore.h"
#include "repeat/expand.h"

namespace vm {

// What a window plugs into the pass; every member may be left empty.
struct RepeatPassHooks {
    std::function<void(bool busy)> waitCursor;                          // hourglass on / back to default
    std::function<void(int panel, const std::string& text)> statusText;  // status bar panel (1-based)
    std::function<void()> refreshDateGrid;                              // the grid bound to DataDates
};

// What a pass left in [RepeatingData]: `occurrences` rows made from `records`
// repeating records (rows kept from an earlier pass count too). Not `done`
// when there was no writable calendar or the pass failed.
struct RepeatPassResult {
    bool done = false;
    int64_t occurrences = 0;
    int64_t records = 0;
};

// The date grid's query after the pass: the records the pass expands, in its order.
inline constexpr const char* kRepeatPassSQL =
    "SELECT * FROM [Velmora] WHERE [Duration] > 0 AND IFNULL([Hide], 0) = 0";
inline constexpr const char* kRepeatPassOrder = " ORDER BY [JulDate],[Hr24],[AM_Pm],[Hour],[Minute],[ID]";

// Runs the pass on the calendar file at Module1.CalendarFilePath. Without a
// file there it changes nothing. Either the new [RepeatingData] (with the
// Alarm fields) is written completely, or the old one stays and the failure
// is reported once in the box "Build Repeating Error". Leaves DataDates bound
// to the pass's query and refreshed, MainState.pSQL / pSQLOrder set to it,
// and MainState.pRebuildRepeating cleared.
RepeatPassResult BuildRepeatingData(db::RecordSource& DataDates, const RepeatPassHooks& hooks = {});

// The first year of yearly rules: the settings panel's start-year box, or the
// stored option when the box is empty.
int StartRepeatYear();

// Reads the current rows of a record source on [Velmora] (columns by name).
std::vector<DateRecord> ReadDateRecords(db::RecordSource& source);

// The birth-date lookup of the remembrance texts over [Velmora] of `db`.
BirthLookup MakeBirthLookup(db::Database& db);

}  // namespace vm
