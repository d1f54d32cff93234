#include "mainwindow/frmvelmora.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>

#include "core/appearance.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/schema.h"
#include "core/upgrade.h"
#include "platform/messages.h"
#include "platform/places.h"

namespace vm {
namespace {
frmVelmora* g_mainWindow = nullptr;
}

frmVelmora* MainWindow() { return g_mainWindow; }

frmVelmora::frmVelmora(QWidget* parent) : QMainWindow(parent) {
    g_mainWindow = this;
    setObjectName("frmVelmora");
    setWindowTitle(QString::fromStdString("Velmora " + std::string(20, ' ') + " Version: " + VersionText()));
    resize(1100, 700);

    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuFile_Exit = mnuFile->addAction("E&xit");
    mnuFile_Exit->setObjectName("mnuFile_Exit");
    connect(mnuFile_Exit, &QAction::triggered, this, &frmVelmora::mnuFile_Exit_Click);
}

void frmVelmora::Form_Load() {
    if (!EnsureDataFolder()) {
        CriticalBox("The data folder \"" + DataFolder() + "\" cannot be created.", "Velmora");
        return;
    }
    MainState.pSettingsFile = SettingsDatabasePath();
    UpdateSettingsFile();
    Module1.CalendarFilePath = DefaultCalendarPath();
    if (!FileExists(Module1.CalendarFilePath)) {
        CriticalBox("The calendar file \"" + Module1.CalendarFilePath + "\" is missing.", "Velmora");
        return;
    }
    UpdateVelmoraFile(Module1.CalendarFilePath, DataDates);
    if (MainState.Hr24Added) Table24UpdateAll(DataDates);
    ReadCalValues(DataSettings);
    SetDefaultCalValues();
}

frmVelmora::~frmVelmora() {
    if (g_mainWindow == this) g_mainWindow = nullptr;
}

void frmVelmora::mnuFile_Exit_Click() { close(); }

void frmVelmora::cmbmonth_Click() {}

void frmVelmora::mnuFile_Build_Repeating_Click() {}

void frmVelmora::BuildCalendarNumbers() {}

void frmVelmora::EnableMainControls(bool) {}

}  // namespace vm
