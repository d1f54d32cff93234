// The main window's menu tree and the commands that belong to the window
// itself: hiding the month grid, printing the window, the manual, the web
// pages, the About text and the openers of the other windows.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "core/calendarfiles.h"
#include "core/files.h"
#include "core/module1.h"
#include "exchange/exportpanel.h"
#include "exchange/importpanel.h"
#include "exchange/printgrid.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/pictures.h"

#include "alarms/frmstopwatch.h"
#include "tools/frmcalcwrkdays.h"
#include "tools/frmdaycalculator.h"
#include "mainwindow/settingspanel.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/printdialogs.h"
#include "platform/shell.h"
#include "records/frmenterrec.h"
#include "records/frmselectedday.h"
#include "records/frmweekview.h"
#include "tools/frm2dolist.h"
#include "tools/frmpeople.h"

namespace vm {
namespace {

// The web pages of the Help menu.
constexpr const char* kCalendarDownloadPage = "https://velmora.example.org/download";
constexpr const char* kVideosPage = "https://velmora.example.org/videos";
constexpr const char* kScreensaverPicturesPage = "https://pictures.example.org/search?q=screensaver+backgrounds";
constexpr const char* kSummerPicturesPage = "https://photos.example.net/search?q=summer";

QAction* AddItem(QMenu* menu, const char* name, const QString& caption, const QKeySequence& keys = {}) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!keys.isEmpty()) a->setShortcut(keys);
    return a;
}

QMenu* AddMenu(QMenu* parent, const char* name, const QString& caption) {
    QMenu* m = parent->addMenu(caption);
    m->setObjectName(name);
    m->menuAction()->setObjectName(QString(name) + "_menu");
    return m;
}

void AddSeparator(QMenu* menu, const char* name) { menu->addSeparator()->setObjectName(name); }

std::string AboutText() {
    return "\r\n"
           " Velmora\r\n"
           " Version " + VersionText() + "\r\n"
           " A desktop calendar for one person.\r\n";
}

}  // namespace

