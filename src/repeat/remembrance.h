// Remembrance texts: with the years-since option on, each generated row of a
// birthday, anniversary, wedding or death record tells in its DateText how
// many years have passed since the record's own date, and for a death whose
// person has a birth record, the age reached.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/dates.h"

namespace vm {

// The date of the birth record of a person: the last record, in ID order,
// whose DateText contains the name and the word "birth". Empty when none.
using BirthLookup = std::function<std::optional<CivilDate>(const std::string& name)>;

// A record's remembrance text, worked out once: every row then only adds its
// years count between the two halves.
struct Remembrance {
    bool active = false;  // false: the rows keep the record's DateText
    std::string head;     // the record's DateText (before any "**" when a lived text follows) and a blank
    std::string tail;     // " Years Since " and the label, then " Lived: " and the age when known
    std::string Text(int32_t years) const;
};

// DateType and DateText give the label ("Birth ", "Anniversary ", "Wedding ",
// "Death ", the last word found winning); a death record asks `lookup` for the
// person's birth date (an empty lookup finds none).
Remembrance PrepareRemembrance(std::string_view dateType, std::string_view dateText, const CivilDate& recordDate,
                               const BirthLookup& lookup);

// Whether the record's texts carry a label, so that its rows tell the years
// since when the option is on.
bool RemembersYears(std::string_view dateType, std::string_view dateText);

// Whole days from `from` to `to`, divided by 365, remainder dropped.
int32_t YearsSince(const CivilDate& from, const CivilDate& to);

// The person's name in a death record's DateText: the text before "death",
// cut before an apostrophe and then before a "-", trimmed ("Grandfather's
// Death" gives "Grandfather"). Without "death" in it, the whole text.
std::string DeathLookupName(std::string_view dateText);

}  // namespace vm
