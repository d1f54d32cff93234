// Wave playback behind one interface: Qt Multimedia in the program and a
// recording fake in tests. Playing never waits for the sound to end (without
// an audio device a sound may report "playing" for ever).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vm {

class ISoundPlayer {
public:
    virtual ~ISoundPlayer() = default;
    // Starts the wave file and returns at once; what played before stops.
    // False when the file cannot be played (missing, not a PCM wave file).
    virtual bool play(const std::string& path) = 0;
    // Stops whatever is playing; nothing playing is fine.
    virtual void stop() = 0;
    // The desktop's short warning sound.
    virtual void beep() = 0;
    // False when the machine has no sound output device: what play() starts
    // is then heard by nobody.
    virtual bool hasDevice() { return true; }
};

ISoundPlayer& SoundPlayer();
void SetSoundPlayer(ISoundPlayer* impl);  // nullptr restores the built-in fake

// Said once per run (and again after a new notice is set) when a sound is
// wanted and the player has no device; the main window puts it in its
// status line. An empty notice says nothing.
void SetNoSoundDeviceNotice(std::function<void(const std::string& text)> notice);
void ReportNoSoundDevice();
inline constexpr const char* kNoSoundDeviceText = "No sound device was found: sounds cannot be heard";

// Records every call; play() succeeds for files that pass IsPlayableWave.
class FakeSoundPlayer : public ISoundPlayer {
public:
    enum class Call { Play, Stop, Beep };
    bool play(const std::string& path) override;
    void stop() override;
    void beep() override;
    bool hasDevice() override { return device; }

    bool device = true;               // false: a machine without sound output
    std::vector<Call> calls;          // in order
    std::vector<std::string> played;  // paths that started playing
    std::string playing;              // what plays now ("" = silence)
    int stops = 0, beeps = 0;
    void clear() { *this = FakeSoundPlayer{}; }
};

// The layout of a PCM wave file, as far as playback needs it.
struct WaveFormat {
    int channels = 0;
    int sampleRate = 0;
    int bitsPerSample = 0;
    uint32_t dataBytes = 0;
};

// Reads the RIFF/WAVE header: a "fmt " chunk of integer PCM (or float) with
// 1..8 channels, 8/16/24/32 bits, and a "data" chunk. Nothing for anything else.
std::optional<WaveFormat> ReadWaveFormat(const std::string& path);
bool IsPlayableWave(const std::string& path);

}  // namespace vm
