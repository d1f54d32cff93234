// Remembrance texts: years since the record's date, and the age at death.
#include <gtest/gtest.h>

#include "repeat/remembrance.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;

TEST(Remembrance, LabelIsTheLastWordFound) {
    const struct {
        const char *type, *text, *tail;  // tail nullptr: no remembrance
    } cases[] = {
        {"Birthday", "Mom", " Years Since Birth "},
        {"Holiday", "Wedding anniversary", " Years Since Wedding "},
        {"Birthday", "Death of a friend", " Years Since Death "},
        {"Event", "Dentist", nullptr},
    };
    for (const auto& c : cases) {
        const vm::Remembrance r = vm::PrepareRemembrance(c.type, c.text, D(2000, 1, 1), {});
        EXPECT_EQ(r.active, c.tail != nullptr) << c.text;
        EXPECT_EQ(r.tail, c.tail ? c.tail : "") << c.text;
    }
    // Whole years: 365 days make one, 364 none.
    EXPECT_EQ(vm::YearsSince(D(2023, 1, 1), D(2024, 1, 1)), 1);
    EXPECT_EQ(vm::YearsSince(D(2024, 1, 1), D(2024, 12, 30)), 0);
}

TEST(Remembrance, NameOfTheDeadPersonAndItsAge) {
    const std::pair<const char*, const char*> cases[] = {
        {"Grandfather's Death", "Grandfather"}, {"  Uncle Bob  Death", "Uncle Bob"}, {"Jean-Luc death day", "Jean"},
        {"John Smith", "John Smith"},           {"Death of the king", ""},
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(vm::DeathLookupName(text), name) << text;
    Strings asked;
    const vm::BirthLookup lookup = [&asked](const std::string& name) -> std::optional<vm::CivilDate> {
        asked.push_back(name);
        if (name == "Founder") return D(1900, 1, 1);
        return std::nullopt;
    };
    vm::PrepareRemembrance("Event", "Death of the king", D(1980, 6, 1), lookup);
    EXPECT_TRUE(asked.empty());  // an empty name is never looked up
    // "**" and what follows it are left out only when the age is known.
    EXPECT_EQ(vm::PrepareRemembrance("Event", "Founder Death ** notes", D(1980, 6, 1), lookup).head, "Founder Death  ");
    EXPECT_EQ(vm::PrepareRemembrance("Event", "Unknown Death ** notes", D(1980, 6, 1), lookup).Text(2),
              "Unknown Death ** notes  2 Years Since Death ");
}

TEST(Remembrance, OnOccurrenceRowsOnly) {
    vm::DateRecord birthday = Holiday(D(1960, 7, 4), "Yearly", 3);
    birthday.DateText = "Sam's Birthday";
    vm::DateRecord mask = Rec(D(2025, 1, 15), "weekmask-t", 1);
    mask.DateText = "Birthday week";
    vm::RepeatOptions options;
    options.calcYearsSince = true;
    options.startYear = 2019;
    const std::vector<vm::DateRecord> records{birthday, mask};
    const vm::Expansion e = Expand(records, options);
    Strings texts;
    for (const auto& row : e.rows) texts.push_back(e.DateTextOf(row, records[row.record]));
    // 4 July 2020 is a Saturday, 2021 a Sunday: each row has its observed copy.
    EXPECT_EQ(texts, (Strings{"Sam's Birthday  60 Years Since Birth ", " Sam's Birthday *OBSERVED*",
                              "Sam's Birthday  61 Years Since Birth ", " Sam's Birthday *OBSERVED*", "Birthday week"}));
}

}  // namespace
