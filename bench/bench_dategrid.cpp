// The date grid with 100,000 records in [Velmora], in the real (headless)
// main window: a text search listed in the grid, a header sort of every
// record, and copying 10,000 listed records with the repeat expansion (also
// on a calendar with a million occurrences).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <cstdlib>
#include <filesystem>

#include "benchsupport.h"
#include "core/dates.h"
#include "core/files.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "records/dategrid.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "platform/sqlstore.h"

namespace {

namespace fs = std::filesystem;
constexpr int kRecords = 100000;

void EnsureApp() {
    if (QApplication::instance()) return;
    static int argc = 1;
    static char name[] = "velmora_bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    new QApplication(argc, argv);
}

// A calendar of 100,000 records over ten years; one in ten is of the type
// "Copyme" in 2023, and 200 of all of them repeat yearly for 5 years.
struct Calendar {
    std::string dir, path;
    // Every `repeatEvery`-th record from the `first` repeats by `rule`, `times` times.
    explicit Calendar(int repeatEvery = 500, const char* rule = "Yearly", int times = 5, int first = 0) {
        dir = vmbench::BenchDir("grid");
        setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
        vm::EnsureDataFolder();
        path = vm::DefaultCalendarPath();
        auto store = vm::db::Database::Open(path);
        vm::db::Transaction tx(*store);
        auto st = store->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
            "[DateType],[WorkDay],[Font],[DayColors],[Priority],[Hr24],[SoundNum],[Alarm]) "
            "VALUES (0,?,?,?,?,?,?,?,?,?,-1,'','0;16777215;0;16777215;3;3',0,?,0,'')");
        for (int i = 0; i < kRecords; ++i) {
            const bool copy = i % 10 == 0;
            const bool repeats = i % repeatEvery == first;
            const vm::CivilDate d = copy ? vm::AddDays({2023, 1, 1}, i % 365) : vm::AddDays({2018, 1, 1}, i % 3650);
            const int hour = 1 + i % 12;
            st.bindAll({vm::db::Text(vm::FormatIso(d)), vm::db::Int(vm::Date2Julian(d)), vm::db::Int(hour),
                        vm::db::Int(i % 60), vm::db::Text(i % 2 ? "PM" : "AM"),
                        vm::db::Text("Meeting number " + std::to_string(i) + " with the team"),
                        vm::db::Text(repeats ? rule : ""), vm::db::Int(repeats ? times : 0),
                        vm::db::Text(copy ? "Copyme" : "Event"), vm::db::Int(hour % 12 + (i % 2 ? 12 : 0))});
            st.run();
        }
        tx.commit();
    }
};

struct Window {
    vm::FakeMessages quiet;
    std::unique_ptr<vm::frmVelmora> w;
    explicit Window(const Calendar& cal) {
        EnsureApp();
        vm::SetMessages(&quiet);
        vm::ResetSharedState();
        vm::Module1.CalendarFilePath = cal.path;
        w = std::make_unique<vm::frmVelmora>();
        w->show();
        QApplication::processEvents();
    }
    ~Window() {
        w.reset();
        vm::SetMessages(nullptr);
    }
};

Calendar& TheCalendar() {
    static Calendar cal;
    return cal;
}

void BM_TextSearchListed(benchmark::State& state) {
    Window win(TheCalendar());
    int listed = 0;
    for (auto _ : state) {
        win.w->dateGrid->txtSearch->setText("number 4242 with");
        win.w->dateGrid->sscmdSrchDateData_Click();
        listed = win.w->DataDatesModel->recordCount();
    }
    state.counters["listed"] = listed;
}
BENCHMARK(BM_TextSearchListed)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_HeaderSortAllRecords(benchmark::State& state) {
    Window win(TheCalendar());
    win.w->dateGrid->txtSearch->setText("");
    win.w->dateGrid->sscmdSrchDateData_Click();  // every record
    for (auto _ : state) win.w->dateGrid->TDBGridDates_HeadClick(1);
    state.counters["listed"] = win.w->DataDatesModel->recordCount();
}
BENCHMARK(BM_HeaderSortAllRecords)->Unit(benchmark::kMillisecond)->Iterations(6);

// Lists the "Copyme" records of 2023 in the grid and fills the copy panel's
// boxes to copy them to 2024 as "Copied"; the number listed.
int ListToCopy(Window& win, const Calendar& cal) {
    win.w->DataDates.setDatabaseName(cal.path);
    win.w->DataDates.setRecordSource("SELECT * FROM [Velmora] WHERE [DateType] = 'Copyme'");
    win.w->DataDates.refresh();
    win.w->dateGrid->txtOrigCopyYr->setText("2023");
    win.w->dateGrid->txtNewCopyYr->setText("2024");
    win.w->dateGrid->cmbCopyDteTyp->setEditText("Copyme");
    win.w->dateGrid->txtRecDataType->setText("Copied");
    return win.w->DataDates.recordCount();
}

void BM_Copy10000ListedRecords(benchmark::State& state) {
    const Calendar& cal = TheCalendar();
    Window win(cal);
    auto store = vm::db::Database::Open(cal.path);
    int listed = 0;
    win.w->Toolbar1_ButtonClick(win.w->Toolbar1Button("CopyRec"));  // the copy panel, opened as a user does
    for (auto _ : state) {
        state.PauseTiming();
        win.w->dateGrid->txtSearch->setText("");
        win.w->Combo3->setEditText("Copyme");
        listed = ListToCopy(win, cal);
        state.ResumeTiming();
        win.w->dateGrid->sscmdCopyRec_Click();
        state.PauseTiming();
        store->exec("DELETE FROM [Velmora] WHERE [DateType] = 'Copied'");
        state.ResumeTiming();
    }
    state.counters["listed"] = listed;
    state.counters["boxes"] = static_cast<double>(win.quiet.shown.size());
}
BENCHMARK(BM_Copy10000ListedRecords)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same copy on a calendar whose repeating records hold a million
// occurrences, with the pass that follows the copy: the copies' own rows are
// written, the others stay.
void BM_Copy10000ListedAmongAMillionOccurrences(benchmark::State& state) {
    static Calendar cal(20, "Daily", 200, 19);  // 5,000 daily records of 200 days each, none of them copied
    Window win(cal);
    win.w->mnuFile_Build_Repeating_Click();  // the occurrences, made once
    auto store = vm::db::Database::Open(cal.path);
    auto count = [&](const char* sql) {
        auto st = store->prepare(sql);
        return st.step() ? vm::db::AsInt(st.column(0)) : 0;
    };
    const int64_t occurrences = count("SELECT count(*) FROM [RepeatingData]");
    int listed = 0;
    win.w->Toolbar1_ButtonClick(win.w->Toolbar1Button("CopyRec"));
    for (auto _ : state) {
        state.PauseTiming();
        listed = ListToCopy(win, cal);
        state.ResumeTiming();
        win.w->dateGrid->sscmdCopyRec_Click();  // the copy and the pass after it
        state.PauseTiming();
        store->exec("DELETE FROM [Velmora] WHERE [DateType] = 'Copied'");
        win.w->mnuFile_Build_Repeating_Click();
        state.ResumeTiming();
    }
    state.counters["listed"] = listed;
    state.counters["occurrences"] = static_cast<double>(occurrences);
}
BENCHMARK(BM_Copy10000ListedAmongAMillionOccurrences)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

