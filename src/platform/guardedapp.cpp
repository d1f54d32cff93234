#include "platform/guardedapp.h"

#include <cstdio>
#include <string>

#include "platform/messages.h"
#include "platform/steps.h"

namespace vm {
namespace {

bool g_boxShown = false;

}  // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportUncaughtError(std::current_exception());
        return false;
    }
}

void ReportUncaughtError(std::exception_ptr error) {
    const auto [number, description] = DescribeError(error);
    const std::string text = std::to_string(number) + " - " + description;
    if (g_boxShown) {
        std::fprintf(stderr, "Velmora: %s\n", text.c_str());
        return;
    }
    g_boxShown = true;
    try {
        Messages().message(text, MsgButtons::Ok, MsgIcon::Critical, "Velmora Error");
    } catch (...) {
        std::fprintf(stderr, "Velmora: %s\n", text.c_str());
    }
    g_boxShown = false;
}

}  // namespace vm
