// Imports and printing: a calendar file of 100,000 records taken over into
// an empty calendar (with the duplicate test, and through the main window
// with the repeat expansion and the month build), and 1,000 grid rows of the
// main window printed to a PDF file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>

#include "benchsupport.h"
#include "core/appearance.h"
#include "core/calendarimport.h"
#include "core/dates.h"
#include "core/files.h"
#include "core/module1.h"
#include "exchange/otherimports.h"
#include "exchange/printgrid.h"
#include "mainwindow/frmvelmora.h"
#include "platform/messages.h"
#include "platform/printdialogs.h"
#include "platform/recordgrid.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"

namespace {

namespace db = vm::db;
namespace fs = std::filesystem;

using vmbench::App;

const std::string& Folder() {
    static const std::string dir = [] {
        std::string made = vmbench::BenchDir("exchange");
        setenv("VELMORA_DATA_DIR", made.c_str(), 1);
        return made;
    }();
    return dir;
}

std::string FreshCalendar(const std::string& name) {
    const std::string path = Folder() + "/" + name;
    fs::remove(path);
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    return path;
}

// `count` records over 2000..2039, one in a hundred repeating yearly.
std::string MakeSource(int count) {
    const std::string path = FreshCalendar("Source.mdb");
    auto d = db::Database::Open(path);
    db::Transaction tx(*d);
    auto st = d->prepare(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[Repeat],"
        "[BGColor],[FGColor],[DateType],[WorkDay],[Alarm],[SoundNum],[Font],[Priority],[DayColors],[Hr24]) "
        "VALUES (0,?,?,?,?,?,?,?,?,16777215,0,'Event',-1,'',1,'',0,'',?)");
    std::mt19937 rng(11);
    const int64_t span = vm::DaysFromCivil({2039, 12, 31}) - vm::DaysFromCivil({2000, 1, 1});
    for (int i = 0; i < count; ++i) {
        const vm::CivilDate day = vm::AddDays({2000, 1, 1}, static_cast<int64_t>(rng() % span));
        const int hour = 1 + i % 12;
        const bool pm = i % 2, repeats = i % 100 == 0;
        st.bindAll({db::Text(vm::FormatIso(day)), db::Int(vm::Date2Julian(day)), db::Int(hour), db::Int(i % 60),
                    db::Text(pm ? "PM" : "AM"), db::Text("Imported entry number " + std::to_string(i)),
                    db::Int(repeats ? 10 : 0), db::Text(repeats ? "Yearly" : ""), db::Int(pm ? hour % 12 + 12 : hour % 12)});
        st.run();
    }
    tx.commit();
    return path;
}

void Empty(const std::string& path) {
    auto d = db::Database::Open(path);
    d->exec("DELETE FROM [Velmora]");
    d->exec("DELETE FROM [RepeatingData]");
}

void BM_ImportCalendarFile(benchmark::State& state) {
    const bool duplicates = state.range(0) != 0;
    const std::string source = MakeSource(100'000);
    const std::string target = FreshCalendar("Target.mdb");
    for (auto _ : state) {
        state.PauseTiming();
        Empty(target);
        state.ResumeTiming();
        vm::Operation op("ImportVelmoraFile_Error");
        const auto r = vm::ImportCalendarRows(source, target, duplicates, op);
        if (r.added != 100'000) state.SkipWithError("not every record was imported");
    }
    state.counters["records"] = 100'000;
}
BENCHMARK(BM_ImportCalendarFile)->Arg(0)->Arg(1)->ArgName("duplicates")->Unit(benchmark::kMillisecond)->Iterations(3);

struct Window {
    vm::FakeMessages messages;
    vm::FakePrintDialogs dialogs;
    std::unique_ptr<vm::frmVelmora> w;
    explicit Window(const std::string& calendar) {
        App();
        vm::SetMessages(&messages);
        vm::SetPrintDialogs(&dialogs);
        vm::Module1.CalendarFilePath = calendar;
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->SetToday(vm::CivilDate{2026, 3, 10});
        w->show();
        w->cmbMonth->setCurrentText("March");
        w->cmbYear->setCurrentText(" 2026");
        w->cmbmonth_Click();
    }
    ~Window() {
        w.reset();
        vm::SetPrintDialogs(nullptr);
        vm::SetMessages(nullptr);
    }
};

// The whole command: the question, the import, the repeat expansion of the
// new records and the month drawn again.
void BM_ImportCalendarFileInWindow(benchmark::State& state) {
    std::string source = MakeSource(100'000);
    const std::string target = FreshCalendar("Target.mdb");
    Window win(target);
    for (auto _ : state) {
        state.PauseTiming();
        Empty(target);
        win.messages.clear();
        win.messages.answers = {vm::MsgResult::No};
        state.ResumeTiming();
        vm::ImportVelmoraFile(source);
    }
    if (win.messages.shown.size() != 2 || win.messages.shown[1].text.rfind("100000 Date", 0) != 0)
        state.SkipWithError("the import did not complete");
}
BENCHMARK(BM_ImportCalendarFileInWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintGridToPdf(benchmark::State& state) {
    const std::string calendar = FreshCalendar("Print.mdb");
    {
        auto d = db::Database::Open(calendar);
        db::Transaction tx(*d);
        auto st = d->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[Repeat],"
            "[DateType],[WorkDay],[Alarm],[SoundNum],[Priority],[Hr24]) "
            "VALUES (0,'2026-03-10',2026069,9,30,'AM',?,0,'','Meeting',-1,'15,5',3,0,9)");
        // With the argument 1, one row holds a 10,000-character text.
        std::string longText;
        while (longText.size() < 10000) longText += "word" + std::to_string(longText.size() * 7919 % 100000) + " ";
        for (int i = 0; i < 1000; ++i) {
            st.bind(1, db::Text(state.range(0) && i == 500
                                    ? longText
                                    : "Grid row " + std::to_string(i) + ": a longer text that wraps within its column"));
            st.run();
        }
        tx.commit();
    }
    Window win(calendar);
    win.w->DataDates.setRecordSource("SELECT * FROM [Velmora] ORDER BY [ID]");
    win.w->DataDates.refresh();
    win.w->DataDatesModel->reload();
    const std::string pdf = Folder() + "/grid.pdf";
    for (auto _ : state) {
        win.messages.clear();
        win.messages.answers = {vm::MsgResult::Yes};
        win.messages.fileAnswers = {pdf};
        vm::Module1.ColorPrintAnswer = 0;
        vm::Print_Grid(win.w->TDBGridDates, 2, "Velmora Grid Printout  ");
    }
    if (!fs::exists(pdf) || fs::file_size(pdf) < 10000) state.SkipWithError("no PDF was written");
    // Pages of the PDF: its page objects.
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    int pages = 0;
    for (size_t at = bytes.find("/Type /Page"); at != std::string::npos; at = bytes.find("/Type /Page", at + 1))
        pages += bytes.compare(at, 12, "/Type /Pages") != 0;
    if (pages > 25) state.SkipWithError("more than 25 pages for 1,000 rows");
    state.counters["rows"] = 1000;
    state.counters["pages"] = pages;
}
BENCHMARK(BM_PrintGridToPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
