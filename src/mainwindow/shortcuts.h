// Desktop and start-up shortcuts: the program's launcher copied to the
// user's desktop and, on request, to the desktop's autostart folder.
#pragma once
#include <string>

#include "core/launcher.h"

namespace vm {

// Copies the launcher of `name` into the desktop folder (startUp false) or
// the autostart folder (startUp true) and tells the user what happened, with
// the path. `name` becomes the launcher's base name ("velmora").
LauncherCopy NewDeskTopShortCut(std::string& name, const std::string& windowName, bool startUp);

// The settings panel's ShortCuts button: the desktop shortcut, then the
// question about starting with the desktop (not asked after a failed copy).
void NewShortCuts();

}  // namespace vm
