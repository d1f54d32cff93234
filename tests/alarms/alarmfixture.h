// The real (headless) main window with the clock, sound and speech fakes, a
// calendar file and a settings database made here and the shipped sounds in
// the data folder: the month is drawn, time moved by hand and the ticks run.
#pragma once
#include <gtest/gtest.h>

#include <QApplication>

#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "alarms/alarmtimer.h"
#include "alarms/frmalarm.h"
#include "core/alarmqueue.h"
#include "core/module1.h"
#include "core/files.h"
#include "core/schema.h"
#include "core/soundfiles.h"
#include "mainwindow/monthfixture.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "platform/speech.h"

namespace vmtest {

using Strings = std::vector<std::string>;

class AlarmTimerTest : public ::testing::Test {
protected:
    Fixture fx;
    vm::FakeClock clock{{2026, 12, 6, 9, 0, 0}};  // a Sunday
    vm::FakeSoundPlayer sound;
    vm::FakeSpeech speech;
    Calendar calendar;
    std::string settingsPath = FreshSettings();
    std::unique_ptr<vm::frmVelmora> w;

    void SetUp() override {
        vm::SetClock(&clock);
        vm::SetSoundPlayer(&sound);
        vm::SetSpeech(&speech);
        setenv("VELMORA_DATA_DIR", MakeTempDir("velmora-alarms").c_str(), 1);
        vm::EnsureSoundFolder();
        for (int n = 1; n <= 30; ++n) vm::Module1.SoundFile[size_t(n)] = vm::DefaultSoundFile(n);
        vm::Module1.CalendarFilePath = calendar.path;
        vm::MainState.pSettingsFile = settingsPath;
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->alarmTimer->fireWaitMs = 0;
        w->unloadWaitMs = 0;
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
        Calendar::Rec r{d, text.c_str(), hour, minute, ampm};
        r.alarm = alarm;
        r.sound = sound;
        calendar.Add("Velmora", r);
    }
    void Draw(const char* month, const char* year) { DrawMonth(*w, month, year); }
    // No records and nothing played yet.
    void Empty() {
        calendar.db->exec("DELETE FROM [Velmora]");
        sound.clear();
    }
    // The program runs overnight on another month, from that moment.
    void OvernightFrom(const vm::CivilDate& d, int hour, int minute, int second) {
        clock.time = {d.y, d.m, d.d, hour, minute, second};
        Draw("March", " 2020");
    }
    void At(int hour, int minute, int second, int day = 6) { clock.time = {2026, 12, day, hour, minute, second}; }
    void AddDaily(int hour, int minute, const char* ampm, const char* text, int sound) {
        auto st = vm::db::Database::Open(settingsPath)
                      ->prepare("INSERT INTO [Alarms] ([Disable],[Hour],[Minute],[AMPM],[AlarmText],[SoundNum]) "
                                "VALUES (0,?,?,?,?,?)");
        st.bindAll({vm::db::Int(hour), vm::db::Int(minute), vm::db::Text(ampm), vm::db::Text(text), vm::db::Int(sound)});
        st.run();
    }
    static std::string Wave(int n) { return vm::ResolveDataPath(vm::DefaultSoundFile(n)); }
    // The file name alone, as RingMinutes writes it.
    static std::string WaveName(int n) {
        const std::string f = vm::DefaultSoundFile(n);
        return f.substr(f.find_last_of('/') + 1);
    }

    // A wave file played, and the wall time (ms) it played at.
    struct Ring { std::string wave; int64_t atMs; };
    // Lets ms pass on the fake clock, running the alarm timer and the day
    // watch when they come due, as the event loop would; at the end both run
    // once more so that they are aimed from the fake time reached. A wall
    // clock jump before the call is only seen when one of them runs.
    std::vector<Ring> Pass(int64_t ms) {
        std::vector<Ring> rings;
        auto* day = w->alarmTimer->findChild<QTimer*>("tmrAlarmDay");
        auto run = [&](bool wait) {
            const size_t before = sound.played.size();
            if (wait) {
                w->tmrWait->stop();
                w->alarmTimer->tmrWait_Timer();
            } else {
                day->start(0);
                for (int n = 0; n < 100 && day->interval() == 0; ++n) QApplication::processEvents();
            }
            Settle();
            for (size_t i = before; i < sound.played.size(); ++i) rings.push_back({sound.played[i], vm::WallNowMs()});
        };
        Settle();  // a firing begun before
        const int64_t end = clock.steady + ms;
        for (int k = 0; k < 100000; ++k) {
            auto left = [](QTimer* t) { return t->isActive() ? std::max(0, t->remainingTime()) : INT_MAX; };
            const int64_t wait = left(w->tmrWait), watch = left(day), rest = end - clock.steady;
            const int64_t step = std::min({wait, watch, rest});
            clock.advance(step);
            if (step == rest && step < wait && step < watch) {
                if (w->tmrWait->isActive()) run(true);
                run(false);
                break;
            }
            run(wait <= watch);
        }
        return rings;
    }
    // "HH:MM wave" of each ring, sorted, and a check that each came within 2 s
    // after its minute began.
    static Strings RingMinutes(const std::vector<Ring>& rings) {
        Strings out;
        for (const auto& r : rings) {
            const vm::DateTime t = vm::MomentFromSeconds(r.atMs / 1000);
            EXPECT_LT(r.atMs % 60000, 2000) << r.wave << " rang late in its minute";
            char buf[16];
            std::snprintf(buf, sizeof buf, "%02d:%02d ", t.hour, t.minute);
            out.push_back(buf + r.wave.substr(r.wave.find_last_of('/') + 1));
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    // One tick, run to its end (the waits are shortened to nothing).
    void Tick() {
        w->alarmTimer->tmrWait_Timer();
        Settle();
    }
    void Settle() {
        for (int k = 0; k < 200 && w->alarmTimer->firing(); ++k) QApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    static Strings Texts() {
        Strings out;
        const vm::AlarmQueue& q = vm::Module1.Alarms;
        for (int i = 1; i <= q.count(); ++i) out.push_back(q.slot(i) ? q.slot(i)->text : "");
        return out;
    }
    static QString Shown() {
        auto* l = vm::AlarmWindow() ? vm::AlarmWindow()->findChild<QLabel*>("lblAlarmMsg") : nullptr;
        return l ? l->text() : QString("(no alarm window)");
    }
};

}  // namespace vmtest
