// The month build from the store to the 84 cell labels of the real (headless)
// main window, in a calendar of 100,000 occurrence rows. Each build shows
// the other of two months, so every label changes as it does for a user who
// pages: two months of 1,000 entries each (records and occurrences), two of
// 10,000, and two months with nothing at all in their six weeks. The floor is
// what no build can go below: one query over both tables for the month, the
// 42 entry texts set on their labels and one paint. Each build is followed by
// the paint it asks for, as the event loop gives it; the last benchmarks time
// build and floor side by side and give their ratio.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QAction>
#include <QLabel>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <vector>

#include "benchsupport.h"
#include "core/appearance.h"
#include "core/dates.h"
#include "core/files.h"
#include "core/module1.h"
#include "mainwindow/celllabel.h"
#include "mainwindow/frmvelmora.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "repeat/changecount.h"
#include "platform/sqlstore.h"

namespace {

namespace db = vm::db;
namespace fs = std::filesystem;

using vmbench::App;

// A calendar with `occurrences` rows in [RepeatingData] spread over 2000..2039
// and, in March and in May 2026, `monthEntries` entries each (half records,
// half occurrences), several per day with times, colours, fonts and alarms.
// July to November 2026 hold nothing.
std::string MakeCalendar(int occurrences, int monthEntries) {
    const std::string dir = (fs::temp_directory_path() / ("velmora-bench-month-" + std::to_string(getpid()))).string();
    fs::create_directories(dir);
    setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
    const std::string path = dir + "/Month.mdb";
    fs::remove(path);
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    auto d = db::Database::Open(path);
    db::Transaction tx(*d);
    const std::string cols =
        " ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[Repeat],[DateType],[WorkDay],"
        "[Alarm],[SoundNum],[Font],[Priority],[DayColors],[Hr24]) VALUES (0,?,?,?,?,?,?,0,'',"
        "'Event',-1,?,1,?,?,?,?)";
    auto occ = d->prepare("INSERT INTO [RepeatingData]" + cols);
    auto rec = d->prepare("INSERT INTO [Velmora]" + cols);
    std::mt19937 rng(7);
    auto add = [&](db::Statement& st, vm::CivilDate day, int i) {
        const int hour = 1 + i % 12, minute = (i * 7) % 60;
        const bool pm = i % 2;
        st.bindAll({db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour), db::Int(minute),
                    db::Text(pm ? "PM" : "AM"), db::Text("Entry number " + std::to_string(i)),
                    db::Text(i % 5 == 0 ? "15" : ""), db::Text(i % 9 == 0 ? "Serif, 10,True,False" : ""),
                    db::Int(i % 13 == 0 ? 3 : 0),
                    db::Text(i % 3 == 0 ? "255;16777215;0;65535;3;3" : ""),
                    db::Int(pm ? (hour % 12) + 12 : hour % 12)});
        st.run();
    };
    const int64_t span = vm::DaysFromCivil({2039, 12, 31}) - vm::DaysFromCivil({2000, 1, 1});
    for (int i = 0; i < occurrences - monthEntries; ++i) {
        vm::CivilDate day = vm::AddDays({2000, 1, 1}, static_cast<int64_t>(rng() % span));
        // The two busy months hold exactly their own entries, the quiet ones none.
        if (day.y == 2026 && (day.m == 3 || day.m == 5 || (day.m >= 7 && day.m <= 11))) day.y = 2027;
        add(occ, day, i);
    }
    for (int month : {3, 5})
        for (int i = 0; i < monthEntries; ++i)
            add(i % 2 ? occ : rec, vm::AddDays({2026, month, 1}, i % 31), month * 10000 + i);
    tx.commit();
    return path;
}

