// The alarm queue, the timer and the alarm window in the real (headless) main
// window, with the clock, sound and speech fakes: a calendar file and a
// settings database made here, the month drawn, time moved by hand and the
// ticks run.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include <memory>

#include "alarms/alarmtimer.h"
#include "alarms/frmalarm.h"
#include "alarms/frmstopwatch.h"
#include "core/appearance.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/schema.h"
#include "core/soundfiles.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::Module1;
using Strings = std::vector<std::string>;

namespace {

class AlarmTimerTest : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    vm::FakeClock clock{{2026, 12, 6, 9, 0, 0}};
    vm::FakeSoundPlayer sound;
    vm::FakeSpeech speech;
    std::string calPath = vmtest::FreshCalendar();
    std::shared_ptr<db::Database> cal = db::Database::Open(calPath);
    std::string settingsPath = vmtest::FreshSettings();
    std::unique_ptr<vm::frmVelmora> w;

    void SetUp() override {
        vm::SetClock(&clock);
        vm::SetSoundPlayer(&sound);
        vm::SetSpeech(&speech);
        setenv("VELMORA_DATA_DIR", vmtest::MakeTempDir("velmora-alarms").c_str(), 1);
        vm::EnsureSoundFolder();
        for (int n = 1; n <= 30; ++n) Module1.SoundFile[size_t(n)] = vm::DefaultSoundFile(n);
        Module1.CalendarFilePath = calPath;
        vm::MainState.pSettingsFile = settingsPath;
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->alarmTimer->fireWaitMs = 0;
        w->setGeometry(100, 100, 900, 600);
        w->show();
    }
    void TearDown() override {
        vm::UnloadAlarm();
        w.reset();
        QApplication::processEvents();
        vm::SetClock(nullptr);
        vm::SetSoundPlayer(nullptr);
        vm::SetSpeech(nullptr);
    }

