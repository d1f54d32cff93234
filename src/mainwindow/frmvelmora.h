// The main window: one month of the open calendar file as six rows of seven
// day cells over the month's picture, with the date grid (src/records/
// dategrid.h) left of a splitter bar. Only src/app and the main window's own
// files include this header; other windows use mainwindowdoor.h. The
// controls are declared in mainwindowcontrols.h; the class is split over:
//   frmvelmora.cpp           construction, repeat pass, status bar, cursor, today
//   frmvelmora_startup.cpp   start-up (Form_Load) and shut-down (Form_Unload)
//   frmvelmora_menus.cpp     the menu tree and the commands of its own
//   frmvelmora_nav.cpp       moving through months, keys and the main toolbar
//   frmvelmora_controls.cpp  the controls and their names
//   frmvelmora_build.cpp     the month build and its passes, the cell fonts
//   frmvelmora_layout.cpp    window layout, splitter and panel drags
//   mainwindowdoor.cpp       the door's calls and placing windows beside it
//
// Geometry is kept in twips (15 twips per pixel) and converted to pixels
// only when placed on a widget.
#pragma once
#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "core/monthcells.h"
#include "mainwindow/mainwindowcontrols.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"

namespace vm::layout {
struct SplitterColumns;
}

namespace vm {

enum class RepeatCheck : uint8_t;
struct RowsInHand;
class DateGrid;
class ISpeechVoice;

class frmVelmora : public QMainWindow, public MainWindowDoor, public MainWindowControls {
    Q_OBJECT
public:
    explicit frmVelmora(QWidget* parent = nullptr);
    ~frmVelmora() override;

    // The door's own calls (mainwindowdoor.h).
    QWidget* Window() override;
    db::RecordSource& Dates() override;
    void ReadDatesAgain() override;
    QWidget* ClientPanel() override;
    void PlaceOverPicture(QWidget* panel, double widthTwips, double heightTwips) override;

    // Start-up: the data folder, the upgrades and the open calendar file;
    // ends by rebuilding the occurrences and drawing the current month.
    void Form_Load();

    // The window's record sources: the date records and the appearance/settings.
    db::RecordSource DataDates;
    db::RecordSource DataSettings;

    // Shut-down, once, from Exit or the close box: saves the settings, the
    // sounds and the month looks, closes the secondary windows and the databases.
    void Form_Unload();

    void ShowStartPanel();
    void ReadStartPicturesAhead();

    // The command-line argument ("1" brings a window lying off the screen back).
    std::string startArgument;
    // The program ends when shut-down is done (off in tests).
    bool quitAfterUnload = false;

    // The main window's speech voice (nullptr when none could be made).
    std::unique_ptr<ISpeechVoice> Voice;
    void Initialize_Speech();
    // Where "Print PDF Calendar" writes when no printer is chosen (tests).
    std::string printToFile;

public slots:
    void mnuFile_Exit_Click();
    void mnuFile_Click();
    void mnuFile_Hide_Show_Click();
    void mnuPrintCalendar_Click();
    void mnuShow_UserManual_Click();
    void mnuHelp_CalendarDownload_Click();
    void mnuHelp_Website_Click();
    void mnuHelp_Images_Click();
    void mnuAbout_Click();
    void mnuNewRecord_Click();
    void mnuWeek_View_Click();
    void mnuList_People_Click();
    void mnuFile_Show2Do_Click();
    void mnuFile_Settings_Click();
    void mnuFile_ShowTimer_Click();
    void mnuFile_DayCalculator_Click();
    void mnuFile_CalcWrkDays_Click();
    // Redraws the shown month: the build, the day-grid layout, the controls enabled.
    void cmbmonth_Click() override;
    // Rebuilds the generated occurrences of what changed (the cheap check);
    // the month, the week view and today's alarms follow (the calendar document).
    void mnuFile_Build_Repeating_Click() override;
    // File > Build Repeating Data: the same, also repairing the records whose
    // stored rows are missing or extra.
    void BuildRepeatingFromMenu();
    // File > Import/Export: the import command and the export panel.
    void mnuFile_Import_Click();
    void mnuFile_Export_Data_Click();

public:
    // ---- the month build
    // Draws the month chosen in the month and year boxes. A build asked for
    // while one runs is done right after it, never inside it.
    void BuildCalendarNumbers() override;
    // Arms today's alarms from the calendar file, whatever month is shown.
    void SetAlarms() override;
    void SetDayLabelFonts();
    int16_t TitleHeightFromFontSize(double size);  // also sets Module1.TitleLabelHeight
    void SetDayNameFonts(int month);

