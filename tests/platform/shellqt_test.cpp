// The desktop opener on Qt with stand-ins for the desktop's opener program
// and its registry put first on the search path: the opener's exit status,
// whenever it comes, is what the caller is told.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/shellqt.h"
#include "testsupport.h"

namespace {

// Stand-ins on the search path for as long as the test runs.
struct Stubs {
    Stubs() { setenv("PATH", (dir + ":" + path).c_str(), 1); }
    ~Stubs() {
        setenv("PATH", path.c_str(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void write(const std::string& name, const std::string& body) {
        vmtest::WriteAll(dir + "/" + name, "#!/bin/sh\n" + body);
        std::filesystem::permissions(dir + "/" + name, std::filesystem::perms::owner_all);
    }
    const std::string dir = vmtest::MakeTempDir("velmora-opener");
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
};

// Runs the event loop until `done`, for at most a generous while.
bool Until(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!done() && std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        QThread::msleep(5);
    }
    return done();
}

// The stand-in's process, once it wrote its number, has ended and been
// reaped (a finished signal is then behind it).
bool Ended(const std::string& pidFile) {
    const std::string pid = vmtest::ReadAll(pidFile);
    return !pid.empty() && ::kill(std::stoi(pid), 0) != 0;
}

TEST(DesktopOpener, AnOpenerProgramThatFailsIsNoSuccess) {
    Stubs stubs;
    for (const auto& [status, opened] : {std::pair{3, false}, std::pair{0, true}}) {
        SCOPED_TRACE(status);
        std::filesystem::remove(stubs.dir + "/pid");
        stubs.write("xdg-open", "echo \"$1\" > \"" + stubs.dir + "/asked\"\necho $$ > \"" + stubs.dir +
                                    "/pid\"\nexit " + std::to_string(status) + "\n");
        int failures = 0;
        vm::QtDesktopOpener opener;
        EXPECT_TRUE(opener.open("https://example.org/videos", [&] { ++failures; }));
        ASSERT_TRUE(Until([&] { return Ended(stubs.dir + "/pid"); }));
        QCoreApplication::processEvents();
        EXPECT_EQ(failures, opened ? 0 : 1);
        EXPECT_EQ(vmtest::ReadAll(stubs.dir + "/asked"), "https://example.org/videos\n");
    }
}

// A registered PDF program that cannot show the file: the opener says so
// when it ends, which may be long after open() returned (it may run the
// viewer itself and wait for it), and open() never waits for it.
TEST(DesktopOpener, ALocalFileWhoseProgramFailsLaterIsReportedThen) {
    Stubs stubs;
    stubs.write("xdg-mime", "echo viewer.desktop\n");
    stubs.write("xdg-open", "echo \"$1\" > \"" + stubs.dir + "/asked\"\nwhile [ ! -e \"" + stubs.dir +
                                "/go\" ]; do sleep 0.02; done\nexit 4\n");
    const std::string manual = stubs.dir + "/My Manual.pdf";
    vmtest::WriteAll(manual, "%PDF-1.4\n");
    int failures = 0;
    vm::QtDesktopOpener opener;
    EXPECT_TRUE(opener.open("file://" + stubs.dir + "/My%20Manual.pdf", [&] { ++failures; }));
    ASSERT_TRUE(Until([&] { return !vmtest::ReadAll(stubs.dir + "/asked").empty(); }));
    EXPECT_EQ(vmtest::ReadAll(stubs.dir + "/asked"), manual + "\n");
    QCoreApplication::processEvents();
    EXPECT_EQ(failures, 0) << "still running: nothing to tell yet";
    vmtest::WriteAll(stubs.dir + "/go", "");
    EXPECT_TRUE(Until([&] { return failures == 1; }));

    // The registry knows no program for it: refused at once.
    stubs.write("xdg-mime", "exit 0\n");
    EXPECT_FALSE(opener.open("file://" + stubs.dir + "/My%20Manual.pdf", [&] { ++failures; }));
}

}  // namespace
