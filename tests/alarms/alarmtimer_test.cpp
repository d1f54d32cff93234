// The alarm queue, the timer and the alarm window in the real main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

#include <algorithm>
#include <filesystem>

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
    const std::string wave = vm::ResolveDataPath(vm::DefaultSoundFile(2));
    auto press = [](vm::frmAlarm* a, const char* key) {
        QAction* b = a->Toolbar1->findChild<QAction*>(key);
        ASSERT_NE(b, nullptr) << key;
        b->trigger();
    };
    for (bool voice : {false, true}) {
        SCOPED_TRACE(voice ? "speech on" : "speech off");
        sound.clear();
        *speech.log = {};
        Module1.OptVoice = voice;
        const std::string message = std::string("Sunday Dec 6, 2026 ") + (voice ? "9:15" : "9:05") + " am - " + text;
        AddRecord({2026, 12, 6}, 9, voice ? 15 : 5, "AM", text);
        At(9, 0, 0);
        Draw("December", " 2026");
        ASSERT_EQ(Texts(), Strings{text});
        EXPECT_EQ(w->txtDuration->text(), "True");
        EXPECT_EQ(Pass(20 * 60000).size(), voice ? 0u : 1u);
        vm::frmAlarm* alarm = vm::AlarmWindow();
        ASSERT_NE(alarm, nullptr);
        EXPECT_EQ(Shown().toStdString(), message);
        EXPECT_TRUE(alarm->isVisible() && !alarm->isMinimized() && Module1.AlarmOpen);
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
        press(alarm, "Sound2");
        EXPECT_EQ(sound.playing, "");
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

TEST_F(AlarmTimerTest, WithoutAVoiceTheWavePlaysAndTheErrorShowsOnce) {
    struct NoVoice : vm::ISpeechFactory {
        std::unique_ptr<vm::ISpeechVoice> createVoice() override { throw vm::SpeechError(429, "No speech engine"); }
    } none;
    vm::SetSpeech(&none);
    auto boxes = [&] {
        return std::count_if(fx.messages.shown.begin(), fx.messages.shown.end(),
                             [](const auto& m) { return m.title == "Initialize_Speech_Error"; });
    };
    AddRecord({2026, 12, 6}, 9, 2, "AM", "Speech off", "", 2);
    AddRecord({2026, 12, 6}, 9, 5, "AM", "Speech on", "", 3);
    AddRecord({2026, 12, 6}, 9, 10, "AM", "Again", "", 4);
    Draw("December", " 2026");
    struct Step { bool voice; int64_t ms; int wave; long boxes; } steps[] = {
        {false, 3 * 60000, 2, 0}, {true, 3 * 60000, 3, 1}, {true, 5 * 60000, 4, 1}};
    for (const auto& st : steps) {
        Module1.OptVoice = st.voice;
        const auto rings = Pass(st.ms);
        ASSERT_EQ(rings.size(), 1u) << st.wave;
        EXPECT_EQ(rings[0].wave, Wave(st.wave));
        EXPECT_EQ(boxes(), st.boxes) << st.wave;
        vm::UnloadAlarm();  // the next alarm loads the window and looks for a voice again
    }
}

TEST_F(AlarmTimerTest, TodaysQueueWhateverMonthIsShownAndPmInAnyCase) {
    // No record today: the daily alarms ring all the same; a month of another year is shown.
    AddDaily(4, 0, "pm", "Walk", 4);
    AddDaily(5, 0, "Pm", "Tea", 5);
    AddDaily(12, 0, "AM", "Gone at midnight", 6);
    Draw("March", " 2020");
    EXPECT_EQ(Module1.AlarmMsg, "1: 12/6/2026 4:00:00 PM - DAILY ALARM: Walk Snd:4\r\n"
                                "2: 12/6/2026 5:00:00 PM - DAILY ALARM: Tea Snd:5\r\n");
    // A record saved with "pm" in any case rings in the afternoon; the shown month stays.
    AddRecord({2026, 12, 6}, 1, 0, "pm", "One");
    AddRecord({2026, 12, 6}, 2, 0, "Pm", "Two");
    AddRecord({2026, 12, 6}, 3, 0, "PM", "Three");
    AddRecord({2026, 12, 7}, 9, 30, "AM", "Tomorrow");
    w->cmbmonth_Click();  // as a saved record does
    EXPECT_EQ(w->cmbMonth->currentText(), "March");
    EXPECT_EQ(Module1.AlarmMsg, "1: 12/6/2026 1:00:00 PM - One Snd:2\r\n"
                                "2: 12/6/2026 2:00:00 PM - Two Snd:2\r\n"
                                "3: 12/6/2026 3:00:00 PM - Three Snd:2\r\n"
                                "4: 12/6/2026 4:00:00 PM - DAILY ALARM: Walk Snd:4\r\n"
                                "5: 12/6/2026 5:00:00 PM - DAILY ALARM: Tea Snd:5\r\n");
    // Rebuilt again and again, nothing stands twice.
    w->SetAlarms();
    Draw("December", " 2026");
    EXPECT_EQ(Texts(), (Strings{"One", "Two", "Three", "DAILY ALARM: Walk", "DAILY ALARM: Tea"}));
}

TEST_F(AlarmTimerTest, TheShownMonthsOwnRowsQueueWhatTheRecordsWould) {
    // Entries due at one moment from occurrences and date records, with
    // priorities, AM/PM in any case and alarm offsets, yesterday to tomorrow;
    // hidden records and another day's entries stay out.
    using Rec = vmtest::Calendar::Rec;
    auto add = [&](Rec r) { calendar.Add("Velmora", r); };
    add(Rec{{2025, 12, 6}, "Yearly low", 2, 0, "pm", "Yearly", 10, false, 1, "", "", "15", 3});
    add(Rec{{2026, 12, 6}, "Date high", 2, 0, "PM", "", 0, false, 5, "", "", "", 4});
    add(Rec{{2026, 12, 6}, "Date plain", 2, 0, "Pm", "", 0, false, 0, "", "", "-10,30", 5});
    add(Rec{{2024, 12, 6}, "Yearly high", 2, 0, "PM", "Yearly", 10, false, 5, "", "", "", 6});
    add(Rec{{2026, 12, 6}, "Hidden", 2, 0, "PM", "", 0, true, 9, "", "", "", 7});
    add(Rec{{2026, 12, 6}, "Morning", 10, 0, "am", "", 0, false, 0, "", "", "", 8});
    add(Rec{{2026, 12, 5}, "Yesterday late", 11, 30, "PM", "", 0, false, 0, "", "", "-1500", 9});
    add(Rec{{2026, 12, 7}, "Tomorrow early", 12, 20, "AM", "", 0, false, 0, "", "", "30", 10});
    add(Rec{{2026, 12, 8}, "Later", 2, 0, "PM", "", 0, false, 0, "", "", "", 11});
    add(Rec{{2026, 11, 6}, "Monthly", 2, 0, "PM", "Monthly", 24, false, 1, "", "", "", 12});
    w->mnuFile_Build_Repeating_Click();
    Draw("December", " 2026");  // built from the records: the month's rows in hand
    const std::string fromMonth = Module1.AlarmMsg;
    const Strings order = Texts();
    ASSERT_TRUE(vm::KeptMonth(*calendar.db)) << "today's month is kept beside its rows";
    Draw("December", " 2026");  // read back from [Sorting] with the month
    EXPECT_EQ(Module1.AlarmMsg, fromMonth);
    w->SetAlarms();  // a rebuild of its own: from [Sorting] alone
    EXPECT_EQ(Module1.AlarmMsg, fromMonth);
    Draw("March", " 2020");  // the month kept is another: from the records
    EXPECT_EQ(Module1.AlarmMsg, fromMonth);
    // Queued a record at a time as the day cells show them: by day, higher
    // priority first, then by time; at one priority and time, occurrences
    // before date records.
    EXPECT_EQ(order, (Strings{" 1500 Minutes After - Yesterday late", "Yearly high", "Date high", "Yearly low",
                              " 15 Minutes Until - Yearly low", "Monthly", "Morning", "Date plain",
                              " 10 Minutes After - Date plain", " 30 Minutes Until - Date plain",
                              " 30 Minutes Until - Tomorrow early"}));
}

TEST_F(AlarmTimerTest, AQuickCountdownSurvivesRebuildsAndRingsOnTime) {
    AddRecord({2026, 12, 6}, 10, 0, "AM", "Meeting");
    Draw("December", " 2026");
    clock.time.millisecond = 600;
    w->txtDuration->setText("30");
    w->cmdGo->click();
    EXPECT_EQ(w->txtDuration->text(), "True");
    auto toolbar = [&](const char* key) { w->Toolbar1->findChild<QAction*>(key)->trigger(); };
    toolbar("Forward");
    toolbar("Back");
    AddRecord({2026, 12, 6}, 11, 0, "AM", "Saved");
    w->cmbmonth_Click();
    w->SetAlarms();  // the day watch's rebuild
    EXPECT_EQ(Texts(), (Strings{"Timer Complete", "Meeting", "Saved"}));
    EXPECT_TRUE(Pass(29900).empty()) << "not before its end";
    const auto rings = Pass(1000);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].wave, Wave(1));
    const int64_t started = vm::MomentSeconds({{2026, 12, 6}, 9, 0, 0}) * 1000 + 600;
    EXPECT_GE(rings[0].atMs, started + 30000);
    EXPECT_LE(rings[0].atMs, started + 31000);
    EXPECT_EQ(Shown(), "Sunday Dec 6, 2026 9:00 am - Timer Complete");
    EXPECT_EQ(Texts(), (Strings{"", "Meeting", "Saved"}));
    // Stop in the alarm window ends the sound of what rang; another countdown goes on.
    w->txtDuration->setText("60");
    w->cmdGo->click();
    const int stops = sound.stops;
    vm::AlarmWindow()->Toolbar1->findChild<QAction*>("btn_cancel")->trigger();
    EXPECT_EQ(sound.stops, stops + 1);
    EXPECT_TRUE(Pass(59000).empty());
    EXPECT_EQ(Pass(2000).size(), 1u);
}

