// The main window's alarm timer `tmrWait` and the quick countdown of its
// panel `sspanelTimer`: rebuilding today's queue (SetAlarms), the ticks that
// fire the due entries into the alarm window, and the countdown button.
//
// A firing shows the message at once, then waits 2 s (a single-shot timer;
// the program never sleeps) before the sound plays and the window comes up.
// Firings run one after another: a tick that comes during a firing's wait is
// done when the firing ends, and the entry being fired has already left its
// slot, so no entry fires twice. Time comes from the clock interface only.
#pragma once
#include <QObject>

#include <string>

#include "core/dates.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vm {

class AlarmTimer : public QObject {
    Q_OBJECT
public:
    // Drives the given timer and countdown controls (all owned by the main window).
    AlarmTimer(QTimer* tmrWait, QLineEdit* txtDuration, QPushButton* cmdGo, QLabel* lblRemaining, QObject* parent);

    // Rebuilds the queue from today's [Sorting] rows of the calendar file and
    // the daily alarms of the settings database, when the shown month and
    // year are today's; otherwise nothing changes.
    void SetAlarms(int shownMonth, int shownYear);
    // The tick: fires every entry due now, one after another.
    void tmrWait_Timer();
    // The countdown button: an entry "Timer Complete" after the typed duration.
    void cmdGo_Click();
    // Rebuilds the queue when the date has changed since the last rebuild
    // (checked every minute and at each tick).
    void CheckDate();

    bool firing() const { return firing_; }
    // The wait between showing a fired message and its sound (tests shorten it).
    int fireWaitMs = 2000;

signals:
    // Asks the main window for a rebuild (it knows the shown month and year).
    void rebuildWanted();

private:
    void FireNext();
    void AfterWait();
    void Armed();
    void StopWhenEmpty();

    QTimer* tmrWait_;
    QLineEdit* txtDuration_;
    QLabel* lblRemaining_;
    QTimer* waitTimer_;
    QTimer* dayWatch_;

    // The firing run of one tick.
    bool firing_ = false;
    bool tickPending_ = false;
    DateTime runNow_;
    int runNext_ = 1, runLast_ = 0;
    int32_t firedSound_ = 0;
    std::string firedSoundFile_;

    CivilDate builtFor_;  // the day of the last rebuild that got past the month test
};

}  // namespace vm