struct MonthWindow {
    std::unique_ptr<vm::frmVelmora> w;
    MonthWindow(int occurrences, int monthEntries) {
        App();
        vm::Module1.CalendarFilePath = MakeCalendar(occurrences, monthEntries);
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->SetToday(vm::CivilDate{2026, 3, 10});
        w->show();
        w->cmbYear->setCurrentText(" 2026");
    }
    ~MonthWindow() {
        const fs::path dir = fs::path(vm::Module1.CalendarFilePath).parent_path();
        w.reset();
        std::error_code ec;
        fs::remove_all(dir, ec);
    }
    // Builds one month, then the other, and so on, as the month box does,
    // and lets the window paint.
    void Build(const char* first, const char* second) {
        w->cmbMonth->setCurrentText(flip_ ? second : first);
        flip_ = !flip_;
        w->cmbmonth_Click();
        QApplication::processEvents();
    }
    bool flip_ = false;
};

// The floor: one query over both tables and 42 label texts, then one paint,
// on a window of its own the size of the main window.
class Floor {
public:
    explicit Floor(MonthWindow&)
        : d_(db::Database::Open(vm::Module1.CalendarFilePath)),
          st_(d_->prepare("SELECT [JulDate], [Hour], [Minute], [AM_PM], [DateText], [Font], [DayColors] FROM "
                          "[RepeatingData] WHERE [JulDate] BETWEEN ?1 AND ?2 UNION ALL SELECT [JulDate], [Hour], "
                          "[Minute], [AM_PM], [DateText], [Font], [DayColors] FROM [Velmora] WHERE [JulDate] "
                          "BETWEEN ?1 AND ?2 ORDER BY 1, 2, 3")) {
        window_.resize(1280, 800);
        for (int i = 0; i < 42; ++i) {  // placed as the day cells are
            QLabel* label = labels_[static_cast<size_t>(i)] = new QLabel(&window_);
            label->setTextFormat(Qt::PlainText);
            label->setWordWrap(true);
            label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            label->setGeometry(20 + (i % 7) * 170, 20 + (i / 7) * 125, 165, 120);
        }
        window_.show();
        QApplication::processEvents();
    }
    void Run(bool sameMonth = false) {
        const int month = flip_ && !sameMonth ? 5 : 3;
        flip_ = !flip_;
        const int32_t first = vm::Date2Julian(vm::CivilDate{2026, month, 1});
        st_.bind(1, db::Int(first)).bind(2, db::Int(first + 41));
        std::array<std::string, 42> texts;
        while (st_.step()) {
            const size_t cell = static_cast<size_t>(db::AsInt(st_.column(0)) - first) % 42;
            texts[cell] += db::AsText(st_.column(1)) + ":" + db::AsText(st_.column(2)) + " " +
                           db::AsText(st_.column(3)) + " " + db::AsText(st_.column(4)) + db::AsText(st_.column(5)) +
                           db::AsText(st_.column(6)) + "\n";
        }
        st_.reset();
        for (size_t i = 0; i < 42; ++i) labels_[i]->setText(QString::fromStdString(texts[i]));
        QApplication::processEvents();
    }

private:
    QWidget window_;
    std::array<QLabel*, 42> labels_{};
    std::shared_ptr<db::Database> d_;
    db::Statement st_;
    bool flip_ = false;
};

void BM_MonthBuild(benchmark::State& state) {
    MonthWindow m(100'000, 1'000);
    for (auto _ : state) m.Build("March", "May");
    state.counters["entries"] = 1000;
}
BENCHMARK(BM_MonthBuild)->Unit(benchmark::kMillisecond);

void BM_MonthBuildEmptyMonth(benchmark::State& state) {
    MonthWindow m(100'000, 1'000);
    for (auto _ : state) m.Build("August", "October");
}
BENCHMARK(BM_MonthBuildEmptyMonth)->Unit(benchmark::kMillisecond);

void BM_MonthBuild10000(benchmark::State& state) {
    MonthWindow m(100'000, 10'000);
    for (auto _ : state) m.Build("March", "May");
    state.counters["entries"] = 10000;
}
BENCHMARK(BM_MonthBuild10000)->Unit(benchmark::kMillisecond);

