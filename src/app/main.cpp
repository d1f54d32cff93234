// Velmora: puts the real dialogs, sound, speech and desktop handler in place,
// then starts the main window.
#include <QTimer>

#include "mainwindow/frmvelmora.h"
#include "startupprobe.h"
#include "platform/folderlock.h"
#include "platform/guardedapp.h"
#include "platform/qtmessages.h"
#include "platform/places.h"
#include "platform/printdialogs.h"
#include "platform/qtprogress.h"
#include "platform/qtpickers.h"
#include "platform/qtsound.h"
#include "platform/qtspeech.h"
#include "platform/shellqt.h"
#include "platform/stopsignals.h"

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler g_formerHandler = nullptr;

// A run stopped from the terminal under an invisible X server ends quietly
// when that server goes first.
void OnQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (vm::IsDisplayGoneAfterStop(message)) std::_Exit(0);
    if (g_formerHandler) g_formerHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    g_formerHandler = qInstallMessageHandler(OnQtMessage);
    vm::GuardedApplication app(argc, argv);
    QApplication::setApplicationName("Velmora");
    // Shut-down ends the program itself, after its last wait.
    QApplication::setQuitOnLastWindowClosed(false);

    vm::QtMessages messages;
    vm::QtPickers pickers;
    vm::QtSoundPlayer sound;
    vm::QtSpeech speech;
    vm::QtDesktopOpener opener;
    vm::QtPrintDialogs printDialogs;
    vm::QtProgress progress;
    // A data folder whose name is not UTF-8 text would fail file by file
    // (pictures, sounds, the Open dialog): refused before anything is made.
    if (const std::string problem = vm::DataFolderProblem(); !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        messages.message(problem, vm::MsgButtons::Ok, vm::MsgIcon::Critical, "Velmora");
        return 1;
    }
    // One running copy per data folder: a second would write over what the
    // first one saved, and the first over what the second saved.
    const vm::FolderLock running(vm::DataFolder());
    if (running.heldElsewhere()) {
        messages.message("Velmora is already running with the data folder \"" + vm::DataFolder() +
                             "\".\r\nThis copy ends now, so that neither copy writes over what the other saved.",
                         vm::MsgButtons::Ok, vm::MsgIcon::Exclamation, "Velmora");
        return 0;
    }
    if (!running.problem().empty())
        messages.message(running.problem(), vm::MsgButtons::Ok, vm::MsgIcon::Exclamation, "Velmora");
    vm::SetMessages(&messages);
    vm::SetPickers(&pickers);
    vm::SetSoundPlayer(&sound);
    vm::SetSpeech(&speech);
    vm::SetDesktopOpener(&opener);
    vm::SetPrintDialogs(&printDialogs);
    vm::SetProgress(&progress);

    int rc = 0;
    {
        vm::frmVelmora window;
        messages.setParent(&window);
        window.quitAfterUnload = true;
        const QStringList args = QApplication::arguments();
        if (args.size() > 1) window.startArgument = args.mid(1).join(' ').toStdString();
        // Ctrl+C in the terminal, a kill or the terminal closing: as File > Exit,
        // once the window has started (a stop during the start waits for it).
        bool started = false, stopWanted = false;
        vm::StopSignalWatch stopSignals([&] {
            if (started) window.close();
            else stopWanted = true;
        });
        window.Form_Load();
        window.show();
        started = true;
        if (stopWanted) QTimer::singleShot(0, &window, [&window] { window.close(); });
        vm::ArmStartupProbe([&window] {
            window.unloadWaitMs = 0;
            window.close();
        });
        rc = QApplication::exec();
    }
    vm::SetProgress(nullptr);
    vm::SetPrintDialogs(nullptr);
    vm::SetDesktopOpener(nullptr);
    vm::SetSpeech(nullptr);
    vm::SetSoundPlayer(nullptr);
    vm::SetPickers(nullptr);
    vm::SetMessages(nullptr);
    return rc;
}
