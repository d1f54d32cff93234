// The weekmask repeat rule: "WeekMask-" and one letter per day of the week,
// Sunday first, "T" or "Y" marking the day ("WeekMask-FTFTFTF": Monday,
// Wednesday, Friday). The repeat expansion writes its rows from here and the
// month build asks here whether a record has such rows.
#pragma once
#include <array>
#include <optional>
#include <string_view>

#include "core/dates.h"
#include "core/record.h"

namespace vm {

struct WeekMaskWeek {
    CivilDate before;                // the day before the rule's first day
    std::array<bool, 7> marked{};    // the marked days, from that first day on
};

// The first week of a weekmask rule given as `ruleLower` (the whole Repeat
// text in lower case: "weekmask-..."); nullopt for any other rule. A well
// formed mask (letters t, f, y, n only) starts on the Sunday of the record's
// week; any other text after "weekmask-" starts on the record's own day.
std::optional<WeekMaskWeek> ReadWeekMask(std::string_view ruleLower, const CivilDate& recordDate);

// True when the repeat expansion turns this record into weekmask rows: a
// visible record with Duration above 0, a date of the years 1 to 9999 and a
// weekmask rule that marks a day of those years; such a record reaches the
// cells through its rows only.
bool WeekMaskExpands(const DateRecord& record);

}  // namespace vm
