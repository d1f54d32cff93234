// Taking over the date records of another calendar file: every row of its
// [Velmora] becomes a new row of the open calendar file, optionally leaving
// out rows the open file already holds.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vm {

class Operation;

// A source row the open calendar refused (a value its columns cannot hold).
struct RefusedRow {
    std::string date, text, reason;
};

struct CalendarImportResult {
    int added = 0;     // rows written
    int skipped = 0;   // rows left out as duplicates
    bool done = false; // false: nothing was kept (a failure or Cancel ended the import)
    std::vector<RefusedRow> refused;  // the first kListedRefused refused rows
    int refusedCount = 0;
};
inline constexpr size_t kListedRefused = 20;

// The one message naming the refused rows by date and text ("" when none).
std::string RefusedRowsMessage(const CalendarImportResult& result);

// Copies the rows of [Velmora] of the file at `sourcePath` into [Velmora] of
// the calendar file at `targetPath`, in the source's order, all in one
// transaction. Columns are matched by name (any order, any older layout);
// the record number is given anew. A source without [Hr24] gets it from Hour
// and AM_PM, one without [DayColors] gets "FG;BG;FG;BG;3;3" from its colours,
// as the upgrade fills them. Without `importDuplicates` a row whose Date and
// Hour equal an existing row's and whose DateText equals it without regard to
// case is left out (rows added by this import count as existing).
// A row without a day key gets the one of its Date; a row without colours
// gets black on white. A row the open calendar refuses is left out and
// listed in the result. Other failures go through `op` (step 1 opening, 2
// reading, 3 the commit) and keep nothing; so does progress (rows done, rows
// in all) answering false.
CalendarImportResult ImportCalendarRows(const std::string& sourcePath, const std::string& targetPath,
                                        bool importDuplicates, Operation& op,
                                        const std::function<bool(int64_t, int64_t)>& progress = {});

}  // namespace vm
