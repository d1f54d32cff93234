// Remembrance texts: years since the record's date, and the age at death.
#include <gtest/gtest.h>

#include "repeat/remembrance.h"
#include "repeat_testutil.h"

namespace {

using namespace vmtest;

TEST(Remembrance, LabelNameOfTheDeadAndWholeYears) {
    // The last of Birth/Wedding/Death in the text names the remembrance.
    EXPECT_EQ(vm::PrepareRemembrance("Birthday", "Death of a friend", D(2000, 1, 1), {}).tail, " Years Since Death ");
    EXPECT_FALSE(vm::PrepareRemembrance("Event", "Dentist", D(2000, 1, 1), {}).active);
    EXPECT_EQ(vm::YearsSince(D(2023, 1, 1), D(2024, 1, 1)), 1);  // 365 days make a year, 364 none
    EXPECT_EQ(vm::YearsSince(D(2024, 1, 1), D(2024, 12, 30)), 0);
    const std::pair<const char*, const char*> cases[] = {
        {"  Uncle Bob  Death", "Uncle Bob"}, {"Jean-Luc death day", "Jean"}, {"Death of the king", ""}};
    for (const auto& [text, name] : cases) EXPECT_EQ(vm::DeathLookupName(text), name) << text;
    bool asked = false;
    const vm::BirthLookup lookup = [&asked](const std::string&) -> std::optional<vm::CivilDate> {
        asked = true;
        return std::nullopt;
    };
    vm::PrepareRemembrance("Event", "Death of the king", D(1980, 6, 1), lookup);
    EXPECT_FALSE(asked) << "an empty name is never looked up";
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
