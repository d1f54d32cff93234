#include "mainwindow/frmvelmora.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include "core/appearance.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/monthpictures.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/upgrade.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "repeat/repeatpass.h"

namespace vm {
namespace {
frmVelmora* g_mainWindow = nullptr;
}

frmVelmora* MainWindow() { return g_mainWindow; }

frmVelmora::frmVelmora(QWidget* parent) : QMainWindow(parent) {
    g_mainWindow = this;
    setObjectName("frmVelmora");
    setWindowTitle(QString::fromStdString("Velmora " + std::string(20, ' ') + " Version: " + VersionText()));
    resize(1280, 800);
    CreateMenus();
    CreateControls();
}

void frmVelmora::CreateMenus() {
    mnuFile = menuBar()->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuFile_Build_Repeating = mnuFile->addAction("Build &Repeating Data");
    mnuFile_Build_Repeating->setObjectName("mnuFile_Build_Repeating");
    mnuFile_Build_Repeating->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(mnuFile_Build_Repeating, &QAction::triggered, this, &frmVelmora::mnuFile_Build_Repeating_Click);
    mnuFile->addSeparator();
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
    EnsureMonthPictures();

    // The occurrences, then the current month.
    mnuFile_Build_Repeating_Click();
    const CivilDate today = Today();
    cmbMonth->setCurrentText(MonthName(today.m));
    cmbYear->setCurrentText(QString::fromStdString(Str(static_cast<int64_t>(today.y))));
    BuildCalendarNumbers();
    Form_Resize();
}

frmVelmora::~frmVelmora() {
    if (waitCursor_) QApplication::restoreOverrideCursor();
    if (g_mainWindow == this) g_mainWindow = nullptr;
}

void frmVelmora::mnuFile_Exit_Click() { close(); }

void frmVelmora::cmbmonth_Click() {
    BuildCalendarNumbers();
    LayoutDayGrid();
    EnableMainControls(true);
}

void frmVelmora::mnuFile_Build_Repeating_Click() {
    RepeatPassHooks hooks;
    hooks.waitCursor = [this](bool busy) { SetWaitCursor(busy); };
    hooks.statusText = [this](int panel, const std::string& text) { SetStatusText(panel, text); };
    hooks.refreshDateGrid = [this] { RefreshDateGrid(); };
    BuildRepeatingData(DataDates, hooks);
}

void frmVelmora::RefreshDateGrid() {
    if (DataDatesModel) DataDatesModel->reload();
}

void frmVelmora::SetStatusText(int panel, const std::string& text) {
    if (panel < 1 || panel > static_cast<int>(StatusPanels.size())) return;
    StatusPanels[static_cast<size_t>(panel - 1)]->setText(QString::fromStdString(text));
}

std::string frmVelmora::StatusText(int panel) const {
    if (panel < 1 || panel > static_cast<int>(StatusPanels.size())) return {};
    return StatusPanels[static_cast<size_t>(panel - 1)]->text().toStdString();
}

void frmVelmora::SetWaitCursor(bool busy) {
    if (busy == waitCursor_) return;
    waitCursor_ = busy;
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

CivilDate frmVelmora::Today() const {
    if (fixedToday_) return *fixedToday_;
    const QDate d = QDate::currentDate();
    return CivilDate{d.year(), d.month(), d.day()};
}

}  // namespace vm
