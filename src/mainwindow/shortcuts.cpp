#include "mainwindow/shortcuts.h"

#include "platform/messages.h"
#include "platform/steps.h"

namespace vm {

LauncherCopy NewDeskTopShortCut(std::string& name, const std::string& windowName, bool startUp) {
    (void)windowName;  // the window the old shell calls needed; the desktop needs none
    Operation op("NewDeskTopShortCut_Error");
    std::string target;
    if (!op.step(2, [&] { target = startUp ? AutostartFolder() : DesktopFolder(); })) return LauncherCopy::Failed;
    if (!op.step(4, [&] { name = LauncherBaseName(name); })) return LauncherCopy::Failed;
    LauncherResult r;
    if (!op.step(5, [&] { r = InstallLauncher(target); })) return LauncherCopy::Failed;
    op.step(6, [&] {
        switch (r.outcome) {
            case LauncherCopy::Exists:
                InfoBox(name + " ShortCut Already Exists\n" + r.destination, "Shortcut Exists");
                break;
            case LauncherCopy::Created:
                InfoBox("Shortcut Has Been Created\n" + r.destination, "Shortcut Created");
                break;
            case LauncherCopy::Failed:
                Messages().message("The Shortcut Could Not Be Created:\n" + r.destination +
                                       (r.problem.empty() ? std::string() : "\n" + r.problem),
                                   MsgButtons::Ok, MsgIcon::Exclamation, "Shortcut Not Created");
                break;
        }
    });
    return r.outcome;
}

void NewShortCuts() {
    std::string name = "Velmora";
    LauncherCopy desktop = LauncherCopy::Failed;
    try {
        desktop = NewDeskTopShortCut(name, "frmVelmora", false);
    } catch (...) {
    }
    if (desktop == LauncherCopy::Failed) return;
    MsgResult answer = MsgResult::No;
    try {
        answer = Messages().message(
            "Do You Want Start Calendar When the Desktop Loads?\n(Autostart folder: " + AutostartFolder() + ")",
            MsgButtons::YesNo, MsgIcon::Information, "Desktop Autostart");
    } catch (...) {
    }
    if (answer != MsgResult::Yes) return;
    try {
        name = "Velmora";
        NewDeskTopShortCut(name, "frmVelmora", true);
    } catch (...) {
    }
}

}  // namespace vm
