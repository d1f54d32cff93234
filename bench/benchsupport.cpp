#include "benchsupport.h"

#include <QApplication>

#include <cstdlib>

namespace vmbench {

QApplication& App() {
    if (auto* existing = qobject_cast<QApplication*>(QApplication::instance())) return *existing;
    static int argc = 1;
    static char name[] = "velmora_bench";
    static char* argv[] = {name, nullptr};
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

}  // namespace vmbench
