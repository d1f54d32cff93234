// The splash window frmVelmoraOpen, headless, with its pictures in a program
// folder of the test's own.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "core/module1.h"
#include "core/splashlogic.h"
#include "mainwindow/splash.h"
#include "platform/places.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

class Splash : public ::testing::Test {
protected:
    Splash() {
        setenv("VELMORA_PROGRAM_DIR", prog.c_str(), 1);
        fs::create_directories(folder);
    }
    ~Splash() override { unsetenv("VELMORA_PROGRAM_DIR"); }
    void Picture(const std::string& name) {
        QImage img(80, 40, QImage::Format_RGB32);
        img.fill(Qt::darkBlue);
        ASSERT_TRUE(img.save(QString::fromStdString(folder + name), "JPG"));
    }
    static void Close() {
        vm::CloseSplash();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(vm::Module1.SplashOpen);
        EXPECT_EQ(vm::SplashWindow(), nullptr);
    }
    static std::string ThisMonthsPicture() {
        std::string name;
        int32_t colour = 0;
        vm::GetSplashPicture(name, colour);
        return name;
    }

    vmtest::Fixture fx;
    std::string prog = vmtest::MakeTempDir("velmora-prog");
    std::string folder = prog + "/Graphics/Splash/";
};

TEST_F(Splash, ShowsMonthPictureElseInstallPictureWithNameAndVersion) {
    Picture(ThisMonthsPicture());
    vmtest::WriteAll(folder + "SplashTextColor.txt", "888888888888\r\n");
    const QRect main(100, 100, 600, 500);  // a main window on the test's screen
    vm::frmVelmoraOpen* s = vm::ShowSplash(main);
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(vm::Module1.SplashOpen);
    EXPECT_TRUE(s->windowTitle().contains("Velmora"));
    EXPECT_EQ(s->picturePath(), folder + ThisMonthsPicture());
    EXPECT_FALSE(s->Image4->pixmap().isNull());
    EXPECT_EQ(s->Image4->size(), QSize(533, 247)) << "8000 by 3700 twips, rounded as everywhere";
    EXPECT_EQ(s->lblSec->palette().color(QPalette::WindowText), QColor(Qt::white));
    const QPoint off = s->geometry().center() - main.center();
    EXPECT_LE(off.manhattanLength(), 8) << "centred on the main window, frame aside";
    EXPECT_EQ(vm::ShowSplash(), s) << "one instance";
    Close();

    // Without this month's picture the install picture shows, then none.
    fs::remove(folder + ThisMonthsPicture());
    Picture("Install.jpg");
    s = vm::ShowSplash();
    EXPECT_EQ(s->picturePath(), folder + "Install.jpg");
    const QSize withPicture = s->size();
    Close();
    fs::remove(folder + "Install.jpg");
    s = vm::ShowSplash();
    EXPECT_EQ(s->picturePath(), "");
    EXPECT_TRUE(s->Image4->pixmap().isNull());
    EXPECT_EQ(s->size(), withPicture) << "keeps its size";
    Close();
}

TEST_F(Splash, TheCounterAndTheProgressBarMoveWithTheTicks) {
    vm::frmVelmoraOpen* s = vm::ShowSplash();
    ASSERT_TRUE(s->Timer1->isActive());
    QProgressBar* bar = s->SplashProgressBar1;
    for (int n = 2; n <= 6; ++n) s->Timer1_Timer();
    EXPECT_EQ(s->lblSec->text(), "(6)");
    EXPECT_EQ(bar->value(), 6);
    Close();
    // Past a hundred ticks the bar keeps within its range, and the count stops at the top.
    vm::SplashBar after;
    for (int n = 2; n <= 120; ++n) after = vm::SplashBarAfterTick(after, n);
    EXPECT_EQ(after, (vm::SplashBar{52, 100, 99}));
    EXPECT_EQ(vm::NextSplashTick(32767), 32767);
}

// A stored window place from a larger or a second monitor no longer there:
// the splash window still shows whole on the screen.
TEST_F(Splash, AStoredPlaceOffTheScreenStillShowsItWhole) {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const QRect& stored : {QRect(screen.right() + 1000, 200, 1200, 900),
                                QRect(screen.right() - 300, screen.bottom() - 200, 1600, 1200),
                                QRect(screen.right() - 600, 100, 800, 600)}) {
        vm::frmVelmoraOpen* s = vm::ShowSplash(stored);
        EXPECT_TRUE(screen.contains(s->frameGeometry())) << stored.x() << "," << stored.y();
        Close();
    }
}

TEST_F(Splash, ClicksCloseIt) {
    QTest::mouseClick(vm::ShowSplash(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(vm::SplashWindow(), nullptr);
    EXPECT_TRUE(fx.messages.shown.empty());
    Close();
    QTest::mouseClick(vm::ShowSplash()->lblSplash, Qt::LeftButton);
    EXPECT_EQ(vm::SplashWindow(), nullptr);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_NE(fx.messages.shown[0].text.find("Control+Alt+L"), std::string::npos);
    Close();
}

}  // namespace
