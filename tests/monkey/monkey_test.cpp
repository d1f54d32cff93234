// A seeded run of random user actions over the real main window and every
// window it opens, on a calendar of a few hundred records. After each action
// it checks that no failure escaped the program's event handlers, that no two
// voices speak at once, that every file nobody asked to write is unchanged,
// that the calendar and settings databases in use keep their tables, and
// that every record's Date and JulDate agree. A crash or sanitizer report
// ends the process; then, as on any failure, the seed and the last actions
// are printed for a replay:
//   make monkey SEED=n ACTIONS=n
// (VELMORA_MONKEY_SEED and VELMORA_MONKEY_ACTIONS; VELMORA_MONKEY_ALL=1 goes
// on after a fault and reports each kind once; VELMORA_MONKEY_TRACE=1 prints
// every action).
#include <gtest/gtest.h>

#include <QApplication>
#include <QPrinterInfo>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "alarms/alarmtimer.h"
#include "calendars.h"
#include "core/files.h"
#include "mainwindow/startedwindow.h"
#include "monkey.h"
#include "monkeychecks.h"
#include "monkeyrun.h"
#include "platform/guardedapp.h"
#include "platform/pickers.h"
#include "platform/places.h"
#include "platform/printdialogs.h"

namespace fs = std::filesystem;

namespace vmtest {
namespace {

uint64_t EnvNumber(const char* name, uint64_t fallback) {
    const char* v = std::getenv(name);
    return v && *v ? std::strtoull(v, nullptr, 10) : fallback;
}

// Runs SQL on a file as another program would; false when it cannot.
bool OutsideSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    if (ok) {
        sqlite3_busy_timeout(db, 200);
        ok = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }
    sqlite3_close(db);
    return ok;
}

// A few hundred records over 2024-2026, and records with alarms every two
// hours or so of the three weeks from the clock's day on.
std::vector<vm::DateRecord> MonkeyCalendar() {
    std::vector<vm::DateRecord> records = vmbench::TypicalCalendar(300);
    for (int i = 0; i < 21 * 8; ++i) {
        vm::DateRecord r;
        r.Date = vm::AddDays(vm::CivilDate{2026, 12, 6}, i / 8);
        r.JulDate = vm::Date2Julian(r.Date);
        const int hour24 = 8 + (i % 8) * 2;
        r.Hour = hour24 > 12 ? hour24 - 12 : hour24;
        r.Minute = (i * 13) % 60;
        r.AM_PM = hour24 < 12 ? "AM" : "PM";
        r.Hr24 = vm::Hr24Rule(r.Hour, r.AM_PM, std::nullopt);
        r.DateText = "Alarm 'quoted' %d " + std::to_string(i);
        r.Alarm = i % 4 ? "5" : "0;10";
        r.SoundNum = 1 + i % 5;
        r.DateType = "Event";
        records.push_back(r);
    }
    return records;
}

class RandomActions : public ::testing::Test {
protected:
    uint64_t seed = EnvNumber("VELMORA_MONKEY_SEED", 20261206);
    long actions = long(EnvNumber("VELMORA_MONKEY_ACTIONS", 2000));
    Rng rng{seed};
    StartedWindow run;
    std::string other = MakeTempDir("velmora-other");
    std::string home = MakeTempDir("velmora-home");
    std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    MonkeyMessages messages{rng};
    MonkeyPickers pickers{rng};
    MonkeySpeech speech;
    vm::FakePrintDialogs prints;
    ActionLog log;

    void SetUp() override {
        setenv("HOME", home.c_str(), 1);
        for (const char* name : {"XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"}) unsetenv(name);
        // The data folder as a user has it: both databases, the calendar full.
        fs::create_directories(run.dir);
        fs::copy_file(vm::JoinPath(vm::ProgramFolder(), "BlankVelmoras.mdb"), run.dir + "/Velmoras.mdb");
        fs::copy_file(vm::JoinPath(vm::ProgramFolder(), "BlankVelmora_Settings.mdb"),
                      run.dir + "/Velmora_Settings.mdb");
        vmbench::AddRecords(run.dir + "/Velmoras.mdb", MonkeyCalendar());
        ASSERT_TRUE(OutsideSql(run.dir + "/Velmora_Settings.mdb", "UPDATE [Settings] SET [Voice] = -1"));
        // Another folder with files to open and import: a calendar, text, garbage.
        fs::copy_file(run.dir + "/Velmoras.mdb", other + "/Other Calendar.mdb");
        WriteAll(other + "/notes.txt", "1/2/2025,Hello, \"quoted\"\r\n'; DROP TABLE [Velmora];--\r\n%s%n\r\n");
        WriteAll(other + "/garbage.mdb", std::string(3000, '\x5a'));
        WriteAll(other + "/empty.csv", "");
        vm::SetMessages(&messages);
        vm::SetPickers(&pickers);
        vm::SetSpeech(&speech);
        vm::SetPrintDialogs(&prints);
        log.seed = seed;
        ReportDeathsOf(&log);
        // The headless platform's notes on every window shown say nothing here.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type != QtDebugMsg && type != QtWarningMsg && type != QtInfoMsg)
                std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        });
    }
    void TearDown() override {
        ReportDeathsOf(nullptr);
        qInstallMessageHandler(nullptr);
        if (run.window) run.Stop();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        vm::SetMessages(&run.fx.messages);
        vm::SetPickers(nullptr);
        vm::SetSpeech(nullptr);
        vm::SetPrintDialogs(nullptr);
        setenv("HOME", savedHome.c_str(), 1);
    }

    std::string Damage(Rng& r) {
        const std::string cal = vm::Module1.CalendarFilePath;
        const std::string settings = vm::MainState.pSettingsFile;
        struct Harm { const std::string* file; const char* sql; };
        const Harm harms[] = {
            {&cal, "ALTER TABLE [Velmora] RENAME TO [Velmora_Old]"},
            {&cal, "DROP TABLE [Velmora]"},
            {&cal, "DROP TABLE [RepeatingData]"},
            {&cal, "DELETE FROM [Velmora] WHERE [ID] % 3 = 0"},
            {&settings, "DROP TABLE [People]"},
            {&settings, "DELETE FROM [Settings]"},
            {&cal, nullptr},  // written over with text
        };
        const Harm& h = harms[Pick(r, 7)];
        if (!h.sql) {
            WriteAll(cal, "**0Hide, 1Date, another program's text\r\n");
            return "text written over " + fs::path(cal).filename().string();
        }
        const bool done = OutsideSql(*h.file, h.sql);
        return std::string(h.sql) + " in " + fs::path(*h.file).filename().string() + (done ? "" : " (refused)");
    }

    // Files the program writes of its own accord: the databases in use and its page set-up.
    std::set<std::string> ProgramFiles() const {
        return {vm::Module1.CalendarFilePath, vm::MainState.pSettingsFile,
                vm::JoinPath(vm::DataFolder(), "Velmora_Print_Setup.Dat"),
                vm::JoinPath(vm::DataFolder(), "Velmora_Settings.damaged.mdb")};
    }
};

