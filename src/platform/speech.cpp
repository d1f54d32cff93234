#include "platform/speech.h"

namespace vm {
namespace {

ISpeechFactory* g_speech = nullptr;

FakeSpeech& BuiltIn() {
    static FakeSpeech fake;
    return fake;
}

class FakeVoice : public ISpeechVoice {
public:
    explicit FakeVoice(std::shared_ptr<FakeSpeech::Log> log) : log_(std::move(log)) {}
    void speak(const std::string& text, bool purge) override {
        if (purge) ++log_->purges;
        log_->spoken.push_back(text);
    }
    void pause() override { ++log_->pauses; }
    void resume() override { ++log_->resumes; }
    void stop() override { ++log_->stops; }
    void setRate(double rate) override { log_->rate = rate; }

private:
    std::shared_ptr<FakeSpeech::Log> log_;
};

}  // namespace

ISpeechFactory& Speech() { return g_speech ? *g_speech : BuiltIn(); }
void SetSpeech(ISpeechFactory* impl) { g_speech = impl; }

std::unique_ptr<ISpeechVoice> FakeSpeech::createVoice() {
    if (failNext) {
        failNext = false;
        throw SpeechError(429, "ActiveX component can't create object");
    }
    ++created;
    return std::make_unique<FakeVoice>(log);
}

}  // namespace vm
