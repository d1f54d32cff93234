// Remembrance texts: years since the record's date, and the age at death.
#include <gtest/gtest.h>

#include <map>

#include "repeat/remembrance.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;

vm::BirthLookup Births(std::map<std::string, vm::CivilDate> known, Strings* asked = nullptr) {
    return [known, asked](const std::string& name) -> std::optional<vm::CivilDate> {
        if (asked) asked->push_back(name);
        auto it = known.find(name);
        return it == known.end() ? std::nullopt : std::optional<vm::CivilDate>(it->second);
    };
}

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
    EXPECT_EQ(vm::PrepareRemembrance("Event", "Birthday", D(2000, 5, 1), {}).Text(25), "Birthday  25 Years Since Birth ");
}

TEST(Remembrance, YearsSinceDropsTheRemainder) {
    EXPECT_EQ(vm::YearsSince(D(2023, 1, 1), D(2024, 1, 1)), 1);    // 365 days
    EXPECT_EQ(vm::YearsSince(D(2024, 1, 1), D(2024, 12, 30)), 0);  // 364 days
    EXPECT_EQ(vm::YearsSince(D(2024, 2, 29), D(2025, 2, 28)), 1);
}

TEST(Remembrance, NameOfTheDeadPerson) {
    const std::pair<const char*, const char*> cases[] = {
        {"Grandfather's Death", "Grandfather"}, {"  Uncle Bob  Death", "Uncle Bob"}, {"Jean-Luc death day", "Jean"},
        {"John Smith", "John Smith"},           {"Death of the king", ""},
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(vm::DeathLookupName(text), name) << text;
    Strings asked;
    vm::PrepareRemembrance("Event", "Death of the king", D(1980, 6, 1), Births({}, &asked));
    EXPECT_TRUE(asked.empty());  // an empty name is never looked up
}

TEST(Remembrance, AgeAtDeathWithOrWithoutABirthRecord) {
    const auto lookup = Births({{"Grandfather", D(1920, 5, 2)}, {"Founder", D(1900, 1, 1)}});
    const std::string lived = vm::DateDiffYearsMonthsDays(D(1920, 5, 2), D(2001, 3, 10), 1);
    EXPECT_EQ(vm::PrepareRemembrance("Event", "Grandfather's Death", D(2001, 3, 10), lookup).Text(3),
              "Grandfather's Death  3 Years Since Death  Lived: " + lived);
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
    options.calcYearsSince = false;
    const vm::Expansion off = Expand(records, options);
    EXPECT_EQ(off.DateTextOf(off.rows[0], birthday), "Sam's Birthday");
}

}  // namespace
