#include "platform/qtspeech.h"

#include <QTextToSpeech>

namespace vm {
namespace {

class QtVoice : public ISpeechVoice {
public:
    explicit QtVoice(QTextToSpeech* tts) : tts_(tts) {}
    ~QtVoice() override { delete tts_; }
    void speak(const std::string& text, bool purge) override {
        if (purge) tts_->stop();
        if (!text.empty()) tts_->say(QString::fromStdString(text));
    }
    void pause() override { tts_->pause(); }
    void resume() override { tts_->resume(); }
    void stop() override { tts_->stop(); }
    void setRate(double rate) override { tts_->setRate(rate); }

private:
    QTextToSpeech* tts_;
};

}  // namespace

std::unique_ptr<ISpeechVoice> QtSpeech::createVoice() {
    if (!QTextToSpeech::availableEngines().contains("flite"))
        throw SpeechError(429, "The flite speech engine is not installed");
    auto* tts = new QTextToSpeech("flite");
    if (tts->state() == QTextToSpeech::Error) {
        const std::string why = tts->errorString().toStdString();
        delete tts;
        throw SpeechError(429, why.empty() ? "The speech engine could not start" : why);
    }
    tts->setRate(kNormalSpeechRate);
    return std::make_unique<QtVoice>(tts);
}

}  // namespace vm
