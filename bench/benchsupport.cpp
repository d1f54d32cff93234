#include "benchsupport.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>
#include <vector>

#include <unistd.h>

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

std::string BenchDir(const std::string& stem) {
    namespace fs = std::filesystem;
    struct Made {
        std::vector<std::string> dirs;
        pid_t owner = getpid();
        ~Made() {
            if (getpid() != owner) return;
            std::error_code ec;
            for (const std::string& dir : dirs) fs::remove_all(dir, ec);
        }
    };
    static Made made;
    std::string dir = (fs::temp_directory_path() / ("velmora-bench-" + stem + "-XXXXXX")).string();
    if (!mkdtemp(dir.data())) throw std::runtime_error("no temporary folder for the benchmark");
    made.dirs.push_back(dir);
    return dir;
}

}  // namespace vmbench
