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
    bool cancelled = false;  // Cancel ended it
    std::vector<RefusedRow> refused;  // the first kListedRefused refused rows
    int refusedCount = 0;
    std::vector<RefusedRow> unreadable;  // the first kListedRefused rows whose Date names no day
    int unreadableCount = 0;
};
inline constexpr size_t kListedRefused = 20;

// The message naming the refused rows by date and text, and the rows whose
// Date cannot be read ("" when none).
std::string RefusedRowsMessage(const CalendarImportResult& result);

// Copies the rows of [Velmora] of the file at `sourcePath` into [Velmora] of
// the calendar file at `targetPath`, in the source's order, all in one
// transaction. Columns are matched by name (any order, any older layout);
// the record number is given anew. A source without [Hr24] gets it from Hour
// and AM_PM, one without [DayColors] gets "FG;BG;FG;BG;3;3" from its colours,
// as the upgrade fills them. Without `importDuplicates` a row whose Date and
// Hour equal an existing row's and whose DateText equals it without regard to
// case is left out (rows added by this import count as existing).
// The Date is read as a typed date ("3/15/2024", the ISO form) and stored in
// the ISO form with its day key; a row whose Date names no day is left out and
// listed in the result. A row without colours gets black on white. Font,
// Priority, DayColors and Hr24 never refuse a row: a value the open calendar
// cannot hold gives way to the rule above or the table's default. A row the
// open calendar refuses otherwise is left out and listed in the result. Other failures go through `op` (step 1 opening, 2
// reading, 3 the commit) and keep nothing; so does progress (rows done, rows
// in all) answering false.
CalendarImportResult ImportCalendarRows(const std::string& sourcePath, const std::string& targetPath,
                                        bool importDuplicates, Operation& op,
                                        const std::function<bool(int64_t, int64_t)>& progress = {});

}  // namespace vm
