#include "platform/messages.h"

namespace vm {
namespace {
FakeMessages& BuiltInFake() {
    static FakeMessages fake;
    return fake;
}
IMessages* g_messages = nullptr;
}  // namespace

IMessages& Messages() { return g_messages ? *g_messages : BuiltInFake(); }
void SetMessages(IMessages* impl) { g_messages = impl; }

MsgResult FakeMessages::message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) {
    shown.push_back({text, title, buttons, icon});
    if (!answers.empty()) {
        const MsgResult r = answers.front();
        answers.pop_front();
        return r;
    }
    // Unscripted, the box takes its default button.
    if (buttons == MsgButtons::YesNoDefaultNo) return MsgResult::No;
    return (buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel) ? MsgResult::Yes : MsgResult::Ok;
}

std::string FakeMessages::fileDialog(const FileDialogRequest& request) {
    dialogs.push_back(request);
    if (fileAnswers.empty()) return {};
    std::string r = fileAnswers.front();
    fileAnswers.pop_front();
    return r;
}

void InfoBox(const std::string& text, const std::string& title) {
    Messages().message(text, MsgButtons::Ok, MsgIcon::Information, title);
}

void CriticalBox(const std::string& text, const std::string& title) {
    Messages().beep();
    Messages().message(text, MsgButtons::Ok, MsgIcon::Critical, title);
}

}  // namespace vm
