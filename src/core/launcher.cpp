#include "core/launcher.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QStandardPaths>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/calendartext.h"
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

// Characters that make an Exec argument need quotes.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";

// A path as a message shows it, quoted, control characters as "?".
std::string Shown(const std::string& path) {
    std::string out = path;
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
    return "\"" + out + "\"";
}

// One argument of an Exec line, or "" with *problem set.
std::string ExecArgument(const std::string& arg, const std::string& path, std::string* problem) {
    for (char c : arg)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            *problem = "The path " + Shown(path) +
                       " holds a line break or another control character, which a desktop launcher cannot hold.";
            return {};
        }
    if (!IsValidUtf8(arg)) {
        *problem = "The path " + Shown(path) + " is not UTF-8 text, which a desktop launcher needs.";
        return {};
    }
    const bool quoted = arg.find_first_of(kReserved) != std::string::npos;
    if (quoted && arg.find('%') != std::string::npos) {
        // "%%" inside quotes is left undefined for launchers.
        *problem = "The path " + Shown(path) +
                   " holds \"%\" together with a blank or another character that needs quotes; a desktop launcher "
                   "cannot hold both.";
        return {};
    }
    std::string out;
    if (quoted) {
        out = "\"";
        for (char c : arg) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
            out += c;
        }
        out += '"';
    } else {
        for (char c : arg) out += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return out;
}

// A launcher's value is a string: its own escaping doubles every backslash.
std::string EscapeValue(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return out;
}

}  // namespace

std::string LauncherBaseName(std::string_view productName) {
    std::string name = ToLower(productName);
    for (size_t at; (at = name.find(".exe")) != std::string::npos;) name.erase(at, 4);
    return name;
}

std::string LauncherExec(const std::string& programPath, const std::string& dataDir, std::string* problem) {
    std::string why;
    std::string* reason = problem ? problem : &why;
    reason->clear();
    if (programPath.empty()) {
        *reason = "The program's own path cannot be found.";
        return {};
    }
    // A program path holding "%" goes after `env` too: desktops look for the
    // first argument as it is written, before "%%" becomes "%".
    const bool viaEnv = !dataDir.empty() || programPath.find('%') != std::string::npos;
    if (viaEnv && programPath.find('=') != std::string::npos) {
        *reason = "The program path " + Shown(programPath) +
                  " holds \"=\", which cannot follow a setting in a desktop launcher.";
        return {};
    }
    std::string line;
    if (viaEnv) {
        line = "env ";
        if (!dataDir.empty()) {
            const std::string setting = ExecArgument("VELMORA_DATA_DIR=" + dataDir, dataDir, reason);
            if (setting.empty()) return {};
            line += setting + " ";
        }
    }
    const std::string program = ExecArgument(programPath, programPath, reason);
    if (program.empty()) return {};
    return EscapeValue(line + program);
}

std::string LauncherText(const std::string& programPath, const std::string& dataDir, std::string* problem) {
    const std::string exec = LauncherExec(programPath, dataDir, problem);
    if (exec.empty()) return {};
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Version=1.0\n"
           "Name=" + std::string(kProductName) + "\n"
           "GenericName=Calendar\n"
           "Comment=Desktop calendar\n"
           "Exec=" + exec + "\n"
           "Icon=x-office-calendar\n"
           "Terminal=false\n"
           "Categories=Office;Calendar;\n";
}

std::string LauncherDataFolder() {
    const std::string dir = Env("VELMORA_DATA_DIR");
    if (dir.empty()) return {};
    std::error_code ec;
    const fs::path full = fs::absolute(dir, ec);
    return ec ? dir : full.lexically_normal().string();
}

bool ProgramThere(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec) && ::access(path.c_str(), X_OK) == 0;
}

std::string ProgramFileFrom(const std::string& linked, const std::string& startedBy) {
    // The kernel names a program file replaced or removed while it runs with
    // " (deleted)" after its path; a new version may stand at that path now.
    static constexpr std::string_view kDeleted = " (deleted)";
    if (ProgramThere(linked)) return linked;
    if (linked.size() > kDeleted.size() && linked.ends_with(kDeleted)) {
        const std::string path = linked.substr(0, linked.size() - kDeleted.size());
        if (ProgramThere(path)) return path;
    }
    return ProgramThere(startedBy) ? startedBy : std::string();
}

