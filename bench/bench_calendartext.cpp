// Text export and import of 100,000 date records: the export walks a record
// source over [Velmora] and writes the file; the import reads the file in
// pieces, checks every line and stores the records in a fresh calendar file.
// Then a 200 MB import with its peak memory.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "benchsupport.h"
#include "core/calendartext.h"
#include "core/dates.h"
#include "core/files.h"
#include "platform/sqlstore.h"

namespace {

namespace db = vm::db;
namespace fs = std::filesystem;

constexpr int kRecords = 100000;

const std::string& TextDir() {
    static const std::string dir = vmbench::BenchDir("text");
    return dir;
}

std::string FreshCalendar(const std::string& name) {
    const std::string path = TextDir() + "/" + name;
    fs::remove(path);
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    return path;
}

// 100,000 records over 2020..2029 with times, texts holding commas, quotes
// and line breaks, alarms, fonts, colours and priorities.
const std::string& FullCalendar() {
    static const std::string path = [] {
        const std::string p = FreshCalendar("Full.mdb");
        auto d = db::Database::Open(p);
        db::Transaction tx(*d);
        auto st = d->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[Repeat],"
            "[DateType],[WorkDay],[Alarm],[SoundNum],[Font],[Priority],[DayColors],[Hr24]) "
            "VALUES (0,?,?,?,?,?,?,0,'None','Event',-1,'15,-10',3,'Arial, 12,True,False',?,'255;0;255;0;3;3',?)");
        for (int i = 0; i < kRecords; ++i) {
            const vm::CivilDate day = vm::AddDays(vm::CivilDate{2020, 1, 1}, i % 3650);
            const int hour = 1 + i % 12;
            const bool pm = i % 2;
            st.bindAll({db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour),
                        db::Int((i * 7) % 60), db::Text(pm ? "PM" : "AM"),
                        db::Text("Entry " + std::to_string(i) + ", with \"quotes\"\r\nand a second line"),
                        db::Int(i % 256), db::Int(pm ? (hour % 12) + 12 : hour % 12)});
            st.run();
        }
        tx.commit();
        return p;
    }();
    return path;
}

vm::ExportBoxes AllBoxes() {
    vm::ExportBoxes b{};
    b.fill(true);
    return b;
}

void BM_ExportText100k(benchmark::State& state) {
    const std::string out = TextDir() + "/export.txt";
    const std::string& calendar = FullCalendar();  // made once, outside the timing
    int64_t written = 0;
    for (auto _ : state) {
        // The date grid's query over all the records, then the file.
        db::RecordSource rs;
        rs.setDatabaseName(calendar);
        rs.setRecordSource("SELECT * FROM [Velmora] ORDER BY [JulDate],[Hr24],[AM_PM],[Hour],[Minute],[ID]");
        rs.refresh();
        written = vm::WriteCalendarExport(out, rs, AllBoxes());
    }
    if (written != kRecords) state.SkipWithError("wrong record count");
    state.counters["records"] = static_cast<double>(written);
}
BENCHMARK(BM_ExportText100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ImportText100k(benchmark::State& state) {
    const std::string file = TextDir() + "/import.txt";
    {
        db::RecordSource rs;
        rs.setDatabaseName(FullCalendar());
        rs.setRecordSource("SELECT * FROM [Velmora]");
        rs.refresh();
        vm::WriteCalendarExport(file, rs, AllBoxes());
    }
    int64_t stored = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string target = FreshCalendar("Import.mdb");
        state.ResumeTiming();
        auto d = db::Database::Open(target);
        stored = vm::ImportCalendarText(file, *d, vm::DefaultFieldPositions()).imported;
    }
    if (stored != kRecords) state.SkipWithError("wrong record count");
    state.counters["records"] = static_cast<double>(stored);
}
BENCHMARK(BM_ImportText100k)->Unit(benchmark::kMillisecond)->Iterations(3);

// The peak resident memory since the last reset, in MB (Linux).
double PeakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
void ResetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

// A 200 MB file, read in pieces: the memory the import takes beyond what
// the process held before stays far below the file's size.
void BM_ImportText200MB(benchmark::State& state) {
    const std::string file = TextDir() + "/big.txt";
    int64_t lines = 0;
    {
        std::ofstream out(file, std::ios::binary);
        const std::string pad(40, 'x');
        for (int64_t size = 0; size < (200 << 20); ++lines) {
            const std::string line = "\"False\",\"3/5/2026\",\"9:05 AM\",\"Entry " + std::to_string(lines) + " " + pad +
                                     "\",\"0\",\"\",\"Event\",\"True\",\"15--10\",\"3\",\"\",\"\",\"7\"\r\n";
            out << line;
            size += static_cast<int64_t>(line.size());
        }
    }
    int64_t stored = 0;
    double before = 0, peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string target = FreshCalendar("Big.mdb");
        ResetPeak();
        before = PeakMegabytes();
        state.ResumeTiming();
        auto d = db::Database::Open(target);
        stored = vm::ImportCalendarText(file, *d, vm::DefaultFieldPositions()).imported;
        peak = PeakMegabytes();
    }
    fs::remove(file);
    if (stored != lines) state.SkipWithError("wrong record count");
    state.counters["records"] = static_cast<double>(stored);
    state.counters["peak_MB"] = peak;
    state.counters["grown_MB"] = peak - before;
}
BENCHMARK(BM_ImportText200MB)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
