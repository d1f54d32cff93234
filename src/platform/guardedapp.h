// The program's application object. A failure that escapes an event handler
// (a click, a key, a timer, a slot) is shown in one error box, and the
// program goes on with its next event instead of ending.
#pragma once
#include <QApplication>

#include <exception>

namespace vm {

class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

// Shows a failure no handler caught: "number - description" in one critical
// box. A failure while that box is up (its own events may fail the same way)
// is written to the error output instead of stacking boxes.
void ReportUncaughtError(std::exception_ptr error);

}  // namespace vm
