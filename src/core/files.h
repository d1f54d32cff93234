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

// A template that is there and is no whole database (empty, text, cut short).
bool BlankTemplateDamaged(const std::string& blank);
// A copy of a blank template: made only from a template that is a database
// of the program, never over anything at `to`.
enum class TemplateCopy { Made, NotMade, TemplateDamaged };
TemplateCopy CopyBlankTemplate(const std::string& blank, const std::string& to, bool sync = false);
// What to say when the template `blank` is damaged: names it, says that no
// `made` ("calendar file", "settings database") came of it and that the
// program should be installed again.
std::string DamagedTemplateText(const std::string& blank, const std::string& made);

// Creates the data folder and copies both blank templates into it when
// missing (never overwriting). A damaged calendar template is said in a box
// and copies nothing; a damaged settings template copies nothing and is said
// by AdmitSettingsFile, which start-up runs next. Returns false when the
// folder cannot be made.
bool EnsureDataFolder();

// Gives the data folder the manual the program ships, VelmoraHelp.pdf, where
// Help opens it, and replaces one an older version left there with it (whole
// or not at all), so the pages the help texts name are the pages the user
// finds. A shipped manual that is no PDF is never copied; what is at the name
// and is no regular file of its own (a link, a folder) is left alone.
void EnsureManual();

// The program version, major.minor.revision, from the build.
std::string VersionText();

}  // namespace vm
