// The calendars the benchmarks measure: the typical mix (single dates with a
// few yearly, monthly and weekly records) and the heavy mix (every rule, long
// durations: about 166 occurrence rows per record).
#pragma once
#include <string>
#include <vector>

#include "core/record.h"
#include "repeat/expand.h"

namespace vmbench {

// `n` records: 80% single dates, 16% yearly remembrances over 20 years,
// 3% monthly over two years, 1% weekly over a year.
std::vector<vm::DateRecord> TypicalCalendar(int n = 5000);

// `n` records of the heavy mix (5,000 give 831,149 rows with HeavyOptions).
std::vector<vm::DateRecord> HeavyCalendar(int n = 5000);

// The settings the heavy figures are taken with: start year 2019, years since on.
vm::RepeatOptions HeavyOptions();

// Appends the records to [Velmora] of the calendar file at `path`, in one transaction.
void AddRecords(const std::string& path, const std::vector<vm::DateRecord>& records);

}  // namespace vmbench
