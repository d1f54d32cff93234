#include "platform/speech.h"

#include <optional>

namespace vm {
namespace {

ISpeechFactory* g_speech = nullptr;

// The one voice and the handle whose text it spoke last.
struct SharedEngine {
    std::unique_ptr<ISpeechVoice> voice;
    const ISpeechVoice* speaker = nullptr;
    std::optional<double> rate;  // the rate last set on the voice
};
std::shared_ptr<SharedEngine> g_engine;

// The engine's voice, started when it has none (throws when none can be had).
void StartVoice(SharedEngine& engine) {
    if (!engine.voice) engine.voice = Speech().createVoice();
}

class VoiceHandle : public ISpeechVoice {
public:
    explicit VoiceHandle(std::shared_ptr<SharedEngine> engine) : engine_(std::move(engine)) {}
    ~VoiceHandle() override {
        if (engine_->speaker == this) engine_->speaker = nullptr;
    }
    // Each window keeps its own rate; the voice takes it when that window speaks.
    void speak(const std::string& text, bool) override {
        try {  // a handle that starts the voice when first used
            StartVoice(*engine_);
        } catch (const std::exception&) {
            return;  // no voice to be had: the text goes unsaid
        }
        engine_->speaker = this;
        const double want = rate_.value_or(kNormalSpeechRate);
        if (engine_->rate != want) {
            engine_->voice->setRate(want);
            engine_->rate = want;
        }
        engine_->voice->speak(text, true);
    }
    void setRate(double rate) override { rate_ = rate; }
    void pause() override {
        if (mine()) engine_->voice->pause();
    }
    void resume() override {
        if (mine()) engine_->voice->resume();
    }
    void stop() override {
        if (mine()) engine_->voice->stop();
    }

private:
    // A voice not started yet has nothing to pause, resume or stop.
    bool mine() const { return engine_->voice && (engine_->speaker == nullptr || engine_->speaker == this); }
    std::shared_ptr<SharedEngine> engine_;
    std::optional<double> rate_;
};

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
void SetSpeech(ISpeechFactory* impl) {
    g_speech = impl;
    g_engine.reset();
}

std::unique_ptr<ISpeechVoice> SharedVoice() {
    auto engine = g_engine ? g_engine : std::make_shared<SharedEngine>();
    StartVoice(*engine);  // throws, leaving no engine behind, when there is no voice
    g_engine = engine;
    return std::make_unique<VoiceHandle>(g_engine);
}

std::unique_ptr<ISpeechVoice> SharedVoiceWhenUsed() {
    if (!g_engine) g_engine = std::make_shared<SharedEngine>();
    return std::make_unique<VoiceHandle>(g_engine);
}

VoiceStart StartSharedVoice() {
    VoiceStart start;
    try {
        start.voice = SharedVoice();
    } catch (const SpeechError& e) {
        start.number = e.number();
        start.description = e.what();
    } catch (const std::exception& e) {
        start.description = e.what();
    }
    return start;
}

std::unique_ptr<ISpeechVoice> FakeSpeech::createVoice() {
    if (failNext) {
        failNext = false;
        throw SpeechError(429, "ActiveX component can't create object");
    }
    ++created;
    return std::make_unique<FakeVoice>(log);
}

}  // namespace vm
