#include <gtest/gtest.h>

#include "platform/speech.h"

TEST(FakeSpeech, RecordsWhatVoicesSayAndCanRefuse) {
    vm::FakeSpeech speech;
    vm::SetSpeech(&speech);
    auto voice = vm::Speech().createVoice();
    voice->speak("Dentist at nine", true);
    voice->pause();
    voice->resume();
    EXPECT_EQ(speech.log->spoken, std::vector<std::string>{"Dentist at nine"});
    EXPECT_EQ(speech.log->purges, 1);
    speech.failNext = true;
    EXPECT_THROW(vm::Speech().createVoice(), vm::SpeechError);
    EXPECT_NO_THROW(vm::Speech().createVoice());
    vm::SetSpeech(nullptr);
}