void frmVelmora::CreateMenus() {
    QMenuBar* bar = menuBar();
    mnuFile = bar->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    connect(mnuFile, &QMenu::aboutToShow, this, &frmVelmora::mnuFile_Click);
    // Open, Save As, New Calendar and the recent files are put in by the
    // calendar file commands, before the first item and before Exit.
    mnuFile_Settings = AddItem(mnuFile, "mnuFile_Settings", "Preference &Settings", QKeySequence(Qt::CTRL | Qt::Key_S));
    mnuFile_Tools = AddMenu(mnuFile, "mnuFile_Tools", "Tools");
    mnuList_People = AddItem(mnuFile_Tools, "mnuList_People", "Contact List");
    mnuFile_DayCalculator = AddItem(mnuFile_Tools, "mnuFile_DayCalculator", "Day Calculator");
    mnuFile_CalcWrkDays = AddItem(mnuFile_Tools, "mnuFile_CalcWrkDays", "Calculate Work Dates");
    mnuFile_Show2Do = AddItem(mnuFile_Tools, "mnuFile_Show2Do", "Show To Do List");
    mnuFile_ShowTimer = AddItem(mnuFile_Tools, "mnuFile_ShowTimer", "Show Timers");
    AddSeparator(mnuFile, "mnuSepr2");
    mnuPrintCalendar = AddItem(mnuFile, "mnuPrintCalendar", "Print PDF Calendar");
    mnuFile_Build_Repeating =
        AddItem(mnuFile, "mnuFile_Build_Repeating", "Build &Repeating Data", QKeySequence(Qt::CTRL | Qt::Key_R));
    AddSeparator(mnuFile, "mnuSepr4");
    mnuFile_Hide_Show =
        AddItem(mnuFile, "mnuFile_Hide_Show", "Hide Calendar / Show Picture", QKeySequence(Qt::CTRL | Qt::Key_H));
    mnuFile_ImpExp = AddMenu(mnuFile, "mnuFile_ImpExp", "Import/Export");
    mnuFile_Import = AddItem(mnuFile_ImpExp, "mnuFile_Import", "Import Date Data", QKeySequence(Qt::CTRL | Qt::Key_I));
    AddSeparator(mnuFile_ImpExp, "mnuSepr3");
    mnuFile_Export_Data =
        AddItem(mnuFile_ImpExp, "mnuFile_Export_Data", "Export Date Data", QKeySequence(Qt::CTRL | Qt::Key_E));
    mnuFile_Exit = AddItem(mnuFile, "mnuFile_Exit", "E&xit");

    mnuAbout = bar->addAction("&About");
    mnuAbout->setObjectName("mnuAbout");
    mnuHelp = bar->addMenu("&Help");
    mnuHelp->setObjectName("mnuHelp");
    mnuShow_UserManual = AddItem(mnuHelp, "mnuShow_UserManual", "&User Manual");
    mnuHelp_CalendarDownload = AddItem(mnuHelp, "mnuHelp_CalendarDownload", "Calendar Download Website");
    mnuHelp_Website = AddItem(mnuHelp, "mnuHelp_Website", "YouTub Video Website");
    mnuHelp_Images = AddItem(mnuHelp, "mnuHelp_Images", "Great Web Back Ground Images");
    mnuWeek_View = bar->addAction("&Week View");
    mnuWeek_View->setObjectName("mnuWeek_View");
    mnuNewRecord = bar->addAction("&New Record");
    mnuNewRecord->setObjectName("mnuNewRecord");

    connect(mnuFile_Settings, &QAction::triggered, this, &frmVelmora::mnuFile_Settings_Click);
    connect(mnuPrintCalendar, &QAction::triggered, this, &frmVelmora::mnuPrintCalendar_Click);
    connect(mnuFile_Build_Repeating, &QAction::triggered, this, [this] {
        if (CalendarIsWritable("Build Repeating Data")) BuildRepeatingFromMenu();
    });
    connect(mnuFile_Hide_Show, &QAction::triggered, this, &frmVelmora::mnuFile_Hide_Show_Click);
    connect(mnuFile_Exit, &QAction::triggered, this, &frmVelmora::mnuFile_Exit_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmVelmora::mnuAbout_Click);
    connect(mnuShow_UserManual, &QAction::triggered, this, &frmVelmora::mnuShow_UserManual_Click);
    connect(mnuHelp_CalendarDownload, &QAction::triggered, this, &frmVelmora::mnuHelp_CalendarDownload_Click);
    connect(mnuHelp_Website, &QAction::triggered, this, &frmVelmora::mnuHelp_Website_Click);
    connect(mnuHelp_Images, &QAction::triggered, this, &frmVelmora::mnuHelp_Images_Click);
    connect(mnuNewRecord, &QAction::triggered, this, &frmVelmora::mnuNewRecord_Click);
    connect(mnuFile_ShowTimer, &QAction::triggered, this, &frmVelmora::mnuFile_ShowTimer_Click);
    connect(mnuFile_DayCalculator, &QAction::triggered, this, &frmVelmora::mnuFile_DayCalculator_Click);
    connect(mnuFile_CalcWrkDays, &QAction::triggered, this, &frmVelmora::mnuFile_CalcWrkDays_Click);

    connect(mnuFile_Import, &QAction::triggered, this, &frmVelmora::mnuFile_Import_Click);
    connect(mnuFile_Export_Data, &QAction::triggered, this, &frmVelmora::mnuFile_Export_Data_Click);
    connect(mnuWeek_View, &QAction::triggered, this, &frmVelmora::mnuWeek_View_Click);
    connect(mnuList_People, &QAction::triggered, this, &frmVelmora::mnuList_People_Click);
    connect(mnuFile_Show2Do, &QAction::triggered, this, &frmVelmora::mnuFile_Show2Do_Click);

    // A text box keeps some Ctrl keys for its own editing (Ctrl+E is the end
    // of the line on this desktop); in this window's boxes the menu's own
    // keys come first, so "search, then export" works from the search box.
    auto* menuKeysFirst = new EventHook(this, [this](QObject*, QEvent* event) {
        if (event->type() != QEvent::ShortcutOverride) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        constexpr auto commandKeys = Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
        if (!(key->modifiers() & commandKeys) && key->key() < Qt::Key_Escape) return false;  // plain typing
        const QKeySequence pressed(key->keyCombination());
        for (const QAction* a : findChildren<QAction*>())
            if (a->isEnabled() && !a->shortcut().isEmpty() && a->shortcut() == pressed) return true;
        return false;
    });
    // An editable box (the month and year boxes, the repeat filter) has the
    // focus itself and hands the key to its text line: it is watched too.
    connect(qApp, &QApplication::focusChanged, menuKeysFirst, [this, menuKeysFirst](QWidget*, QWidget* now) {
        if ((qobject_cast<QLineEdit*>(now) || qobject_cast<QComboBox*>(now)) && now->window() == this)
            now->installEventFilter(menuKeysFirst);
    });
}

void frmVelmora::mnuFile_Settings_Click() { OpenSettingsPanel(); }

void frmVelmora::mnuNewRecord_Click() { ShowEnterRec(); }

void frmVelmora::mnuFile_DayCalculator_Click() { ShowDayCalculator(); }

void frmVelmora::mnuFile_CalcWrkDays_Click() { ShowCalcWrkDays(); }

void frmVelmora::mnuFile_ShowTimer_Click() {
    ShowStopWatch();
    Module1.StopWatchOpen = true;
    // Daily alarms edited since the queue was made take effect now.
    if (Module1.AlarmsChanged) SetAlarms();
}

// When the week view is open it is only brought forward, without a new build.
void frmVelmora::mnuWeek_View_Click() {
    if (CalendarIsOpen("Week View")) ShowWeekView();
}

void frmVelmora::mnuList_People_Click() {
    ShowPeople();
    Module1.PeopleOpen = true;
}

void frmVelmora::mnuFile_Show2Do_Click() {
    Show2DoList();
    Module1.ToDoListOpen = true;
}

void frmVelmora::mnuFile_Import_Click() {
    if (!SSPanelImport) SSPanelImport = new ImportPanel(*this, SSPanel1);
    SSPanelImport->mnuFile_Import_Click();
    KeepPanelClear(SSPanelImport);
}