TEST_F(AlarmTimerTest, EntriesRingOnceAcrossTheEndOfADayMonthAndYear) {
    struct Case { vm::CivilDate day, next; } cases[] = {
        {{2026, 12, 6}, {2026, 12, 7}}, {{2026, 11, 30}, {2026, 12, 1}}, {{2026, 12, 31}, {2027, 1, 1}}};
    AddDaily(12, 0, "AM", "Midnight daily", 6);
    for (const auto& c : cases) {
        SCOPED_TRACE(vm::FormatIso(c.day));
        calendar.db->exec("DELETE FROM [Velmora]");
        AddRecord(c.day, 11, 59, "PM", "Late", "", 3);
        AddRecord(c.next, 12, 0, "AM", "Midnight", "", 4);
        AddRecord(c.next, 12, 1, "AM", "Just after", "", 5);
        clock.time = {c.day.y, c.day.m, c.day.d, 23, 58, 30};
        Draw("March", " 2020");  // the program runs overnight on another month
        const auto rings = Pass(4 * 60000);
        const int64_t midnight = vm::DaysFromCivil(c.next) * 86400000;
        struct Expected { int sound; int64_t atMs; } expected[] = {
            {3, midnight - 60000}, {4, midnight}, {6, midnight}, {5, midnight + 60000}};
        ASSERT_EQ(rings.size(), std::size(expected));
        for (size_t i = 0; i < rings.size(); ++i) {
            EXPECT_EQ(rings[i].wave, Wave(expected[i].sound)) << i;
            EXPECT_GE(rings[i].atMs, expected[i].atMs) << "never before its moment";
            EXPECT_LT(rings[i].atMs, expected[i].atMs + 2000) << "within 2 s after its minute begins";
        }
        EXPECT_EQ(w->cmbMonth->currentText(), "March");
    }
}

