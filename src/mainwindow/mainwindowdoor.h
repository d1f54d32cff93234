// The door into the main window for the windows and panels of the other
// folders: the few calls they make on it and where they stand beside it.
// A window that writes date records tells the calendar document
// (core/calendardocument.h) instead of asking for a redraw here: the main
// window listens there and runs the pass and draws the month itself.
// Only src/app (and tests) include the main window's class header; every
// other window reaches it through this header alone.
#pragma once
#include <QString>

#include <string>

class QWidget;

namespace vm {

namespace db {
class RecordSource;
}

// What the main window offers the rest of the program.
class MainWindowDoor {
public:
    // The main window as a widget: the parent of secondary windows.
    virtual QWidget* Window() = 0;
    // Redraws the shown month: the build, the day-grid layout, the controls enabled.
    virtual void cmbmonth_Click() = 0;
    // The month box's change rule: the typed month drawn when it names one.
    virtual void cmbMonth_Change() = 0;
    // Draws the month chosen in the month and year boxes.
    virtual void BuildCalendarNumbers() = 0;
    // File > Build Repeating Data: rebuilds the generated occurrences.
    virtual void mnuFile_Build_Repeating_Click() = 0;
    // Arms today's alarms again (after the daily alarms changed).
    virtual void SetAlarms() = 0;
    // The wait cursor and the main controls around long operations.
    virtual void SetWaitCursor(bool busy) = 0;
    virtual void EnableMainControls(bool enable) = 0;
    // Panel 1..4 of the status bar.
    virtual void SetStatusText(int panel, const std::string& text) = 0;
    // The date records' source the date grid shows.
    virtual db::RecordSource& Dates() = 0;
    // That source's rows read again from the file, and shown so: what a
    // command then walks is what the file holds now, also after another
    // program changed it.
    virtual void ReadDatesAgain() = 0;
    // The client panel the floating panels lie on, and a floating panel
    // placed at the date grid's left and the month picture's top, sized in
    // twips (larger when its contents ask for more, kept inside the client
    // panel: moved up and cut short where the window is too small).
    virtual QWidget* ClientPanel() = 0;
    virtual void PlaceOverPicture(QWidget* panel, double widthTwips, double heightTwips) = 0;

protected:
    ~MainWindowDoor() = default;
};

// The one main window of the run (nullptr before it is made and after it went).
MainWindowDoor* MainDoor();
// The main window as a parent for a secondary window (nullptr when none).
QWidget* MainParent();

// ---- placing a secondary window beside the main window (no main window: left where it is)

// `twips` below and right of the main window's corner (the usual place is 750
// twips; the repeat-pattern window goes 1300). With `besideChild` the name of
// a control of the main window, that far from the control's corner instead.
void PlaceBesideMain(QWidget* w, int twips, const QString& besideChild = {});
// Centred on the main window.
void CentreOnMain(QWidget* w);

// The colour converter (the tool window), for the record windows' colour panels.
void ShowColorConverter();

}  // namespace vm
