// The work-day calculator over a hundred years of holidays.
#include <benchmark/benchmark.h>

#include "benchsupport.h"
#include "calendars.h"
#include "core/daycalc.h"
#include "core/module1.h"
#include "platform/places.h"
#include "repeat/repeatpass.h"

namespace {

// A calendar made from the blank template in a folder of the run's own
// (removed when the program ends); empty when there is no template.
std::string BlankCalendar() {
    const std::string path = vmbench::BenchDir("velmora-workdays") + "/Velmoras.mdb";
    return vm::CopyFileNoOverwrite(vm::JoinPath(vm::ProgramFolder(), "BlankVelmoras.mdb"), path) ? path : "";
}

void BM_WorkDaysOverACentury(benchmark::State& state) {
    const std::string path = BlankCalendar();
    if (path.empty()) return state.SkipWithError("no blank calendar template beside the benchmark");
    {
        auto d = vm::db::Database::Open(path);
        vm::db::Transaction tx(*d);
        auto ins = d->prepare("INSERT INTO [RepeatingData] ([Date], [JulDate], [DateText], [DateType], [WorkDay], "
                              "[Hide]) VALUES (?, ?, 'Holiday', 'Holiday', 0, 0)");
        // Twenty holidays a year for a hundred years: 2,000 rows.
        for (int y = 1950; y < 2050; ++y)
            for (int k = 0; k < 20; ++k) {
                const vm::CivilDate day = vm::AddDays({y, 1, 1}, k * 18);
                ins.bindAll({vm::db::Text(vm::FormatIso(day)), vm::db::Int(vm::Date2Julian(day))});
                ins.run();
            }
        tx.commit();
    }
    auto d = vm::db::Database::Open(path);
    for (auto _ : state) benchmark::DoNotOptimize(vm::CountWorkDays(*d, "1/1/1950", "12/31/2049"));
    d.reset();
}
BENCHMARK(BM_WorkDaysOverACentury)->Unit(benchmark::kMillisecond);

// Nineteen years of work days on the heavy calendar (5,000 records, some
// 830,000 occurrences): the count and the listing of the holidays.
void BM_WorkDaysOnTheHeavyCalendar(benchmark::State& state) {
    const std::string path = BlankCalendar();
    if (path.empty()) return state.SkipWithError("no blank calendar template beside the benchmark");
    vmbench::AddRecords(path, vmbench::HeavyCalendar());
    vm::Module1.CalendarFilePath = path;
    vm::MainState.txtBeginRepeatYear = "2019";
    {
        vm::db::RecordSource dates;
        vm::BuildRepeatingData(dates);
    }
    auto d = vm::db::Database::Open(path);
    for (auto _ : state) {
        benchmark::DoNotOptimize(vm::CountWorkDays(*d, "1/1/2020", "11/15/2038"));
        const bool wide = vm::SpansMostOccurrences(*d, {2020, 1, 1}, {2038, 11, 15});
        auto listed = d->prepare("SELECT count(*) FROM [RepeatingData] WHERE " + vm::HolidayCondition(wide));
        listed.bindAll({vm::db::Int(vm::Date2Julian(vm::CivilDate{2020, 1, 1})), vm::db::Int(vm::Date2Julian(vm::CivilDate{2038, 11, 15}))});
        listed.step();
        benchmark::DoNotOptimize(vm::db::AsInt(listed.column(0)));
    }
    d.reset();
}
BENCHMARK(BM_WorkDaysOnTheHeavyCalendar)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
