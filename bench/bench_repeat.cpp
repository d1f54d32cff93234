// Repeat expansion on a generated heavy calendar of 5,000 records (about
// 830,000 generated rows): the rules engine alone, and the whole pass that
// rewrites [RepeatingData] of a calendar file.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/module1.h"
#include "core/record.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "repeat/expand.h"
#include "repeat/repeatpass.h"

namespace {

std::vector<vm::DateRecord> HeavyCalendar() {
    std::vector<vm::DateRecord> records;
    records.reserve(5000);
    auto add = [&](vm::CivilDate date, const std::string& rule, int64_t duration) -> vm::DateRecord& {
        vm::DateRecord r;
        r.ID = static_cast<int64_t>(records.size()) + 1;
        r.Date = date;
        r.JulDate = vm::Date2Julian(date);
        r.Repeat = rule;
        r.Duration = duration;
        r.WorkDay = true;
        r.Hour = 9;
        r.AM_PM = "AM";
        r.DateText = "Entry " + std::to_string(r.ID);
        r.DateType = "Event";
        r.Font = "DejaVu Sans, 10,False,False";
        r.DayColors = "0;16777215;0;16777215;3;3";
        r.Hr24 = 9;
        records.push_back(r);
        return records.back();
    };
    auto day = [](int i, int firstYear, int years) {
        return vm::CivilDate{firstYear + i % years, 1 + i % 12, 1 + (i * 7) % 28};
    };
    for (int i = 0; i < 1000; ++i) {  // birthdays, anniversaries and holidays
        vm::DateRecord& r = add(day(i, 1950, 70), "Yearly", 20);
        if (i % 10 == 0) {
            r.WorkDay = false;
            r.DateType = "Holiday";
        } else if (i % 3 == 0) {
            r.DateText += "'s Birthday";
        } else if (i % 50 == 1) {
            r.DateText += "'s Death";
        }
    }
    for (int i = 0; i < 300; ++i) add(day(i, 2015, 10), "Monthly", 240);
    for (int i = 0; i < 100; ++i) add(day(i, 2015, 10), "Weekly", 1040);
    for (int i = 0; i < 50; ++i) add(day(i, 2015, 10), "WeekMask-ftttttf", 1040);
    for (int i = 0; i < 50; ++i) add(day(i, 2018, 5), "Daily", 7300);
    for (int i = 0; i < 100; ++i) add(day(i, 2018, 5), "MonthWeek-2-Tue", 24);
    for (int i = 0; i < 100; ++i) add(day(i, 2000, 20), i % 2 ? "YearWeek-4-Thu-Nov" : "YearWeek-last-mon-may", 10);
    for (int i = 0; i < 100; ++i) add(day(i, 2018, 5), "Every-14", 50);
    for (int i = 0; i < 100; ++i) add(day(i, 2018, 5), "Quarterly", 20);
    for (int i = 0; i < 50; ++i) add(day(i, 2018, 5), "MonthLastDay", 24);
    for (int i = 0; i < 50; ++i) add(day(i, 2018, 5), "Hour-1", 10);
    while (records.size() < 5000) add(day(static_cast<int>(records.size()), 2015, 10), "None", 1);
    return records;
}

vm::RepeatOptions HeavyOptions() {
    vm::RepeatOptions options;
    options.startYear = 2019;
    options.calcYearsSince = true;
    options.birthDateOf = [](const std::string&) { return std::optional<vm::CivilDate>(vm::CivilDate{1920, 5, 2}); };
    return options;
}

void BM_RepeatEngine(benchmark::State& state) {
    const std::vector<vm::DateRecord> records = HeavyCalendar();
    const vm::RepeatOptions options = HeavyOptions();
    size_t rows = 0;
    for (auto _ : state) {
        const vm::Expansion e = vm::ExpandRepeats(records, options);
        benchmark::DoNotOptimize(e.rows.data());
        rows = e.rows.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.counters["occurrences/s"] =
        benchmark::Counter(static_cast<double>(rows) * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RepeatEngine)->Unit(benchmark::kMillisecond);

// A calendar file holding the heavy calendar, made from the blank template.
std::string HeavyCalendarFile() {
    std::string dir = (std::filesystem::temp_directory_path() / "velmora-bench-XXXXXX").string();
    if (!mkdtemp(dir.data())) return {};
    const std::string path = vm::JoinPath(dir, "Velmoras.mdb");
    if (!vm::CopyFileNoOverwrite(vm::JoinPath(vm::ProgramFolder(), "BlankVelmoras.mdb"), path)) return {};
    vm::db::RecordSource rs;
    rs.setDatabaseName(path);
    rs.setRecordSource("Velmora");
    rs.refresh();
    vm::db::Transaction tx(rs.database());
    for (const vm::DateRecord& r : HeavyCalendar()) {
        rs.addNew();
        vm::WriteDateRecord(rs, r);
        rs.update();
    }
    tx.commit();
    return path;
}

void BM_RepeatPass(benchmark::State& state) {
    const std::string path = HeavyCalendarFile();
    if (path.empty()) {
        state.SkipWithError("no blank calendar template beside the benchmark");
        return;
    }
    vm::FakeMessages quiet;
    vm::SetMessages(&quiet);
    vm::Module1.CalendarFilePath = path;
    vm::Module1.OptStartRepeatYear = "2019";
    vm::Module1.OptCalcYearsSince = true;
    vm::db::RecordSource DataDates;
    for (auto _ : state) vm::BuildRepeatingData(DataDates);

    auto count = vm::db::Database::Open(path)->prepare("SELECT count(*) FROM [RepeatingData]");
    count.step();
    state.counters["rows"] = static_cast<double>(vm::db::AsInt(count.column(0)));
    state.counters["messages"] = static_cast<double>(quiet.shown.size());
    vm::SetMessages(nullptr);
    std::error_code ec;
    std::filesystem::remove_all(std::filesystem::path(path).parent_path(), ec);
}
BENCHMARK(BM_RepeatPass)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
