// The main window: one month of the open calendar file as six rows of seven
// day cells over the month's picture, with the date grid left of a splitter
// bar. The class is split over several files:
//   frmvelmora.cpp           start-up, menus, status bar, cursor, today
//   frmvelmora_controls.cpp  the controls and their names
//   frmvelmora_build.cpp     the month build and its passes, the cell fonts
//   frmvelmora_layout.cpp    window layout, splitter and panel drags
//
// Control names: every control's objectName is its member name. The label
// arrays are named "<array>_<index>": "lblTitle_0".."lblTitle_41" (the
// day-number strips), "lblDay_0".."lblDay_41" (the entry texts) and
// "DOW_0".."DOW_6" (the weekday headings, 0 = Sunday). Cell i lies in row
// i / 7 and column i % 7, column 0 being Sunday.
//
// Geometry is kept in twips (15 twips per pixel) and converted to pixels
// only when placed on a widget.
#pragma once
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

#include "core/dates.h"
#include "core/monthcells.h"
#include "platform/sqlstore.h"

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

namespace vm {

class CellLabel;
class RecordGridModel;

// A control's rectangle in twips.
struct TwipsRect {
    double left = 0, top = 0, width = 0, height = 0;
};

class frmVelmora : public QMainWindow {
    Q_OBJECT
public:
    explicit frmVelmora(QWidget* parent = nullptr);
    ~frmVelmora() override;

    // Start-up: the data folder, the upgrades and the open calendar file;
    // ends by rebuilding the occurrences and drawing the current month.
    void Form_Load();

    // The window's record sources: the date records and the appearance/settings.
    db::RecordSource DataDates;
    db::RecordSource DataSettings;

    // ---- menus
    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Build_Repeating = nullptr;
    QAction* mnuFile_Exit = nullptr;

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
    QTimer* tmrWait = nullptr;         // the alarm timer

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

public slots:
    void mnuFile_Exit_Click();
    // Redraws the shown month: the build, the day-grid layout, the controls enabled.
    void cmbmonth_Click();
    // File > Build Repeating Data: rebuilds the generated occurrences.
    void mnuFile_Build_Repeating_Click();

public:
    // ---- the month build
    // Draws the month chosen in the month and year boxes. A build asked for
    // while one runs is done right after it, never inside it.
    void BuildCalendarNumbers();
    // Arms today's alarms from [Sorting]; comes with the alarms.
    void SetAlarms();
    void SetDayLabelFonts();
    int16_t TitleHeightFromFontSize(double size);  // also sets Module1.TitleLabelHeight
    void SetDayNameFonts(int month);
    // What the 84 cell labels show (the build writes it onto them).
    const CellLooks& Cells() const { return cells_; }

    // ---- layout
    void Form_Resize();
    void LayoutBySplitter(double& pos);
    void LayoutDayGrid();
    // Enables or disables the main controls around long operations.
    void EnableMainControls(bool enable);
    void SSCmdVert_MouseDown();
    void SSCmdVert_Click();
    // A drop on the client panel at (x, y) twips; source is the dragged control.
    void SSPanel1_DragDrop(QWidget* source, double x, double y);
    void SSPanel1_DblClick();
    void TDBGridDates_MouseDown();
    void lblDay_Click(int index);
    void lblDay_MouseDown(int index);
    // Starts the drag of a control (the splitter bar or a floating panel):
    // the mouse's release over the client panel drops it there.
    void StartControlDrag(QWidget* source);

    // Twips geometry of the placed controls.
    TwipsRect TwipsOf(const QWidget* w) const;
    void SetTwips(QWidget* w, const TwipsRect& r);
    // The window's size as the layout takes it, frame included.
    double FormWidthTwips() const;
    double FormHeightTwips() const;

    // ---- status bar, cursor, today
    void SetStatusText(int panel, const std::string& text);  // panels 1..4
    std::string StatusText(int panel) const;
    void SetWaitCursor(bool busy);
    // Today is the local date unless a fixed day was set (tests).
    void SetToday(std::optional<CivilDate> fixed) { fixedToday_ = fixed; }
    CivilDate Today() const;

    // Builds run so far and the deepest nesting seen (always 1).
    int buildsRun() const { return buildsRun_; }
    int deepestBuild() const { return deepestBuild_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void CreateMenus();
    void RunMonthBuild();
    void OccurrencesPass(const MonthFrame& frame, std::vector<SortingRow>& rows);
    void DateRecordPass(const MonthFrame& frame, std::vector<SortingRow>& rows);
    void ShowCellLooks();
    void ShowMonthPicture(const std::string& path);
    void RefreshDateGrid();
    void DoEvents();
    void Place(QWidget* w);
    void Place(QWidget* w, const TwipsRect& r);
    void DragMove(QPoint panelPos);
    void DragRelease(QPoint panelPos);

    CellLooks cells_;
    CellLooks shown_;
    bool shownOnce_ = false;
    std::unordered_map<const QWidget*, TwipsRect> twips_;
    std::optional<CivilDate> fixedToday_;
    std::string picturePath_;
    qint64 pictureStamp_ = 0;
    bool building_ = false;
    bool buildPending_ = false;
    int buildsRun_ = 0;
    int buildDepth_ = 0;
    int deepestBuild_ = 0;
    bool pumping_ = false;
    bool inResize_ = false;
    bool waitCursor_ = false;
    QWidget* dragSource_ = nullptr;
    bool dragMoved_ = false;
    QPoint dragStart_;
};

// The one main window of the run (nullptr before it is made).
frmVelmora* MainWindow();

}  // namespace vm
