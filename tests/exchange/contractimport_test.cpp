// Dated status items of a contract database taken over as "Orvanta" records:
// both filters together, the record text with and without its project, the
// month's colours, and the kinds of dates the items carry (the fixture's).
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "contractfixture.h"
#include "core/contractimport.h"
#include "core/module1.h"
#include "platform/steps.h"

namespace db = vm::db;

namespace {

struct Imported {
    std::string text, date, type;
    int64_t jul, bg, fg;
    bool operator==(const Imported&) const = default;
};

std::vector<Imported> ReadImported(const std::string& path) {
    std::vector<Imported> out;
    auto st = db::Database::Open(path)->prepare(
        "SELECT [DateText], [Date], [DateType], [JulDate], [BGColor], [FGColor], [Hide], [Duration] FROM [Velmora] ORDER BY [ID]");
    while (st.step()) {
        EXPECT_EQ(db::AsInt(st.column(6), 99), 0);
        EXPECT_EQ(db::AsInt(st.column(7), 99), 0);
        out.push_back({db::AsText(st.column(0)), db::AsText(st.column(1)), db::AsText(st.column(2)),
                       db::AsInt(st.column(3)), db::AsInt(st.column(4)), db::AsInt(st.column(5))});
    }
    return out;
}

std::array<vm::MonthAppearance, 13> Months() {
    std::array<vm::MonthAppearance, 13> m{};
    for (int i = 1; i <= 12; ++i) {
        m[size_t(i)].DayBG = 1000 + i;
        m[size_t(i)].DayFG = 2000 + i;
    }
    return m;
}

TEST(ContractImport, EveryDatedItemPassingBothFiltersBecomesAColouredRecord) {
    // Independent day keys: 2026 is no leap year (Jan 31, Feb 28, Mar 31, ...).
    const Imported pour{"*P-7 - O'Brien Bridge - Pour", "2026-03-15", "Orvanta", 2026074, 1003, 2003};
    const Imported inspect{"*P-7 - O'Brien Bridge - Inspect", "2026-03-02", "Orvanta", 2026061, 1003, 2003};
    const Imported july{"*P-1 - Main Street - Pour", "2026-07-04", "Orvanta", 2026185, 1007, 2007};
    const Imported survey{"*Survey", "2026-12-01", "Orvanta", 2026335, 1012, 2012};
    const Imported walk{"*P-1 - Main Street - Owner's walk", "2026-01-05", "Orvanta", 2026005, 1001, 2001};
    struct Case {
        const char* what;
        vm::ContractFilter filter;
        std::vector<Imported> expected;
        int unreadable;
    };
    const Case cases[] = {
        {"all", {}, {pour, inspect, july, survey, walk}, 1},
        {"project 40000", {40000, std::nullopt}, {pour, inspect}, 0},
        {"project and type together", {40000, "Pour"}, {pour}, 0},
        {"type with apostrophe, other case", {std::nullopt, "OWNER'S WALK"}, {walk}, 0},
        {"type of another project", {12, "Inspect"}, {}, 0},
    };
    for (const Case& c : cases) {
        vmtest::Fixture fx;
        const std::string target = vmtest::FreshCalendar();
        auto con = vm::OpenContractFile(vmtest::MakeContractFile());
        vm::Operation op("ImportOrvanta_ContractFile_Error");
        const auto r = vm::ImportContractItems(*con, target, c.filter, Months(), op);
        EXPECT_TRUE(r.done) << c.what;
        EXPECT_EQ(r.added, int(c.expected.size())) << c.what;
        EXPECT_EQ(r.unreadable, c.unreadable) << c.what;
        EXPECT_EQ(ReadImported(target), c.expected) << c.what;
        EXPECT_TRUE(fx.messages.shown.empty()) << c.what;
    }
}

}  // namespace
