// Wave playback on Qt Multimedia's QSoundEffect.
#pragma once
#include <QPointer>

#include "platform/sound.h"

class QSoundEffect;

namespace vm {

class QtSoundPlayer : public ISoundPlayer {
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;
    bool play(const std::string& path) override;
    void stop() override;
    // Through the message service, like every other beep of the program.
    void beep() override;
    // Asks the multimedia backend for its audio outputs each time (a device
    // may be plugged in while the program runs).
    bool hasDevice() override;

private:
    QPointer<QSoundEffect> effect_;
};

}  // namespace vm