    // ---- layout
    void Form_Resize();
    void LayoutBySplitter(double& pos);
    void FitHeadings(const layout::SplitterColumns& cols);
    // The weekday headings' and the month title's widths as made (twips).
    static constexpr double kHeadingWidth = 1300, kMonthTitleWidth = 5000;
    void KeepPanelClear(QWidget* opened);
    // A floating panel at `wanted` (twips, in its parent) kept inside the
    // client panel, every button within reach: as large as its contents ask
    // where there is room, else moved up and cut short, its contents scrolling.
    void PlaceFloatingPanel(QWidget* panel, const TwipsRect& wanted);
    // The splitter bar's left kept where the bar can be grabbed and the day
    // columns have room: between the toolbar's Calendar and Grid places.
    double BarLeftWithin(double left) const;
    double SearchBarLeastWidth() const;
    double FilterWidthWanted() const;
    void LayoutDayGrid();
    // Enables or disables the main controls around long operations.
    void EnableMainControls(bool enable) override;
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

    // The window's size as the layout takes it, frame included.
    double FormWidthTwips() const;
    // The same for a window `widthPixels` wide, before it is laid out.
    static double FormWidthTwipsFor(int widthPixels);
    // The splitter bar's places at the toolbar's Calendar and Justify
    // commands: its left at most and the room it leaves the grid (twips).
    static constexpr double kCalendarSideLeft = 200, kGridSideMargin = 1400;
    double FormHeightTwips() const;

    // ---- status bar, cursor, today
    void SetStatusText(int panel, const std::string& text) override;  // panels 1..4
    std::string StatusText(int panel) const;
    void SetWaitCursor(bool busy) override;
    // Today is the local date unless a fixed day was set (tests).
    void SetToday(std::optional<CivilDate> fixed) { fixedToday_ = fixed; }
    CivilDate Today() const;

    // Builds run so far and the deepest nesting seen (always 1).
    int buildsRun() const { return buildsRun_; }
    int deepestBuild() const { return deepestBuild_; }

    // ---- moving through months, keys and the main toolbar (frmvelmora_nav.cpp)
    // Once, at the end of CreateControls: the toolbar's sixteen buttons, the
    // month and year lists, the boxes', keys', day cells' and File menu's wiring.
    void InstallNavigation();
    // The month list "January".."December" and the year list " 2018".." 2040",
    // showing today's month and year. The lists are made afresh each time.
    void FillMonthCombos();
    // The month box's change rule: a whole month name typed in any case is
    // written back proper-cased and drawn; anything else draws nothing.
    void cmbMonth_Change() override;
    // A year chosen from the list: drawn, and the listed-records buttons hidden.
    void cmbYear_Click();
    // A character typed in the year box; Enter (13) draws the typed year when
    // it lies in 1..9999, else beeps and shows the drawn year again.
    void cmbYear_KeyPress(int16_t& KeyAscii);
    // Key handlers (key codes: Up 38, Down 40, M 77, Y 89; Shift mask: Shift 1,
    // Ctrl 2, Alt 4). A KeyCode set to 0 swallows the key.
    void cmbMonth_KeyDown(int16_t& KeyCode, int16_t Shift);
    void cmbYear_KeyDown(int16_t& KeyCode, int16_t Shift);
    void Form_KeyDown(int16_t& KeyCode, int16_t Shift);
    // A button of Toolbar1 (its objectName is its key).
    void Toolbar1_ButtonClick(QAction* Button);
    // A double click on day cell 0..41: the selected-day window for that day,
    // only for a day of the shown month.
    void lblDay_DblClick(int Index);
    // Button 1..16 of Toolbar1 (separators included), or by key; nullptr if none.
    QAction* Toolbar1Button(int index) const;
    QAction* Toolbar1Button(const QString& key) const;
    // Hides buttons 10 and 12 (the File menu, the search's clear button...).
    void HideSearchButtons();
    // Shows or hides buttons 10 and 12, the listed records' Delete.
    void SetSearchButtonsVisible(bool visible);

