#include "core/launcher.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/numtext.h"
#include "platform/places.h"

namespace fs = std::filesystem;

namespace vm {
namespace {

constexpr const char* kProductName = "Velmora";

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string Home() {
    std::string home = Env("HOME");
    return home.empty() ? std::string("/") : home;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

bool WriteNewFile(const std::string& path, const std::string& text) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(path, ec))) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

void SetRunBits(const std::string& path) {
    std::error_code ec;
    fs::permissions(path, fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec,
                    fs::perm_options::add, ec);
}

}  // namespace

std::string LauncherBaseName(std::string_view productName) {
    std::string name = ToLower(productName);
    for (size_t at; (at = name.find(".exe")) != std::string::npos;) name.erase(at, 4);
    return name;
}

std::string LauncherExec(const std::string& programPath) {
    // Reserved characters force quoting; inside quotes ", `, $ and \ are
    // escaped. Then the value's own escaping doubles every backslash, and a
    // percent sign is doubled so it is no field code.
    static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
    std::string arg = programPath;
    if (arg.find_first_of(reserved) != std::string::npos) {
        std::string quoted = "\"";
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
            quoted += c;
        }
        arg = quoted + "\"";
    }
    std::string out;
    for (char c : arg) {
        if (c == '\\') out += "\\\\";
        else if (c == '%') out += "%%";
        else out += c;
    }
    return out;
}

std::string LauncherText(const std::string& programPath) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" + std::string(kProductName) + "\n"
           "GenericName=Calendar\n"
           "Comment=Desktop calendar\n"
           "Exec=" + LauncherExec(programPath) + "\n"
           "Icon=x-office-calendar\n"
           "Terminal=false\n"
           "Categories=Office;Calendar;\n";
}

std::string RunningProgramPath() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string ConfigHome() {
    const std::string xdg = Env("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') return xdg;
    return JoinPath(Home(), ".config");
}

std::string UserDirsValue(std::string_view fileText, std::string_view key, const std::string& home) {
    std::istringstream lines{std::string(fileText)};
    for (std::string line; std::getline(lines, line);) {
        const std::string t = Trim(line);
        if (t.empty() || t.front() == '#') continue;
        const size_t eq = t.find('=');
        if (eq == std::string::npos || Trim(t.substr(0, eq)) != key) continue;
        std::string value = Trim(t.substr(eq + 1));
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
        while (value.size() > 1 && value.back() == '/') value.pop_back();
        return value;
    }
    return {};
}

std::string DesktopFolder() {
    const std::string env = Env("XDG_DESKTOP_DIR");
    if (!env.empty()) return env;
    const std::string fromFile =
        UserDirsValue(ReadFile(JoinPath(ConfigHome(), "user-dirs.dirs")), "XDG_DESKTOP_DIR", Home());
    if (!fromFile.empty() && fromFile.front() == '/') return fromFile;
    return JoinPath(Home(), "Desktop");
}

std::string AutostartFolder() { return JoinPath(ConfigHome(), "autostart"); }

std::string ProgramLauncherPath() {
    return JoinPath(ProgramFolder(), LauncherBaseName(kProductName) + ".desktop");
}

bool WriteProgramLauncher() {
    const std::string path = ProgramLauncherPath();
    const std::string text = LauncherText(RunningProgramPath());
    if (FileExists(path) && ReadFile(path) == text) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

LauncherResult InstallLauncher(const std::string& folder) {
    LauncherResult r;
    r.destination = JoinPath(folder, LauncherBaseName(kProductName) + ".desktop");
    std::error_code ec;
    if (fs::exists(fs::symlink_status(r.destination, ec))) {
        r.outcome = LauncherCopy::Exists;
        return r;
    }
    if (!MakeFolder(folder)) return r;
    bool copied = false;
    if (WriteProgramLauncher()) copied = CopyFileNoOverwrite(ProgramLauncherPath(), r.destination);
    else copied = WriteNewFile(r.destination, LauncherText(RunningProgramPath()));
    if (!copied || !FileExists(r.destination)) return r;
    SetRunBits(r.destination);
    r.outcome = LauncherCopy::Created;
    return r;
}

}  // namespace vm
