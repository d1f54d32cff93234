// The shared window helpers: the file dialog's modes, opening documents and
// web addresses through the desktop's handler, the stay-on-top flag, the
// splash picture and colour, and bringing the main window back on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QTest>
#include <QWidget>

#include <dirent.h>

#include <filesystem>

#include "core/splashlogic.h"
#include "mainwindow/windowhelpers.h"
#include "platform/pickers.h"
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

TEST(ShowFileDialog, EachModeAsksTheRightDialog) {
    vmtest::Fixture fx;
    struct Case {
        int16_t mode;
        bool asks, save;
        std::string suffix;
    };
    for (const Case& c : {Case{1, true, false, ""}, Case{9, true, false, ""}, Case{2, true, true, ""},
                          Case{6, true, true, ".mdb"}, Case{0, false, false, ""}, Case{7, false, false, ""},
                          Case{-1, false, false, ""}, Case{5, false, false, ""}}) {
        fx.messages.clear();
        fx.messages.fileAnswers.push_back("/x/Chosen");
        const std::string r = vm::ShowFileDialog("/start", c.mode, "Calendar File|.mdb", "*.mdb", "Title");
        ASSERT_EQ(fx.messages.dialogs.size(), c.asks ? 1u : 0u) << c.mode;
        if (!c.asks) {
            EXPECT_EQ(r, "") << "mode " << c.mode << " chooses nothing";
            continue;
        }
        const auto& req = fx.messages.dialogs[0];
        EXPECT_EQ(req.save, c.save) << c.mode;
        EXPECT_EQ(req.defaultSuffix, c.suffix) << c.mode;
        EXPECT_EQ(req.initialDir, "/start");
        EXPECT_EQ(req.title, "Title");
        EXPECT_EQ(req.fileName, "") << "a pattern is no name";
        EXPECT_EQ(r, c.mode == 6 ? "/x/Chosen.mdb" : "/x/Chosen") << c.mode;
    }
    // Cancel answers "".
    fx.messages.clear();
    EXPECT_EQ(vm::ShowFileDialog("/start", 1, "All|*.*", "report.txt", "T"), "");
    EXPECT_EQ(fx.messages.dialogs.at(0).fileName, "report.txt");
}

TEST(ShowFileDialog, ColourAndFontModesReturnTheNameUnlessCancelled) {
    vmtest::Fixture fx;
    vm::FakePickers pickers;
    vm::SetPickers(&pickers);
    EXPECT_EQ(vm::ShowFileDialog("", 3, "", "name.txt", "T"), "");
    pickers.nextColor = 255;
    EXPECT_EQ(vm::ShowFileDialog("", 3, "", "name.txt", "T"), "name.txt");
    pickers.nextFont = vm::FontChoice{"Arial", 10};
    EXPECT_EQ(vm::ShowFileDialog("", 4, "", "name.txt", "T"), "name.txt");
    vm::SetPickers(nullptr);
    EXPECT_TRUE(fx.messages.dialogs.empty());
}

TEST(ShellOpenFile, SplitsTheTextAsTheCallersWriteIt) {
    std::string quoted = "\"/home/u/My Docs/Report.txt\" /p";
    auto parts = vm::SplitShellText(quoted);
    EXPECT_EQ(quoted, "/home/u/My Docs/Report.txt /p") << "the caller's text loses its quotes";
    EXPECT_EQ(parts.file, "/home/u/My Docs/Report.txt");
    EXPECT_EQ(parts.parameters, "/p");
    EXPECT_EQ(parts.folder, "/home/u/My Docs");

    std::string plain = "/docs/Report.txt";
    parts = vm::SplitShellText(plain);
    EXPECT_EQ(parts.file, "/docs/Report.txt");
    EXPECT_EQ(parts.parameters, "");
    EXPECT_EQ(parts.folder, "/docs");

    std::string withParams = "/Manual.pdf   -x";
    parts = vm::SplitShellText(withParams);
    EXPECT_EQ(parts.file, "/Manual.pdf");
    EXPECT_EQ(parts.parameters, "-x");
    EXPECT_EQ(parts.folder, "/");

    std::string open = "\"/a b/c.txt";
    EXPECT_EQ(vm::SplitShellText(open).file, "/a b/c.txt");
}

TEST(ShellOpenFile, OnlyTheDesktopHandlerIsAskedAndNothingIsEverRun) {
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
    std::string program = "/bin/true";
    EXPECT_EQ(vm::ShellOpenFile(program, 4), vm::kShellCannotOpen) << "a program is no document";
    std::string missing = dir + "/missing.txt";
    EXPECT_EQ(vm::ShellOpenFile(missing, 4), vm::kShellNoFile);
    EXPECT_FALSE(fs::exists(marker));
    EXPECT_EQ(ChildCount(), children);
    EXPECT_TRUE(fx.messages.shown.empty()) << "ShellOpenFile reports through its result";
}