void frmVelmora::mnuFile_Export_Data_Click() {
    if (SSPanelExport) SSPanelExport->mnuFile_Export_Data_Click();
    KeepPanelClear(SSPanelExport);
}

void frmVelmora::mnuFile_Hide_Show_Click() {
    mnuFile_Hide_Show->setText(pCalendarShown ? "Show Calendar" : "Hide Calendar / Show Picture");
    pCalendarShown = !pCalendarShown;
    BuildCalendarNumbers();
    Form_Resize();
}

void frmVelmora::mnuPrintCalendar_Click() {
    // The window as it shows on the screen, on a landscape page: the default
    // printer when there is one, else a PDF file.
    try {
        const QPixmap shot = grab();
        std::string pdf = printToFile;
        if (pdf.empty() && QPrinterInfo::availablePrinterNames().isEmpty())
            pdf = AskPdfFile("Print PDF Calendar", "Velmora Calendar.pdf");
        if (!pdf.empty() || !QPrinterInfo::availablePrinterNames().isEmpty()) {
            QPrinter printer(QPrinter::HighResolution);
            printer.setPageOrientation(QPageLayout::Landscape);
            if (!pdf.empty()) {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(QString::fromStdString(pdf));
            }
            if (!MayPrintTo(printer, "Print PDF Calendar")) return;
            QPainter painter;
            if (painter.begin(&printer)) {
                DrawFittedPicture(painter, shot);
                painter.end();
            } else {
                Messages().message("The calendar could not be printed" +
                                       (pdf.empty() ? std::string(".") : ": \"" + pdf + "\" cannot be written."),
                                   MsgButtons::Ok, MsgIcon::Exclamation, "Print PDF Calendar");
                return;
            }
        }
    } catch (...) {
    }
    Module1.SelDayTitle = "Print PDF Calendar";
    Module1.SelDayDayNo.clear();
    Module1.SelDayYear.clear();
    Module1.SelDayFontSize = 11;
    Module1.SelDayText =
        "\r\nDepending on your printer, you will likely have to make your calendar narrow or shorter.\r\n\r\n"
        "You can also use 'Alt+Prt Scr' to grab the screen image. Then Paste the captured graphic image into "
        "the GIMP program. You can then use GIMP to save or print the graphic image.";
    if (Module1.SelectedDayOpen) UnloadSelectedDay();
    ShowSelectedDay();
}

void frmVelmora::mnuShow_UserManual_Click() {
    const std::string path = JoinPath(DataFolder(), "VelmoraHelp.pdf");
    std::string manual = path;
    // The registered program may fail only after the desktop took the file.
    const auto notStarted = [path] {
        Messages().message("User Manual Not Found\r\nThe program this computer opens PDF files with could not "
                           "show it.\r\nOpen it with any PDF reader; it is:\r\n" + path,
                           MsgButtons::Ok, MsgIcon::Critical, "mnuUserManual_Click - Error");
    };
    const int opened = ShellOpenFile(manual, 4, "", notStarted);
    if (opened == kShellCannotOpen)
        Messages().message("No program on this computer opens PDF files, so the User Manual cannot be shown here.\r\n"
                           "Open it with any PDF reader; it is:\r\n" + path,
                           MsgButtons::Ok, MsgIcon::Critical, "mnuUserManual_Click - Error");
    else if (opened <= 32)
        Messages().message("User Manual Not Found\r\nIt was looked for at:\r\n" + path, MsgButtons::Ok,
                           MsgIcon::Critical, "mnuUserManual_Click - Error");
}

void frmVelmora::mnuHelp_CalendarDownload_Click() { OpenWebPage(kCalendarDownloadPage); }

void frmVelmora::mnuHelp_Website_Click() { OpenWebPage(kVideosPage); }

void frmVelmora::mnuHelp_Images_Click() {
    const MsgResult r = Messages().message(
        "These Websites Have No Relationship with Halvex Systems\r\n"
        "They are provided to help you with great calendar backgrounds.\r\n"
        "Cancel if you are not connected to the Web.",
        MsgButtons::OkCancel, MsgIcon::Information, "Great Backgrounds");
    if (r == MsgResult::Cancel) return;
    OpenWebPage(kScreensaverPicturesPage);
    OpenWebPage(kSummerPicturesPage);
}

void frmVelmora::mnuAbout_Click() {
    ShowStartPanel();
    // A day window that is open closes first: closing stores its own
    // rectangle, which must not replace the About sizes set below. The window
    // also reads its inputs only when it loads.
    if (Module1.SelectedDayOpen) UnloadSelectedDay();
    Module1.SelDayTitle = "About Velmora";
    Module1.SelDayDayNo.clear();
    Module1.SelDayYear.clear();
    Module1.SelDayFontSize = 11;
    Module1.SelDayTextSize = 11;
    Module1.SelDayHeight = 5664;
    Module1.SelDayWidth = 9576;
    Module1.SelDayText = AboutText();
    ShowSelectedDay();
}

}  // namespace vm
