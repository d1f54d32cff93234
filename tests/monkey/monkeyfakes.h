// The platform fakes of the random-action run: every box, file dialog, colour
// and font dialog is answered at random from the run's own generator, and
// the speech fake notices two voices speaking at once.
#pragma once
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/messages.h"
#include "platform/pickers.h"
#include "platform/speech.h"

namespace vmtest {

using Rng = std::mt19937_64;

inline int Pick(Rng& rng, int n) { return n <= 1 ? 0 : static_cast<int>(rng() % static_cast<uint64_t>(n)); }
inline bool Chance(Rng& rng, int percent) { return Pick(rng, 100) < percent; }

// Texts a user might type or paste anywhere: quotes, SQL, format signs,
// line breaks, very long text, Unicode, dates, numbers.
const std::vector<std::string>& HostileTexts();
std::string RandomText(Rng& rng);

class MonkeyMessages : public vm::IMessages {
public:
    explicit MonkeyMessages(Rng& rng) : rng_(rng) {}
    vm::MsgResult message(const std::string& text, vm::MsgButtons buttons, vm::MsgIcon icon,
                          const std::string& title) override;
    void beep() override {}
    std::string fileDialog(const vm::FileDialogRequest& request) override;

    // Places a file dialog may name besides new files: files already there,
    // the open calendar and the settings database.
    std::function<std::vector<std::string>()> existingFiles;
    std::function<std::vector<std::string>()> filesInUse;
    std::string newFileFolder;
    // What the dialogs answered since the last clear: the files the user
    // asked to be written (or read).
    std::set<std::string> answered;
    std::vector<std::string> notes;  // one line per box and dialog, for the action log

private:
    Rng& rng_;
    int counter_ = 0;
};

class MonkeyPickers : public vm::IPickers {
public:
    explicit MonkeyPickers(Rng& rng) : rng_(rng) {}
    std::optional<long> pickColor(long initial, const std::string& title) override;
    std::optional<vm::FontChoice> pickFont(const vm::FontChoice& initial, const std::string& title) override;

private:
    Rng& rng_;
};

// Voices that remember when they spoke: a text lasts `speakingFor` actions
// unless stopped. A voice that starts while another still speaks is the
// fault this fake reports.
class MonkeySpeech : public vm::ISpeechFactory {
public:
    std::unique_ptr<vm::ISpeechVoice> createVoice() override;
    struct State {
        int live = 0;
        long action = 0;  // the run's action number, set by the run
        std::vector<std::pair<int, long>> speaking;  // voice id, action it began
        std::vector<std::string> faults;
        int nextId = 1;
    };
    std::shared_ptr<State> state = std::make_shared<State>();
    static constexpr long speakingFor = 10;
};

}  // namespace vmtest
