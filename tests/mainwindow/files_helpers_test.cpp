// The shared window helpers: the file dialog's modes, opening documents and
// web addresses through the desktop's handler, and bringing the main window
// back on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTest>
#include <QWidget>

#include <filesystem>

#include "mainwindow/windowhelpers.h"
#include "platform/places.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

// Installs a recording desktop opener for the test's lifetime.
struct Opener {
    vm::FakeDesktopOpener fake;
    Opener() { vm::SetDesktopOpener(&fake); }
    ~Opener() { vm::SetDesktopOpener(nullptr); }
};

// Child processes of this process, from /proc.
int ChildCount() {
    int n = 0;
    for (const auto& task : fs::directory_iterator("/proc/self/task")) {
        const std::string kids = vmtest::ReadAll(task.path().string() + "/children");
        for (char c : kids) n += (c == ' ');
    }
    return n;
}

// Mode 1 opens, mode 6 saves with the filter's suffix; no other mode asks.
TEST(ShowFileDialog, EachModeAsksTheRightDialog) {
    vmtest::Fixture fx;
    const struct { int16_t mode; const char* result; bool save; } cases[] = {  // result nullptr: no dialog
        {1, "/x/Chosen", false}, {6, "/x/Chosen.mdb", true}, {0, nullptr, false}, {2, nullptr, false},
        {3, nullptr, false},     {4, nullptr, false},       {5, nullptr, false}, {9, nullptr, false}};
    for (const auto& c : cases) {
        fx.messages.clear();
        fx.messages.fileAnswers.push_back("/x/Chosen");
        EXPECT_EQ(vm::ShowFileDialog("/start", c.mode, "Calendar File|.mdb", "*.mdb", "Title"), c.result ? c.result : "")
            << c.mode;
        ASSERT_EQ(fx.messages.dialogs.size(), c.result ? 1u : 0u) << c.mode;
        EXPECT_TRUE(!c.result || fx.messages.dialogs[0].save == c.save) << c.mode;
        EXPECT_TRUE(!c.result || fx.messages.dialogs[0].fileName.empty()) << "a pattern is no name";
    }
    fx.messages.clear();
    EXPECT_EQ(vm::ShowFileDialog("/start", 1, "All|*.*", "report.txt", "T"), "") << "Cancel";
}

TEST(ShellOpenFile, OnlyTheDesktopHandlerOpensAndNothingIsEverRun) {
    vmtest::Fixture fx;
    Opener opener;
    const int children = ChildCount();
    const std::string dir = vmtest::MakeTempDir("velmora-shell");
    const std::string doc = dir + "/My Report.txt";
    vmtest::WriteAll(doc, "text");
    const std::string marker = dir + "/ran";

    std::string f = doc;
    EXPECT_EQ(vm::ShellOpenFile(f, 4), vm::kShellOpened);
    ASSERT_EQ(opener.fake.opened.size(), 1u);
    EXPECT_EQ(opener.fake.opened[0], "file://" + dir + "/My%20Report.txt");

    // Commands, missing files and foreign schemes: never run, never opened.
    for (std::string text : {"touch " + marker, "sh -c 'touch " + marker + "'", std::string("/bin/true"),
                             dir + "/missing.txt", std::string("javascript:alert(1)"), std::string("smb://host/share"),
                             std::string("https://")}) {
        opener.fake.opened.clear();
        const int r = vm::ShellOpenFile(text, 4);
        EXPECT_LT(r, 32) << text;
        EXPECT_TRUE(opener.fake.opened.empty()) << text;
    }
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_TRUE(fx.messages.shown.empty()) << "ShellOpenFile reports through its result";

    // A web address opens through the handler, or one box tells it.
    opener.fake.opened.clear();
    vm::OpenWebPage("www.example.org/videos");
    EXPECT_EQ(opener.fake.opened, std::vector<std::string>{"https://www.example.org/videos"});
    EXPECT_TRUE(fx.messages.shown.empty());
    opener.fake.failLater();  // no browser took it after all: the box then
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Internet Browser Problem");
    EXPECT_NE(fx.messages.shown[0].text.find("address:  www.example.org/videos "), std::string::npos);
    fx.messages.shown.clear();

    opener.fake.succeed = false;
    vm::OpenWebPage("https://example.org/pictures");
    ASSERT_EQ(fx.messages.shown.size(), 1u) << "one box, no fall-back";
    EXPECT_NE(fx.messages.shown[0].text.find("https://example.org/pictures"), std::string::npos);

    opener.fake.succeed = true;
    fx.messages.shown.clear();
    vm::OpenWebPage("Explorer && rm -rf ~");
    EXPECT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(ChildCount(), children);
}

TEST(BringOntoScreen, ALostWindowComesBackAndCtrlAltLDoesIt) {
    QWidget w;
    w.resize(400, 300);
    w.move(20000, 20000);
    w.show();
    QShortcut* sc = vm::InstallBringBackShortcut(w);
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(vm::InstallBringBackShortcut(w), sc) << "installed once";
    w.activateWindow();
    QApplication::setActiveWindow(&w);
    QTest::keyClick(&w, Qt::Key_L, Qt::ControlModifier | Qt::AltModifier);
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(w.frameGeometry())) << "now at " << w.x() << "," << w.y();

    // A window already on screen stays where it is.
    w.move(screen.topLeft() + QPoint(30, 40));
    const QPoint at = w.pos();
    vm::BringOntoScreen(w);
    EXPECT_EQ(w.pos(), at);
}

}  // namespace
