// The program's fixed files: the settings database, the default calendar file
// and the blank templates, and the first-run set-up of the data folder.
#pragma once
#include <string>

namespace vm {

std::string SettingsDatabasePath();
// The settings database this run uses (start-up's choice; the data folder's
// one until start-up has chosen). Every window opens this one.
std::string SettingsDatabaseInUse();   // data folder + "/Velmora_Settings.mdb"
std::string DefaultCalendarPath();    // data folder + "/Velmoras.mdb"
std::string BlankCalendarTemplate();  // program folder + "/BlankVelmoras.mdb"
std::string BlankSettingsTemplate();  // program folder + "/BlankVelmora_Settings.mdb"

// A stored path as the program uses it: relative paths (as the templates
// store them) are taken from the data folder.
std::string ResolveDataPath(const std::string& stored);

// Creates the data folder and copies both blank templates into it when
// missing (never overwriting). Returns false when the folder cannot be made.
bool EnsureDataFolder();

// The program version, major.minor.revision, from the build.
std::string VersionText();

}  // namespace vm
