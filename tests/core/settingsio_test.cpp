#include <gtest/gtest.h>

#include "core/settingsio.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

TEST(SettingsRow, NullsAndMissingColumnsArePassedOver) {
    vmtest::Fixture fx;
    const std::string path = vmtest::MakeTempDir("velmora-oldset") + "/Velmora_Settings.mdb";
    {
        auto d = db::Database::Create(path);
        d->exec("CREATE TABLE [Settings] ([Top] INTEGER, [StartRepeatYear] TEXT, [Voice] INTEGER)");
        d->exec("CREATE TABLE [AlarmSounds] ([SoundNum] INTEGER, [SoundFileName] TEXT)");
        d->exec("INSERT INTO [Settings] ([Top], [StartRepeatYear]) VALUES (NULL, '   ')");
    }
    const vm::SettingsRow r = vm::ReadSettingsRow(path);
    EXPECT_FALSE(r.Top);
    EXPECT_FALSE(r.Voice);
    EXPECT_FALSE(r.CalendarStyle);
    EXPECT_EQ(vm::StartYearOrDefault(r.StartRepeatYear), "2019");

    vm::SettingsToSave s;
    s.Top = 42;
    s.Voice = true;
    s.StartRepeatYear = "2020";
    vm::WriteSettingsRow(path, s);  // the columns the file lacks do not stop the others
    const vm::SettingsRow back = vm::ReadSettingsRow(path);
    EXPECT_EQ(back.Top, 42);
    EXPECT_EQ(back.Voice, true);
    EXPECT_EQ(back.StartRepeatYear, "2020");
}

// A path longer than its column holds is not remembered; everything else
// of the row, and of the sound table, is still saved.
TEST(SettingsRow, APathTooLongForItsColumnLeavesTheRestSaved) {
    vmtest::Fixture fx;
    const std::string path = vmtest::FreshSettings();
    const std::string longPath = "/tmp/" + std::string(300, 'm') + "/Long.mdb";
    vm::SettingsToSave s;
    s.LastVelmoraFN = "/home/me/Before.mdb";
    vm::WriteSettingsRow(path, s);
    s.Top = 77;
    s.LastVelmoraFN = longPath;
    s.PrevFiles[1] = longPath;
    s.PrevFiles[2] = "/home/me/Before.mdb";
    s.StartRepeatYear = "2021";
    vm::WriteSettingsRow(path, s);
    const vm::SettingsRow back = vm::ReadSettingsRow(path);
    EXPECT_EQ(back.Top, 77);
    EXPECT_EQ(back.StartRepeatYear, "2021");
    EXPECT_EQ(back.LastVelmoraFN, "/home/me/Before.mdb") << "the stored one stays";
    EXPECT_EQ(back.Prev[1], "/home/me/Before.mdb") << "the others move up";
    EXPECT_EQ(back.Prev[2].value_or(""), "");

    auto sounds = vm::ReadSoundTable(path);
    const std::string kept = sounds[2];
    sounds[1] = "/short.wav";
    sounds[2] = "/" + std::string(300, 's') + ".wav";
    vm::WriteSoundTable(path, sounds);
    EXPECT_EQ(vm::ReadSoundTable(path)[1], "/short.wav");
    EXPECT_EQ(vm::ReadSoundTable(path)[2], kept);
}

TEST(SoundTable, ThirtySoundsByPositionAndAShortTableIsCompleted) {
    vmtest::Fixture fx;
    const std::string path = vmtest::FreshSettings();
    const auto sounds = vm::ReadSoundTable(path);
    EXPECT_FALSE(sounds[1].empty());
    EXPECT_FALSE(sounds[30].empty());

    db::Database::Open(path)->exec("DELETE FROM [AlarmSounds] WHERE [SoundNum] > 10");
    auto shortRead = vm::ReadSoundTable(path);
    EXPECT_EQ(shortRead[10], sounds[10]);
    EXPECT_EQ(shortRead[11], "");
    shortRead[30] = "/last.wav";
    vm::WriteSoundTable(path, shortRead);
    auto d = db::Database::Open(path);
    auto st = d->prepare("SELECT count(*), max([SoundNum]) FROM [AlarmSounds]");
    st.step();
    EXPECT_EQ(db::AsInt(st.column(0)), 30);
    EXPECT_EQ(db::AsInt(st.column(1)), 30);
    EXPECT_EQ(vm::ReadSoundTable(path)[30], "/last.wav");
}

}  // namespace
