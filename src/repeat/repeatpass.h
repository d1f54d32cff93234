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
    // After a pass that wrote, DataDates lists the pass's records (File >
    // Build Repeating Data). A caller that draws the month next, which binds
    // DataDates to the month's records, leaves this off: the records are not
    // read for nothing.
    bool listPassRecords = true;
    // The rule problems of records whose rows stand are shown again (start-up,
    // File > Build Repeating Data, a file taken into use). A pass that follows
    // a write leaves this off: it shows the problems of the records it writes,
    // not those of every other record at each save.
    bool reportKept = true;
    std::function<void(int64_t done, int64_t total)> progress;          // records expanded so far, now and then
};

// What a pass did.
struct RepeatPassResult {
    bool ran = false;          // the pass looked at the calendar and did not fail
    bool failed = false;       // it failed (and said so in a box): nothing it began is kept
    bool whole = false;        // every record was expanded afresh
    int64_t records = 0;       // records whose rows were written
    int64_t rowsWritten = 0;   // occurrence rows written
    int64_t rowsRemoved = 0;   // occurrence rows taken out
};

// How far the pass checks the stored rows before trusting them. Quick: the
// lowest and highest row numbers of [RepeatingData] are those it wrote.
// Rows: also each record's row count, so rows another program took out of
// the middle of the table, or put in, are written again or taken out.
enum class RepeatCheck : uint8_t { Quick, Rows };

// The date grid's query after the pass: the records the pass expands, in its order.
inline constexpr const char* kRepeatPassSQL =
    "SELECT * FROM [Velmora] WHERE [Duration] > 0 AND IFNULL([Hide], 0) = 0";
inline constexpr const char* kRepeatPassOrder = " ORDER BY [JulDate],[Hr24],[AM_Pm],[Hour],[Minute],[ID]";

// Runs the pass on the calendar file at Module1.CalendarFilePath. Without a
// file there it changes nothing. Only the rows of records that changed, came
// or went since the last pass are written again (every record's when a
// setting they all depend on changed, or the bookkeeping is missing); the
// rows are streamed into the table. Either the new [RepeatingData] (with the
// Alarm fields) is written completely, or the old one stays and the failure
// is reported once in the box "Build Repeating Error". The rules' problems
// are shown after the rows are written. The records are read once, straight
// from the file. When the pass wrote anything it leaves DataDates bound to
// the pass's query and refreshed (MainState.pSQL / pSQLOrder set to it);
// when nothing was written DataDates and the grid are left as they were.
// Clears MainState.pRebuildRepeating.
RepeatPassResult BuildRepeatingData(db::RecordSource& DataDates, const RepeatPassHooks& hooks = {},
                                    RepeatCheck check = RepeatCheck::Quick);

// The first year of yearly rules: the settings panel's start-year box, or the
// stored option when the box is empty.
int StartRepeatYear();

}  // namespace vm
