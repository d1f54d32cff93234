#include "core/files.h"

#include "core/module1.h"

#include "platform/places.h"

namespace vm {

std::string SettingsDatabasePath() { return JoinPath(DataFolder(), "Velmora_Settings.mdb"); }
std::string DefaultCalendarPath() { return JoinPath(DataFolder(), "Velmoras.mdb"); }
std::string BlankCalendarTemplate() { return JoinPath(ProgramFolder(), "BlankVelmoras.mdb"); }
std::string BlankSettingsTemplate() { return JoinPath(ProgramFolder(), "BlankVelmora_Settings.mdb"); }

std::string ResolveDataPath(const std::string& stored) {
    if (stored.empty() || stored.front() == '/') return stored;
    return JoinPath(DataFolder(), stored);
}

bool EnsureDataFolder() {
    if (!MakeFolder(DataFolder())) return false;
    CopyFileNoOverwrite(BlankSettingsTemplate(), SettingsDatabasePath());
    CopyFileNoOverwrite(BlankCalendarTemplate(), DefaultCalendarPath());
    return true;
}

std::string VersionText() {
    return std::to_string(VELMORA_VERSION_MAJOR) + "." + std::to_string(VELMORA_VERSION_MINOR) + "." +
           std::to_string(VELMORA_VERSION_PATCH);
}

std::string SettingsDatabaseInUse() {
    if (MainState.pSettingsFile.empty()) MainState.pSettingsFile = SettingsDatabasePath();
    return MainState.pSettingsFile;
}

}  // namespace vm
