#include "platform/places.h"

#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace vm {

std::string DataFolder() {
    if (const char* env = std::getenv("VELMORA_DATA_DIR"); env && *env) return env;
    std::string docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation).toStdString();
    if (docs.empty()) {
        const char* home = std::getenv("HOME");
        docs = std::string(home ? home : ".") + "/Documents";
    }
    return JoinPath(docs, "Velmora");
}

std::string ProgramFolder() {
    if (const char* env = std::getenv("VELMORA_PROGRAM_DIR"); env && *env) return env;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
}

std::string JoinPath(const std::string& a, const std::string& b) {
    if (a.empty()) return b;
    if (a.back() == '/') return a + b;
    return a + "/" + b;
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool PathDenied(const std::string& path) {
    std::error_code ec;
    (void)fs::status(path, ec);
    return ec == std::errc::permission_denied;
}

bool CopyFileNoOverwrite(const std::string& from, const std::string& to) {
    std::error_code ec;
    if (fs::exists(to, ec) || !fs::is_regular_file(from, ec)) return false;
    return fs::copy_file(from, to, fs::copy_options::none, ec) && !ec;
}

bool MakeFolder(const std::string& path) {
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

}  // namespace vm
