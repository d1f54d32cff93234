// The main window's controls and menu entries, each under its own name (its
// objectName), and the values the month grid is drawn with. The window
// (frmvelmora.h) makes them; its parts and the tests reach them by name.
//
// The label arrays are named "<array>_<index>": "lblTitle_0".."lblTitle_41"
// (the day-number strips), "lblDay_0".."lblDay_41" (the entry texts) and
// "DOW_0".."DOW_6" (the weekday headings, 0 = Sunday). Cell i lies in row
// i / 7 and column i % 7, column 0 being Sunday.
#pragma once
#include <QtGlobal>

#include <array>
#include <cstdint>
#include <unordered_map>

#include "core/monthcells.h"

class QAction;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStatusBar;
class QTableView;
class QTimer;
class QToolBar;
class QWidget;

namespace vm {

class AlarmTimer;
class CellLabel;
class ColorPanel;
class ExportPanel;
class ImportPanel;
class RecordGridModel;

// A control's rectangle in twips.
struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};

struct MainWindowControls {
    // Twips geometry of the placed controls: as set, else read from the widget.
    TwipsRect TwipsOf(const QWidget* w) const;
    void SetTwips(QWidget* w, const TwipsRect& r);
    // Places a control at its twips rectangle (both edges converted, so
    // neighbouring cells meet exactly).
    void Place(QWidget* w);
    static void Place(QWidget* w, const TwipsRect& r);

    // ---- menus (captions and shortcuts in frmvelmora_menus.cpp)
    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Settings = nullptr;
    QMenu* mnuFile_Tools = nullptr;
    QAction* mnuList_People = nullptr;
    QAction* mnuFile_DayCalculator = nullptr;
    QAction* mnuFile_CalcWrkDays = nullptr;
    QAction* mnuFile_Show2Do = nullptr;
    QAction* mnuFile_ShowTimer = nullptr;
    QAction* mnuPrintCalendar = nullptr;
    QAction* mnuFile_Build_Repeating = nullptr;
    QAction* mnuFile_Hide_Show = nullptr;
    QMenu* mnuFile_ImpExp = nullptr;
    QAction* mnuFile_Import = nullptr;
    QAction* mnuFile_Export_Data = nullptr;
    QAction* mnuFile_Exit = nullptr;
    QAction* mnuAbout = nullptr;
    QMenu* mnuHelp = nullptr;
    QAction* mnuShow_UserManual = nullptr;
    QAction* mnuHelp_CalendarDownload = nullptr;
    QAction* mnuHelp_Website = nullptr;
    QAction* mnuHelp_Images = nullptr;
    QAction* mnuWeek_View = nullptr;
    QAction* mnuNewRecord = nullptr;

    // The record colour panel (hidden until the date grid asks for it).
    ColorPanel* SSPanelDayColor = nullptr;
    // The text export and import panels (hidden until their menu command).
    ExportPanel* SSPanelExport = nullptr;
    ImportPanel* SSPanelImport = nullptr;

    // The start panel: the program's name and picture over the month until a
    // day cell or the date grid is pressed, or the About box opens.
    QFrame* ssPnlSplash1 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* lblSplash = nullptr;

    // ---- controls
    QToolBar* Toolbar1 = nullptr;
    QComboBox* cmbMonth = nullptr;     // "January".."December"
    QComboBox* cmbYear = nullptr;      // " 2018".." 2040"
    QLineEdit* txtDuration = nullptr;  // quick countdown; the build writes the alarm timer's state
    QFrame* SSPanel1 = nullptr;        // the whole client area
    QFrame* SSPanel2 = nullptr;        // search bar above the date grid
    QComboBox* Combo3 = nullptr;       // the date grid's repeat-type filter
    QPushButton* SSCmdVert = nullptr;  // the splitter bar
    QTableView* TDBGridDates = nullptr;
    RecordGridModel* DataDatesModel = nullptr;
    QLabel* Image1 = nullptr;          // the month picture
    QLabel* lblMonth = nullptr;
    std::array<QLabel*, 7> DOW{};
    std::array<CellLabel*, kCellCount> lblTitle{};
    std::array<CellLabel*, kCellCount> lblDay{};
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 4> StatusPanels{};
    QLabel* lblNotice = nullptr;  // a standing notice at the status line's end, closed by a click
    QTimer* tmrWait = nullptr;         // the alarm timer
    // The quick countdown panel (txtDuration, cmdGo, lblRemaining) and the
    // alarm queue's timer wiring (src/alarms/alarmtimer.h).
    QFrame* sspanelTimer = nullptr;
    QPushButton* cmdGo = nullptr;
    QLabel* lblRemaining = nullptr;
    AlarmTimer* alarmTimer = nullptr;

    // ---- values of the grid
    int16_t pCurMon = 0;         // shown month 1..12; 0 until a month name was read
    int16_t pCalendarRows = 6;
    int16_t pCalendarStyle = kStyleMixed;
    bool pCalendarShown = true;
    std::array<int32_t, kCellCount> CellJulDate{};
    CellColorState CellColors;   // CellColorLocked / CellPriority of every cell
    bool pDragActive = false;
    bool pDragColorActive = false;
    int16_t pButton = 0;         // 1 the splitter, 2 the record colour panel, 3 the copy panel

private:
    std::unordered_map<const QWidget*, TwipsRect> twips_;
};

}  // namespace vm