TEST(OpenWebPage, OpensTheAddressOrTellsItOnce) {
    vmtest::Fixture fx;
    Opener opener;
    const int children = ChildCount();
    vm::OpenWebPage("https://example.org/calendars?x=1");
    vm::OpenWebPage("www.example.org/videos");
    EXPECT_EQ(opener.fake.opened,
              (std::vector<std::string>{"https://example.org/calendars?x=1", "https://www.example.org/videos"}));
    EXPECT_TRUE(fx.messages.shown.empty());

    opener.fake.succeed = false;
    vm::OpenWebPage("https://example.org/pictures");
    ASSERT_EQ(fx.messages.shown.size(), 1u) << "one box, no fall-back";
    EXPECT_EQ(fx.messages.shown[0].title, "Internet Browser Problem");
    EXPECT_EQ(fx.messages.shown[0].text,
              "Web page cannot be opened automatically.\nOpen your web browser and use the address:  "
              "https://example.org/pictures  to see the webpage.");
    EXPECT_EQ(fx.messages.shown[0].buttons, vm::MsgButtons::Ok);
    EXPECT_EQ(fx.messages.shown[0].icon, vm::MsgIcon::Information);

    opener.fake.succeed = true;
    fx.messages.shown.clear();
    vm::OpenWebPage("Explorer && rm -rf ~");
    EXPECT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(ChildCount(), children);
}

TEST(SetFormOnTop, TheFlagChangesAndTheWindowStaysShownInPlace) {
    QWidget w;
    w.setGeometry(120, 130, 300, 200);
    w.show();
    const QRect before = w.geometry();
    vm::SetFormOnTop(&w);
    EXPECT_TRUE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);
    vm::SetFormNotOnTop(&w);
    EXPECT_FALSE(w.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.geometry(), before);

    QWidget hidden;
    vm::SetFormOnTop(&hidden);
    EXPECT_FALSE(hidden.isVisible());
    vm::SetFormOnTop(nullptr);
}

TEST(GetSplashPicture, TheColourFileChoosesEachMonthsTextColour) {
    const std::string dir = vmtest::MakeTempDir("velmora-splashcolor") + "/";
    struct Case {
        const char* line;  // nullptr: no file
        int month;
        int32_t colour;
    };
    const Case cases[] = {
        {"111111111111", 1, 0},          {"888888888888", 7, 16777215}, {"12345", 5, 16711680},
        {"12345", 6, 0},                 {"12345", 12, 0},              {nullptr, 3, 0},
        {"x2x2x2x2x2x2", 1, 0},          {"x2x2x2x2x2x2", 2, 255},      {"0", 1, 0},
        {"123456781234\nline 2", 8, 16777215}, {"", 4, 0},
        {"23456781\r\n", 9, 0},  // a short line with Windows line ends
    };
    for (const Case& c : cases) {
        fs::remove(dir + "SplashTextColor.txt");
        if (c.line) vmtest::WriteAll(dir + "SplashTextColor.txt", c.line);
        std::string folder = dir;
        int32_t colour = 12345;
        vm::GetSplashPicture(folder, colour, c.month);
        EXPECT_EQ(colour, c.colour) << (c.line ? c.line : "(none)") << " month " << c.month;
        EXPECT_EQ(folder, dir + vm::SplashPictureName(c.month));
    }
    // Digit 9 leaves the caller's colour.
    vmtest::WriteAll(dir + "SplashTextColor.txt", "999999999999");
    std::string folder = dir;
    int32_t colour = 4242;
    vm::GetSplashPicture(folder, colour, 3);
    EXPECT_EQ(colour, 4242);
    EXPECT_EQ(folder, dir + "Mar.jpg");
    // Digits 1..8 in table order.
    const int32_t table[] = {0, 255, 65280, 65535, 16711680, 16711935, 16776960, 16777215};
    for (int d = 1; d <= 8; ++d) EXPECT_EQ(vm::SplashColorOfDigit(d), table[d - 1]);
}

TEST(BringOntoScreen, ALostWindowComesBackAndCtrlAltLDoesIt) {
    QWidget w;
    w.resize(400, 300);
    w.move(20000, 20000);
    w.show();
    QShortcut* sc = vm::InstallBringBackShortcut(w);
    ASSERT_NE(sc, nullptr);
    EXPECT_EQ(sc->key(), QKeySequence("Ctrl+Alt+L"));
    EXPECT_EQ(sc->context(), Qt::ApplicationShortcut);
    EXPECT_EQ(vm::InstallBringBackShortcut(w), sc);
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

TEST(BringBackRect, KeepsReachableWindowsAndCentresLostOnes) {
    const std::vector<QRect> screens = {QRect(0, 0, 1920, 1080), QRect(1920, 0, 1280, 1024)};
    EXPECT_EQ(vm::BringBackRect(QRect(100, 100, 800, 600), screens), QRect(100, 100, 800, 600));
    EXPECT_EQ(vm::BringBackRect(QRect(2000, 50, 800, 600), screens), QRect(2000, 50, 800, 600)) << "second screen";
    QRect centred(0, 0, 800, 600);
    centred.moveCenter(screens[0].center());
    EXPECT_EQ(vm::BringBackRect(QRect(-790, 100, 800, 600), screens), centred) << "only 10 pixels showing";
    EXPECT_EQ(vm::BringBackRect(QRect(100, -300, 800, 600), screens), centred) << "title bar above the screen";
    const QRect lost = vm::BringBackRect(QRect(5000, 5000, 3000, 500), screens);
    EXPECT_EQ(lost.size(), QSize(1920, 500));
    EXPECT_TRUE(QRect(0, 0, 1920, 1080).contains(lost));
}

}  // namespace
