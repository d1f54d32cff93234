#include "core/soundfiles.h"

#include <filesystem>

#include "platform/places.h"

namespace fs = std::filesystem;

namespace vm {

std::string ProgramSoundFolder() { return JoinPath(ProgramFolder(), "Sounds"); }
std::string DataSoundFolder() { return JoinPath(DataFolder(), "Sounds"); }

int EnsureSoundFolder() {
    std::error_code ec;
    const std::string to = DataSoundFolder();
    const std::string from = ProgramSoundFolder();
    if (fs::exists(to, ec) || !fs::is_directory(from, ec)) return 0;
    if (!MakeFolder(to)) return 0;
    int copied = 0;
    for (const auto& entry : fs::directory_iterator(from, ec)) {
        if (!entry.is_regular_file(ec)) continue;
        const std::string name = entry.path().filename().string();
        if (CopyFileNoOverwrite(entry.path().string(), JoinPath(to, name))) ++copied;
    }
    return copied;
}

}  // namespace vm
