// Repeat expansion on the heavy calendar of 5,000 records (831,149 generated
// rows): the rules engine alone (warm: its first call in a fresh process is
// measured by bench/startup.sh), and the whole pass over a calendar file, its
// first run into an empty table, its pass after one record changed (that
// record's rows written again), and its check that finds nothing changed.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "calendars.h"
#include "core/files.h"
#include "core/module1.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "repeat/expand.h"
#include "repeat/repeatpass.h"

namespace {

namespace fs = std::filesystem;

void BM_RepeatEngine(benchmark::State& state) {
    const std::vector<vm::DateRecord> records = vmbench::HeavyCalendar();
    const vm::RepeatOptions options = vmbench::HeavyOptions();
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

// A folder with the heavy calendar's records in a calendar made from the
// blank template (no generated rows yet), and the file the pass works on.
class HeavyFiles {
public:
    HeavyFiles() {
        dir_ = (fs::temp_directory_path() / "velmora-bench-XXXXXX").string();
        if (!mkdtemp(dir_.data())) return;
        pristine_ = vm::JoinPath(dir_, "Records.mdb");
        if (!vm::CopyFileNoOverwrite(vm::BlankCalendarTemplate(), pristine_)) return;
        vmbench::AddRecords(pristine_, vmbench::HeavyCalendar());
        path = vm::JoinPath(dir_, "Velmoras.mdb");
        ok = true;
        vm::SetMessages(&quiet);
        vm::Module1.CalendarFilePath = path;
        vm::Module1.OptStartRepeatYear = "2019";
        vm::MainState.txtBeginRepeatYear = "2019";
        vm::Module1.OptCalcYearsSince = true;
    }
    ~HeavyFiles() {
        vm::SetMessages(nullptr);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    // The calendar with its records only.
    void Reset() {
        fs::copy_file(pristine_, path, fs::copy_options::overwrite_existing);
    }
    // An edit of one repeating record, as a user makes it.
    void Touch() {
        vm::db::Database::Open(path)->exec(
            "UPDATE [Velmora] SET [DateText] = [DateText] || '.' WHERE [ID] = (SELECT min([ID]) FROM [Velmora])");
    }
    void Report(benchmark::State& state) {
        auto count = vm::db::Database::Open(path)->prepare("SELECT count(*) FROM [RepeatingData]");
        count.step();
        state.counters["rows"] = static_cast<double>(vm::db::AsInt(count.column(0)));
        state.counters["messages"] = static_cast<double>(quiet.shown.size());
    }

    bool ok = false;
    std::string path;
    vm::FakeMessages quiet;

private:
    std::string dir_, pristine_;
};

// Times a pass over the heavy calendar made afresh from its records each
// time, after `prepare` (not timed) has done its part.
template <class Prepare>
void TimePassFromRecords(benchmark::State& state, Prepare prepare) {
    HeavyFiles files;
    if (!files.ok) return state.SkipWithError("no blank calendar template beside the benchmark");
    for (auto _ : state) {
        state.PauseTiming();
        files.Reset();
        vm::db::RecordSource DataDates;
        prepare(files, DataDates);
        state.ResumeTiming();
        vm::BuildRepeatingData(DataDates);
    }
    files.Report(state);
}

void BM_RepeatPassIntoEmptyTable(benchmark::State& state) {
    TimePassFromRecords(state, [](HeavyFiles&, vm::db::RecordSource&) {});
}
BENCHMARK(BM_RepeatPassIntoEmptyTable)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RepeatPassRebuildAfterAChange(benchmark::State& state) {
    HeavyFiles files;
    if (!files.ok) return state.SkipWithError("no blank calendar template beside the benchmark");
    files.Reset();
    vm::db::RecordSource DataDates;
    vm::BuildRepeatingData(DataDates);
    for (auto _ : state) {
        state.PauseTiming();
        DataDates.close();
        files.Touch();
        state.ResumeTiming();
        vm::BuildRepeatingData(DataDates);
    }
    files.Report(state);
}
BENCHMARK(BM_RepeatPassRebuildAfterAChange)->Unit(benchmark::kMillisecond)->Iterations(3);

// The grid's Hide header over a listing of nine in ten records: the pass
// after it takes their 750,000 rows out of the heavy calendar's table.
void BM_RepeatPassAfterMostRecordsHidden(benchmark::State& state) {
    TimePassFromRecords(state, [](HeavyFiles& files, vm::db::RecordSource& DataDates) {
        vm::BuildRepeatingData(DataDates);
        DataDates.close();
        vm::db::Database::Open(files.path)->exec("UPDATE [Velmora] SET [Hide] = -1 WHERE [ID] % 10 <> 0");
    });
}
BENCHMARK(BM_RepeatPassAfterMostRecordsHidden)->Unit(benchmark::kMillisecond)->Iterations(2);

// "Calc Years Since" turned off on the heavy calendar: the remembrance
// records' rows are written again, the others' stay.
void BM_RepeatPassYearsSinceTurnedOff(benchmark::State& state) {
    TimePassFromRecords(state, [](HeavyFiles&, vm::db::RecordSource& DataDates) {
        vm::Module1.OptCalcYearsSince = true;
        vm::BuildRepeatingData(DataDates);
        DataDates.close();
        vm::Module1.OptCalcYearsSince = false;
    });
    vm::Module1.OptCalcYearsSince = true;
}
BENCHMARK(BM_RepeatPassYearsSinceTurnedOff)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_RepeatPassUnchanged(benchmark::State& state) {
    HeavyFiles files;
    if (!files.ok) return state.SkipWithError("no blank calendar template beside the benchmark");
    files.Reset();
    vm::db::RecordSource DataDates;
    vm::BuildRepeatingData(DataDates);
    for (auto _ : state) vm::BuildRepeatingData(DataDates);
    files.Report(state);
}
BENCHMARK(BM_RepeatPassUnchanged)->Unit(benchmark::kMillisecond);

}  // namespace
