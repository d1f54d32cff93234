// Copying the listed date records to another year, another date type, or
// both: the copies are appended to [Velmora] in one transaction, so a failure
// leaves the table as it was. No window here; the caller runs the repeat
// expansion afterwards.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vm {

// The texts of the copy panel's boxes (placeholders included).
struct CopyRequest {
    std::string origYear = "Orig Year";   // txtOrigCopyYr
    std::string newYear = "New Year";     // txtNewCopyYr
    std::string oldType = "Old Type";     // cmbCopyDteTyp
    std::string newType = "New Type";     // txtRecDataType
};

// All three boxes untouched: nothing to do.
bool CopyHasNothingToDo(const CopyRequest& request);

// A year box read as a typed date's year: one or two digits in 1930..2029,
// three or four as written; nullopt for anything else ("2024.5", "Orig Year").
std::optional<int> ReadCopyYear(const std::string& text);
// The refusal of a New Year box filled with no year, or of a New Type
// longer than a date type may be ("" when both may be copied).
std::string CopyRefusal(const CopyRequest& request);

// What becomes of one listed record: skipped, or copied with these changes.
struct CopyDecision {
    bool copy = false;
    std::optional<CivilDate> newDate;     // moved to the new year
    std::optional<std::string> newType;   // given the new type
    bool leapDayLost = false;             // 29 February into a common year: not copied
};
// A record without a type (nullopt) is never left out for its type and
// never given the new one.
CopyDecision DecideCopy(const CopyRequest& request, const CivilDate& date, const std::optional<std::string>& dateType);

struct CopyOutcome {
    int copied = 0;
    std::vector<std::string> leapDaysSkipped;  // "2/29/2024 Leap party" of each record left out
};

// Copies the rows of `listed` (a record source over [Velmora] rows, read in
// its order) by the request, through [RepeatingData], in one transaction.
// Throws db::DbError when anything fails; nothing is then changed.
CopyOutcome CopyListedRecords(db::Database& store, const db::RecordSource& listed, const CopyRequest& request);

}  // namespace vm
