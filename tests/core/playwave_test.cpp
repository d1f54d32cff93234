// PlayWaveFile with the recording player, and the data folder's sounds.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>

#include "core/playwave.h"
#include "core/files.h"
#include "core/soundfiles.h"
#include "platform/places.h"
#include "platform/sound.h"
#include "testsupport.h"

namespace {

using Call = vm::FakeSoundPlayer::Call;

struct SoundFixture : vmtest::Fixture {
    SoundFixture() {
        data = vmtest::MakeTempDir("velmora-playwave");
        setenv("VELMORA_DATA_DIR", data.c_str(), 1);
        vm::SetSoundPlayer(&player);
    }
    ~SoundFixture() { vm::SetSoundPlayer(nullptr); }
    std::string data;
    vm::FakeSoundPlayer player;
};

TEST(PlayWaveFile, PlaysFoundFilesAndBeepsForEverythingElse) {
    SoundFixture fx;
    ASSERT_EQ(vm::EnsureSoundFolder(), 31);
    const std::string bad = fx.data + "/bad.wav";
    vmtest::WriteAll(bad, "RIFF....WAVEjunk");
    const std::string good = fx.data + "/Sounds/Alarm04.wav";
    struct Case { std::string name; std::vector<Call> calls; std::string playing; };
    const std::vector<Case> cases = {
        {good, {Call::Stop, Call::Play}, good},
        {"Sounds/Alarm04.wav", {Call::Stop, Call::Play}, good},  // stored names are taken from the data folder
        {fx.data + "/Sounds/none.wav", {Call::Stop, Call::Beep, Call::Stop}, ""},
        {fx.data + "/Sounds", {Call::Stop, Call::Beep, Call::Stop}, ""},  // a folder is no file
        {bad, {Call::Stop, Call::Play, Call::Beep, Call::Stop}, ""},      // undecodable: the beep path
    };
    for (const Case& c : cases) {
        fx.player.clear();
        vm::PlayWaveFile(c.name);
        EXPECT_EQ(fx.player.calls, c.calls) << c.name;
        EXPECT_EQ(fx.player.playing, c.playing) << c.name;
    }
}

TEST(SoundFolder, DataFolderGetsTheShippedSoundsOnlyWhenItHasNone) {
    SoundFixture fx;
    EXPECT_EQ(vm::EnsureSoundFolder(), 31);
    const std::string copy = fx.data + "/Sounds/Alarm17.wav";
    EXPECT_EQ(vmtest::ReadAll(copy), vmtest::ReadAll(vm::JoinPath(vm::ProgramFolder(), "Sounds/Alarm17.wav")));
    // The user's own folder is left as the user keeps it.
    std::filesystem::remove(copy);
    vmtest::WriteAll(fx.data + "/Sounds/Alarm01.wav", "mine");
    EXPECT_EQ(vm::EnsureSoundFolder(), 0);
    EXPECT_FALSE(vm::FileExists(copy));
    EXPECT_EQ(vmtest::ReadAll(fx.data + "/Sounds/Alarm01.wav"), "mine");
}

}  // namespace
