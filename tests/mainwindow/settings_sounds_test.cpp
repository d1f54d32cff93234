// The sound numbers, the start-up sound, preview and stop, with the fake player.
#include "settings_testutil.h"

#include <QLabel>
#include <QTest>

namespace {

using vm::Module1;
using vmtest::SettingsFixture;

std::string DataSound(const std::string& data, int n) {
    char name[32];
    std::snprintf(name, sizeof name, "/Sounds/Alarm%02d.wav", n);
    return data + name;
}

TEST(SettingsSounds, ANumberPreviewsItsSoundAndEnterTakesATypedFile) {
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    EXPECT_EQ(fx.text("cmbSoundNumbr"), " 1");
    EXPECT_EQ(fx.text("txtSoundFN"), "Sounds/Alarm01.wav");

    fx.choose("cmbSoundNumbr", " 30");
    EXPECT_EQ(fx.text("txtSoundFN"), "Sounds/Alarm30.wav");
    EXPECT_EQ(fx.sound.playing, DataSound(fx.data, 30));

    fx.click("sscmdEndSound");
    EXPECT_EQ(fx.sound.playing, "");

    // A number without a sound: empty box, silence, no beep.
    Module1.SoundFile[7].clear();
    fx.sound.clear();
    fx.choose("cmbSoundNumbr", " 7");
    EXPECT_EQ(fx.text("txtSoundFN"), "");
    EXPECT_EQ(fx.sound.beeps, 0);
    EXPECT_TRUE(fx.sound.played.empty());

    // A sound whose file is gone beeps.
    Module1.SoundFile[8] = "/no/such/sound.wav";
    fx.choose("cmbSoundNumbr", " 8");
    EXPECT_EQ(fx.sound.beeps, 1);
    EXPECT_EQ(fx.sound.playing, "");

    // Enter takes a typed file or clears the sound.
    fx.choose("cmbSoundNumbr", " 5");
    fx.sound.clear();
    const std::string other = DataSound(fx.data, 12);
    fx.typeEnter("txtSoundFN", QString::fromStdString(other));
    EXPECT_EQ(Module1.SoundFile[5], other);
    EXPECT_EQ(fx.sound.playing, other);

    fx.typeEnter("txtSoundFN", "/no/such/file.wav");
    EXPECT_EQ(Module1.SoundFile[5], "");
    EXPECT_EQ(Module1.SoundFile[6], "Sounds/Alarm06.wav");

    Module1.OptStartUpSound = "Sounds/opensound.wav";
    fx.typeEnter("txtStrUpSnd", "Sounds/Alarm02.wav");
    EXPECT_EQ(Module1.OptStartUpSound, "Sounds/Alarm02.wav");
    EXPECT_EQ(fx.sound.playing, DataSound(fx.data, 2));
    fx.typeEnter("txtStrUpSnd", "nothing.wav");
    EXPECT_EQ(Module1.OptStartUpSound, "");
}

TEST(SettingsSounds, EachDialogKeepsItsOwnFolderAndOffersBothSuffixes) {
    SettingsFixture fx;
    const std::string waves = vmtest::MakeTempDir("velmora-waves");
    const std::string chosen = waves + "/bell.WAV";
    vmtest::WriteAll(chosen, vmtest::ReadAll(DataSound(fx.data, 3)));
    fx.panel->mnuFile_Settings_Click();
    fx.choose("cmbSoundNumbr", " 9");

    fx.messages.fileAnswers = {""};  // Cancel: nothing changes
    fx.click("cmdBrowseSound");
    EXPECT_EQ(Module1.SoundFile[9], "Sounds/Alarm09.wav");
    ASSERT_EQ(fx.messages.dialogs.size(), 1u);
    const vm::FileDialogRequest first = fx.messages.dialogs[0];
    EXPECT_EQ(first.initialDir, fx.data + "/Sounds");
    EXPECT_NE(first.filter.find("*.wav"), std::string::npos);
    EXPECT_NE(first.filter.find("*.WAV"), std::string::npos);

    fx.messages.fileAnswers = {chosen};
    fx.click("cmdBrowseSound");
    EXPECT_EQ(Module1.SoundFile[9], chosen);
    EXPECT_EQ(fx.sound.playing, chosen);
    fx.click("cmdBrowseSound");  // opens where the last file was found
    EXPECT_EQ(fx.messages.dialogs.back().initialDir, waves + "/");
    fx.messages.fileAnswers = {chosen};
    fx.click("cmdStrSndFile");
    const vm::FileDialogRequest startUp = fx.messages.dialogs.back();
    EXPECT_EQ(startUp.initialDir, fx.data + "/Sounds");  // its own folder
    EXPECT_EQ(Module1.OptStartUpSound, chosen);
    EXPECT_EQ(fx.text("txtStrUpSnd"), chosen);
}

}  // namespace

// Without a sound device the first sound wanted says so in the status line,
// once; the sounds are still started (a device may come back). The notice
// stays until the user clicks it: later status texts do not replace it.
TEST(SettingsSounds, NoSoundDeviceIsSaidOnceAndStaysUntilClickedAway) {
    SettingsFixture fx;
    fx.window->show();
    auto* notice = fx.window->findChild<QLabel*>("lblNotice");
    ASSERT_NE(notice, nullptr);
    fx.panel->mnuFile_Settings_Click();
    fx.choose("cmbSoundNumbr", " 3");
    EXPECT_FALSE(notice->isVisible()) << "a machine with sound says nothing";

    fx.sound.device = false;
    fx.choose("cmbSoundNumbr", " 4");
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->text().toStdString(), vm::kNoSoundDeviceText);
    EXPECT_EQ(fx.sound.playing, DataSound(fx.data, 4));

    fx.window->SetStatusText(4, "Repeating data is up to date: no record changed");
    fx.window->mnuFile_Build_Repeating_Click();
    EXPECT_TRUE(notice->isVisible()) << "the next status message leaves the notice standing";
    EXPECT_EQ(notice->text().toStdString(), vm::kNoSoundDeviceText);

    QTest::mouseClick(notice, Qt::LeftButton);
    EXPECT_FALSE(notice->isVisible()) << "read and clicked away";
    fx.choose("cmbSoundNumbr", " 5");
    fx.typeEnter("txtStrUpSnd", "Sounds/Alarm02.wav");
    EXPECT_FALSE(notice->isVisible()) << "said once only";
}
