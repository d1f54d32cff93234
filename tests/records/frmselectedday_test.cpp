// The selected-day window: the day a title names, and the window driven
// headless with a fake clock, fake speech and fake message boxes.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "core/datewords.h"
#include "core/module1.h"
#include "core/selectedday.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/speech.h"
#include "records/frmselectedday.h"
#include "keyboard.h"
#include "testsupport.h"

namespace {

using vm::CivilDate;

// ---- rules without a window ----

TEST(SelectedDayRules, TitleNamesTheDayOrTodayStands) {
    const CivilDate today{2026, 12, 6};
    const CivilDate june5{2024, 6, 5};
    const struct { const char *title, *day, *year; CivilDate expected; } cases[] = {
        {"June", "5 ", " 2024", june5},               // as the month grid passes them
        {"JuneJuly", "5", "2024", today},             // the month test is exact
        {"May", "5", "2024", {2024, 5, 5}},
        {"Contact Information", "", "", today},
        {"February", "30", "2024", today},            // no such day: today, no failure
        {"June", "5", "24000", today},
        {"March", "3 ", " 99", {99, 3, 3}},           // the grid's early years are their own
        {"January", "1 ", " 1", {1, 1, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(vm::SelectedDayDate(c.title, c.day, c.year, today), c.expected) << c.title << "/" << c.day;
}

// ---- the window ----

class SelectedDayWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vm::SetClock(&clock);
        vm::SetSpeech(&speech);
        vm::ResetSelectedDayRunState();
    }
    void TearDown() override {
        vm::UnloadSelectedDay();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        main.reset();
        vm::SetSpeech(nullptr);
        vm::SetClock(nullptr);
        vm::ResetSelectedDayRunState();
    }

    static void fill(const char* title, const char* day, const char* year, const char* text) {
        vm::Module1.SelDayTitle = title;
        vm::Module1.SelDayDayNo = day;
        vm::Module1.SelDayYear = year;
        vm::Module1.SelDayText = text;
    }
    vm::frmSelectedDay* open() { return w = vm::ShowSelectedDay(); }
    // Closes as the user would, then opens again from the shared inputs.
    vm::frmSelectedDay* reopen() {
        w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return open();
    }
    QAction* button(const char* key) const {
        auto* a = w->findChild<QAction*>(key);
        EXPECT_NE(a, nullptr) << key;
        return a;
    }
    void click(const char* key) { button(key)->trigger(); }
    int fontSize() const { return w->txtDayText->font().pointSize(); }
    std::string shown() const { return w->txtDayText->toPlainText().toStdString(); }
    const std::vector<std::string>& spoken() const { return speech.log->spoken; }

    vmtest::Fixture fixture;
    vm::FakeClock clock{{2026, 12, 6, 9, 0, 0}};
    vm::FakeSpeech speech;
    std::unique_ptr<vm::frmVelmora> main;
    vm::frmSelectedDay* w = nullptr;
};

TEST_F(SelectedDayWindow, SaysTheDateThenThePlainTextAndCopiesWhatTheBoxShows) {
    // Angle brackets are words to the voice, never commands: the text reaches
    // the voice exactly as cleaned, and nothing wraps it in markup.
    vm::Module1.OptVoice = true;
    fill("June", "5 ", " 2024", "Tom && Jerry *bday* <volume level='0'/>< 5pm");
    open();
    EXPECT_EQ(w->windowTitle(), "Wednesday Jun 5, 2024");
    EXPECT_EQ(shown(), "Tom && Jerry *bday* <volume level='0'/>< 5pm");
    EXPECT_EQ(vm::Module1.SelDayText, "Tom & Jerry bday <volume level='0'/>< 5pm");
    EXPECT_EQ(spoken(), std::vector<std::string>{"Wednesday Jun 5, 2024,,Tom & Jerry bday <volume level='0'/>< 5pm"});
    EXPECT_EQ(speech.log->stops, 1) << "what was being said stops first";
    EXPECT_DOUBLE_EQ(speech.log->rate, -0.2) << "a little slower than normal, through the one voice";

    // Copy takes the box as edited, not the shared text an alarm may have written meanwhile.
    QGuiApplication::clipboard()->setText("old");
    w->txtDayText->setPlainText("Tom && Jerry");
    w->txtDayText->moveCursor(QTextCursor::End);
    QTest::keyClicks(w->txtDayText, " *at six*");
    vm::Module1.SelDayText = "An alarm's message";
    click("Copy");
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Wednesday Jun 5, 2024\r\nTom & Jerry at six");
    EXPECT_EQ(w->findChild<QLabel*>("StatusBar1_Panel2")->text(), "Text Copied to Clipboard");
    EXPECT_EQ(shown(), "Tom && Jerry *at six*");
}

// From the keyboard alone: Tab leaves the text (typing no tab into it) for
// the toolbar, whose buttons Space presses, the speech buttons among them.
TEST_F(SelectedDayWindow, TabLeavesTheTextForTheToolbarWhoseButtonsSpacePresses) {
    vm::Module1.OptVoice = true;
    fill("June", "5 ", " 2024", "Dentist");
    open();
    ASSERT_TRUE(vmtest::ActivateForKeys(w));
    ASSERT_EQ(vmtest::FocusName(), "txtDayText") << "the window opens with the keys in the text";
    const int first = fontSize();
    vmtest::Press(Qt::Key_Tab);
    EXPECT_EQ(vmtest::FocusName(), "UpArrow");
    EXPECT_EQ(shown(), "Dentist") << "no tab typed into the text";
    vmtest::Press(Qt::Key_Space);
    EXPECT_EQ(fontSize(), first + 1);

    const int stops = speech.log->stops;
    ASSERT_TRUE(vmtest::TabTo("cancel-16"));
    vmtest::Press(Qt::Key_Space);
    EXPECT_EQ(speech.log->stops, stops + 1) << "Stop reached and pressed";
    QGuiApplication::clipboard()->setText("old");
    ASSERT_TRUE(vmtest::TabTo("Copy", true));
    vmtest::Press(Qt::Key_Space);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), "Wednesday Jun 5, 2024\r\nDentist");
    ASSERT_TRUE(vmtest::TabTo("txtDayText"));
}

