// `make run` on a machine where another package install is under way: it
// waits for the package system's lock, saying so, instead of failing at once;
// and stopped from its terminal, it ends without make's error lines.
#include <gtest/gtest.h>

#include <QProcess>
#include <QThread>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "platform/places.h"
#include "testsupport.h"

namespace {

// Holds a write lock on a file, as a running package install holds its lock.
class HeldLock {
public:
    explicit HeldLock(const std::string& path) : fd_(::open(path.c_str(), O_RDWR | O_CREAT, 0600)) {
        struct flock lock {};
        lock.l_type = F_WRLCK;
        lock.l_whence = SEEK_SET;
        held_ = fd_ >= 0 && ::fcntl(fd_, F_SETLK, &lock) == 0;
    }
    ~HeldLock() { Release(); }
    bool held() const { return held_; }
    void Release() {
        if (fd_ >= 0) ::close(fd_);  // closing gives the lock back
        fd_ = -1;
    }

private:
    int fd_;
    bool held_ = false;
};

QProcess* StartWait(const std::string& lockFile, int seconds) {
    auto* make = new QProcess;
    make->setProcessChannelMode(QProcess::MergedChannels);
    make->start("make", {"-s", "--no-print-directory", "-C", VELMORA_SOURCE_DIR, "apt-wait",
                         QString::fromStdString("APT_LOCKS=" + lockFile), QString("APT_WAIT=%1").arg(seconds)});
    return make;
}

TEST(MakeRun, WaitsWhileAnotherInstallHoldsThePackageLock) {
    if (QProcess::execute("make", {"--version"}) != 0) GTEST_SKIP() << "make is not installed";
    const std::string lockFile = vmtest::MakeTempDir("velmora-apt") + "/lock-frontend";
    {
        HeldLock other(lockFile);
        ASSERT_TRUE(other.held());
        std::unique_ptr<QProcess> make(StartWait(lockFile, 60));
        ASSERT_TRUE(make->waitForStarted(10000));
        QThread::msleep(2500);
        EXPECT_EQ(make->state(), QProcess::Running) << "it waits while the lock is held";
        other.Release();
        ASSERT_TRUE(make->waitForFinished(30000));
        const std::string said = make->readAll().toStdString();
        EXPECT_EQ(make->exitCode(), 0) << said;
        EXPECT_NE(said.find("Another package install holds " + lockFile + ": waiting"), std::string::npos) << said;
        EXPECT_NE(said.find("going on"), std::string::npos) << said;
    }
    {
        // Held for longer than it waits: it gives up, saying why.
        HeldLock other(lockFile);
        std::unique_ptr<QProcess> make(StartWait(lockFile, 2));
        ASSERT_TRUE(make->waitForFinished(30000));
        const std::string said = make->readAll().toStdString();
        EXPECT_NE(make->exitCode(), 0);
        EXPECT_NE(said.find("still busy after 2 s"), std::string::npos) << said;
    }
    // Nobody holds it: no word, no wait.
    std::unique_ptr<QProcess> make(StartWait(lockFile, 60));
    ASSERT_TRUE(make->waitForFinished(30000));
    EXPECT_EQ(make->exitCode(), 0);
    EXPECT_EQ(make->readAll().toStdString(), "");
}

// Ctrl+C in the terminal reaches every process of its foreground group:
// make, its shell and the program. The program ends as File > Exit does and
// make says so in one line, with no "Interrupt" or "Error" line.
TEST(MakeRun, CtrlCEndsTheProgramWithoutMakesErrorLines) {
    if (QProcess::execute("make", {"--version"}) != 0) GTEST_SKIP() << "make is not installed";
    if (QProcess::execute("setsid", {"--version"}) != 0) GTEST_SKIP() << "setsid is not installed";
    const std::string data = vmtest::MakeTempDir("velmora-makerun");
    QProcess make;
    make.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("WAYLAND_DISPLAY", "velmora-test");  // a display: no xvfb-run
    env.insert("VELMORA_DATA_DIR", QString::fromStdString(data));
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    make.setProcessEnvironment(env);
    // A group of its own, as a terminal gives the command it runs.
    make.start("setsid", {"make", "-s", "--no-print-directory", "-C", VELMORA_SOURCE_DIR, "start",
                          QString::fromStdString("VELMORA=" + vm::JoinPath(vm::ProgramFolder(), "velmora"))});
    ASSERT_TRUE(make.waitForStarted(10000));
    const std::string settings = data + "/Velmora_Settings.mdb";
    for (int waited = 0; !vm::FileExists(settings) && waited < 600; ++waited) QThread::msleep(100);
    ASSERT_TRUE(vm::FileExists(settings));
    ::kill(-static_cast<pid_t>(make.processId()), SIGINT);
    ASSERT_TRUE(make.waitForFinished(60000));
    const std::string said = make.readAll().toStdString();
    EXPECT_NE(said.find("Velmora stopped."), std::string::npos) << said;
    for (const char* noise : {"***", "Interrupt", "Error", "X11"})
        EXPECT_EQ(said.find(noise), std::string::npos) << noise << " in:\n" << said;
}

}  // namespace
