#include "platform/guardedapp.h"

#include <cstdio>
#include <string>

#include "platform/messages.h"
#include "platform/steps.h"

namespace vm {
namespace {

bool g_boxShown = false;
int g_count = 0;

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
