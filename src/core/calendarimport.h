// Taking over the date records of another calendar file: every row of its
// [Velmora] becomes a new row of the open calendar file, optionally leaving
// out rows the open file already holds.
#pragma once
#include <string>

namespace vm {

class Operation;

struct CalendarImportResult {
    int added = 0;     // rows written
    int skipped = 0;   // rows left out as duplicates
    bool done = false; // false: nothing was kept (a failure ended the import)
};

// Copies the rows of [Velmora] of the file at `sourcePath` into [Velmora] of
// the calendar file at `targetPath`, in the source's order, all in one
// transaction. Columns are matched by name (any order, any older layout);
// the record number is given anew. A source without [Hr24] gets it from Hour
// and AM_PM, one without [DayColors] gets "FG;BG;FG;BG;3;3" from its colours,
// as the upgrade fills them. Without `importDuplicates` a row whose Date and
// Hour equal an existing row's and whose DateText equals it without regard to
// case is left out (rows added by this import count as existing).
// Failures go through `op` (step 1 opening, 2 per row, 3 the commit); a row
// that fails is left out when the box is answered OK; Cancel, or a failure
// opening or committing, keeps nothing.
CalendarImportResult ImportCalendarRows(const std::string& sourcePath, const std::string& targetPath,
                                        bool importDuplicates, Operation& op);

}  // namespace vm
