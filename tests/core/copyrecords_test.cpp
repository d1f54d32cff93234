// Copying listed date records to another year or date type: which records
// the filled boxes copy and where their dates move (the copy panel's window
// test covers a year copy of one type and the leap day left out).
#include <gtest/gtest.h>

#include "core/copyrecords.h"

using vm::CivilDate;
using vm::CopyRequest;

namespace {

TEST(CopyDecision, WhatTheFilledBoxesCopy) {
    CopyRequest years{"2023", "2024", "Holiday", "New Type"};
    CopyRequest type{"Orig Year", "New Year", "holiday", "Feast"};
    CopyRequest both{"2023", "2024", "Holiday", "Feast"};
    CopyRequest origOnly{"2023", "New Year", "Holiday", "New Type"};
    const CivilDate d23{2023, 3, 4}, d22{2022, 3, 4};
    struct Case {
        const char* what;
        CopyRequest req;
        CivilDate date;
        std::optional<std::string> type;
        bool copy;
        std::optional<CivilDate> newDate;
        std::optional<std::string> newType;
    } cases[] = {
        {"years: no type", years, d23, std::nullopt, true, CivilDate{2024, 3, 4}, std::nullopt},
        {"years: another year", years, d22, "Holiday", false, std::nullopt, std::nullopt},
        {"type: any case", type, d22, "HOLIDAY", true, std::nullopt, std::string("Feast")},
        {"type: other rows duplicated", type, d22, "Birthday", true, std::nullopt, std::nullopt},
        {"both: year moved and type", both, d23, "holiday", true, CivilDate{2024, 3, 4}, std::string("Feast")},
        {"only the original year", origOnly, d23, "Holiday", false, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const vm::CopyDecision d = vm::DecideCopy(c.req, c.date, c.type);
        EXPECT_EQ(d.copy, c.copy) << c.what;
        EXPECT_EQ(d.newDate, c.newDate) << c.what;
        EXPECT_EQ(d.newType, c.newType) << c.what;
    }
    EXPECT_TRUE(vm::CopyHasNothingToDo(CopyRequest{}));
    EXPECT_FALSE(vm::CopyHasNothingToDo(origOnly));
    EXPECT_EQ(vm::DecideCopy(CopyRequest{"2024", "2028", "Holiday", "New Type"}, {2024, 2, 29}, "Holiday").newDate,
              (CivilDate{2028, 2, 29}));
}

TEST(CopyDecision, YearBoxesAreReadAsTypedDatesYears) {
    for (auto [typed, year] : {std::pair{"30", 1930}, std::pair{"29", 2029}, std::pair{"5", 2005},
                               std::pair{" 2024 ", 2024}, std::pair{"030", 30}})
        EXPECT_EQ(vm::ReadCopyYear(typed), year) << typed;
    for (const char* none : {"2024.5", "2e3", "12345", "-5", "New Year", ""}) EXPECT_FALSE(vm::ReadCopyYear(none)) << none;
    EXPECT_EQ(vm::DecideCopy(CopyRequest{"24", "30", "Holiday", "New Type"}, {2024, 7, 4}, "Holiday").newDate,
              (CivilDate{1930, 7, 4}));
    EXPECT_FALSE(vm::DecideCopy(CopyRequest{"2024", "2024.5", "Holiday", "New Type"}, {2024, 7, 4}, "Holiday").copy);
    EXPECT_NE(vm::CopyRefusal(CopyRequest{"2024", "2024.5", "Holiday", "New Type"}), "");
    for (const char* fine : {"New Year", "", "30", "2025"})
        EXPECT_EQ(vm::CopyRefusal(CopyRequest{"2024", fine, "Holiday", "New Type"}), "") << fine;
    // A new type as long as a date type may be (counted in characters) is
    // copied; a longer one is refused before anything is written.
    std::string fifty;
    for (int i = 0; i < 50; ++i) fifty += "\u00e9";
    EXPECT_EQ(vm::CopyRefusal(CopyRequest{"Orig Year", "New Year", "", fifty}), "");
    EXPECT_EQ(vm::CopyRefusal(CopyRequest{"Orig Year", "New Year", "", std::string(50, 'x') + "y"}),
              "The New Type Text Can Not Be Longer Than 50 Characters.");
}

}  // namespace
