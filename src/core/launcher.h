// The program's desktop launcher (a freedesktop ".desktop" file) and the
// user's desktop and autostart folders it is copied into.
#pragma once
#include <string>
#include <string_view>

namespace vm {

// The launcher's base name: the product name in lower case with every ".exe"
// taken out ("Velmora" -> "velmora").
std::string LauncherBaseName(std::string_view productName);

// The contents of the launcher that starts the program at programPath.
std::string LauncherText(const std::string& programPath);
// The Exec= value for a program path, quoted and escaped as launchers need.
std::string LauncherExec(const std::string& programPath);

// The path of the running program (/proc/self/exe).
std::string RunningProgramPath();

// $XDG_CONFIG_HOME, else $HOME/.config.
std::string ConfigHome();
// The value of `key` in the text of a user-dirs.dirs file, with "$HOME"
// replaced; "" when the key is not there.
std::string UserDirsValue(std::string_view fileText, std::string_view key, const std::string& home);
// $XDG_DESKTOP_DIR, else the desktop named in user-dirs.dirs, else $HOME/Desktop.
std::string DesktopFolder();
// ConfigHome() + "/autostart".
std::string AutostartFolder();

// The launcher beside the program: program folder + "/velmora.desktop".
std::string ProgramLauncherPath();
// (Re)writes the launcher beside the program when it is missing or starts
// another path; false when it cannot be written there.
bool WriteProgramLauncher();

enum class LauncherCopy { Created, Exists, Failed };
struct LauncherResult {
    LauncherCopy outcome = LauncherCopy::Failed;
    std::string destination;  // folder + "/velmora.desktop"
};
// Copies the program's launcher into the folder (made when missing), never
// over anything already there, and sets its run bits. When the launcher
// cannot be kept beside the program it is written straight into the folder.
LauncherResult InstallLauncher(const std::string& folder);

}  // namespace vm
