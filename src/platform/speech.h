// Speech behind one interface: a Qt TextToSpeech voice in the program and a
// recording fake in tests. Speaking never blocks. The program has one voice:
// every window speaks through a handle from SharedVoice().
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/steps.h"

namespace vm {

// The rate every window speaks at unless it sets its own (Qt's scale, -1..1;
// flite speaks too fast at 0.5 and above).
inline constexpr double kNormalSpeechRate = 0.2;

class ISpeechVoice {
public:
    virtual ~ISpeechVoice() = default;
    // Speaks plain text asynchronously (nothing in it is taken as markup);
    // with purge, what is being spoken stops first.
    virtual void speak(const std::string& text, bool purge) = 0;
    virtual void pause() = 0;
    virtual void resume() = 0;
    virtual void stop() = 0;
    // Speed from -1 (slowest) through 0 (normal) to 1 (fastest).
    virtual void setRate(double rate) { (void)rate; }
};

// Makes the speech engine's voice; throws SpeechError when none can be had.
class ISpeechFactory {
public:
    virtual ~ISpeechFactory() = default;
    virtual std::unique_ptr<ISpeechVoice> createVoice() = 0;
};

class SpeechError : public OpError {
public:
    using OpError::OpError;
};

ISpeechFactory& Speech();
void SetSpeech(ISpeechFactory* impl);  // nullptr restores the built-in fake

// A handle to the program's one voice, made by the installed factory on the
// first ask (a failure throws SpeechError, and the next ask tries again).
// Every text a handle speaks first stops the one being spoken, whichever
// window gave it; a handle's pause, resume and stop leave alone a text
// another handle has spoken since. Installing another factory starts a new
// voice for the handles asked for afterwards.
std::unique_ptr<ISpeechVoice> SharedVoice();
// A handle to the same voice that does not start it: the voice starts when
// a handle first speaks (a voice that cannot be had then says nothing).
std::unique_ptr<ISpeechVoice> SharedVoiceWhenUsed();

// SharedVoice without a throw: the handle, or none with the failure's number
// (0 when it has none) and description.
struct VoiceStart {
    std::unique_ptr<ISpeechVoice> voice;
    int number = 0;
    std::string description;
};
VoiceStart StartSharedVoice();

// Records what every voice it made was asked to do; `created` counts voices.
class FakeSpeech : public ISpeechFactory {
public:
    struct Log {
        std::vector<std::string> spoken;
        int pauses = 0, resumes = 0, stops = 0, purges = 0;
        double rate = 0;  // the last rate set
    };
    std::unique_ptr<ISpeechVoice> createVoice() override;
    bool failNext = false;  // the next createVoice throws
    std::shared_ptr<Log> log = std::make_shared<Log>();
    int created = 0;
};

}  // namespace vm