TEST_F(RandomActions, NothingAUserDoesEndsTheProgramOrHarmsAFile) {
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().isEmpty()) << "a real printer would print here";
    EventWatch events;
    qApp->installEventFilter(&events);
    vm::frmVelmora& w = run.Start();
    w.alarmTimer->fireWaitMs = 0;
    w.show();
    QApplication::sendPostedEvents();

    FolderSnapshot files({run.dir, other});
    files.Refresh();
    messages.newFileFolder = run.dir;
    messages.existingFiles = [&] { return files.Files(); };
    messages.filesInUse = [] {
        return std::vector<std::string>{vm::Module1.CalendarFilePath, vm::MainState.pSettingsFile};
    };
    Monkey monkey(rng, run.clock);
    monkey.excluded = {"mnuFile_Exit"};
    monkey.externalDamage = [this](Rng& r) { return Damage(r); };

    // With VELMORA_MONKEY_ALL set the run goes on after a fault and reports
    // each kind of fault once (a crash still ends it).
    const bool all = EnvNumber("VELMORA_MONKEY_ALL", 0) != 0;
    const bool trace = EnvNumber("VELMORA_MONKEY_TRACE", 0) != 0;  // every action as it is done
    std::set<std::string> kinds, everInUse;
    std::atomic<long> progress{0};
    int uncaught = vm::UncaughtErrorCount();
    Watchdog watchdog(progress);
    for (long n = 0; n < actions; ++n, ++progress) {
        const std::set<std::string> inUse = {vm::Module1.CalendarFilePath, vm::MainState.pSettingsFile};
        std::map<std::string, std::optional<std::set<std::string>>> tables;
        for (const auto& f : inUse) tables[f] = TablesOf(f);
        messages.answered.clear();
        messages.notes.clear();
        speech.state->action = n;
        speech.state->faults.clear();
        events.nextAction();

        std::vector<std::string> faults;
        const auto began = std::chrono::steady_clock::now();
        bool damaged = false;
        std::string done;
        try {
            AsEvent([&] { done = monkey.Act(damaged); });
            QApplication::sendPostedEvents();
            QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        } catch (const std::exception& e) {
            faults.push_back(std::string("an exception left an event handler: ") + e.what());
        } catch (...) {
            faults.push_back("an exception left an event handler");
        }
        for (const auto& note : messages.notes) done += "\n      " + note;
        log.Add(done);
        if (trace)
            std::fprintf(stderr, "%s (%ld events, %lld ms)\n", log.last.back().c_str(), events.count(),
                         static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                    std::chrono::steady_clock::now() - began)
                                                    .count()));

        if (vm::UncaughtErrorCount() != uncaught) {
            uncaught = vm::UncaughtErrorCount();
            faults.push_back("a failure escaped an event handler (the application caught it; its box is in the log)");
        }
        if (!events.runaway.empty())
            faults.push_back("events never stop coming, the window freezes: " + events.runaway);
        faults.insert(faults.end(), speech.state->faults.begin(), speech.state->faults.end());
        everInUse.insert(inUse.begin(), inUse.end());
        everInUse.insert(vm::Module1.CalendarFilePath);
        // A window may still show, and write, a calendar that was open before.
        std::set<std::string> allowed = ProgramFiles();
        allowed.insert(everInUse.begin(), everInUse.end());
        allowed.insert(messages.answered.begin(), messages.answered.end());
        for (const auto& f : files.Refresh())
            if (!allowed.count(f)) faults.push_back("a file changed though nothing asked to write it: " + f);
        for (const auto& [f, before] : tables) {
            if (!before || damaged) continue;
            const auto after = TablesOf(f);
            if (!after) faults.push_back("a database in use is no longer one: " + f);
            else
                for (const auto& t : *before)
                    if (!after->count(t)) faults.push_back("a database in use lost a table: " + f + " [" + t + "]");
        }
        for (const auto& f : inUse)
            if (const auto bad = DateMismatches(f); !bad.empty())
                faults.push_back("Date and JulDate disagree: " + f + ": " + bad.front());

        if (faults.empty()) continue;
        if (!all) {
            ADD_FAILURE() << log.Report(faults.front());
            break;
        }
        for (const auto& fault : faults)
            if (kinds.insert(fault.substr(0, fault.find(':'))).second) ADD_FAILURE() << log.Report(fault);
    }
}

}  // namespace
}  // namespace vmtest
