// The recent calendar files of the File menu.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QTimer>

#include "core/calendarfiles.h"
#include "core/filegate.h"
#include "core/module1.h"
#include "mainwindow/filecommands.h"
#include "mainwindow/frmvelmora.h"
#include "platform/messages.h"
#include "platform/places.h"

namespace vm {
namespace {

const char* const kNoLongerExists = "The Requested File No Longer Exists.";

// The status bar's fourth panel: a label "StatusBar1_Panel4" when the window
// has one, else the status bar's message area.
QLabel* Panel4(QMainWindow& win) { return win.findChild<QLabel*>("StatusBar1_Panel4"); }

QStatusBar* StatusBar(QMainWindow& win) {
    if (auto* bar = win.findChild<QStatusBar*>("StatusBar1")) return bar;
    QStatusBar* bar = win.statusBar();
    if (bar->objectName().isEmpty()) bar->setObjectName("StatusBar1");
    return bar;
}

}  // namespace

void FileCommands::RefreshPrevMenu() {
    const auto& prev = CalendarFiles.PrevFiles;
    for (int n = 1; n <= 5; ++n) {
        QAction* item = mnuFile_Prev[static_cast<size_t>(n)];
        const std::string& p = prev[static_cast<size_t>(n)];
        const bool shown = n <= kPrevFilesKept && !p.empty();
        item->setText(shown ? QString::fromStdString(PrevFileCaption(n, p)) : QString("Previous File %1").arg(n));
        item->setVisible(shown);
    }
}

void FileCommands::AddToPrevFiles() {
    vm::AddToPrevFiles(CalendarFiles.PrevFiles, Module1.CalendarFilePath);
    RefreshPrevMenu();
}

void FileCommands::LoadPrevFiles(const std::array<std::string, 4>& stored) {
    CalendarFiles.PrevFiles = StartupPrevFiles(stored);
    RefreshPrevMenu();
}

void FileCommands::mnuFile_Prev_Click(int index) {
    if (index < 1 || index > 5) return;
    auto& prev = CalendarFiles.PrevFiles;
    const std::string chosen = prev[static_cast<size_t>(index)];
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (FileExists(chosen)) {
        // The file must still be a calendar file of this program.
        const FileUse use = AdmitCalendarFile(chosen, "Cannot Open Calendar File");
        if (use == FileUse::Refused) {
            QApplication::restoreOverrideCursor();
            return;
        }
        CloseSettingsPanel();
        Module1.CalendarFilePath = chosen;
        MainState.CalendarReadOnly = use == FileUse::ReadOnly;
        MovePrevToFront(prev, index);
        RefreshPrevMenu();
        LoadCalendarFile();
    } else {
        RemovePrevFile(prev, index);
        RefreshPrevMenu();
        ShowStatusNotice(kNoLongerExists);
        Messages().beep();
    }
    QApplication::restoreOverrideCursor();
}

// The notice stays 2 seconds; the window keeps working meanwhile.
void FileCommands::ShowStatusNotice(const QString& text) {
    if (QLabel* panel = Panel4(win_))
        panel->setText(text);
    else
        StatusBar(win_)->showMessage(text);
    tmrPrevNotice->start();
}

void FileCommands::ClearPrevNotice() {
    tmrPrevNotice->stop();
    if (QLabel* panel = Panel4(win_))
        panel->clear();
    else if (auto* bar = win_.findChild<QStatusBar*>("StatusBar1"))
        bar->clearMessage();
}

}  // namespace vm
