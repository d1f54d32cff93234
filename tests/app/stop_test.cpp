// Stopping the program from its terminal: Ctrl+C (SIGINT), a kill (SIGTERM)
// or the terminal closing (SIGHUP) end it as File > Exit does, with the
// settings saved and a plain exit status, so `make run` ends without an error.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <csignal>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/places.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

struct ProgramRun {
    int signal;
    std::string data = vmtest::MakeTempDir("velmora-stop");
    std::unique_ptr<QProcess> process = std::make_unique<QProcess>();
};

bool WaitFor(const std::function<bool()>& done, int ms) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QThread::msleep(50);
    }
    return true;
}

TEST(StopSignals, CtrlCAKillOrAClosedTerminalEndAsFileExitDoes) {
    std::vector<ProgramRun> runs;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) runs.push_back(ProgramRun{signal});
    for (ProgramRun& r : runs) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("VELMORA_DATA_DIR", QString::fromStdString(r.data));
        env.insert("ASAN_OPTIONS", "detect_leaks=0");
        r.process->setProcessEnvironment(env);
        r.process->start(QString::fromStdString(vm::JoinPath(vm::ProgramFolder(), "velmora")), {});
        ASSERT_TRUE(r.process->waitForStarted(10000));
    }
    for (ProgramRun& r : runs) {
        // The program is starting once it has made its data folder.
        ASSERT_TRUE(WaitFor([&] { return vm::FileExists(r.data + "/Velmora_Settings.mdb"); }, 60000));
        ::kill(static_cast<pid_t>(r.process->processId()), r.signal);
    }
    for (ProgramRun& r : runs) {
        ASSERT_TRUE(r.process->waitForFinished(60000)) << "signal " << r.signal;
        EXPECT_EQ(r.process->exitStatus(), QProcess::NormalExit) << "signal " << r.signal << ": killed by it";
        EXPECT_EQ(r.process->exitCode(), 0) << "signal " << r.signal;
        // The shut-down ran: the calendar in use is remembered.
        auto settings = db::Database::Open(r.data + "/Velmora_Settings.mdb");
        auto st = settings->prepare("SELECT [LastVelmoraFN] FROM [Settings]");
        ASSERT_TRUE(st.step());
        EXPECT_EQ(db::AsText(st.column(0)), r.data + "/Velmoras.mdb") << "signal " << r.signal;
    }
}

}  // namespace
