// The stopwatch window "Stop Watches and Timers": four stopwatches, a
// hundredths stopwatch with laps, five countdowns, the daily alarms of the
// settings database and its event log, on four tabs.
//
// Controls are named as their arrays: "sscmdStrtStop_0".."_4",
// "sscmdReset_i", "lblTime_i", timers "Timer1_i"; countdowns "cmbHrs_i",
// "cmbMinutes_i", "cmbSeconds_i", "sscmdStart_i", "sscmdResetCntDwn_i",
// "lblCntDwn_i", timers "Timer2_i"; "lstLap" and "sscmdLap_0"; the grids
// "TDBGridAlarms" and "TDBGridEventLog", "txtEvent", "sscmdPost".
#pragma once
#include <QWidget>

#include <array>

#include "core/stopwatch.h"
#include "platform/sqlstore.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;
class QTableView;
class QTimer;

namespace vm {

class RecordGridModel;

class frmStopWatch : public QWidget {
    Q_OBJECT
public:
    explicit frmStopWatch(QWidget* parent = nullptr);
    ~frmStopWatch() override;

    void Form_Load();
    void FillCountdownCombos();
    void ShowStopWatchTime(int Index);
    void sscmdStrtStop_Click(int Index);
    void sscmdReset_Click(int Index);
    void Timer1_Timer(int Index);
    void sscmdLap_Click();
    void sscmdStart_Click(int Index);
    void sscmdResetCntDwn_Click(int Index);
    void Timer2_Timer(int Index);
    // Daily alarms and event log.
    void TDBGridAlarms_AfterColUpdate(int row, int column);
    void TDBGridAlarms_DblClick();
    void TDBGridAlarms_HeadClick(int ColIndex);
    void TDBGridEventLog_HeadClick(int ColIndex);
    void sscmdPost_Click();
    void Form_Unload();
    bool loaded() const { return !unloaded_; }

    QTabWidget* SSTab1 = nullptr;
    std::array<QPushButton*, 5> sscmdStrtStop{}, sscmdReset{}, sscmdStart{}, sscmdResetCntDwn{};
    std::array<QLabel*, 5> lblTime{}, lblCntDwn{};
    std::array<QTimer*, 5> Timer1{}, Timer2{};
    std::array<QComboBox*, 5> cmbHrs{}, cmbMinutes{}, cmbSeconds{};
    QListWidget* lstLap = nullptr;
    QPushButton* sscmdLap = nullptr;
    QTableView* TDBGridAlarms = nullptr;
    QTableView* TDBGridEventLog = nullptr;
    QLineEdit* txtEvent = nullptr;
    QPushButton* sscmdPost = nullptr;
    db::RecordSource DataAlarms, DataEventLog;
    RecordGridModel* AlarmsModel = nullptr;
    RecordGridModel* EventLogModel = nullptr;

    // The pause between the three beeps of a finished countdown (tests
    // shorten it).
    int beepGapMs = 750;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* MakeStopWatchTab();
    QWidget* MakeTimersTab();
    QWidget* MakeAlarmsTab();
    QWidget* MakeEventLogTab();
    void OpenGrids();
    void SortGrid(bool alarms, int ColIndex);
    void Beep3();

    std::array<Stopwatch, 4> watches_{};
    LapStopwatch lapWatch_;
    std::array<Countdown, 5> countdowns_{};
    bool unloaded_ = false;
};

// Creates the window on first use and shows it; the loaded window otherwise.
frmStopWatch* ShowStopWatch();
frmStopWatch* StopWatch();
void UnloadStopWatch();

}  // namespace vm