TEST_F(AlarmTimerTest, ClockJumpsRingSkippedEntriesOnceNeverTwice) {
    // Forward 5 minutes: the entry skipped rings when noticed; the countdown keeps its own time.
    AddRecord({2026, 12, 6}, 10, 3, "AM", "Skipped", "", 3);
    AddRecord({2026, 12, 6}, 10, 7, "AM", "After", "", 4);
    At(10, 0, 0);
    Draw("December", " 2026");
    w->txtDuration->setText("4:0");
    w->cmdGo->click();
    clock.jumpWall(5 * 60000);
    auto rings = Pass(60000);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].wave, Wave(3));
    EXPECT_LE(rings[0].atMs, vm::WallNowMs() - 60000 + vm::AlarmTimer::kWatchMs);
    rings = Pass(3 * 60000);  // steady 4:00 after the start, wall 10:09
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_EQ(rings[0].wave, Wave(4));
    EXPECT_EQ(rings[1].wave, Wave(1));
    EXPECT_EQ(Shown(), "Sunday Dec 6, 2026 10:09 am - Timer Complete") << "the moment it completed";

    // Back 3 minutes, then a save rebuilds the queue: what rang does not ring again.
    calendar.db->exec("DELETE FROM [Velmora]");
    AddRecord({2026, 12, 6}, 11, 1, "AM", "First", "", 5);
    AddRecord({2026, 12, 6}, 11, 2, "AM", "Second", "", 6);
    AddRecord({2026, 12, 6}, 11, 4, "AM", "Third", "", 7);
    At(11, 0, 0);
    w->cmbmonth_Click();
    rings = Pass(150000);
    ASSERT_EQ(rings.size(), 2u);
    clock.jumpWall(-3 * 60000);
    AddRecord({2026, 12, 6}, 11, 5, "AM", "Fourth", "", 8);
    w->cmbmonth_Click();
    rings = Pass(6 * 60000);
    std::vector<std::string> waves;
    for (const auto& r : rings) waves.push_back(r.wave);
    EXPECT_EQ(waves, (Strings{Wave(7), Wave(8)}));
}

