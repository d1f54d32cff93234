// The entry window: add a date record, step through and edit existing ones,
// search their texts, and choose their colours and font.
#pragma once
#include <QTimer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <string>

#include "core/entryrecord.h"
#include "platform/sqlstore.h"

class QAction;
class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDate;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolBar;

namespace vm {

class frmEnterRec : public QWidget {
    Q_OBJECT
public:
    explicit frmEnterRec(QWidget* parent = nullptr);
    ~frmEnterRec() override;

    // First show: placement beside the main window, the date picker on today,
    // then the set-up.
    void Form_Load();
    // Empties the boxes, fills every value list and binds the shown month.
    void InitEntryForm();
    // Fills the combo box of that name with the distinct values of a column.
    void FillComboDistinct(const std::string& boxName, const std::string& column);
    void FillRepeatTypes();

    // Mode 1 adds the boxes as a new record; any other mode changes the
    // current one. False when nothing was written.
    bool SaveRecord(int16_t mode);
    // Copies the current record into the boxes.
    void LoadRecord();
    // Points the window at the calendar now in use (another one was opened).
    void TurnToCalendarInUse();
    // The records the window steps through: the shown month's of the calendar in use.
    void BindMonthRecords();
    // Dispatches a toolbar button by its key ("New", "RightArrow"...).
    void Toolbar1_ButtonClick(const QString& key);

    // The colour dialog preset with `color`; Cancel sets `cancelled`.
    void Change_Color(long& color, bool& cancelled);
    // The font dialog for the font box.
    void SelectFont();

    // What the boxes show now.
    EntryBoxes boxes() const;
    // The record source the window steps through.
    db::RecordSource Data1;

    // Closing shrinks the window in 50 steps, one per timer tick; closeStep()
    // runs the next step (the timer calls it).
    bool closing() const { return shrinking_ || closeDone_; }
    void closeStep();
    // Unloads at once, without the animation (the main window's shut-down).
    void unloadNow();

    // How many saves told the calendar document of a written record.
    int writesTold() const { return writesTold_; }

public slots:
    void sscmdAddRecord_Click();
    void sscmdSaveRecord_Click();
    void sscmdSrch2DoLst_Click();
    void sscmdClearSrch_Click();
    void txtDate_DblClick();
    void txtDate_GotFocus();
    void MonthView1_DateClick(const QDate& date);

    void sscmdColors_Click();
    void sscmdColorOK_Click();
    void sscmdExitColors_Click();
    void sscmdInfo_Click();
    void sscmdRGB_Click();
    void txtColor_DblClick(int index);

protected:
    void closeEvent(QCloseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showDatePicker();

private:
    void buildControls();
    void buildColorPanel();
    void showPanel(QFrame* panel, QWidget* below);
    void setBoxes(const EntryBoxes& b);
    void RecordGone(int at);
    void RecordGoneBox(int at);
    void FollowRecordsWritten();
    bool ReadRowsAgain();
    void setStatusPanel(int panel, const QString& text);
    void txtColor_Change(int index);
    void finishClose();

    // Boxes.
    EntryBoxes loadedBoxes_;  // as the current record filled them, or as last saved
    bool rowsStale_ = false;  // records were written since the rows were read
    int goneAt_ = -1;         // the row of the set where a record shown went

    QLineEdit* txtDate = nullptr;
    QComboBox* cmbHour = nullptr;
    QComboBox* cmbMinute = nullptr;
    QComboBox* cmbAMPM = nullptr;
    QPlainTextEdit* txtDateText = nullptr;
    QLineEdit* txtRepeatNo = nullptr;
    QComboBox* cmbRepeatType = nullptr;
    QComboBox* cmbDayType = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check1 = nullptr;
    QLineEdit* txtAlrmMin = nullptr;
    QLineEdit* txtSndNo = nullptr;
    QComboBox* Combo4 = nullptr;
    QComboBox* cmbColors = nullptr;
    QLineEdit* txtPriority = nullptr;
    QPushButton* sscmdColors = nullptr;
    QPushButton* sscmdAddRecord = nullptr;
    QPushButton* sscmdSaveRecord = nullptr;
    QLineEdit* txtSearch = nullptr;
    QPushButton* sscmdSrch2DoLst = nullptr;
    QPushButton* sscmdClearSrch = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 3> statusPanels_{};

    // Date picker.
    QFrame* SSPanel2 = nullptr;
    QCalendarWidget* MonthView1 = nullptr;

    // Colour panel.
    QFrame* SSPanel3 = nullptr;
    QTabWidget* SSTab1 = nullptr;
    std::array<QLineEdit*, 4> txtColor{};
    QComboBox* cmbDayBGStyle = nullptr;
    QComboBox* cmbTitleBGStyle = nullptr;
    QPushButton* sscmdColorOK = nullptr;
    QPushButton* sscmdExitColors = nullptr;
    QPushButton* sscmdRGB = nullptr;
    QPushButton* sscmdInfo = nullptr;

    bool fontMark_ = false;  // set once the font box has had the focus
    int writesTold_ = 0;
    QTimer closeTimer_;
    bool shrinking_ = false;  // the closing animation runs
    int closeI_ = 100;        // its next step's percentage, 100 down to 2
    bool closeDone_ = false;
    bool loaded_ = false;  // between Form_Load and the end of the closing
};

// Shows the entry window, creating and setting it up on first use; a loaded
// window is brought back as it is.
frmEnterRec* ShowEnterRec();
// The loaded entry window, or nullptr.
frmEnterRec* EnterRec();
// Unloads the entry window at once when it is loaded (shut-down).
void UnloadEnterRec();

}  // namespace vm
