#include "mainwindow/frmvelmora.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>

#include <optional>
#include <utility>

#include "core/appearance.h"
#include "core/calendardocument.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/monthpictures.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "core/upgrade.h"
#include "exchange/orvantapanel.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/progress.h"
#include "platform/recordgrid.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "records/colorpanel.h"
#include "records/dategrid.h"
#include "mainwindow/filecommands.h"
#include "mainwindow/pictures.h"
#include "mainwindow/splash.h"
#include "mainwindow/windowhelpers.h"
#include "exchange/exportpanel.h"
#include "repeat/repeatpass.h"
#include "tools/frmredgreenblue.h"

namespace vm {
namespace {
frmVelmora* g_mainWindow = nullptr;
}

frmVelmora* MainWindow() { return g_mainWindow; }

frmVelmora::frmVelmora(QWidget* parent) : QMainWindow(parent) {
    g_mainWindow = this;
    setObjectName("frmVelmora");
    ReadStartPicturesAhead();
    setWindowTitle(QString::fromStdString("Velmora " + std::string(20, ' ') + " Version: " + VersionText()));
    resize(1280, 800);
    CreateMenus();
    CreateControls();
    InstallFileCommands(*this);
    InstallBringBackShortcut(*this);
    InstallPanelHooks();

    // The record colour panel's controls are made when it is first shown.
    SSPanelDayColor = new ColorPanel(SSPanel1);
    connect(SSPanelDayColor, &ColorPanel::controlsMade, this, [this] {
        auto* rgb = new QPushButton("RGB", SSPanelDayColor);
        rgb->setObjectName("sscmdRedGreenBlue");
        SSPanelDayColor->buttonRow()->addWidget(rgb);
        connect(rgb, &QPushButton::clicked, this, [] { ShowRedGreenBlue(); });
    });
    new OrvantaPanel(SSPanel1);  // the contract import panel, hidden until an import asks for it
    SSPanelExport = new ExportPanel(*this, SSPanel1);
    // The import panel is made when File > Import first opens it.
    // The search bar takes the width over the grid that the filter list leaves.
    SetTwips(SSPanel2, TwipsRect{100, 100, 3400, 420});
    SetTwips(Combo3, TwipsRect{3600, 130, 1300, 360});
    dateGrid->Install(SSPanel1, SSPanel2, Combo3, SSPanelDayColor);
    InstallPanelDrags();
    ListenToDocument();
}

frmVelmora::~frmVelmora() {
    Document().CalendarClosed();
    RemovePanelHooks();
    SetNoSoundDeviceNotice({});
    if (waitCursor_) QApplication::restoreOverrideCursor();
    DropPicturesReadAhead();
    if (g_mainWindow == this) g_mainWindow = nullptr;
}

void frmVelmora::mnuFile_Exit_Click() { close(); }

void frmVelmora::mnuFile_Click() { HideSearchButtons(); }

void frmVelmora::cmbmonth_Click() {
    PaintHold hold(*this);  // painted once, built and laid out
    BuildCalendarNumbers();
    LayoutDayGrid();
    EnableMainControls(true);
}

// Every caller draws the month next: a shown month lists its own records in
// the grid, so the pass's records are not listed before it.
void frmVelmora::mnuFile_Build_Repeating_Click() { RunRepeatPass(RepeatCheck::Quick, !pCalendarShown); }

void frmVelmora::BuildRepeatingFromMenu() { RunRepeatPass(RepeatCheck::Rows, true); }

void frmVelmora::BuildRepeatingAfterWrite() { RunRepeatPass(RepeatCheck::Quick, !pCalendarShown, false); }

void frmVelmora::RunRepeatPass(RepeatCheck check, bool listPassRecords, bool reportKept) {
    // A pass lets events run while it shows its progress: none starts inside it.
    if (passesRunning_ > 0) return;
    RepeatPassHooks hooks;
    hooks.listPassRecords = listPassRecords;
    hooks.reportKept = reportKept;
    hooks.waitCursor = [this](bool busy) { SetWaitCursor(busy); };
    hooks.progress = [](int64_t done, int64_t total) {
        ShowSplashProgress(done, total);  // a long pass at start-up
        ReportProgress(done, total);      // or in the dialog of the import that asked for it
    };
    bool said = false;  // the pass's own word (a rule problem) stays
    hooks.statusText = [this, &said](int panel, const std::string& text) {
        said = true;
        SetStatusText(panel, text);
    };
    hooks.refreshDateGrid = [this] { RefreshDateGrid(); };
    // The pass's progress lets timers run; a rebuild of today's alarms they
    // ask for meanwhile would read the calendar while the pass holds it, so
    // it waits for the pass's end.
    RepeatPassResult result;
    {
        // A long pass of its own (not the start's, with the splash's bar, nor
        // an import's, in the import's dialog) shows how far it is; it
        // cannot stop half-way.
        std::optional<ProgressScope> progress;
        if (!ProgressOpen() && !SplashWindow())
            progress.emplace("Build Repeating Data", "Building the repeating data", false);
        ++passesRunning_;
        Document().HoldSettling(true);  // a write stored as the pass starts settles after it
        struct Done {
            frmVelmora& w;
            ~Done() {
                Document().HoldSettling(false);
                if (--w.passesRunning_ == 0 && std::exchange(w.alarmsAfterPass_, false))
                    OptionalStep([&] { w.SetAlarms(); });
            }
        } done{*this};
        result = BuildRepeatingData(DataDates, hooks, check);
    }
    if (result.ran) Document().OccurrencesBuilt();
    // A failed pass leaves no earlier "built" or "up to date" standing.
    if (result.failed && !said) SetStatusText(4, "Repeating data was not built");
    if (!result.ran || said) return;
    if (result.records == 0 && result.rowsRemoved == 0)
        SetStatusText(4, "Repeating data is up to date: no record changed");
    else
        SetStatusText(4, "Repeating data built: " + CountText(result.rowsWritten) + " occurrences of " +
                             CountText(result.records) + (result.records == 1 ? " record" : " records") +
                             " written");
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

CivilDate frmVelmora::Today() const { return fixedToday_ ? *fixedToday_ : vm::Today(); }

}  // namespace vm
