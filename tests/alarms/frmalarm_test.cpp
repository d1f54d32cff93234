// The alarm window headless, with the sound and speech fakes: its message,
// the Speak, Stop and font buttons, its place and its closing.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QToolBar>

#include <memory>

#include "alarms/frmalarm.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/schema.h"
#include "core/soundfiles.h"
#include "mainwindow/frmvelmora.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "testsupport.h"

using vm::Module1;

namespace {

class AlarmWindow : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    vm::FakeSoundPlayer sound;
    vm::FakeSpeech speech;
    std::unique_ptr<vm::frmVelmora> main;

    void SetUp() override {
        vm::SetSoundPlayer(&sound);
        vm::SetSpeech(&speech);
        setenv("VELMORA_DATA_DIR", vmtest::MakeTempDir("velmora-alarmwin").c_str(), 1);
        vm::EnsureSoundFolder();
        main = std::make_unique<vm::frmVelmora>();
        main->setGeometry(100, 100, 900, 600);
        main->show();
        Module1.AlarmQueueCount = 1;
        Module1.AlarmMsg = "Sunday Dec 6, 2026 9:05 am - Dentist";
        Module1.CurSoundFile = vm::DefaultSoundFile(7);
    }
    void TearDown() override {
        vm::UnloadAlarm();
        main.reset();
        QApplication::processEvents();
        vm::SetSoundPlayer(nullptr);
        vm::SetSpeech(nullptr);
    }
    vm::frmAlarm* Open() {
        vm::frmAlarm* w = vm::LoadAlarm();
        w->lblAlarmMsg->setText(QString::fromStdString(Module1.AlarmMsg));
        vm::ShowAlarm();
        return w;
    }
    static void Press(vm::frmAlarm* w, const char* key) {
        QAction* a = w->Toolbar1->findChild<QAction*>(key);
        ASSERT_NE(a, nullptr) << key;
        a->trigger();
    }
    static std::string Panel2(vm::frmAlarm* w) {
        return w->findChild<QLabel*>("StatusBar1_Panel2")->text().toStdString();
    }
};

TEST_F(AlarmWindow, ShowsTheMessageOnTopCentredAndSpeakReplaysTheSound) {
    vm::frmAlarm* w = Open();
    EXPECT_TRUE(Module1.AlarmOpen);
    EXPECT_EQ(w->windowTitle(), "Alarm - Complete");
    EXPECT_EQ(w->findChild<QLabel*>("lblAlarmMsg")->text(), "Sunday Dec 6, 2026 9:05 am - Dentist");
    EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    const QRect m = main->frameGeometry();
    EXPECT_NEAR(w->x() + w->width() / 2.0, m.x() + m.width() / 2.0, 2);
    EXPECT_NEAR(w->y() + w->height() / 2.0, m.y() + m.height() / 2.0, 2);
    // The message takes the width less 700 twips (about 47 pixels).
    EXPECT_NEAR(w->lblAlarmMsg->width(), w->width() - 47, 1);

    // Speech off: Speak replays the sound, a second press stops it.
    Press(w, "Sound2");
    ASSERT_EQ(sound.played.size(), 1u);
    EXPECT_EQ(sound.played[0], vm::ResolveDataPath(vm::DefaultSoundFile(7)));
    EXPECT_EQ(Panel2(w), "Alarm07.wav");
    Press(w, "Sound2");
    EXPECT_EQ(sound.playing, "");
    EXPECT_EQ(Panel2(w), "");
    EXPECT_EQ(sound.played.size(), 1u);
    EXPECT_TRUE(speech.log->spoken.empty());
}

TEST_F(AlarmWindow, SpeaksWithSpeechOnAndStopPurges) {
    Module1.OptVoice = true;
    vm::frmAlarm* w = Open();
    EXPECT_EQ(speech.log->spoken, std::vector<std::string>{"Sunday Dec 6, 2026 9:05 am - Dentist"});
    Press(w, "pause");
    EXPECT_EQ(speech.log->pauses, 1);
    Press(w, "Sound2");  // replay, resuming first
    EXPECT_EQ(speech.log->resumes, 1);
    ASSERT_EQ(speech.log->spoken.size(), 2u);
    EXPECT_EQ(speech.log->spoken[1], "Sunday Dec 6, 2026 9:05 am - Dentist");
    EXPECT_TRUE(sound.played.empty());
    const int stopsBefore = speech.log->stops;
    const int soundStops = sound.stops;
    Press(w, "btn_cancel");
    EXPECT_EQ(speech.log->stops, stopsBefore + 1);
    EXPECT_EQ(sound.stops, soundStops + 1);
}

TEST_F(AlarmWindow, FontButtonsStepByOnePointAndAnEmptyQueueClosesIt) {
    vm::frmAlarm* w = Open();
    const int design = w->lblAlarmMsg->font().pointSize();
    Press(w, "UpArrow");
    Press(w, "UpArrow");
    Press(w, "DownArrow");
    EXPECT_EQ(w->lblAlarmMsg->font().pointSize(), design + 1);
    Module1.AlarmMsg.clear();
    w->Form_GotFocus();
    EXPECT_EQ(w->lblAlarmMsg->text(), "Timer Complete");
    EXPECT_TRUE(Module1.AlarmOpen);
    Module1.AlarmQueueCount = 0;
    w->Form_GotFocus();
    EXPECT_FALSE(Module1.AlarmOpen);
    EXPECT_EQ(vm::AlarmWindow(), nullptr);
    EXPECT_GE(sound.stops, 1);
}

}  // namespace
