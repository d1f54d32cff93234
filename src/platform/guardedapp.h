// The program's application object. A failure that escapes an event handler
// (a click, a key, a timer, a slot) is shown in one error box, and the
// program goes on with its next event instead of ending. Enter presses the
// button that has the keyboard focus, as Space does, in every window.
#pragma once
#include <QApplication>

#include <exception>

namespace vm {

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Enter (or the keypad's Enter) on a focused, enabled push button or tool
// button presses it down and, when the key comes up, clicks it, as Space
// does; the key's events are used up then (true). A held key clicks once.
// Qt's own dialogs press their default buttons themselves, and check boxes
// and radio buttons keep Space.
bool PressFocusedButtonOnEnter(QObject* receiver, QEvent* event);

// Shows a failure no handler caught: "number - description" in one critical
// box, and writes it to the error output. A failure while that box is up (its
// own events may fail the same way) is only written, never stacked.
void ReportUncaughtError(std::exception_ptr error);
// How many failures reached ReportUncaughtError in this run: a handler that
// lets one escape is a fault, even though the program goes on.
int UncaughtErrorCount();

}  // namespace vm
