// Start-up of the real (headless) main window, from its construction to the
// current month shown, with a calendar of 5,000 records: 4,000 single dates,
// 800 yearly remembrances over 20 years, 150 monthly records over two years
// and 50 weekly ones over a year.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>

#include "core/dates.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/record.h"
#include "mainwindow/frmvelmora.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sqlstore.h"

namespace {

namespace fs = std::filesystem;

void EnsureApp() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "velmora_bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(argc, argv);
}

// A data folder whose default calendar holds the 5,000 records.
std::string MakeDataFolder() {
    std::string dir = (fs::temp_directory_path() / "velmora-bench-start-XXXXXX").string();
    if (!mkdtemp(dir.data())) return {};
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    vm::EnsureDataFolder();
    vm::db::RecordSource rs;
    rs.setDatabaseName(vm::DefaultCalendarPath());
    rs.setRecordSource("Velmora");
    rs.refresh();
    vm::db::Transaction tx(rs.database());
    for (int i = 0; i < 5000; ++i) {
        vm::DateRecord r;
        r.Date = vm::AddDays(vm::CivilDate{2024, 1, 1}, i % 1100);
        r.DateText = "Entry " + std::to_string(i);
        r.Hour = 1 + i % 12;
        r.Minute = (i * 7) % 60;
        r.AM_PM = i % 2 ? "PM" : "AM";
        r.Hr24 = vm::Hr24Rule(r.Hour, r.AM_PM, std::nullopt);
        r.WorkDay = true;
        if (i < 800) {
            r.Repeat = "Yearly";
            r.Duration = 20;
            r.DateType = "Birthday";
        } else if (i < 950) {
            r.Repeat = "Monthly";
            r.Duration = 24;
        } else if (i < 1000) {
            r.Repeat = "Weekly";
            r.Duration = 52;
        }
        rs.addNew();
        vm::WriteDateRecord(rs, r);
        rs.update();
    }
    tx.commit();
    return dir;
}

void BM_StartUp(benchmark::State& state) {
    EnsureApp();
    const std::string dir = MakeDataFolder();
    if (dir.empty()) {
        state.SkipWithError("cannot make a data folder");
        return;
    }
    vm::FakeMessages quiet;
    vm::SetMessages(&quiet);
    for (auto _ : state) {
        vm::ResetSharedState();
        vm::frmVelmora window;
        window.Form_Load();
        window.show();
        QApplication::processEvents();
        state.PauseTiming();
        window.unloadWaitMs = 0;
        window.Form_Unload();
        state.ResumeTiming();
    }
    state.counters["boxes"] = static_cast<double>(quiet.shown.size());
    vm::SetMessages(nullptr);
    std::error_code ec;
    fs::remove_all(dir, ec);
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
