#include "core/playwave.h"

#include "core/files.h"
#include "platform/places.h"
#include "platform/sound.h"

namespace vm {
namespace {
template <class F>
void Quietly(F&& f) {
    try {
        f();
    } catch (...) {
    }
}
}  // namespace

void PlayWaveFile(const std::string& FileName) {
    ISoundPlayer& player = SoundPlayer();
    Quietly([&] {
        if (!player.hasDevice()) ReportNoSoundDevice();
    });
    Quietly([&] { player.stop(); });
    std::string path;
    Quietly([&] { path = ResolveDataPath(FileName); });
    bool found = false;
    Quietly([&] { found = FileExists(path); });
    bool playing = false;
    if (found) Quietly([&] { playing = player.play(path); });
    if (!playing) {
        Quietly([&] { player.beep(); });
        Quietly([&] { player.stop(); });
    }
}

}  // namespace vm
