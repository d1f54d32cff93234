// The alarm queue, the timer and the alarm window in the real main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include "alarmfixture.h"
#include "core/files.h"

namespace db = vm::db;
using vm::Module1;
using vmtest::Strings;

namespace {

using vmtest::AlarmTimerTest;

TEST_F(AlarmTimerTest, ARecordOfTodayRingsAndTheButtonsReplayAndStopIt) {
    // "<", "&" and quotes are read as written.
    const std::string text = "Tom & Jerry <b> \"quoted\" 'single'";
    const std::string message = "Sunday Dec 6, 2026 9:05 am - " + text;
    const std::string wave = vm::ResolveDataPath(vm::DefaultSoundFile(2));
    auto press = [](vm::frmAlarm* a, const char* key) {
        QAction* b = a->Toolbar1->findChild<QAction*>(key);
        ASSERT_NE(b, nullptr) << key;
        b->trigger();
    };
    auto panel2 = [](vm::frmAlarm* a) { return a->findChild<QLabel*>("StatusBar1_Panel2")->text().toStdString(); };
    for (bool voice : {false, true}) {
        SCOPED_TRACE(voice ? "speech on" : "speech off");
        sound.clear();
        *speech.log = {};
        Module1.OptVoice = voice;
        AddRecord({2026, 12, 6}, 9, 5, "AM", text);
        At(9, 0, 0);
        Draw("December", " 2026");
        ASSERT_EQ(Texts(), Strings{text});
        EXPECT_EQ(w->txtDuration->text(), "True");

        At(9, 4, 55);
        w->tmrWait->start(0);  // the timer's own tick, now
        for (int k = 0; k < 50 && Module1.AlarmQueueText[1] == text; ++k) QApplication::processEvents();
        Settle();
        vm::frmAlarm* alarm = vm::AlarmWindow();
        ASSERT_NE(alarm, nullptr);
        EXPECT_EQ(Shown().toStdString(), message);
        EXPECT_TRUE(alarm->isVisible() && !alarm->isMinimized() && Module1.AlarmOpen);
        EXPECT_TRUE(alarm->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const Strings none, once{wave}, twice{wave, wave}, said{message}, saidTwice{message, message};
        EXPECT_EQ(sound.played, voice ? none : once);
        EXPECT_EQ(speech.log->spoken, voice ? said : none);
        // Nothing left: the timer stops.
        EXPECT_FALSE(w->tmrWait->isActive());
        EXPECT_EQ(w->txtDuration->text(), "False");

        // Speak plays it again (paused speech resumes first); a second press stops the sound.
        if (voice) press(alarm, "pause");
        press(alarm, "Sound2");
        EXPECT_EQ(sound.played, voice ? none : twice);
        EXPECT_EQ(speech.log->spoken, voice ? saidTwice : none);
        EXPECT_EQ(speech.log->resumes, voice ? 1 : 0);
        EXPECT_EQ(panel2(alarm), "Alarm02.wav");
        press(alarm, "Sound2");
        EXPECT_EQ(sound.playing, "");
        EXPECT_EQ(panel2(alarm), "");
        const int fontSize = alarm->lblAlarmMsg->font().pointSize();
        for (const char* key : {"UpArrow", "UpArrow", "DownArrow"}) press(alarm, key);
        EXPECT_EQ(alarm->lblAlarmMsg->font().pointSize(), fontSize + 1);
        const int soundStops = sound.stops, speechStops = speech.log->stops;
        press(alarm, "btn_cancel");
        EXPECT_EQ(sound.stops, soundStops + 1);
        EXPECT_EQ(speech.log->stops, speechStops + (voice ? 1 : 0));

        // A rebuild that leaves the queue empty closes the window at its next focus.
        calendar.db->exec("DELETE FROM [Velmora]");
        Draw("December", " 2026");
        alarm->Form_GotFocus();
        EXPECT_FALSE(Module1.AlarmOpen);
        EXPECT_EQ(vm::AlarmWindow(), nullptr);
        QApplication::processEvents();
    }
}

TEST_F(AlarmTimerTest, OnlyTodaysMonthArmsTheQueueWithEachDailyAlarmOnce) {
    AddRecord({2026, 12, 6}, 10, 0, "AM", "This year");
    AddRecord({2025, 12, 6}, 10, 0, "AM", "Last year");
    AddRecord({2026, 11, 6}, 10, 0, "AM", "Last month");
    AddRecord({2026, 12, 6}, 8, 0, "AM", "Gone");
    db::Database::Open(settingsPath)
        ->exec("INSERT INTO [Alarms] ([Disable],[Hour],[Minute],[AMPM],[AlarmText],[SoundNum]) VALUES "
               "(0, 11, 0, 'AM', 'Stretch', 5), (-1, 11, 0, 'AM', 'Off', 5), (NULL, 11, 0, 'AM', 'Unset', 5),"
               "(0, NULL, 0, 'PM', 'No hour', 5), (0, 6, 15, 'PMET', 'Walk', NULL)");
    for (auto [month, year] : {std::pair{"December", " 2025"}, std::pair{"November", " 2026"}}) {
        Module1.AlarmQueueCount = 1;
        Module1.AlarmQueueText[1] = "Kept";
        Draw(month, year);
        EXPECT_EQ(Texts(), Strings{"Kept"}) << month << year;
    }
    Draw("December", " 2026");
    const int64_t sorting = calendar.Count("Sorting");
    w->SetAlarms();
    w->SetAlarms();
    EXPECT_EQ(calendar.Count("Sorting"), sorting);
    EXPECT_EQ(Module1.AlarmMsg, "1: 12/6/2026 10:00:00 AM - This year Snd:2\r\n"
                                "2: 12/6/2026 11:00:00 AM - DAILY ALARM: Stretch Snd:5\r\n"
                                "3: 12/6/2026 6:15:00 PM - DAILY ALARM: Walk Snd:1\r\n");

    // A day without entries arms no daily alarm.
    calendar.db->exec("DELETE FROM [Velmora]");
    Draw("December", " 2026");
    EXPECT_TRUE(Texts().empty());
}

TEST_F(AlarmTimerTest, TodaysEntriesFireInOrderOnceAndTomorrowsAfterMidnight) {
    AddRecord({2026, 12, 6}, 9, 5, "AM", "First", "", 3);
    AddRecord({2026, 12, 6}, 11, 59, "PM", "Late");
    AddRecord({2026, 12, 7}, 12, 10, "AM", "Tomorrow early");
    Draw("December", " 2026");
    w->txtDuration->setText("4:59");
    w->cmdGo->click();
    EXPECT_EQ(Texts(), (Strings{"First", "Late", "Timer Complete"}));
    w->alarmTimer->fireWaitMs = 60000;
    At(9, 5, 0);  // 9:04:59 is 1 s late: still due
    w->alarmTimer->tmrWait_Timer();
    // During the first wait: shown, nothing played yet; ticks meanwhile fire nothing twice.
    EXPECT_EQ(Shown(), "Sunday Dec 6, 2026 9:05 am - First");
    EXPECT_TRUE(sound.played.empty());
    w->alarmTimer->tmrWait_Timer();
    w->alarmTimer->tmrWait_Timer();
    auto* wait = w->alarmTimer->findChild<QTimer*>("tmrAlarmWait");
    ASSERT_NE(wait, nullptr);
    w->alarmTimer->fireWaitMs = 0;
    wait->setInterval(0);
    Settle();
    EXPECT_EQ(Shown(), "Sunday Dec 6, 2026 9:04 am - Timer Complete");
    EXPECT_EQ(sound.played, (Strings{vm::ResolveDataPath(vm::DefaultSoundFile(3)),
                                     vm::ResolveDataPath(vm::DefaultSoundFile(1))}));
    EXPECT_TRUE(w->tmrWait->isActive()) << "Late is left";

    At(23, 59, 5);
    Tick();
    EXPECT_EQ(Shown(), "Sunday Dec 6, 2026 11:59 pm - Late");
    EXPECT_FALSE(w->tmrWait->isActive());  // nothing left today
    // Past midnight the minute watch rebuilds the queue for the new day.
    At(0, 0, 40, 7);
    auto* watch = w->alarmTimer->findChild<QTimer*>("tmrAlarmDay");
    ASSERT_TRUE(watch && watch->isActive());
    watch->setInterval(0);
    for (int k = 0; k < 20 && Texts() != Strings{"Tomorrow early"}; ++k)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    watch->setInterval(60000);
    At(0, 10, 0, 7);
    Tick();
    EXPECT_EQ(Shown(), "Monday Dec 7, 2026 12:10 am - Tomorrow early");
}

}  // namespace
