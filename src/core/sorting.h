// The month's working rows: [Sorting] of the calendar file, one row per entry
// shown in a day cell, filled from the generated occurrences ([RepeatingData])
// and the date records ([Velmora]) of the shown month and read back in the
// order the cells show them. Also the written time of an entry.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/record.h"
#include "core/sortedmonth.h"
#include "platform/sqlstore.h"

namespace vm {

// One row of [Sorting].
struct SortingRow {
    int DayNo = 0;          // cell index 0..41
    std::string Hour, Min;  // the record's Hour and Minute as text
    std::string AMPM;
    std::string DayMsg;     // the record's DateText
    std::string Alarm;
    db::Value SoundNum, JulDate, Date;  // as stored
    std::string Font, DayColors;        // without surrounding blanks
    db::Value Priority;                 // as stored
    std::string TimeSort;               // "13:15"
    std::optional<int> Hr24;

    int PriorityValue() const;          // 0 when empty
};

// The written time before an entry's text: "7:05 PM " (hour unpadded, two
// minute digits, the whole AM/PM text, one closing blank); empty when a part
// is not valid or when hour and minute are both 0.
std::string BuildTimeString(std::string_view hour, std::string_view min, std::string_view ampm);

// "13:15": the hour on a 24-hour clock (PM adds 12 to 1..11) and the minute,
// two digits each; empty or non-numeric parts count as 0.
std::string TimeSortText(std::string_view hour, std::string_view min, std::string_view ampm);

// The hour on a 24-hour clock by the Hr24 rule; nullopt when the AM/PM text
// holds neither "AM" nor "PM" (as the calendar upgrade leaves such rows).
std::optional<int> SortingHr24(std::string_view hour, std::string_view ampm);

// The month's date-record query: the days firstKey..lastKey (day keys of one
// year) of [table]. Numeric bounds only.
std::string MonthRangeSQL(std::string_view table, int32_t firstKey, int32_t lastKey);
inline constexpr const char* kMonthQueryOrder = " ORDER BY [JulDate],[Hr24],[AM_PM],[Hour],[Minute],[ID]";
inline constexpr const char* kSortingDisplaySQL =
    "SELECT * FROM [Sorting] ORDER BY [DayNo],[Priority]DESC,[Hr24],[AMPM],[Hour],[Min]";


// The generated occurrences of the days firstKey..lastKey as [Sorting] rows,
// in the order of their row numbers within each day. Columns an old file
// lacks are read as empty. The vector has room for `room` rows more.
std::vector<SortingRow> ReadMonthOccurrences(db::Database& db, int32_t firstKey, int32_t lastKey, int firstCell,
                                             size_t room = 0);

// The rows of a record source on [Velmora] (walked from the first to the
// end) as [Sorting] rows, leaving out those not shown in the cells: hidden
// records, and weekmask records that the expansion shows through their rows.
std::vector<SortingRow> ReadMonthDateRecords(db::RecordSource& source, int32_t firstKey, int firstCell);
// The same straight from the query `sql` on [Velmora], without a record source.
std::vector<SortingRow> ReadMonthDateRecords(db::Database& db, const std::string& sql, int32_t firstKey,
                                             int firstCell);

// Empties [Sorting] and stores the rows, all in one transaction. With
// `stamp` (the rows' SortingFingerprint), the stamp is kept beside them, and
// with `month` too, the month they were read for (see sortedmonth.h).
void ReplaceSortingRows(db::Database& db, const std::vector<SortingRow>& rows,
                        std::optional<uint64_t> stamp = std::nullopt, const SortedMonth* month = nullptr);
// The stamp kept with the rows [Sorting] holds: triggers on [Sorting] take
// it away at any other write to the table, whoever makes it. Nothing when
// there is none (or the triggers are missing, or the file is only read).
std::optional<uint64_t> KeptSortingStamp(db::Database& db) noexcept;
// Keeps the stamp of the rows [Sorting] holds now (and the month they are
// of, when given), in a transaction of its own.
void KeepSortingStamp(db::Database& db, uint64_t stamp, const SortedMonth* month = nullptr);
void EmptySorting(db::Database& db);

// Cells whose rows are wanted whole besides: the cells from..to, and their
// rows, when `read` (a failure to read them fails nothing else).
struct WholeCells {
    int from = 0, to = -1;
    std::vector<SortingRow> rows;
    bool read = false;
};

// Every row of [Sorting] in the order stored, as ArrangeForDisplay gave them
// to ReplaceSortingRows, one at a time and each in the same object (no copy
// of the month is made), with only what PlaceEntry writes into the cells
// read: the sound, the dates, TimeSort and Hr24 stay empty. With `whole`,
// the rows of its cells are then read again with every field into its
// rows (they lie together, the rows being stored by cell). False, and
// nothing read, when the table lacks one of its columns.
bool ForEachSortingRowForCells(db::Database& db, const std::function<void(const SortingRow&)>& take,
                               WholeCells* whole = nullptr);

// The rows of the days firstKey..lastKey straight from [Sorting], as
// ReadMonthOccurrences and ReadMonthDateRecords give them once arranged for
// display (their cells counted from firstCell), when the table holds them
// for a month kept beside it that is still the file's: `changes` is the
// change count of [Velmora] now. Nothing otherwise (nor on any failure to
// read): the records are to be read.
std::optional<std::vector<SortingRow>> ReadKeptDays(db::Database& db, int64_t changes, int32_t firstKey,
                                                  int32_t lastKey, int firstCell) noexcept;

// [Sorting] in display order: by cell, falling priority, then time of day.
std::vector<SortingRow> ReadSortingInDisplayOrder(db::Database& db);

// The rows as ReplaceSortingRows stores them and ReadSortingInDisplayOrder
// gives them back, without the round trip: values in the column types of
// [Sorting], in display order (rows alike in every key keep their order).
void ArrangeForDisplay(std::vector<SortingRow>& rows);

// The rows as ReplaceSortingRows would store them in this file, as one
// number, and the rows [Sorting] holds now, read back the same way: equal
// when the table already holds the rows.
uint64_t SortingFingerprint(db::Database& db, const std::vector<SortingRow>& rows);
uint64_t StoredSortingFingerprint(db::Database& db);
// The rows [Sorting] holds now (-1 when it cannot be read).
int64_t CountSortingRows(db::Database& db);

}  // namespace vm