// One query over both tables, 42 label texts and a paint, for the same months.
void MonthFloor(benchmark::State& state, int entries) {
    MonthWindow m(100'000, entries);
    Floor floor(m);
    for (auto _ : state) floor.Run();
    state.counters["entries"] = entries;
}
void BM_MonthFloor(benchmark::State& state) { MonthFloor(state, 1'000); }
BENCHMARK(BM_MonthFloor)->Unit(benchmark::kMillisecond);
void BM_MonthFloor10000(benchmark::State& state) { MonthFloor(state, 10'000); }
BENCHMARK(BM_MonthFloor10000)->Unit(benchmark::kMillisecond);

// The build and its floor in turn on the same window: the ratio of their
// medians is the month build's target (at most 5).
// With `again`, the same month is shown each time on a calendar whose
// changes are watched: from the second time on it is read back from [Sorting].
void MonthAgainstFloor(benchmark::State& state, int entries, bool again = false) {
    MonthWindow m(100'000, entries);
    Floor floor(m);
    if (again) {
        vm::WatchChanges(*db::Database::Open(vm::Module1.CalendarFilePath));
        m.Build("March", "March");
    }
    using Clock = std::chrono::steady_clock;
    std::vector<double> build, bare;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        m.Build("March", again ? "March" : "May");
        const auto t1 = Clock::now();
        floor.Run(again);
        const auto t2 = Clock::now();
        build.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
        bare.push_back(std::chrono::duration<double, std::milli>(t2 - t1).count());
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v.empty() ? 0.0 : v[v.size() / 2];
    };
    state.counters["build_ms"] = median(build);
    state.counters["floor_ms"] = median(bare);
    state.counters["ratio"] = median(build) / std::max(1e-9, median(bare));
    state.counters["entries"] = entries;
}
void BM_MonthBuildAgainstFloor(benchmark::State& state) { MonthAgainstFloor(state, 1'000); }
BENCHMARK(BM_MonthBuildAgainstFloor)->Unit(benchmark::kMillisecond)->Iterations(30);
void BM_MonthBuildAgainstFloor10000(benchmark::State& state) { MonthAgainstFloor(state, 10'000); }
BENCHMARK(BM_MonthBuildAgainstFloor10000)->Unit(benchmark::kMillisecond)->Iterations(20);
void BM_MonthShownAgainAgainstFloor10000(benchmark::State& state) { MonthAgainstFloor(state, 10'000, true); }
BENCHMARK(BM_MonthShownAgainAgainstFloor10000)->Unit(benchmark::kMillisecond)->Iterations(20);

// File > Open in turn between two copies of a calendar whose shown month holds
// 10,000 entries: the file's records bound, its repeat pass (with nothing to
// write) and its month drawn. `builds` counts the month builds of one open.
void BM_FileOpen10000(benchmark::State& state) {
    MonthWindow m(100'000, 10'000);
    vm::FakeMessages messages;
    vm::SetMessages(&messages);
    const std::string first = vm::Module1.CalendarFilePath;
    const std::string second = first.substr(0, first.size() - 4) + "Copy.mdb";
    fs::copy_file(first, second, fs::copy_options::overwrite_existing);
    m.w->cmbMonth->setCurrentText("March");
    QAction* open = m.w->findChild<QAction*>("mnuFile_Open");
    bool flip = false;
    auto openNext = [&] {
        messages.fileAnswers.push_back(flip ? first : second);
        flip = !flip;
        open->trigger();
        QApplication::processEvents();
    };
    openNext();  // each file's first pass takes its stamps
    openNext();
    const int before = m.w->buildsRun();
    int64_t opens = 0;
    for (auto _ : state) {
        openNext();
        ++opens;
    }
    if (!messages.shown.empty()) state.SkipWithError(messages.shown.front().text.c_str());
    state.counters["builds"] = double(m.w->buildsRun() - before) / double(std::max<int64_t>(1, opens));
    vm::SetMessages(nullptr);
}
BENCHMARK(BM_FileOpen10000)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
