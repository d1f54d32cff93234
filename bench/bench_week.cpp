// The week view built from the store into its seven rich-text boxes, every
// line given its colours and font: a week holding 1,000 entries (records and
// occurrences, over the year end) in a calendar of 100,000 occurrence rows.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>

#include "benchsupport.h"
#include "core/dates.h"
#include "core/files.h"
#include "core/module1.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "records/frmweekview.h"

namespace {

namespace db = vm::db;
namespace fs = std::filesystem;

using vmbench::App;

const vm::CivilDate kSunday{2026, 12, 27};

std::string MakeCalendar(int occurrences, int weekEntries) {
    const std::string dir = vmbench::BenchDir("week");
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    const std::string path = dir + "/Week.mdb";
    fs::remove(path);
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    auto d = db::Database::Open(path);
    db::Transaction tx(*d);
    const std::string cols =
        " ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[Repeat],[DateType],[WorkDay],"
        "[Alarm],[SoundNum],[Font],[Priority],[DayColors],[Hr24]) VALUES (0,?,?,?,?,?,?,0,'','Event',-1,'',1,?,0,?,?)";
    auto occ = d->prepare("INSERT INTO [RepeatingData]" + cols);
    auto rec = d->prepare("INSERT INTO [Velmora]" + cols);
    auto add = [&](db::Statement& st, vm::CivilDate day, int i) {
        const int hour = i % 13, minute = (i * 7) % 60;
        const bool pm = i % 2;
        st.bindAll({db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour), db::Int(minute),
                    db::Text(pm ? "PM" : "AM"), db::Text("Entry number " + std::to_string(i % 40) + " && more"),
                    db::Text(i % 4 == 0 ? "Serif, 10,True,False" : ""),
                    db::Text(i % 3 == 0 ? "" : std::to_string(i * 977 % 16777216) + ";" +
                                                   std::to_string(i * 131 % 16777216) + ";0;0;3;3"),
                    db::Int(pm ? (hour % 12) + 12 : hour % 12)});
        st.run();
    };
    std::mt19937 rng(11);
    const int64_t span = vm::DaysFromCivil({2039, 12, 31}) - vm::DaysFromCivil({2000, 1, 1});
    const int64_t weekStart = vm::DaysFromCivil(kSunday);
    for (int i = 0; i < occurrences - weekEntries / 2; ++i) {
        vm::CivilDate day = vm::AddDays({2000, 1, 1}, static_cast<int64_t>(rng() % span));
        const int64_t n = vm::DaysFromCivil(day);
        if (n >= weekStart && n < weekStart + 7) day = vm::AddDays(day, 14);  // the week holds exactly its own
        add(occ, day, i);
    }
    for (int i = 0; i < weekEntries; ++i) add(i % 2 ? occ : rec, vm::AddDays(kSunday, i % 7), i);
    tx.commit();
    return path;
}

void BM_WeekViewBuild(benchmark::State& state) {
    App();
    static vm::FakeClock clock{{2026, 12, 30, 10, 0, 0}};
    vm::SetClock(&clock);
    vm::Module1.CalendarFilePath = MakeCalendar(100'000, 1'000);
    auto w = std::make_unique<vm::frmWeekView>();
    w->Form_Load();
    w->show();
    for (auto _ : state) {
        w->GetWeeksMsg(0);
        QCoreApplication::processEvents();  // the boxes lay out and paint their new text
    }
    state.counters["entries"] = 1000;
    w->Form_Unload();
    vm::SetClock(nullptr);
}
BENCHMARK(BM_WeekViewBuild)->Unit(benchmark::kMillisecond);

}  // namespace
