#include "platform/sound.h"

#include <array>
#include <fstream>

#include "platform/places.h"

namespace vm {
namespace {

ISoundPlayer* g_player = nullptr;
std::function<void(const std::string&)> g_noDeviceNotice;
bool g_noDeviceSaid = false;

FakeSoundPlayer& BuiltIn() {
    static FakeSoundPlayer fake;
    return fake;
}

uint32_t Le32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) | (static_cast<uint32_t>(p[2]) << 16) |
           (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

}  // namespace

ISoundPlayer& SoundPlayer() { return g_player ? *g_player : BuiltIn(); }
void SetSoundPlayer(ISoundPlayer* impl) { g_player = impl; }

void SetNoSoundDeviceNotice(std::function<void(const std::string& text)> notice) {
    g_noDeviceNotice = std::move(notice);
    g_noDeviceSaid = false;
}

void ReportNoSoundDevice() {
    if (g_noDeviceSaid || !g_noDeviceNotice) return;
    g_noDeviceSaid = true;
    g_noDeviceNotice(kNoSoundDeviceText);
}

bool FakeSoundPlayer::play(const std::string& path) {
    calls.push_back(Call::Play);
    playing.clear();
    if (!IsPlayableWave(path)) return false;
    played.push_back(path);
    playing = path;
    return true;
}

void FakeSoundPlayer::stop() {
    calls.push_back(Call::Stop);
    ++stops;
    playing.clear();
}

void FakeSoundPlayer::beep() {
    calls.push_back(Call::Beep);
    ++beeps;
}

std::optional<WaveFormat> ReadWaveFormat(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::array<unsigned char, 12> riff{};
    if (!in.read(reinterpret_cast<char*>(riff.data()), riff.size())) return std::nullopt;
    if (std::string(riff.begin(), riff.begin() + 4) != "RIFF" || std::string(riff.begin() + 8, riff.end()) != "WAVE")
        return std::nullopt;
    std::optional<WaveFormat> format;
    // Walk the chunks: "fmt " must come before "data"; others are passed over.
    for (int chunks = 0; chunks < 64; ++chunks) {
        std::array<unsigned char, 8> head{};
        if (!in.read(reinterpret_cast<char*>(head.data()), head.size())) return std::nullopt;
        const std::string id(head.begin(), head.begin() + 4);
        const uint32_t size = Le32(head.data() + 4);
        if (id == "fmt ") {
            if (size < 16 || size > 4096) return std::nullopt;
            std::string body(size, '\0');
            if (!in.read(body.data(), size)) return std::nullopt;
            const auto* b = reinterpret_cast<const unsigned char*>(body.data());
            uint16_t tag = Le16(b);
            if (tag == 0xFFFE && size >= 40) tag = Le16(b + 24);  // extensible: the sub-format's tag
            WaveFormat f;
            f.channels = Le16(b + 2);
            f.sampleRate = static_cast<int>(Le32(b + 4));
            f.bitsPerSample = Le16(b + 14);
            const bool pcm = tag == 1 && (f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 24 ||
                                          f.bitsPerSample == 32);
            const bool flt = tag == 3 && f.bitsPerSample == 32;
            if (!(pcm || flt) || f.channels < 1 || f.channels > 8 || f.sampleRate < 1000 || f.sampleRate > 384000)
                return std::nullopt;
            format = f;
        } else if (id == "data") {
            if (!format || size == 0) return std::nullopt;
            format->dataBytes = size;
            return format;
        } else {
            in.seekg(static_cast<std::streamoff>(size + (size & 1)), std::ios::cur);
            if (!in) return std::nullopt;
        }
        if (size & 1 && id == "fmt ") in.seekg(1, std::ios::cur);
    }
    return std::nullopt;
}

bool IsPlayableWave(const std::string& path) { return ReadWaveFormat(path).has_value(); }

}  // namespace vm
