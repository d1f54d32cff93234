// The main window: one month of the open calendar file.
#pragma once
#include <QMainWindow>

#include "platform/sqlstore.h"

class QAction;
class QMenu;

namespace vm {

class frmVelmora : public QMainWindow {
    Q_OBJECT
public:
    explicit frmVelmora(QWidget* parent = nullptr);
    ~frmVelmora() override;

    // Start-up: the data folder, the upgrades and the open calendar file.
    void Form_Load();

    // The window's record sources: the date records and the appearance/settings.
    db::RecordSource DataDates;
    db::RecordSource DataSettings;

    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Exit = nullptr;

public slots:
    void mnuFile_Exit_Click();
    // Redraws the shown month; other windows call it after changing records.
    void cmbmonth_Click();
    // File > Build Repeating Data: rebuilds the generated occurrences.
    void mnuFile_Build_Repeating_Click();

public:
    // Draws the month chosen in the month and year boxes.
    void BuildCalendarNumbers();
    // Enables or disables the main controls around long operations.
    void EnableMainControls(bool enable);
};

// The one main window of the run (nullptr before it is made).
frmVelmora* MainWindow();

}  // namespace vm
