// Velmora: puts the real dialogs, sound, speech and desktop handler in place,
// then starts the main window.
#include "mainwindow/frmvelmora.h"
#include "startupprobe.h"
#include "platform/guardedapp.h"
#include "platform/qtmessages.h"
#include "platform/printdialogs.h"
#include "platform/qtpickers.h"
#include "platform/qtsound.h"
#include "platform/qtspeech.h"
#include "platform/shellqt.h"

int main(int argc, char** argv) {
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
    vm::SetMessages(&messages);
    vm::SetPickers(&pickers);
    vm::SetSoundPlayer(&sound);
    vm::SetSpeech(&speech);
    vm::SetDesktopOpener(&opener);
    vm::SetPrintDialogs(&printDialogs);

    int rc = 0;
    {
        vm::frmVelmora window;
        messages.setParent(&window);
        window.quitAfterUnload = true;
        const QStringList args = QApplication::arguments();
        if (args.size() > 1) window.startArgument = args.mid(1).join(' ').toStdString();
        window.Form_Load();
        window.show();
        vm::ArmStartupProbe([&window] {
            window.unloadWaitMs = 0;
            window.close();
        });
        rc = QApplication::exec();
    }
    vm::SetPrintDialogs(nullptr);
    vm::SetDesktopOpener(nullptr);
    vm::SetSpeech(nullptr);
    vm::SetSoundPlayer(nullptr);
    vm::SetPickers(nullptr);
    vm::SetMessages(nullptr);
    return rc;
}
