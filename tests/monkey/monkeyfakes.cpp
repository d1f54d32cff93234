#include "monkeyfakes.h"

#include <algorithm>

namespace vmtest {

const std::vector<std::string>& HostileTexts() {
    static const std::vector<std::string> texts = {
        "'", "\"", "O'Brien's \"quote\"", "'; DROP TABLE [Velmora]; --", "\" OR 1=1 --", "x' OR 'a'='a",
        "%", "%s%n%d%%", "100%_*?", "[Velmora]", "a\nb", "line one\r\nline two\r\n", "\t", "", " ", "  ",
        "12/31/9999", "2/30/2024", "1/1/0", "13/45/2026", "0", "-1", "99999999999999999999", "1e308", "NaN",
        "3.5", "3,5", "-0", "13:61", "12 pm", "aM", "++", ",,,", "\\", "../../x", "NULL", "<b>bold</b>&amp;",
        "$(touch /tmp/velmora-monkey)", "`id`", "${HOME}", "=cmd|' /C calc'!A0",
        "Ünïcödé ß ẞ ǅ Σίσυφος", "日本語のテキスト", "😀👍🏽 emoji", "\u202Eevil\u202C", "İstanbul ıi",
        std::string(400, 'x'), std::string(5000, 'W'), "12/6/2026", "1/1/2025", "7/4/2026", "17",
        "Yearly", "Monthly", "Weekly", "WeekMask-tfffffT", "Every-0", "Hour-99", "MonthWeek-9-Xyz",
    };
    return texts;
}

std::string RandomText(Rng& rng) {
    const auto& texts = HostileTexts();
    std::string t = texts[size_t(Pick(rng, int(texts.size())))];
    if (Chance(rng, 20)) t += texts[size_t(Pick(rng, int(texts.size())))];
    if (Chance(rng, 5)) {
        std::string longer;
        for (int i = 0; i < 60; ++i) longer += "Σ'%\"ö";
        t += longer;
    }
    return t;
}

vm::MsgResult MonkeyMessages::message(const std::string& text, vm::MsgButtons buttons, vm::MsgIcon,
                                      const std::string& title) {
    using vm::MsgResult;
    std::vector<MsgResult> choices;
    switch (buttons) {
        case vm::MsgButtons::Ok: choices = {MsgResult::Ok}; break;
        case vm::MsgButtons::OkCancel: choices = {MsgResult::Ok, MsgResult::Cancel}; break;
        case vm::MsgButtons::YesNo:
        case vm::MsgButtons::YesNoDefaultNo: choices = {MsgResult::Yes, MsgResult::No}; break;
        case vm::MsgButtons::YesNoCancel: choices = {MsgResult::Yes, MsgResult::No, MsgResult::Cancel}; break;
    }
    const MsgResult r = choices[size_t(Pick(rng_, int(choices.size())))];
    static const char* const names[] = {"Ok", "Cancel", "Yes", "No"};
    notes.push_back("box \"" + title + "\": \"" + text.substr(0, 80) + "\" -> " + names[int(r)]);
    return r;
}

// The first extension a dialog's filter offers ("Text|*.txt|All|*.*" gives "txt").
static std::string FilterExtension(const std::string& filter) {
    const auto star = filter.find("*.");
    if (star == std::string::npos) return "txt";
    std::string ext;
    for (size_t i = star + 2; i < filter.size() && filter[i] != '|' && filter[i] != ';'; ++i) ext += filter[i];
    return ext == "*" || ext.empty() ? "txt" : ext;
}

std::string MonkeyMessages::fileDialog(const vm::FileDialogRequest& request) {
    const std::string ext = FilterExtension(request.filter);
    std::string path;
    const int roll = Pick(rng_, 100);
    if (roll < 25) {
        path = "";
    } else if (roll < 45 && filesInUse) {
        const auto inUse = filesInUse();
        if (!inUse.empty()) path = inUse[size_t(Pick(rng_, int(inUse.size())))];
    } else if (roll < 65 && existingFiles) {
        const auto files = existingFiles();
        if (!files.empty()) path = files[size_t(Pick(rng_, int(files.size())))];
    } else if (roll < 90) {
        path = newFileFolder + "/monkey " + std::to_string(++counter_) + "." + ext;
    } else if (roll < 95) {
        path = newFileFolder + "/it's \"odd\" %d; DROP TABLE x;-- Σ😀 " + std::to_string(++counter_) + "." + ext;
    } else if (roll < 98) {
        path = newFileFolder + "/no such folder/monkey." + ext;
    } else {
        path = newFileFolder;
    }
    if (!path.empty()) {
        answered.insert(path);
        if (!request.defaultSuffix.empty()) answered.insert(path + "." + request.defaultSuffix);
    }
    notes.push_back(std::string(request.save ? "save" : "open") + " dialog \"" + request.title + "\" -> \"" + path +
                    "\"");
    return path;
}

std::optional<long> MonkeyPickers::pickColor(long, const std::string&) {
    if (Chance(rng_, 30)) return std::nullopt;
    static const long colours[] = {0, 16777215, 255, 65280, 16711680, 8421504, 12345678};
    return colours[Pick(rng_, 7)];
}

std::optional<vm::FontChoice> MonkeyPickers::pickFont(const vm::FontChoice& initial, const std::string&) {
    if (Chance(rng_, 30)) return std::nullopt;
    vm::FontChoice f = initial;
    static const char* const names[] = {"DejaVu Sans", "DejaVu Serif", "O'Font, \"x\"", "Σ Font"};
    f.name = names[Pick(rng_, 4)];
    static const double sizes[] = {1, 8, 10.5, 12, 72, 400};
    f.size = sizes[Pick(rng_, 6)];
    f.bold = Chance(rng_, 50);
    f.italic = Chance(rng_, 50);
    f.underline = Chance(rng_, 20);
    f.strikeout = Chance(rng_, 20);
    return f;
}

namespace {

class MonkeyVoice : public vm::ISpeechVoice {
public:
    explicit MonkeyVoice(std::shared_ptr<MonkeySpeech::State> s) : s_(std::move(s)), id_(s_->nextId++) { ++s_->live; }
    ~MonkeyVoice() override {
        quiet();
        --s_->live;
    }
    void speak(const std::string&, bool) override {
        quiet();
        for (const auto& [other, since] : s_->speaking)
            if (s_->action - since < MonkeySpeech::speakingFor)
                s_->faults.push_back("two voices speak at once: voice " + std::to_string(id_) +
                                     " begins while voice " + std::to_string(other) + ", begun at action " +
                                     std::to_string(since + 1) + ", still speaks");
        s_->speaking.emplace_back(id_, s_->action);
    }
    void pause() override {}
    void resume() override {}
    void stop() override { quiet(); }

private:
    void quiet() {
        auto& v = s_->speaking;
        v.erase(std::remove_if(v.begin(), v.end(), [this](const auto& p) { return p.first == id_; }), v.end());
    }
    std::shared_ptr<MonkeySpeech::State> s_;
    int id_;
};

}  // namespace

std::unique_ptr<vm::ISpeechVoice> MonkeySpeech::createVoice() { return std::make_unique<MonkeyVoice>(state); }

}  // namespace vmtest
