// Message boxes, questions, the beep and file dialogs behind one interface, so
// that tests can answer them without a window ever blocking.
#pragma once
#include <deque>
#include <string>
#include <vector>

namespace vm {

// YesNoDefaultNo: Yes and No with No the default, the button Enter presses.
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MsgIcon { None, Information, Critical, Question, Exclamation };
enum class MsgResult { Ok, Cancel, Yes, No };

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filter;      // "Description|*.ext|Other|*.a;*.b"
    std::string initialDir;
    std::string fileName;
    std::string defaultSuffix;  // added to a typed name without one (save dialogs)
    bool confirmOverwrite = true;  // false: the dialog never offers to replace a file
};

class IMessages {
public:
    virtual ~IMessages() = default;
    virtual MsgResult message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) = 0;
    virtual void beep() = 0;
    // The chosen path, or "" when the user cancels.
    virtual std::string fileDialog(const FileDialogRequest& request) = 0;
};

// The process-wide service; a recording fake until a window installs the real one.
IMessages& Messages();
void SetMessages(IMessages* impl);  // nullptr restores the built-in fake

// Records every call and answers from a script (Ok / Yes / "" by default).
class FakeMessages : public IMessages {
public:
    struct Shown {
        std::string text, title;
        MsgButtons buttons;
        MsgIcon icon;
    };
    MsgResult message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
    void beep() override { ++beeps; }
    std::string fileDialog(const FileDialogRequest& request) override;

    std::vector<Shown> shown;
    std::vector<FileDialogRequest> dialogs;
    std::deque<MsgResult> answers;         // next answers; empty gives the default
    std::deque<std::string> fileAnswers;   // next chosen paths; empty gives ""
    int beeps = 0;
    void clear() { shown.clear(); dialogs.clear(); answers.clear(); fileAnswers.clear(); beeps = 0; }
};

// Shorthands for the usual boxes.
void InfoBox(const std::string& text, const std::string& title);
void CriticalBox(const std::string& text, const std::string& title);

}  // namespace vm