TEST_F(SelectedDayWindow, SpeechOffHidesItsButtonsFontSizeKeptAtLeastOne) {
    fill("About Velmora", "", "", "text");
    open();
    // Speech off: the speech buttons are hidden and do nothing.
    for (const char* key : {"RightArrow", "pause", "cancel-16"}) EXPECT_FALSE(button(key)->isVisible()) << key;
    for (const char* key : {"pause", "cancel-16", "RightArrow"}) click(key);
    EXPECT_EQ(speech.created, 0);
    EXPECT_EQ(speech.log->pauses + speech.log->stops + speech.log->resumes, 0);

    const int first = fontSize();
    for (int i = 0; i < 3; ++i) click("UpArrow");
    EXPECT_EQ(fontSize(), first + 3);
    reopen();
    EXPECT_EQ(fontSize(), first + 3) << "the kept size wins over the window's own";

    vm::ResetSelectedDayRunState();
    vm::Module1.SelDayTextSize = 2;
    reopen();
    EXPECT_EQ(fontSize(), 2);
    for (int i = 0; i < 3; ++i) click("DownArrow");
    EXPECT_EQ(fontSize(), 1);
    click("UpArrow");
    EXPECT_EQ(fontSize(), 2) << "one step up from the floor, not from below it";
}

TEST_F(SelectedDayWindow, SmallKeptSizesOpenAtTheDefaultsCentred) {
    main = std::make_unique<vm::frmVelmora>();
    main->setGeometry(100, 80, 1280, 800);
    vm::Module1.SelDayHeight = 1500;
    vm::Module1.SelDayWidth = 1999;
    vm::Module1.SelDayBackColor = -255;  // the absolute value: red
    fill("Contact Information", "", "", "card");
    open();
    EXPECT_EQ(vm::Module1.SelDayHeight, 4500);
    EXPECT_EQ(vm::Module1.SelDayWidth, 8000);
    EXPECT_EQ(w->height(), 300);
    EXPECT_EQ(w->width(), 533);
    EXPECT_EQ(w->txtDayText->palette().color(QPalette::Base), QColor(255, 0, 0));

    w->move(50, 60);
    w->resize(600, 400);
    reopen();
    EXPECT_EQ(w->pos(), QPoint(50, 60));
    EXPECT_EQ(w->size(), QSize(600, 400));
}

TEST_F(SelectedDayWindow, PauseResumesStopStartsOverAndUnloadStops) {
    vm::Module1.OptVoice = true;
    fill("June", "5", "2024", "Meeting");
    open();
    ASSERT_EQ(spoken().size(), 1u);

    click("pause");
    EXPECT_EQ(speech.log->pauses, 1);
    click("RightArrow");
    EXPECT_EQ(speech.log->resumes, 1);
    click("RightArrow");
    EXPECT_EQ(speech.log->resumes, 1) << "Play consumed the pause";

    const int stopsBefore = speech.log->stops;
    click("cancel-16");
    EXPECT_EQ(speech.log->stops, stopsBefore + 1);
    click("RightArrow");
    ASSERT_EQ(spoken().size(), 2u);
    EXPECT_EQ(spoken()[1], "Wednesday Jun 5, 2024,,Meeting") << "from the start, date first";

    // One instance: showing it again brings it forward unchanged and says nothing again.
    const size_t said = spoken().size();
    fill("July", "4", "2024", "second");
    EXPECT_EQ(vm::ShowSelectedDay(), w);
    EXPECT_EQ(shown(), "Meeting");
    EXPECT_EQ(spoken().size(), said);
    const int stops = speech.log->stops;
    vm::UnloadSelectedDay();
    EXPECT_EQ(vm::SelectedDay(), nullptr);
    EXPECT_FALSE(vm::Module1.SelectedDayOpen);
    EXPECT_EQ(speech.log->stops, stops + 1) << "unloading stops the speech";
    open();
    EXPECT_EQ(w->windowTitle(), "Thursday Jul 4, 2024");
}

TEST_F(SelectedDayWindow, VoiceFailureShowsItsBoxAndTheWindowOpensWithoutSpeech) {
    vm::Module1.OptVoice = true;
    fixture.messages.answers.push_back(vm::MsgResult::Cancel);
    speech.failNext = true;
    fill("June", "5", "2024", "text");
    open();
    ASSERT_EQ(fixture.messages.shown.size(), 1u);
    EXPECT_TRUE(vm::Module1.SelectedDayOpen);
    EXPECT_FALSE(w->hasVoice());
    for (const char* key : {"pause", "cancel-16", "RightArrow"}) click(key);
    EXPECT_TRUE(spoken().empty());
}

}  // namespace