TEST_F(AlarmTimerTest, TicksAndRebuildsDuringAFiringsWaitRingNothingTwice) {
    AddRecord({2026, 12, 6}, 9, 5, "AM", "First", "", 3);
    AddRecord({2026, 12, 6}, 9, 5, "AM", "Same minute", "", 4);
    Draw("December", " 2026");
    w->alarmTimer->fireWaitMs = 60000;
    At(9, 5, 0);
    w->alarmTimer->tmrWait_Timer();
    EXPECT_EQ(Shown(), "Sunday Dec 6, 2026 9:05 am - First");
    EXPECT_TRUE(sound.played.empty()) << "shown at once, heard after the wait";
    w->alarmTimer->tmrWait_Timer();
    w->SetAlarms();
    w->alarmTimer->fireWaitMs = 0;
    w->alarmTimer->findChild<QTimer*>("tmrAlarmWait")->setInterval(0);
    Settle();
    EXPECT_EQ(sound.played, (Strings{Wave(3), Wave(4)}));
    EXPECT_TRUE(Pass(60000).empty());
}

TEST_F(AlarmTimerTest, EntriesOfYesterdaysRecordsRingOnceAfterMidnight) {
    // Built well before midnight, and built a moment before it.
    struct Case { vm::CivilDate day, next; int hour, minute, second; } cases[] = {
        {{2026, 12, 6}, {2026, 12, 7}, 23, 59, 59}, {{2026, 12, 31}, {2027, 1, 1}, 23, 57, 30}};
    for (const auto& c : cases) {
        SCOPED_TRACE(vm::FormatIso(c.day));
        Empty();
        // An alarm 2 minutes after 11:59 PM; a record rung every minute, as
        // the expansion writes an every-minute rule; one at 12:00 AM.
        AddRecord(c.day, 11, 59, "PM", "Late", "-2", 3);
        AddRecord(c.day, 11, 58, "PM", "Every minute", "-1,-2,-3,-4", 4);
        AddRecord(c.next, 12, 0, "AM", "Midnight", "", 5);
        OvernightFrom(c.day, c.hour, c.minute, c.second);
        const auto rings = Pass(6 * 60000);
        const std::string w3 = WaveName(3), w4 = WaveName(4), w5 = WaveName(5);
        Strings expected = {"00:00 " + w4, "00:00 " + w5, "00:01 " + w3, "00:01 " + w4, "00:02 " + w4};
        if (c.minute == 57) expected.insert(expected.end(), {"23:58 " + w4, "23:59 " + w3, "23:59 " + w4});
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(RingMinutes(rings), expected);
    }
}

