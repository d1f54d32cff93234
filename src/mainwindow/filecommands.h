// The calendar file commands of the main window's File menu: Open, Save As,
// New Calendar and the recent files "Previous File 1" .. "Previous File 5".
// The recent-files list and the dialogs' start folders live in
// vm::CalendarFiles (core/calendarfiles.h).
#pragma once
#include <QObject>

#include <array>
#include <string>

class QAction;
class QTimer;

namespace vm {

class frmVelmora;

class FileCommands : public QObject {
    Q_OBJECT
public:
    explicit FileCommands(frmVelmora& window);

    QAction* mnuFile_Open = nullptr;
    QAction* mnuFile_SaveAs = nullptr;
    QAction* mnuNew_Calendar_File = nullptr;
    std::array<QAction*, 6> mnuFile_Prev{};  // items 1..5
    QTimer* tmrPrevNotice = nullptr;         // clears the status notice after 2 s

    // Start-up: the recent files from [Settings].Prev1..Prev4.
    void LoadPrevFiles(const std::array<std::string, 4>& stored);

public slots:
    void mnuFile_Open_Click();
    void mnuFile_SaveAs_Click();
    void mnuNew_Calendar_File_Click();
    void mnuFile_Prev_Click(int index);

    // Puts CalendarFilePath at the head of the recent files.
    void AddToPrevFiles();
    // Shows the calendar file at CalendarFilePath: its months' look, the
    // month, the generated occurrences, the caption. Every step is optional.
    void LoadCalendarFile();
    // Captions and visibility of the recent-file items from the list.
    void RefreshPrevMenu();
    // The main window's caption for CalendarFilePath.
    void SetCaption();
    // Clears the status notice of a missing recent file.
    void ClearPrevNotice();

private:
    void ShowStatusNotice(const QString& text);
    void RebindDataDates();
    // After the pass of a calendar just put in use: its month drawn once. A
    // pass that ran drew it already (the window follows the calendar
    // document); else the month box's click draws it.
    void ShowMonthAfterPass(int buildsBeforePass);
    // The settings panel edits the look of the calendar in use: an open
    // panel is closed, and what it holds saved into that calendar, before
    // another calendar is taken into use.
    void CloseSettingsPanel();
    frmVelmora& win_;
};

// Adds the commands to the window's File menu (once) and returns them.
FileCommands* InstallFileCommands(frmVelmora& window);
// The commands installed on the window, or nullptr.
FileCommands* FileCommandsOf(frmVelmora& window);

}  // namespace vm
