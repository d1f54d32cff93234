// The one shared voice: a handle that does not start it, started by its
// first text.
#include <gtest/gtest.h>

#include "platform/speech.h"

namespace {

struct Installed {
    vm::FakeSpeech speech;
    Installed() { vm::SetSpeech(&speech); }
    ~Installed() { vm::SetSpeech(nullptr); }
};

TEST(SharedVoice, AHandleForLaterStartsTheVoiceWithItsFirstText) {
    Installed f;
    auto later = vm::SharedVoiceWhenUsed();
    later->stop();
    later->pause();
    later->resume();
    EXPECT_EQ(f.speech.created, 0) << "nothing to stop before anything was said";
    later->setRate(-2);
    later->speak("Hello", true);
    EXPECT_EQ(f.speech.created, 1);
    EXPECT_EQ(f.speech.log->spoken, std::vector<std::string>{"Hello"});
    EXPECT_EQ(f.speech.log->rate, -2);
    // Every other handle shares the voice now started.
    auto now = vm::SharedVoice();
    now->speak("Again", true);
    EXPECT_EQ(f.speech.created, 1);
    later->stop();
    EXPECT_EQ(f.speech.log->stops, 0) << "another handle spoke since";
}

TEST(SharedVoice, AVoiceThatCannotStartLeavesTheTextUnsaidAndIsTriedAgain) {
    Installed f;
    auto later = vm::SharedVoiceWhenUsed();
    f.speech.failNext = true;
    later->speak("Lost", true);
    EXPECT_TRUE(f.speech.log->spoken.empty());
    later->speak("Found", true);
    EXPECT_EQ(f.speech.log->spoken, std::vector<std::string>{"Found"});
    EXPECT_EQ(vm::SharedVoice() != nullptr, true);
    EXPECT_EQ(f.speech.created, 1);
}

}  // namespace