TEST_F(AlarmTimerTest, AlarmsBeforeMidnightOfTomorrowsRecordsRingOnce) {
    struct Case { vm::CivilDate day, next; } cases[] = {{{2026, 12, 6}, {2026, 12, 7}}, {{2026, 12, 31}, {2027, 1, 1}}};
    const std::string w3 = WaveName(3), w4 = WaveName(4);
    for (const auto& c : cases) {
        SCOPED_TRACE(vm::FormatIso(c.day));
        Empty();
        // 10 minutes before 12:05 AM; offsets of 60, 45 and 20 minutes before
        // 12:30 AM and 10 after it; one in the morning rings nothing tonight.
        AddRecord(c.next, 12, 5, "AM", "Just past midnight", "10", 3);
        AddRecord(c.next, 12, 30, "AM", "Half past", "60,45,20,-10", 4);
        AddRecord(c.next, 9, 30, "AM", "Morning", "900", 5);
        OvernightFrom(c.day, 23, 44, 30);
        auto rings = Pass(12 * 60000);  // to 11:56:30 PM
        EXPECT_EQ(RingMinutes(rings), (Strings{"23:45 " + w4, "23:55 " + w3}));
        // Set back past 11:55 PM and rebuilt by a save: it rang, so it stays rung.
        clock.jumpWall(-2 * 60000);
        w->cmbmonth_Click();
        rings = Pass(50 * 60000);  // to 12:44:30 AM, over the midnight rebuild
        EXPECT_EQ(RingMinutes(rings),
                  (Strings{"00:05 " + w3, "00:10 " + w4, "00:30 " + w4, "00:40 " + w4}));
    }
}

TEST_F(AlarmTimerTest, AClockSetBackAcrossMidnightRingsNothingTwice) {
    AddDaily(12, 0, "AM", "Midnight daily", 6);
    AddRecord({2026, 12, 6}, 11, 59, "PM", "Late", "", 3);
    AddRecord({2026, 12, 7}, 12, 0, "AM", "Midnight", "", 4);
    AddRecord({2026, 12, 7}, 12, 1, "AM", "Just after", "", 5);
    clock.time = {2026, 12, 6, 23, 58, 30};
    Draw("December", " 2026");
    EXPECT_EQ(Pass(170000).size(), 4u);  // to 00:01:20
    clock.jumpWall(-150000);             // a time service sets it back to 11:58:50 PM
    const auto again = Pass(5 * 60000);
    EXPECT_TRUE(again.empty()) << again.size() << " rang twice, the first " << again[0].wave;
    // What was not rung yet still rings.
    AddRecord({2026, 12, 7}, 12, 5, "AM", "Later", "", 7);
    w->cmbmonth_Click();
    const auto later = Pass(2 * 60000);
    ASSERT_EQ(later.size(), 1u);
    EXPECT_EQ(later[0].wave, Wave(7));
}

