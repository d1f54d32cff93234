// Today's alarm queue in the real (headless) main window: a rebuild on a day
// with 74 entries of the records (37 records, each with an alarm 15 minutes
// before) and 20 daily alarms, 94 entries in all, in a month of 600 entries,
// read from the calendar file while another month is shown (under 5 ms);
// and a tick with nothing due (no database access).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "benchsupport.h"
#include "alarms/alarmtimer.h"
#include "core/appearance.h"
#include "core/dates.h"
#include "core/files.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/sqlstore.h"

namespace {

namespace db = vm::db;
namespace fs = std::filesystem;

using vmbench::App;

// December 2026 with 600 records, 37 of them on the 6th; 20 daily alarms.
void MakeFiles(std::string& calendar, std::string& settings) {
    const std::string dir = vmbench::BenchDir("alarms");
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    calendar = dir + "/Alarms.mdb";
    settings = dir + "/Velmora_Settings.mdb";
    fs::remove(calendar);
    fs::remove(settings);
    fs::copy_file(vm::BlankCalendarTemplate(), calendar);
    fs::copy_file(vm::BlankSettingsTemplate(), settings);
    {
        auto d = db::Database::Open(calendar);
        db::Transaction tx(*d);
        auto st = d->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[Repeat],"
            "[DateType],[WorkDay],[Alarm],[SoundNum],[Hr24]) VALUES (0,?,?,?,?,?,?,0,'','Event',-1,?,?,?)");
        for (int i = 0; i < 600; ++i) {
            const vm::CivilDate day = i < 37 ? vm::CivilDate{2026, 12, 6} : vm::CivilDate{2026, 12, 1 + i % 31};
            const int hour = 1 + i % 11, minute = (i * 7) % 60;
            const bool pm = i % 2;
            st.bindAll({db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour), db::Int(minute),
                        db::Text(pm ? "PM" : "AM"), db::Text("Entry number " + std::to_string(i)), db::Text("15"),
                        db::Int(1 + i % 30), db::Int(pm ? hour + 12 : hour)});
            st.run();
        }
        tx.commit();
    }
    auto s = db::Database::Open(settings);
    db::Transaction tx(*s);
    auto st = s->prepare("INSERT INTO [Alarms] ([Disable],[Hour],[Minute],[AMPM],[AlarmText],[SoundNum]) "
                         "VALUES (0,?,?,?,?,?)");
    for (int i = 0; i < 20; ++i) {
        st.bindAll({db::Int(1 + i % 12), db::Int((i * 11) % 60), db::Text(i % 2 ? "PM" : "AM"),
                    db::Text("Daily " + std::to_string(i)), db::Int(1 + i)});
        st.run();
    }
    tx.commit();
}

struct AlarmWindow {
    vm::FakeClock clock{{2026, 12, 6, 0, 0, 1}};
    std::unique_ptr<vm::frmVelmora> w;
    AlarmWindow() {
        App();
        vm::SetClock(&clock);
        MakeFiles(vm::Module1.CalendarFilePath, vm::MainState.pSettingsFile);
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->show();
        w->cmbMonth->setCurrentText("March");
        w->cmbYear->setCurrentText(" 2020");
        w->cmbmonth_Click();
    }
    ~AlarmWindow() {
        w.reset();
        vm::SetClock(nullptr);
    }
};

void BM_SetAlarms(benchmark::State& state) {
    AlarmWindow a;
    for (auto _ : state) a.w->SetAlarms();
    state.counters["entries"] = vm::Module1.Alarms.count();
}
BENCHMARK(BM_SetAlarms)->Unit(benchmark::kMicrosecond);

void BM_AlarmTickNothingDue(benchmark::State& state) {
    AlarmWindow a;
    a.w->SetAlarms();
    for (auto _ : state) a.w->alarmTimer->tmrWait_Timer();
    state.counters["entries"] = vm::Module1.Alarms.count();
}
BENCHMARK(BM_AlarmTickNothingDue)->Unit(benchmark::kMicrosecond);

}  // namespace
