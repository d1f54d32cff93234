// Voices on Qt TextToSpeech with the flite engine. The speech-dispatcher
// engine can hang for good without an audio server, so it is never used.
#pragma once
#include "platform/speech.h"

namespace vm {

class QtSpeech : public ISpeechFactory {
public:
    std::unique_ptr<ISpeechVoice> createVoice() override;
};

}  // namespace vm
