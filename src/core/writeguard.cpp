#include "core/writeguard.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/calendarfiles.h"
#include "core/files.h"
#include "core/launcher.h"
#include "core/module1.h"
#include "core/printsetup.h"
#include "core/soundfiles.h"
#include "platform/messages.h"
#include "platform/places.h"

namespace fs = std::filesystem;

namespace vm {
namespace {

struct InUse {
    std::string path;
    const char* what;
};

// Where writing to `path` lands: links followed one by one (a link to a file
// not there yet included), then made canonical as far as it exists.
fs::path Landing(const std::string& path) {
    fs::path p = AbsolutePath(path);
    std::error_code ec;
    for (int hops = 0; hops < 40 && fs::is_symlink(p, ec); ++hops) {
        const fs::path to = fs::read_symlink(p, ec);
        if (ec) break;
        const fs::path base = fs::weakly_canonical(p.parent_path(), ec);  // a relative link starts where it lies
        p = (to.is_absolute() ? to : (ec ? p.parent_path() : base) / to).lexically_normal();
    }
    const fs::path real = fs::weakly_canonical(p, ec);
    return ec ? p : real;
}

bool Inside(const std::string& path, const std::string& folder) {
    if (folder.empty()) return false;
    std::error_code ec;
    const fs::path f = fs::weakly_canonical(AbsolutePath(folder), ec);
    if (ec || f.empty()) return false;
    const std::string prefix = f.string() == "/" ? "/" : f.string() + "/";
    return Landing(path).string().compare(0, prefix.size(), prefix) == 0;
}

// A file of the program's folder under a name outside it (a hard link): only
// looked for when the file has more than one name.
bool HardLinkInto(const std::string& path, const std::string& folder) {
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0 || !S_ISREG(target.st_mode) || target.st_nlink < 2) return false;
    std::error_code ec;
    int looked = 0;
    for (fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end && ++looked < 100000; it.increment(ec)) {
        struct stat st {};
        if (::lstat(it->path().c_str(), &st) == 0 && st.st_ino == target.st_ino && st.st_dev == target.st_dev)
            return true;
    }
    return false;
}

// Every file under the program's folder (the program, its helpers, the
// templates, the manual, the sounds and pictures it ships), however reached.
// A data folder kept inside the program's folder follows its own rules; a
// program started from the root or the home folder itself guards only the
// files listed above, not everything beneath.
bool ProgramFile(const std::string& path) {
    const std::string program = ProgramFolder();
    const std::string data = DataFolder();
    const char* home = std::getenv("HOME");
    const fs::path folder = Landing(program);
    if (folder == "/" || (home && *home && folder == Landing(home))) return false;
    if (Inside(data, program) && Inside(path, data)) return false;
    return Inside(path, program) || HardLinkInto(path, program);
}

std::vector<InUse> FilesInUse() {
    static const char* const kCalendar = "the calendar file in use";
    static const char* const kSettings = "the settings database";
    static const char* const kOwn = "one of the program's own files";
    std::vector<InUse> files;
    // A database and its journals, beside the name it was opened by and
    // beside the file that name leads to.
    auto database = [&](const std::string& path, const char* what) {
        if (path.empty()) return;
        std::error_code ec;
        const std::string real = fs::weakly_canonical(AbsolutePath(path), ec).string();
        for (const std::string& name : {path, ec ? path : real}) {
            files.push_back({name, what});
            for (const char* suffix : {"-journal", "-wal", "-shm"}) files.push_back({name + suffix, what});
        }
    };
    database(Module1.CalendarFilePath, kCalendar);
    database(MainState.pSettingsFile, kSettings);
    database(SettingsDatabasePath(), kSettings);
    database(DefaultCalendarPath(), kOwn);
    database(BlankCalendarTemplate(), kOwn);
    database(BlankSettingsTemplate(), kOwn);
    files.push_back({JoinPath(DataFolder(), "VelmoraHelp.pdf"), kOwn});
    files.push_back({JoinPath(ProgramFolder(), "VelmoraHelp.pdf"), kOwn});
    files.push_back({PrintSetupPath(), kOwn});
    files.push_back({RunningProgramPath(), kOwn});
    for (const std::string& f : Module1.SoundFile)
        if (!f.empty()) files.push_back({ResolveDataPath(f), kOwn});
    for (const std::string& f : Module1.MonthImageFile)
        if (!f.empty()) files.push_back({ResolveDataPath(f), kOwn});
    return files;
}

// The sentence naming what is at `path` when it is no regular file, or "".
std::string NotAFileText(const std::string& path, const char* verb) {
    const std::string kind = NotAFileAt(path);
    if (kind.empty()) return {};
    return "\"" + path + "\" is not a regular file (it is " + kind + ") and cannot be " + verb + ".";
}

bool SayProblem(const std::string& problem, const std::string& title) {
    if (problem.empty()) return true;
    Messages().message(problem, MsgButtons::Ok, MsgIcon::Exclamation, title);
    return false;
}

}  // namespace

std::string WriteOverProblem(const std::string& path) {
    if (path.empty()) return {};
    if (std::string special = NotAFileText(path, "written"); !special.empty())
        return special + "\nNothing was written: choose another file name.";
    const char* what = nullptr;
    for (const InUse& f : FilesInUse())
        if (SameFileAnyName(path, f.path)) {
            what = f.what;
            break;
        }
    if (!what && (Inside(path, DataSoundFolder()) || Inside(path, JoinPath(DataFolder(), "Graphics")) ||
                  ProgramFile(path)))
        what = "one of the program's own files";
    if (!what) return {};
    return "\"" + path + "\" is " + what + " and cannot be written over.\nNothing was written: choose another file name.";
}

bool MayWriteFile(const std::string& path, const std::string& title) {
    return SayProblem(WriteOverProblem(path), title);
}

std::string ReadFromProblem(const std::string& path) {
    const std::string special = NotAFileText(path, "read");
    return special.empty() ? special : special + "\nNothing was read: choose a file.";
}

bool MayReadFile(const std::string& path, const std::string& title) {
    return SayProblem(ReadFromProblem(path), title);
}

}  // namespace vm