std::string StartedByPath() {
    // Not applicationFilePath(): on Linux it reads /proc/self/exe first.
    if (!QCoreApplication::instance()) return {};
    const QString first = QCoreApplication::arguments().value(0);
    if (first.isEmpty()) return {};
    if (!first.contains('/')) return QStandardPaths::findExecutable(first).toStdString();
    std::error_code ec;
    const fs::path full = fs::absolute(first.toStdString(), ec);
    return ec ? std::string() : full.lexically_normal().string();
}

std::string RunningProgramPath() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ProgramFileFrom(ec ? std::string() : exe.string(), StartedByPath());
}

std::vector<std::string> LauncherExecArguments(const std::string& value) {
    // The value's own escapes first ("\\" is one backslash), then the
    // quoting of the arguments; "%%" is "%" and field codes give nothing.
    std::string s;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            s += value[i];
            continue;
        }
        const char next = value[++i];
        switch (next) {
            case 's': s += ' '; break;
            case 'n': s += '\n'; break;
            case 't': s += '\t'; break;
            case 'r': s += '\r'; break;
            case '\\': s += '\\'; break;
            default: s += std::string{'\\', next};
        }
    }
    std::vector<std::string> args;
    std::string arg;
    bool quoted = false, started = false;
    for (size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (quoted) {
            if (c == '\\' && i + 1 < s.size()) arg += s[++i];
            else if (c == '"') quoted = false;
            else arg += c;
        } else if (c == ' ' || c == '\t') {
            if (started) args.push_back(arg);
            arg.clear();
            started = false;
        } else {
            started = true;
            if (c == '"') quoted = true;
            else if (c != '%') arg += c;
            else if (i + 1 < s.size() && s[++i] == '%') arg += '%';
        }
    }
    if (started) args.push_back(arg);
    return args;
}

std::string LauncherProgram(const std::string& launcherText) {
    std::istringstream lines(launcherText);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("Exec=")) continue;
        const std::vector<std::string> args = LauncherExecArguments(line.substr(5));
        size_t at = 0;
        if (at < args.size() && args[at] == "env")
            for (++at; at < args.size() && (args[at].find('=') != std::string::npos || args[at].starts_with('-'));)
                at += args[at] == "-u" || args[at] == "-C" ? 2 : 1;  // these two take a value
        return at < args.size() ? args[at] : std::string();
    }
    return {};
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

bool WriteProgramLauncher(const std::string& text) {
    const std::string path = ProgramLauncherPath();
    if (FileExists(path) && ReadFile(path) == text) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    return static_cast<bool>(out);
}

// True when the launcher names a program that is not there: by its path, or
// by a name looked for on the search path.
bool StartsNothing(const std::string& launcherText) {
    const std::string program = LauncherProgram(launcherText);
    if (program.empty()) return false;  // no program of its own to judge by
    if (program.find('/') != std::string::npos) return !ProgramThere(program);
    return QStandardPaths::findExecutable(QString::fromStdString(program)).isEmpty();
}

LauncherResult InstallLauncher(const std::string& folder) {
    LauncherResult r;
    r.destination = JoinPath(folder, LauncherBaseName(kProductName) + ".desktop");
    const std::string program = RunningProgramPath();
    if (program.empty()) {
        r.problem = "The program's own file is no longer where it was started from (it was moved or removed "
                    "while the calendar runs), so a launcher could not start it. Start the calendar again and "
                    "press ShortCuts once more.";
        return r;
    }
    const std::string text = LauncherText(program, LauncherDataFolder(), &r.problem);
    if (text.empty()) return r;
    std::error_code ec;
    if (fs::exists(fs::symlink_status(r.destination, ec))) {
        // One left by a program file that has since gone is made again.
        const bool stale = fs::is_regular_file(fs::symlink_status(r.destination, ec)) &&
                           StartsNothing(ReadFile(r.destination));
        if (!stale) {
            r.outcome = LauncherCopy::Exists;
            return r;
        }
        if (!fs::remove(r.destination, ec)) return r;
    }
    if (!MakeFolder(folder)) return r;
    bool copied = false;
    if (WriteProgramLauncher(text)) copied = CopyFileNoOverwrite(ProgramLauncherPath(), r.destination);
    else copied = WriteNewFile(r.destination, text);
    if (!copied || !FileExists(r.destination)) return r;
    SetRunBits(r.destination);
    r.outcome = LauncherCopy::Created;
    return r;
}

}  // namespace vm
