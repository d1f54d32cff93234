// The splash window frmVelmoraOpen, headless.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
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

// Points the program folder at a temporary one for the test.
struct ProgramDir {
    std::string dir = vmtest::MakeTempDir("velmora-prog");
    std::string saved;
    ProgramDir() {
        if (const char* d = std::getenv("VELMORA_PROGRAM_DIR")) saved = d;
        setenv("VELMORA_PROGRAM_DIR", dir.c_str(), 1);
        fs::create_directories(dir + "/Graphics/Splash");
    }
    ~ProgramDir() {
        if (saved.empty())
            unsetenv("VELMORA_PROGRAM_DIR");
        else
            setenv("VELMORA_PROGRAM_DIR", saved.c_str(), 1);
    }
    void picture(const std::string& name, Qt::GlobalColor color) {
        QImage img(80, 40, QImage::Format_RGB32);
        img.fill(color);
        ASSERT_TRUE(img.save(QString::fromStdString(dir + "/Graphics/Splash/" + name), "JPG"));
    }
};

void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

std::string ThisMonthsPicture() {
    std::string folder;
    int32_t colour = 0;
    vm::GetSplashPicture(folder, colour);
    return folder;
}

TEST(frmVelmoraOpen, ShowsTheMonthsPictureNameAndVersionInItsColour) {
    vmtest::Fixture fx;
    ProgramDir prog;
    prog.picture(ThisMonthsPicture(), Qt::darkBlue);
    vmtest::WriteAll(prog.dir + "/Graphics/Splash/SplashTextColor.txt", "888888888888\r\n");
    vm::frmVelmoraOpen* s = vm::ShowSplash(QRect(100, 100, 1000, 700));
    ASSERT_NE(s, nullptr);
    EXPECT_TRUE(vm::Module1.SplashOpen);
    EXPECT_TRUE(s->windowTitle().contains("Velmora"));
    EXPECT_EQ(s->picturePath(), vm::SplashFolder() + ThisMonthsPicture());
    ASSERT_FALSE(s->Image4->pixmap().isNull());
    EXPECT_EQ(s->lblSec->palette().color(QPalette::WindowText), QColor(Qt::white));
    const QPoint off = s->geometry().center() - QRect(100, 100, 1000, 700).center();
    EXPECT_LE(off.manhattanLength(), 8) << "centred on the main window, frame aside";
    EXPECT_TRUE(s->Timer1->isActive());
    EXPECT_EQ(vm::ShowSplash(), s) << "one instance";
    vm::CloseSplash();
    EXPECT_FALSE(vm::Module1.SplashOpen);
    EXPECT_EQ(vm::SplashWindow(), nullptr);
    Flush();
}

TEST(frmVelmoraOpen, FallsBackOnTheInstallPictureThenOnNone) {
    vmtest::Fixture fx;
    ProgramDir prog;
    prog.picture("Install.jpg", Qt::darkGreen);
    vm::frmVelmoraOpen* s = vm::ShowSplash();
    EXPECT_EQ(s->picturePath(), vm::SplashFallbackPicture());
    EXPECT_EQ(s->textColor(), 0) << "no colour file: black";
    const QSize withPicture = s->size();
    vm::CloseSplash();
    Flush();

    fs::remove(prog.dir + "/Graphics/Splash/Install.jpg");
    s = vm::ShowSplash();
    EXPECT_EQ(s->picturePath(), "");
    EXPECT_TRUE(s->Image4->pixmap().isNull());
    EXPECT_EQ(s->size(), withPicture) << "keeps its size";
    vm::CloseSplash();
    Flush();
}

TEST(frmVelmoraOpen, TheCounterAndTheProgressBarMoveWithTheTicks) {
    vmtest::Fixture fx;
    ProgramDir prog;
    vm::frmVelmoraOpen* s = vm::ShowSplash();
    EXPECT_EQ(s->lblSec->text(), "(1)");
    QProgressBar* bar = s->SplashProgressBar1;
    const int startValue = bar->value();
    for (int n = 2; n <= 5; ++n) {
        s->Timer1_Timer();
        EXPECT_EQ(s->lblSec->text(), QString("(%1)").arg(n));
        EXPECT_EQ(bar->value(), startValue) << "the bar first moves at 6";
    }
    s->Timer1_Timer();
    EXPECT_EQ(bar->minimum(), 5);
    EXPECT_EQ(bar->maximum(), 15);
    EXPECT_EQ(bar->value(), 6);
    for (int n = 7; n <= 15; ++n) s->Timer1_Timer();
    // At 15 the minimum 16 lies above the maximum 15 then, so only the rest applies.
    EXPECT_EQ(bar->minimum(), 5);
    EXPECT_EQ(bar->maximum(), 50);
    EXPECT_EQ(bar->value(), 15);
    vm::CloseSplash();
    Flush();
    // Past a hundred ticks the bar keeps within its range, and the count stops at the top.
    vm::SplashBar after;
    for (int n = 2; n <= 120; ++n) after = vm::SplashBarAfterTick(after, n);
    EXPECT_EQ(after, (vm::SplashBar{52, 100, 99}));
    EXPECT_EQ(vm::NextSplashTick(32767), 32767);
}

TEST(frmVelmoraOpen, ClicksCloseIt) {
    vmtest::Fixture fx;
    ProgramDir prog;
    vm::frmVelmoraOpen* s = vm::ShowSplash();
    QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(vm::SplashWindow(), nullptr);
    EXPECT_FALSE(vm::Module1.SplashOpen);
    EXPECT_TRUE(fx.messages.shown.empty());
    Flush();

    s = vm::ShowSplash();
    QTest::mouseClick(s->lblSplash, Qt::LeftButton);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_NE(fx.messages.shown[0].text.find("Control+Alt+L"), std::string::npos);
    EXPECT_EQ(vm::SplashWindow(), nullptr);
    EXPECT_FALSE(vm::Module1.SplashOpen);
    Flush();
}

TEST(SplashPictures, TheBuildMadeThemForEveryMonth) {
    const std::string folder = vm::JoinPath(vm::JoinPath(vm::ProgramFolder(), "Graphics"), "Splash");
    if (!fs::exists(folder)) GTEST_SKIP() << "the splash pictures are not built";
    for (int m = 1; m <= 12; ++m) {
        const QImage img(QString::fromStdString(folder + "/" + vm::SplashPictureName(m)));
        EXPECT_FALSE(img.isNull()) << m;
    }
    EXPECT_FALSE(QImage(QString::fromStdString(folder + "/Install.jpg")).isNull());
    const std::string line = vmtest::ReadAll(folder + "/SplashTextColor.txt");
    ASSERT_GE(line.size(), 12u);
    for (int m = 0; m < 12; ++m) EXPECT_TRUE(line[static_cast<size_t>(m)] >= '1' && line[static_cast<size_t>(m)] <= '8');
}

}  // namespace
