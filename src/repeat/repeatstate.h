// Whether [RepeatingData] already holds what the expansion pass would write.
// Every successful pass leaves, in the same transaction as its rows, a
// fingerprint of everything it read in the calendar file's own bookkeeping
// table [RepeatState]: the repeating, visible [Velmora] rows (every column,
// its own Alarm writes included), the birth dates the remembrance texts look
// up, both tables' columns, the settings it uses and the rules version. When
// the fingerprint, the row count and the first and last row numbers of
// [RepeatingData] still match, the pass can be skipped.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "platform/sqlstore.h"

namespace vm {

// The version of the expansion rules. Bump it whenever a rule changes the rows
// or alarm lists it gives, so every calendar file is expanded again.
inline constexpr int kRepeatRulesVersion = 2;

// The bookkeeping table, made by the pass itself when a file lacks it.
inline constexpr const char* kRepeatStateTable = "RepeatState";

// The settings the pass uses.
struct RepeatInputs {
    int startYear = 0;
    bool calcYearsSince = false;
};

struct RepeatState {
    std::string fingerprint;
    int64_t rows = 0;       // rows the pass left in [RepeatingData]
    bool problems = false;  // the pass met rule problems, shown on every run
};

// The fingerprint of the calendar's present state (throws on a store failure).
// `passRows`, when given and bound to the pass's query on `db` and freshly
// refreshed, spares reading those records again; it is left on its first row.
std::string RepeatFingerprint(db::Database& db, const RepeatInputs& inputs, db::RecordSource* passRows = nullptr);

// The stored state when the calendar still matches it: same rules version,
// same fingerprint, and [RepeatingData] holding as many rows as were written,
// under the same row numbers.
// Nothing on any mismatch, missing table or failure.
std::optional<RepeatState> MatchingRepeatState(db::Database& db, const RepeatInputs& inputs,
                                               db::RecordSource* passRows = nullptr) noexcept;

// Records the state after a pass, inside the caller's transaction, with the
// rows [RepeatingData] then holds.
void SaveRepeatState(db::Database& db, const RepeatInputs& inputs, bool problems);

}  // namespace vm
