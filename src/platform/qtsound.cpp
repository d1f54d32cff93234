#include "platform/qtsound.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "platform/messages.h"

namespace vm {

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() { delete effect_.data(); }

bool QtSoundPlayer::play(const std::string& path) {
    stop();
    // Checked here, before anything starts: the effect itself loads in the
    // background and reports a bad file only later, if at all.
    if (!IsPlayableWave(path)) return false;
    // A new effect for every sound: the old one may still be loading.
    effect_ = new QSoundEffect();
    QSoundEffect* effect = effect_.data();
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error) Messages().beep();
    });
    effect->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    effect->setLoopCount(1);
    effect->play();
    return true;
}

void QtSoundPlayer::stop() {
    if (!effect_) return;
    QSoundEffect* old = effect_.data();
    effect_.clear();
    old->stop();
    delete old;
}

bool QtSoundPlayer::hasDevice() { return !QMediaDevices::audioOutputs().isEmpty(); }

void QtSoundPlayer::beep() { Messages().beep(); }

}  // namespace vm
