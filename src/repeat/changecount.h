// The count of changes to [Velmora], kept in the calendar file itself:
// triggers on [Velmora] add one to [RepeatChanges].[Changes] for every row
// inserted, updated or deleted, whoever writes the file (this program or
// another through plain SQLite). The pass stores in [Seen] the count its
// bookkeeping covers, so a start with both equal knows without reading a
// record that no record changed since the pass last ran.
#pragma once
#include <cstdint>

#include "platform/sqlstore.h"

namespace vm {

inline constexpr const char* kRepeatChangesTable = "RepeatChanges";

struct ChangeCount {
    bool watched = false;  // the table and all its triggers are in place, as made here
    int64_t changes = 0;   // moved by the triggers
    int64_t seen = -1;     // the count the pass's bookkeeping covers, -1 for none

    // Nothing was written to [Velmora] since the pass recorded `seen`.
    bool unchanged() const { return watched && seen >= 0 && changes == seen; }
};

// The count as the file holds it; not watched when anything is missing or
// cannot be read.
ChangeCount ReadChangeCount(db::Database& db) noexcept;

// The count, after making the table and its triggers in a transaction of
// their own when they are missing or not as made here (then nothing is seen
// yet). Made before the records are read, the count covers every write after
// that read. Not watched when the file cannot be written.
ChangeCount WatchChanges(db::Database& db) noexcept;

// Stores the count the pass's bookkeeping now covers (the transaction is the
// caller's, when it has one).
void RecordChangesSeen(db::Database& db, int64_t seen);

}  // namespace vm