    // The date grid with its search bar, filters, edits, sort, panels and
    // the listed records the toolbar's Delete removes (src/records/dategrid.h).
    std::unique_ptr<DateGrid> dateGrid;

private:
    bool NavKeyEvent(QObject* watched, QEvent* event);
    void SetMonthBoxesVisible(bool visible);
    bool MonthBoxesShown() const;
    void WriteMonthBox(const QString& name);
    bool AcceptYearBox();
    int ShownYear() const;
    bool ToggleBoxes(int16_t& KeyCode, int16_t Shift);

    std::array<QAction*, 17> toolbarButtons_{};  // 1..16
    bool inMonthChange_ = false;
    void InstallPanelDrags();
    // Context of the navigation's connections and key hook; it goes with the
    // window's members, before the widgets' own tear-down sends its events.
    std::unique_ptr<QObject> navContext_;

public:
    // Shortens the waits of shut-down (tests).
    int unloadWaitMs = 2000;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // The calendar document's listeners (frmvelmora_document.cpp): stale
    // occurrences run the pass; a changed calendar draws the shown month
    // again, the date grid keeping what it lists, and arms today's alarms.
    void ListenToDocument();
    void FollowDocument();
    void CreateControls();
    void CreateMenus();
    void InstallPanelHooks();
    void RemovePanelHooks();
    void RunMonthBuild();
    bool OccurrencesPass(const MonthFrame& frame, std::vector<SortingRow>& rows, size_t room);  // false: not read
    void BindMonthRecords(const MonthFrame& frame);
    void DateRecordPass(const MonthFrame& frame, std::vector<SortingRow>& rows);
    void StoreSorting(db::Database& store, const std::vector<SortingRow>& rows, const SortedMonth* month);
    bool PlaceKeptMonth(db::Database& store, const SortedMonth& month, const MonthFrame& frame, WholeCells* whole);
    // Rebuilds today's alarms, from the rows the month build has in hand when given.
    void SetAlarmsWith(RowsInHand* inHand);
    void DayChanged();
    void ShowCellLooks();
    void ShowMonthPicture(const std::string& path);
    void ClearMonthPicture();
    void RefreshDateGrid();
    void RunRepeatPass(RepeatCheck check, bool listPassRecords, bool reportKept = true);
    // The pass after records were written: the rule problems it shows are
    // those of the records it writes.
    void BuildRepeatingAfterWrite();
    void DoEvents();
    // While one lives the window is not painted; it is painted once when the last goes.
    class PaintHold {
    public:
        explicit PaintHold(frmVelmora& w);
        ~PaintHold();
        PaintHold(const PaintHold&) = delete;
        PaintHold& operator=(const PaintHold&) = delete;

    private:
        frmVelmora& w_;
    };
    void DragMove(QPoint panelPos);
    void DragRelease(QPoint panelPos);

    CellLooks cells_, shown_;
    bool shownOnce_ = false;
    std::optional<CivilDate> fixedToday_;
    std::string picturePath_;
    qint64 pictureStamp_ = 0;
    bool building_ = false, buildPending_ = false;
    StandingWriteFailure monthWriteFailure_;  // the month build's working-table write
    CivilDate drawnOn_;              // the day the month was last drawn: its today
    int passesRunning_ = 0;          // repeat passes under way (their progress lets timers run)
    bool alarmsAfterPass_ = false;   // today's alarms asked for meanwhile
    int paintHeld_ = 0;             // builds and layouts under way that paint once at their end
    std::string sortingFile_;       // what [Sorting] of that file holds, as written last
    uint64_t sortingStamp_ = 0;
    int buildsRun_ = 0, buildDepth_ = 0, deepestBuild_ = 0;
    bool pumping_ = false, inResize_ = false, waitCursor_ = false, unloaded_ = false;
    bool settingsUnread_ = false;  // start-up could not read the settings: Exit writes none over them
    std::vector<std::function<void()>> hooksSet_;
    QWidget* dragSource_ = nullptr;
    bool dragMoved_ = false;
    QPoint dragStart_;
};

// The one main window of the run (nullptr before it is made).
frmVelmora* MainWindow();

}  // namespace vm
