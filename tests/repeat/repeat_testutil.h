// Builders and checks shared by the repeat tests.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/dates.h"
#include "repeat/expand.h"

namespace vmtest {

inline vm::CivilDate D(int y, int m, int d) { return vm::CivilDate{y, m, d}; }

// A visible working-day record with the given rule.
inline vm::DateRecord Rec(vm::CivilDate date, std::string rule, int64_t duration, int64_t id = 1) {
    vm::DateRecord r;
    r.ID = id;
    r.Date = date;
    r.JulDate = vm::Date2Julian(date);
    r.Repeat = std::move(rule);
    r.Duration = duration;
    r.WorkDay = true;
    r.DateText = "Entry";
    r.DateType = "Event";
    return r;
}

inline vm::DateRecord Holiday(vm::CivilDate date, std::string rule, int64_t duration, int64_t id = 1) {
    vm::DateRecord r = Rec(date, std::move(rule), duration, id);
    r.WorkDay = false;
    r.DateType = "Holiday";
    return r;
}

// Runs the engine; every row it gives must name a real day whose key it carries.
inline vm::Expansion Expand(const std::vector<vm::DateRecord>& records, const vm::RepeatOptions& options = {}) {
    vm::Expansion e = vm::ExpandRepeats(records, options);
    for (const auto& row : e.rows) {
        EXPECT_TRUE(row.Date.valid()) << vm::FormatMDY(row.Date);
        EXPECT_EQ(vm::Date2Julian(row.Date), row.JulDate) << vm::FormatMDY(row.Date);
    }
    return e;
}

// The "M/D/YYYY" texts of the rows of one kind, in order.
inline std::vector<std::string> Days(const vm::Expansion& e, vm::RowKind kind = vm::RowKind::Occurrence) {
    std::vector<std::string> out;
    for (const auto& row : e.rows)
        if (row.kind == kind) out.push_back(vm::FormatMDY(row.Date));
    return out;
}

inline std::vector<std::string> Days(const std::vector<vm::DateRecord>& records, const vm::RepeatOptions& options = {},
                                     vm::RowKind kind = vm::RowKind::Occurrence) {
    return Days(Expand(records, options), kind);
}

using Strings = std::vector<std::string>;

}  // namespace vmtest
