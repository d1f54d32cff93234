// The wave-file check and the Qt player.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <string>

#include "platform/places.h"
#include "platform/qtsound.h"
#include "platform/sound.h"
#include "testsupport.h"

namespace {

std::string Shipped(const std::string& name) { return vm::JoinPath(vm::ProgramFolder(), "Sounds/" + name); }

// A wave header with the given format tag and bits, and `data` bytes of samples.
std::string Wave(uint16_t tag, uint16_t bits, uint32_t data, bool withFmt = true) {
    auto le = [](uint32_t v, int n) {
        std::string s;
        for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
        return s;
    };
    std::string body = "WAVE";
    if (withFmt)
        body += "fmt " + le(16, 4) + le(tag, 2) + le(1, 2) + le(8000, 4) + le(8000 * bits / 8, 4) + le(bits / 8, 2) +
                le(bits, 2);
    body += "LIST" + le(3, 4) + "abc" + std::string(1, '\0');  // an odd chunk, padded
    body += "data" + le(data, 4) + std::string(data, '\0');
    return "RIFF" + le(static_cast<uint32_t>(body.size()), 4) + body;
}

TEST(Sound, OnlyPcmWaveFilesArePlayable) {
    const std::string dir = vmtest::MakeTempDir("velmora-waves");
    struct Case { const char* name; std::string bytes; bool playable; };
    const Case cases[] = {
        {"pcm16.wav", Wave(1, 16, 100), true},
        {"float.wav", Wave(3, 32, 100), true},
        {"mp3.wav", Wave(85, 16, 100), false},  // compressed
        {"nodata.wav", Wave(1, 16, 0), false},
        {"nofmt.wav", Wave(1, 16, 100, false), false},
        {"empty.wav", "", false},
        {"short.wav", Wave(1, 16, 100).substr(0, 30), false},
    };
    for (const Case& c : cases) {
        const std::string path = dir + "/" + c.name;
        vmtest::WriteAll(path, c.bytes);
        EXPECT_EQ(vm::IsPlayableWave(path), c.playable) << c.name;
    }
    EXPECT_FALSE(vm::IsPlayableWave(dir + "/missing.wav"));
    EXPECT_FALSE(vm::IsPlayableWave(dir));  // a folder
}

// The real player never waits: without an audio device a sound may stay
// "playing" for ever, so only what play() answers at once is checked.
TEST(Sound, QtPlayerStartsWithoutWaitingAndRefusesBadFiles) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("velmora-qtsound");
    vmtest::WriteAll(dir + "/bad.wav", "no sound here");
    {
        vm::QtSoundPlayer player;
        player.stop();  // nothing playing yet
        EXPECT_FALSE(player.play(dir + "/missing.wav"));
        EXPECT_FALSE(player.play(dir + "/bad.wav"));
        EXPECT_TRUE(player.play(Shipped("Alarm02.wav")));
        EXPECT_TRUE(player.play(Shipped("Alarm03.wav")));  // the first one stops
        player.beep();
        QCoreApplication::processEvents();
    }
    EXPECT_GE(fx.messages.beeps, 1);
}

}  // namespace
