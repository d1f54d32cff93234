// The main window's alarm timer `tmrWait` and the quick countdown of its
// panel `sspanelTimer`: rebuilding today's queue (SetAlarms), the firings of
// the due entries into the alarm window, and the countdown button.
//
// `tmrWait` is one single-shot timer aimed at the moment the next entry is
// due (at most a few seconds ahead, so that a wall clock that jumped or a
// machine that slept is noticed soon); an entry rings at its moment, never
// before it. A second timer, the day watch, is aimed at midnight and rebuilds
// the queue for the new day. Time comes from the clock interface only.
//
// A firing shows the message at once, then waits 2 s (a single-shot timer;
// the program never sleeps) before the sound plays and the window comes up.
// The entries due at one tick leave their slots together and ring one after
// another; a rebuild meanwhile cannot bring one back. A quick countdown is
// kept by every rebuild until it rings.
#pragma once
#include <QObject>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

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

    // Rebuilds the queue from today's entries of the calendar file (whatever
    // month is shown) and the daily alarms of the settings database. Entries
    // already rung stay rung, also after the wall clock went back; on a new
    // day the entries from midnight on are taken.
    void SetAlarms();
    // The tick: rings every entry that is due now, one after another, then
    // aims the timer at the next.
    void tmrWait_Timer();
    // The countdown button: an entry "Timer Complete" after the typed duration.
    void cmdGo_Click();
    // Rebuilds the queue when the date has changed since the last rebuild.
    void CheckDate();

    bool firing() const { return firing_; }
    // The wait between showing a fired message and its sound (tests shorten it).
    int fireWaitMs = 2000;
    // The longest the timer waits before looking at the clock again.
    static constexpr int kWatchMs = 5000;

signals:
    // Asks the main window for a rebuild.
    void rebuildWanted();

private:
    struct Due {
        DateTime moment;
        std::string text;
        int32_t sound = 0;
        std::string soundFile;
    };
    void FireNext();
    void AfterWait();
    void Armed();
    // Aims tmrWait at the next due entry; stops it when none is left.
    void Aim(bool afterTick);
    void AimDayWatch();

    QTimer* tmrWait_;
    QLineEdit* txtDuration_;
    QLabel* lblRemaining_;
    QTimer* waitTimer_;
    QTimer* dayWatch_;

    // The firing run of one tick.
    bool firing_ = false;
    bool tickPending_ = false;
    std::vector<Due> run_;
    size_t runNext_ = 0;
    int32_t firedSound_ = 0;
    std::string firedSoundFile_;

    CivilDate builtFor_;                // the day of the last rebuild
    std::optional<int64_t> rungUntil_;  // wall ms up to which due entries have rung
};

}  // namespace vm
