// The main window's alarm timer `tmrWait` and the quick countdown of its
// panel `sspanelTimer`: rebuilding the queue (SetAlarms), the firings of the
// due entries into the alarm window, and the countdown button.
//
// `tmrWait` is one single-shot timer aimed at the moment the next entry is
// due (at most a few seconds ahead, so that a wall clock that jumped or a
// machine that slept is noticed soon); an entry rings at its moment, never
// before it, and its tick rebuilds the queue on a new day (it is aimed at
// midnight at the latest). While nothing is queued a second timer, the day
// watch, looks at the date as often, so the date is looked at every few
// seconds whether or not anything is queued. Time comes from the clock
// interface only.
//
// A firing shows the message at once, then waits 2 s (a single-shot timer;
// the program never sleeps) before the sound plays and the window comes up.
// The entries due at one tick leave the queue together and ring one after
// another; what rang is remembered, so no rebuild brings it back. A rebuild
// keeps the quick countdowns, the entries already due and those of records
// of earlier days; it reads yesterday's records too, for their entries that
// fall after midnight, and tomorrow's, for those that fall before it.
#pragma once
#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/alarmqueue.h"
#include "core/dates.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;

namespace vm {

struct RowsInHand;
struct SortingRow;

class AlarmTimer : public QObject {
    Q_OBJECT
public:
    // Drives the given timer and countdown controls (all owned by the main window).
    AlarmTimer(QTimer* tmrWait, QLineEdit* txtDuration, QPushButton* cmdGo, QLabel* lblRemaining, QObject* parent);

    // Rebuilds the queue from the entries of yesterday's and today's records
    // of the calendar file (whatever month is shown), those of tomorrow's
    // records that ring before midnight, and today's daily alarms of the
    // settings database, from now on; on a new day from midnight on. Entries already rung stay rung, also after the wall clock
    // went back.
    // `inHand`: the rows of those days, already read (taken when they are
    // for today).
    void SetAlarms(RowsInHand* inHand = nullptr);
    // The tick: rings every entry that is due now, one after another, then
    // aims the timer at the next.
    void tmrWait_Timer();
    // The countdown button: an entry "Timer Complete" after the typed duration.
    void cmdGo_Click();
    // Rebuilds the queue when the date has changed since the last rebuild.
    void CheckDate();

    bool firing() const { return firing_; }
    // The day today's alarms were last built for.
    const CivilDate& builtFor() const { return builtFor_; }
    // The wait between showing a fired message and its sound (tests shorten it).
    int fireWaitMs = 2000;
    // The longest the timer waits before looking at the clock again.
    static constexpr int kWatchMs = 5000;

signals:
    // Asks the main window for a rebuild.
    void rebuildWanted();

private:
    void FireNext();
    void AfterWait();
    void Armed();
    // Aims tmrWait at the next due entry; stops it when none is left.
    void Aim(bool afterTick);
    // Tells the user that a countdown could not be held: each one refused.
    void TellFull();
    void AimDayWatch();

    QTimer* tmrWait_;
    QLineEdit* txtDuration_;
    QLabel* lblRemaining_;
    QTimer* waitTimer_;
    QTimer* dayWatch_;

    // The firing run of one tick.
    bool firing_ = false;
    bool tickPending_ = false;
    std::vector<AlarmEntry> run_;
    size_t runNext_ = 0;
    int32_t firedSound_ = 0;
    std::string firedSoundFile_;
    std::string firedMessage_;

    bool ReadDailyAlarms(const DateTime& now, std::vector<SortingRow>& rows, bool quiet);

    void AddMissingDailyAlarms();

    CivilDate builtFor_;      // the day of the last rebuild
    CivilDate failedFor_;     // a new day whose build could not read the calendar yet
    CivilDate dailyMissing_;  // a day built without its daily alarms (unreadable then)
    int64_t dailyFromMs_ = 0;
    bool watchRetry_ = false;  // the day watch tries a failed build again: quietly
};

}  // namespace vm