    void AddRecord(vm::CivilDate d, int hour, int minute, const char* ampm, const std::string& text,
                   const char* alarm = "", int sound = 2) {
        auto st = cal->prepare(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
            "[Alarm],[SoundNum],[WorkDay],[DateType],[Hr24]) VALUES (0,?,?,?,?,?,?,'',0,?,?,-1,'Event',0)");
        st.bindAll({db::Text(vm::FormatIso(d)), db::Int(vm::Date2Julian(d)), db::Int(hour), db::Int(minute),
                    db::Text(ampm), db::Text(text), db::Text(alarm), db::Int(sound)});
        st.run();
    }
    int64_t SortingRows() {
        auto st = cal->prepare("SELECT COUNT(*) FROM [Sorting]");
        return st.step() ? db::AsInt(st.column(0)) : -1;
    }
    void Draw(const char* month, const char* year) {
        w->cmbMonth->setCurrentText(month);
        w->cmbYear->setCurrentText(year);
        w->cmbmonth_Click();
    }
    void At(int hour, int minute, int second, int day = 6) { clock.time = {2026, 12, day, hour, minute, second}; }
    // One tick, run to its end (the waits are shortened to nothing).
    void Tick() {
        w->alarmTimer->tmrWait_Timer();
        Settle();
    }
    void Settle() {
        for (int k = 0; k < 200 && w->alarmTimer->firing(); ++k) QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    Strings Texts() {
        Strings out;
        for (int i = 1; i <= Module1.AlarmQueueCount; ++i) out.push_back(Module1.AlarmQueueText[size_t(i)]);
        return out;
    }
    QString Shown() {
        auto* l = vm::AlarmWindow() ? vm::AlarmWindow()->findChild<QLabel*>("lblAlarmMsg") : nullptr;
        return l ? l->text() : QString("(no alarm window)");
    }
    static void Press(vm::frmAlarm* a, const char* key) {
        QAction* b = a->Toolbar1->findChild<QAction*>(key);
        ASSERT_NE(b, nullptr) << key;
        b->trigger();
    }
    static std::string Panel2(vm::frmAlarm* a) {
        return a->findChild<QLabel*>("StatusBar1_Panel2")->text().toStdString();
    }
};

TEST_F(AlarmTimerTest, ARecordOfTodayRingsInTheAlarmWindowWhoseButtonsReplayAndStopIt) {
    // "<", "&" and quotes are read as written.
    const std::string text = "Tom & Jerry <b> \"quoted\" 'single'";
    const std::string message = "Sunday Dec 6, 2026 9:05 am - " + text;
    const std::string wave = vm::ResolveDataPath(vm::DefaultSoundFile(2));
    for (bool voice : {false, true}) {
        SCOPED_TRACE(voice ? "speech on" : "speech off");
        sound.clear();
        *speech.log = {};
        Module1.OptVoice = voice;
        AddRecord({2026, 12, 6}, 9, 5, "AM", text);
        At(9, 0, 0);
        Draw("December", " 2026");
        ASSERT_EQ(Texts(), Strings{text});
        EXPECT_EQ(w->tmrWait->interval(), 15000);
        EXPECT_EQ(w->txtDuration->text(), "True");

        At(9, 4, 55);
        w->tmrWait->start(0);  // the timer's own tick, now
        for (int k = 0; k < 50 && Module1.AlarmQueueText[1] == text; ++k) QApplication::processEvents();
        Settle();
        vm::frmAlarm* alarm = vm::AlarmWindow();
        ASSERT_NE(alarm, nullptr);
        EXPECT_EQ(Shown().toStdString(), message);
        EXPECT_EQ(Module1.SelDayText, message);
        EXPECT_TRUE(alarm->isVisible() && !alarm->isMinimized() && Module1.AlarmOpen);
        EXPECT_TRUE(alarm->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QRect m = w->frameGeometry();
        EXPECT_NEAR(alarm->x() + alarm->width() / 2.0, m.x() + m.width() / 2.0, 2) << "centred on the main window";
        EXPECT_NEAR(alarm->y() + alarm->height() / 2.0, m.y() + m.height() / 2.0, 2);
        const Strings none, once{wave}, twice{wave, wave}, said{message}, saidTwice{message, message};
        EXPECT_EQ(sound.played, voice ? none : once);
        EXPECT_EQ(speech.log->spoken, voice ? said : none);
        // Nothing left: the timer stops.
        EXPECT_FALSE(w->tmrWait->isActive());
        EXPECT_EQ(w->txtDuration->text(), "False");

        // Speak plays it again (paused speech resumes first); a second press stops the sound.
        if (voice) Press(alarm, "pause");
        Press(alarm, "Sound2");
        EXPECT_EQ(sound.played, voice ? none : twice);
        EXPECT_EQ(speech.log->spoken, voice ? saidTwice : none);
        EXPECT_EQ(speech.log->resumes, voice ? 1 : 0);
        EXPECT_EQ(Panel2(alarm), "Alarm02.wav");
        Press(alarm, "Sound2");
        EXPECT_EQ(sound.playing, "");
        EXPECT_EQ(Panel2(alarm), "");
        const int fontSize = alarm->lblAlarmMsg->font().pointSize();
        for (const char* key : {"UpArrow", "UpArrow", "DownArrow"}) Press(alarm, key);
        EXPECT_EQ(alarm->lblAlarmMsg->font().pointSize(), fontSize + 1);
        const int soundStops = sound.stops, speechStops = speech.log->stops;
        Press(alarm, "btn_cancel");
        EXPECT_EQ(sound.stops, soundStops + 1);
        EXPECT_EQ(speech.log->stops, speechStops + (voice ? 1 : 0));

        // A rebuild that leaves the queue empty closes the window at its next focus.
        cal->exec("DELETE FROM [Velmora]");
        Draw("December", " 2026");
        alarm->Form_GotFocus();
        EXPECT_FALSE(Module1.AlarmOpen);
        EXPECT_EQ(vm::AlarmWindow(), nullptr);
        QApplication::processEvents();
    }
}

TEST_F(AlarmTimerTest, OnlyTodaysMonthAndYearArmTheQueueAndEnabledDailyAlarmsStandOnce) {
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
    const int64_t sorting = SortingRows();
    w->SetAlarms();
    w->SetAlarms();
    EXPECT_EQ(SortingRows(), sorting);
    EXPECT_EQ(Module1.AlarmMsg, "1: 12/6/2026 10:00:00 AM - This year Snd:2\r\n"
                                "2: 12/6/2026 11:00:00 AM - DAILY ALARM: Stretch Snd:5\r\n"
                                "3: 12/6/2026 6:15:00 PM - DAILY ALARM: Walk Snd:1\r\n");

    // A day without entries arms no daily alarm.
    cal->exec("DELETE FROM [Velmora]");
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

TEST_F(AlarmTimerTest, ADailyAlarmEditedInTheStopwatchWindowRingsItsOwnWaveFile) {
    AddRecord({2026, 12, 6}, 8, 0, "AM", "Breakfast");  // today's cell has an entry
    Draw("December", " 2026");
    w->mnuFile_ShowTimer->trigger();
    auto* model = vm::StopWatch()->AlarmsModel;
    const int row = model->rowCount() - 1;
    const std::string wave = vm::ResolveDataPath(vm::DefaultSoundFile(3));
    for (auto [field, text] : {std::pair{"Hour", "9"}, std::pair{"Minute", "30"}, std::pair{"AMPM", "AMET"},
                               std::pair{"AlarmText", "Stretch"}, std::pair{"SoundNum", wave.c_str()}})
        ASSERT_TRUE(model->setData(model->index(row, model->fieldIndex(field)), QString::fromStdString(text))) << field;
    EXPECT_TRUE(Module1.AlarmsChanged);
    EXPECT_TRUE(Texts().empty()) << "an edit alone changes no queue";
    w->mnuFile_ShowTimer->trigger();
    EXPECT_FALSE(Module1.AlarmsChanged);
    ASSERT_EQ(Texts(), Strings{"DAILY ALARM: Stretch"});
    At(9, 30, 5);
    Tick();
    ASSERT_FALSE(sound.played.empty());
    EXPECT_EQ(sound.played.back(), wave) << "the alarm's own wave file";
    EXPECT_EQ(fx.messages.shown.size(), 0u) << "never an error box";
    vm::UnloadStopWatch();
}

}  // namespace