TEST_F(AlarmTimerTest, AFullQueueDropsNoEntryAndAlwaysHoldsACountdown) {
    // Every 5 minutes from 9:00 AM for 150 steps (151 entries, up to 9:30 PM),
    // then a record of its own and a 20 s countdown.
    std::string every5;
    for (int k = 1; k <= 150; ++k) every5 += (k > 1 ? "," : "") + std::to_string(-5 * k);
    AddRecord({2026, 12, 6}, 9, 0, "AM", "Every 5 minutes", every5.c_str(), 3);
    AddRecord({2026, 12, 6}, 11, 6, "AM", "Later record", "", 4);
    At(8, 59, 50);
    Draw("December", " 2026");
    w->txtDuration->setText("20");
    w->cmdGo->click();
    EXPECT_EQ(w->txtDuration->text(), "True");
    auto waves = [](const std::vector<Ring>& rings) {
        Strings out;
        for (const auto& r : rings) out.push_back(r.wave);
        return out;
    };
    EXPECT_EQ(waves(Pass(25000)), (Strings{Wave(3), Wave(1)}));
    // The later record rings at its moment.
    clock.jumpWall(2 * 3600000 + 5 * 60000);  // 11:05:15
    EXPECT_EQ(Pass(60000).size(), 26u) << "the 25 skipped entries and the later record";
    EXPECT_EQ(sound.played.back(), Wave(4));
    // The rest ring to the last; a countdown still has room afterwards.
    clock.jumpWall(10 * 3600000 + 30 * 60000);  // 9:36 PM
    EXPECT_EQ(Pass(10000).size(), 151u - 1u - 25u);
    w->txtDuration->setText("5");
    w->cmdGo->click();
    EXPECT_EQ(waves(Pass(6000)), Strings{Wave(1)});
    // More countdowns than the queue can hold: the user is told of each one
    // not set, also after the first box.
    for (int i = 0; i < vm::kAlarmQueueSlots + 2; ++i) {
        w->txtDuration->setText("600");
        w->cmdGo->click();
    }
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].title, "Alarm Queue Full");
    EXPECT_EQ(fx.messages.shown[1].title, "Alarm Queue Full");
    EXPECT_EQ(w->txtDuration->text(), "600") << "a countdown not set is not shown as set";
}

// A record whose Date another program wrote in no form the program writes
// rings on the day it is shown by, with no box at every month drawn.
TEST_F(AlarmTimerTest, ARecordWithAnOddDateRingsOnItsShownDayWithoutABox) {
    AddRecord({2026, 12, 6}, 9, 30, "AM", "Odd date", "", 4);
    calendar.db->exec("UPDATE [Velmora] SET [Date] = '6.12.2026'");
    Draw("December", " 2026");
    Draw("January", " 2027");
    EXPECT_TRUE(fx.messages.shown.empty()) << fx.messages.shown[0].text;
    const auto rings = Pass(31 * 60000);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].wave, Wave(4));
}

// With the calendar hidden, today's alarms follow the calendar opened, also
// when its pass does not run (a calendar that may only be read).
TEST_F(AlarmTimerTest, AHiddenCalendarsAlarmsFollowTheCalendarOpened) {
    AddRecord({2026, 12, 6}, 9, 20, "AM", "Old file", "", 4);
    Draw("December", " 2026");
    w->mnuFile_Hide_Show_Click();
    vmtest::Calendar other;
    other.Add("Velmora", {{2026, 12, 6}, "New file", 9, 30, "AM"});
    std::filesystem::permissions(other.path, std::filesystem::perms::owner_read);
    fx.messages.answers.push_back(vm::MsgResult::Ok);  // the read-only box
    fx.messages.fileAnswers.push_back(other.path);
    w->findChild<QAction*>("mnuFile_Open")->trigger();
    std::filesystem::permissions(other.path,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    ASSERT_EQ(Module1.CalendarFilePath, other.path);
    EXPECT_EQ(Texts(), Strings{"New file"});
}

TEST_F(AlarmTimerTest, WakingAfterMidnightWithNothingQueuedRingsWithinSeconds) {
    AddRecord({2026, 12, 7}, 12, 0, "AM", "New day", "", 4);
    clock.time = {2026, 12, 6, 23, 50, 0};
    Draw("December", " 2026");
    EXPECT_EQ(w->txtDuration->text(), "False");
    EXPECT_TRUE(Pass(1000).empty());
    // The machine sleeps: both clocks move on, the program's timers do not.
    clock.advance(11 * 60000);
    const int64_t woke = vm::WallNowMs();
    const auto rings = Pass(10000);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].wave, Wave(4));
    EXPECT_LE(rings[0].atMs, woke + vm::AlarmTimer::kWatchMs);
}

