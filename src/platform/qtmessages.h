// The message service on Qt's message boxes and file dialogs.
#pragma once
#include <QString>

#include "platform/messages.h"

class QWidget;

namespace vm {

class QtMessages : public IMessages {
public:
    explicit QtMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MsgResult message(const std::string& text, MsgButtons buttons, MsgIcon icon, const std::string& title) override;
    void beep() override;
    std::string fileDialog(const FileDialogRequest& request) override;

private:
    QWidget* parent_;
};

// "Calendar Files|*.mdb|All Files|*.*" -> "Calendar Files (*.mdb);;All Files (*)"
QString QtFilterFromPipes(const std::string& filter);

}  // namespace vm
