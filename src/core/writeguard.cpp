#include "core/writeguard.h"

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

// The same file: the same path once links are followed, or the same file
// under another name (a hard link).
bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    if (SamePath(a, b)) return true;
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

bool Inside(const std::string& path, const std::string& folder) {
    std::error_code ea, eb;
    const fs::path p = fs::weakly_canonical(AbsolutePath(path), ea);
    const fs::path f = fs::weakly_canonical(AbsolutePath(folder), eb);
    if (ea || eb || f.empty()) return false;
    const std::string prefix = f.string() + "/";
    return p.string().compare(0, prefix.size(), prefix) == 0;
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

}  // namespace

std::string WriteOverProblem(const std::string& path) {
    if (path.empty()) return {};
    const char* what = nullptr;
    for (const InUse& f : FilesInUse())
        if (SameFile(path, f.path)) {
            what = f.what;
            break;
        }
    if (!what && (Inside(path, DataSoundFolder()) || Inside(path, JoinPath(DataFolder(), "Graphics"))))
        what = "one of the program's own files";
    if (!what) return {};
    return "\"" + path + "\" is " + what + " and cannot be written over.\nNothing was written: choose another file name.";
}

bool MayWriteFile(const std::string& path, const std::string& title) {
    const std::string problem = WriteOverProblem(path);
    if (problem.empty()) return true;
    Messages().message(problem, MsgButtons::Ok, MsgIcon::Exclamation, title);
    return false;
}

}  // namespace vm