TEST_F(AlarmTimerTest, WithoutAVoiceTheBoxShowsOnceARunAfterTheAlarmsText) {
    struct NoVoice : vm::ISpeechFactory {
        std::unique_ptr<vm::ISpeechVoice> createVoice() override { throw vm::SpeechError(429, "No speech engine"); }
    } none;
    // Records what the alarm window showed when a box came up.
    struct Watching : vm::FakeMessages {
        Strings labels;
        vm::MsgResult message(const std::string& text, vm::MsgButtons b, vm::MsgIcon i, const std::string& title) override {
            labels.push_back(AlarmTimerTest::Shown().toStdString());
            return FakeMessages::message(text, b, i, title);
        }
    } watch;
    vm::SetSpeech(&none);
    vm::SetMessages(&watch);
    Module1.OptVoice = true;
    AddRecord({2026, 12, 6}, 9, 2, "AM", "First", "", 2);
    AddRecord({2026, 12, 6}, 9, 5, "AM", "Second", "", 3);
    Draw("December", " 2026");
    // Told at start-up: the first alarm tells it no more.
    w->Initialize_Speech();
    ASSERT_EQ(watch.shown.size(), 1u);
    EXPECT_EQ(Pass(3 * 60000).size(), 1u);
    EXPECT_EQ(watch.shown.size(), 1u);
    // Not told yet this run: the alarm's text is up before the box.
    Module1.SpeechErrorShown = false;
    vm::UnloadAlarm();
    EXPECT_EQ(Pass(3 * 60000).size(), 1u);
    ASSERT_EQ(watch.shown.size(), 2u);
    EXPECT_EQ(watch.shown[1].title, "Initialize_Speech_Error");
    EXPECT_EQ(watch.labels[1], "Sunday Dec 6, 2026 9:05 am - Second");
    vm::SetMessages(&fx.messages);
}

// Until the first month drawn builds today's queue, the date watch asks for
// no rebuild: at start-up it would read the calendar while the long first
// repeat pass, whose progress lets timers run, still holds it.
TEST_F(AlarmTimerTest, TheDateWatchAsksForNothingBeforeTheFirstBuild) {
    AddRecord({2026, 12, 7}, 9, 30, "AM", "Next day", "", 4);
    int rebuilds = 0;
    QObject::connect(w->alarmTimer, &vm::AlarmTimer::rebuildWanted, [&] { ++rebuilds; });
    clock.advance(24 * 3600 * 1000);  // 7 December, 9:00 AM: a day the watch has not seen
    EXPECT_TRUE(Pass(10000).empty());
    EXPECT_EQ(rebuilds, 0);
    Draw("December", " 2026");
    const auto rings = Pass(31 * 60000);
    EXPECT_EQ(rebuilds, 0);
    ASSERT_EQ(rings.size(), 1u) << "the first build queued today's entry";
    clock.advance(24 * 3600 * 1000);  // 8 December: now the watch rebuilds
    Pass(10000);
    EXPECT_EQ(rebuilds, 1);
}

}  // namespace

