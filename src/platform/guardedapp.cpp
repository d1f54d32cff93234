#include "platform/guardedapp.h"

#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QToolButton>

#include <cstdio>
#include <string>
#include <utility>

#include "platform/messages.h"
#include "platform/steps.h"

namespace vm {
namespace {

bool g_boxShown = false;
int g_count = 0;

// Enter on the focused button, in every window. An application filter, the
// first one installed: the filters installed after it (the one that waits
// for the user's next key after a failure was said) still see the key.
class EnterOnButtons : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override { return PressFocusedButtonOnEnter(watched, event); }
};

}  // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {
    installEventFilter(new EnterOnButtons(this));
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportUncaughtError(std::current_exception());
        return false;
    }
}

bool PressFocusedButtonOnEnter(QObject* receiver, QEvent* event) {
    const bool press = event->type() == QEvent::KeyPress, release = event->type() == QEvent::KeyRelease;
    if (!press && !release) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    // The button Enter went down on: it is pressed when the key comes up, as
    // Space presses a button, so a held key never goes on to answer the box
    // the press opens.
    static QPointer<QAbstractButton> down;
    auto* button = qobject_cast<QAbstractButton*>(receiver);
    // (A button that lost the focus meanwhile is up again, and stays unpressed.)
    if (release && button && button == down && button->isDown()) {
        if (key->isAutoRepeat()) return true;  // the key is still held
        down.clear();
        button->setDown(false);
        if (button->hasFocus() && button->isEnabled() && button->isVisible()) button->click();
        return true;
    }
    if (release) {
        // It came up on another control with the focus (the focus moved): no
        // press. (The desktop's window gets the key before its control does.)
        const auto* widget = qobject_cast<QWidget*>(receiver);
        if (down && !key->isAutoRepeat() && widget && widget->hasFocus())
            std::exchange(down, nullptr)->setDown(false);
        return false;
    }
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    if (!button || !button->hasFocus() || !button->isEnabled() || !button->isVisible()) return false;
    if (const auto* push = qobject_cast<QPushButton*>(button)) {
        if (push->autoDefault() || push->isDefault()) return false;  // pressed by Qt itself
    } else if (!qobject_cast<QToolButton*>(button)) {
        return false;
    }
    if (!key->isAutoRepeat()) {
        if (down && down != button) down->setDown(false);
        down = button;
        button->setDown(true);
    }
    return true;
}

void ReportUncaughtError(std::exception_ptr error) {
    const auto [number, description] = DescribeError(error);
    const std::string text = std::to_string(number) + " - " + description;
    ++g_count;
    std::fprintf(stderr, "Velmora: a failure escaped its handler: %s\n", text.c_str());
    if (g_boxShown) return;
    g_boxShown = true;
    try {
        Messages().message(text, MsgButtons::Ok, MsgIcon::Critical, "Velmora Error");
    } catch (...) {
    }
    g_boxShown = false;
}

int UncaughtErrorCount() { return g_count; }

}  // namespace vm
