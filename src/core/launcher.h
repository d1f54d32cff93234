// The program's desktop launcher (a freedesktop ".desktop" file) and the
// user's desktop and autostart folders it is copied into.
#pragma once
#include <string>
#include <string_view>
#include <vector>

namespace vm {

// The launcher's base name: the product name in lower case with every ".exe"
// taken out ("Velmora" -> "velmora").
std::string LauncherBaseName(std::string_view productName);

// The Exec= value that starts the program at programPath, with dataDir (when
// not empty) handed to it in VELMORA_DATA_DIR through `env`. Each argument is
// quoted and escaped as desktop launchers need and "%" is written "%%". A
// path a launcher cannot carry (a line break or another control character,
// text that is not UTF-8, "%" in an argument that needs quotes, "=" in a
// program path given to `env`) gives "" and says why in *problem.
std::string LauncherExec(const std::string& programPath, const std::string& dataDir, std::string* problem);
// The contents of that launcher; "" (with *problem) when it cannot be written.
std::string LauncherText(const std::string& programPath, const std::string& dataDir, std::string* problem);
// $VELMORA_DATA_DIR as a full path, "" when it is not set.
std::string LauncherDataFolder();

// The running program's file: the path /proc/self/exe names (without the
// " (deleted)" the kernel adds once that file was replaced or removed) when a
// program file is there, else the path it was started by (argv[0], made
// absolute or looked up on the search path) when one is there, else "".
std::string RunningProgramPath();
// That choice, from the link's text and the started-by path.
std::string ProgramFileFrom(const std::string& linked, const std::string& startedBy);
// True when path is a regular file this user may run.
bool ProgramThere(const std::string& path);

// The arguments of a launcher's Exec value, as a desktop reads them.
std::vector<std::string> LauncherExecArguments(const std::string& value);
// The program a launcher's text starts (after `env` and its settings), or "".
std::string LauncherProgram(const std::string& launcherText);

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
// (Re)writes the launcher beside the program with `text` when it is missing
// or differs; false when it cannot be written there.
bool WriteProgramLauncher(const std::string& text);

enum class LauncherCopy { Created, Exists, Failed };
struct LauncherResult {
    LauncherCopy outcome = LauncherCopy::Failed;
    std::string destination;  // folder + "/velmora.desktop"
    std::string problem;      // why no launcher can start the program from where it is
};
// Copies the program's launcher into the folder (made when missing), never
// over anything already there but a launcher whose program is not there
// (that one is written again), and sets its run bits. When the launcher
// cannot be kept beside the program it is written straight into the folder.
// A program file that cannot be found, or a program or data folder a
// launcher cannot carry, fails with `problem` set and nothing written.
LauncherResult InstallLauncher(const std::string& folder);

}  // namespace vm
