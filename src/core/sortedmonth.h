// The month [Sorting] was filled for, kept beside it in [SortingSource], so
// that the same month shown again on a calendar nothing was written to since
// is read back from [Sorting] alone: one short sequential read in place of
// the month's occurrences scattered over [RepeatingData].
//
// What the rows of a month are made of, and what watches each part:
// - the date records: the change count of [Velmora] (its own triggers);
// - the occurrences: triggers on [RepeatingData] empty [SortingSource] at
//   any write to it, whoever makes it; the repeat pass takes them off for
//   its own write and puts them back, emptying [SortingSource] itself;
// - the tables' columns: the file's schema version;
// - [Sorting] itself: its kept stamp (see sorting.h).
#pragma once
#include <cstdint>
#include <optional>

#include "platform/sqlstore.h"

namespace vm {

struct SortedMonth {
    int64_t changes = 0;  // of [Velmora], as the change count had it
    int64_t layout = 0;   // the file's schema version
    int32_t firstKey = 0, lastKey = 0;
    int firstCell = 0;
    bool operator==(const SortedMonth&) const = default;
};

// The month as it stands now in the file, for the given change count of
// [Velmora] (read before the month's rows are); nothing for a file that may
// only be read.
std::optional<SortedMonth> MonthNow(db::Database& db, int64_t changes, int32_t firstKey, int32_t lastKey,
                                    int firstCell) noexcept;

// [SortingSource]'s month, when it and the triggers watching [RepeatingData]
// are in place as made here.
std::optional<SortedMonth> KeptMonth(db::Database& db) noexcept;

// The file's schema version now.
int64_t SchemaVersion(db::Database& db);

// Keeps `month` as the month [Sorting] now holds, inside the caller's
// transaction, after its last change to the tables' layout; `layoutAtStart`
// is the schema version when that transaction began: a layout changed since
// `month` was taken keeps no month.
void PutKeptMonth(db::Database& db, const SortedMonth& month, int64_t layoutAtStart);
// No month kept (inside the caller's transaction).
void ForgetKeptMonth(db::Database& db);

// The repeat pass's own write to [RepeatingData]: the watching triggers off
// for it (and the kept month forgotten), then back on; both inside the
// pass's transaction.
void OccurrenceWriteBegins(db::Database& db);
void OccurrenceWriteEnds(db::Database& db);

}  // namespace vm