namespace {

// A rebuild whose read of the calendar fails says so and keeps the entries
// the queue had: they still ring.
TEST_F(AlarmTimerTest, ARebuildThatCannotReadTheCalendarKeepsWhatWasQueued) {
    AddRecord({2026, 12, 6}, 9, 2, "AM", "Stand-up", "", 3);
    At(9, 0, 0);
    w->SetAlarms();
    ASSERT_EQ(vm::Module1.Alarms.count(), 1);
    calendar.db->exec("ALTER TABLE [RepeatingData] RENAME TO [Elsewhere]");
    fx.messages.clear();
    w->SetAlarms();
    EXPECT_FALSE(fx.messages.shown.empty()) << "the failed read is said";
    EXPECT_EQ(vm::Module1.Alarms.count(), 1);
    const auto rings = Pass(3 * 60000);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(rings[0].wave, Wave(3));
}

// A file another program holds locked at midnight: the new day's build says
// so once, is tried again by the watch, and what it could not read rings
// once the file can be read, late, never twice.
TEST_F(AlarmTimerTest, ANewDayBuiltWhileAFileCannotBeReadIsBuiltOnceItCan) {
    for (const bool settings : {false, true}) {
        SCOPED_TRACE(settings ? "settings" : "calendar");
        vm::Module1.Alarms.clear();
        calendar.db->exec("DELETE FROM [Velmora]");
        vm::db::Database::Open(settingsPath)->exec("DELETE FROM [Alarms]");
        const int day = settings ? 9 : 7;  // a day of its own: no clock set back
        AddRecord({2026, 12, day}, 12, 0, "AM", "Midnight", "", 4);
        AddRecord({2026, 12, day}, 12, 1, "AM", "Just after", "", 5);
        AddDaily(12, 0, "AM", "Midnight daily", 6);
        clock.time = {2026, 12, day - 1, 23, 59, 0};
        Draw("December", " 2026");
        const auto hide = [&](bool away) {
            const char* sql = away ? "ALTER TABLE [%s] RENAME TO [Elsewhere]" : "ALTER TABLE [Elsewhere] RENAME TO [%s]";
            char text[96];
            std::snprintf(text, sizeof text, sql, settings ? "Alarms" : "RepeatingData");
            if (settings) vm::db::Database::Open(settingsPath)->exec(text);
            else calendar.db->exec(text);
        };
        hide(true);
        fx.messages.clear();
        const auto waves = [](const std::vector<Ring>& rings) {
            std::vector<std::string> out;
            for (const auto& r : rings) out.push_back(r.wave);
            return out;
        };
        // To 12:00:30 AM: the records ring when only the daily alarms cannot be read.
        EXPECT_EQ(waves(Pass(90 * 1000)), settings ? std::vector<std::string>{Wave(4)} : std::vector<std::string>{});
        EXPECT_EQ(fx.messages.shown.size(), 1u) << "said once, not at every try";
        hide(false);
        EXPECT_EQ(waves(Pass(3 * 60000)), settings ? (std::vector<std::string>{Wave(6), Wave(5)})
                                                   : (std::vector<std::string>{Wave(4), Wave(6), Wave(5)}));
    }
}

// Left open over midnight, the month marks the new today, not yesterday.
TEST_F(AlarmTimerTest, MidnightMovesTodaysMarkInTheShownMonth) {
    clock.time = {2026, 12, 6, 23, 59, 30};
    Draw("December", " 2026");  // the 1st is a Tuesday: the 6th is cell 7
    const auto marked = [&](int cell) {
        auto* title = w->findChild<QLabel*>(QString("lblTitle_%1").arg(cell));
        return title->autoFillBackground() && title->palette().color(title->backgroundRole()) == QColor(Qt::black);
    };
    EXPECT_TRUE(marked(7));
    Pass(60000);
    EXPECT_FALSE(marked(7));
    EXPECT_TRUE(marked(8));
}

// An alarm of yesterday's record that rings at midnight, the new day's queue
// built in its tick and holding nothing: the window shown for it stays up.
TEST_F(AlarmTimerTest, AnAlarmFiringWhileTheQueueIsRebuiltStaysShown) {
    AddRecord({2026, 12, 6}, 11, 0, "PM", "Late party", "-60", 3);
    At(23, 59, 0);
    Draw("March", " 2020");
    const auto rings = Pass(2 * 60000);
    ASSERT_EQ(rings.size(), 1u);
    EXPECT_EQ(Module1.Alarms.count(), 0);
    QApplication::processEvents();
    vm::frmAlarm* alarm = vm::AlarmWindow();
    ASSERT_NE(alarm, nullptr);
    EXPECT_TRUE(alarm->isVisible());
    EXPECT_TRUE(Module1.AlarmOpen);
    EXPECT_NE(Shown().toStdString().find("Late party"), std::string::npos);
}

// A rebuild while a firing waits to show (at midnight the shown month is
// drawn again then) writes the list of what waits: the window still says
// what rang.
TEST_F(AlarmTimerTest, AnAlarmRebuiltDuringItsWaitShowsItsOwnMessage) {
    AddRecord({2026, 12, 6}, 9, 5, "AM", "Stand-up", "", 3);
    AddRecord({2026, 12, 6}, 11, 0, "AM", "Later", "", 4);
    At(9, 0, 0);
    Draw("December", " 2026");
    At(9, 5, 0);
    w->alarmTimer->tmrWait_Timer();  // fired; its window shows after the wait
    w->alarmTimer->SetAlarms();     // during the wait
    Settle();
    EXPECT_EQ(Shown().toStdString(), "Sunday Dec 6, 2026 9:05 am - Stand-up");
}

}  // namespace

