#include "alarms/alarmtimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>

#include "alarms/frmalarm.h"
#include "core/alarmqueue_rows.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/playwave.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/steps.h"
#include "repeat/changecount.h"

namespace vm {
namespace {

// A failure's box, or (quiet) none: the operation just ends.
std::function<OnError(int)> Quietly(bool quiet) {
    return [quiet](int) { return quiet ? OnError::End : OnError::Message; };
}

constexpr int64_t kDayMs = 86400000;

int64_t DayStartMs(const CivilDate& d) { return DaysFromCivil(d) * kDayMs; }

// Until the next midnight of the wall clock, at least 1 ms.
int64_t MsUntilMidnight() {
    const int64_t now = WallNowMs();
    return std::max<int64_t>(1, (now / kDayMs + 1) * kDayMs - now);
}

}  // namespace

AlarmTimer::AlarmTimer(QTimer* tmrWait, QLineEdit* txtDuration, QPushButton* cmdGo, QLabel* lblRemaining,
                       QObject* parent)
    : QObject(parent), tmrWait_(tmrWait), txtDuration_(txtDuration), lblRemaining_(lblRemaining) {
    setObjectName("AlarmTimer");
    tmrWait_->setSingleShot(true);
    tmrWait_->setTimerType(Qt::PreciseTimer);
    waitTimer_ = new QTimer(this);
    waitTimer_->setObjectName("tmrAlarmWait");
    waitTimer_->setSingleShot(true);
    connect(waitTimer_, &QTimer::timeout, this, &AlarmTimer::AfterWait);
    dayWatch_ = new QTimer(this);
    dayWatch_->setObjectName("tmrAlarmDay");
    dayWatch_->setSingleShot(true);
    dayWatch_->setTimerType(Qt::PreciseTimer);
    connect(dayWatch_, &QTimer::timeout, this, [this] {
        OptionalStep([&] { CheckDate(); });
        if (!tmrWait_->isActive() && !firing_) AimDayWatch();
    });
    AimDayWatch();
    connect(tmrWait_, &QTimer::timeout, this, &AlarmTimer::tmrWait_Timer);
    if (cmdGo) connect(cmdGo, &QPushButton::clicked, this, &AlarmTimer::cmdGo_Click);
}

void AlarmTimer::SetAlarms(RowsInHand* inHand) {
    const DateTime now = Now();
    // Whole seconds: an entry at exactly now is still ahead.
    int64_t fromMs = MomentSeconds(now) * 1000;
    // A new day: nothing of it has been watched yet, so an entry at midnight,
    // or one passed while the machine slept, still rings.
    if (builtFor_.valid() && now.date > builtFor_) fromMs = DayStartMs(now.date);
    // A new day's build that could not read the calendar is tried again by
    // the day watch within seconds; the watch's tries say nothing.
    const bool quiet = watchRetry_;
    Operation op("SetAlarms_Error");
    op.onError(Quietly(quiet));

    // Read before the queue lets go of what a rebuild reads again: after a
    // failed read (said in the box) the queue keeps the entries it had.
    AlarmQueue& queue = Module1.Alarms;
    std::vector<SortingRow> rows;
    bool read = false;
    if (inHand && inHand->today == now.date) {
        rows = std::move(inHand->rows);
        read = true;
    } else if (!op.step(1, [&] {
            rows = ReadAlarmRows(Module1.CalendarFilePath, now.date, [](db::Database& file) {
                const ChangeCount count = ReadChangeCount(file);
                return count.watched ? std::optional<int64_t>(count.changes) : std::nullopt;
            });
            read = true;
        }) ||
        !read) {
        // The day is left unbuilt, so that the watch tries it again.
        if (builtFor_ != now.date) failedFor_ = now.date;
        Aim(false);
        return;
    }
    builtFor_ = now.date;
    failedFor_ = CivilDate{};
    // The daily alarms ring every day, also on a day without entries; when
    // they cannot be read, the watch adds them once they can.
    const bool dailySaid = dailyMissing_ == now.date;  // their failure was said today already
    dailyMissing_ = CivilDate{};
    if (!ReadDailyAlarms(now, rows, quiet || dailySaid)) {
        dailyMissing_ = now.date;
        dailyFromMs_ = fromMs;
    }

    // Tomorrow's records give the entries that ring before midnight.
    queue.keepForRebuild(fromMs, DaysFromCivil(now.date) - 1);
    const int64_t untilMs = DayStartMs(AddDays(now.date, 1));
    for (const SortingRow& row : rows)
        if (!op.step(2, [&] {
                for (AlarmEntry& e : RowEntries(row, fromMs, untilMs)) queue.add(std::move(e));
            }))
            break;
    if (!queue.empty()) Armed();
    Aim(false);
    if (op.ended()) return;
    Module1.AlarmMsg = AlarmSummary(queue);
    Module1.AlarmsChanged = false;
}

// Adds today's daily alarms to `rows`; false when the settings file could not be read.
bool AlarmTimer::ReadDailyAlarms(const DateTime& now, std::vector<SortingRow>& rows, bool quiet) {
    Operation daily("SetDailyAlarms_Error");
    daily.onError(Quietly(quiet));
    daily.step(1, [&] {
        const std::string settings = SettingsDatabaseInUse();
        if (!FileExists(settings)) return;
        auto store = db::Database::Open(settings);
        std::vector<SortingRow> alarms = SetDailyAlarms(*store, TodayCell(now.date), Date2Julian(now.date), now.date);
        rows.insert(rows.end(), std::make_move_iterator(alarms.begin()), std::make_move_iterator(alarms.end()));
    });
    return daily.lastError() == 0;
}

void AlarmTimer::Armed() { txtDuration_->setText("True"); }

void AlarmTimer::Aim(bool afterTick) {
    if (firing_) return;  // the run aims the timer when it ends
    const std::optional<int64_t> next = Module1.Alarms.msUntilNextDue(WallNowMs(), Clock().steadyMs());
    if (!next) {
        if (tmrWait_->isActive() || afterTick) {
            tmrWait_->stop();
            txtDuration_->setText("False");
            lblRemaining_->clear();
        }
        AimDayWatch();
        return;
    }
    // Its tick also looks at the date, so the day watch rests meanwhile.
    dayWatch_->stop();
    tmrWait_->start(static_cast<int>(std::min({*next, int64_t{kWatchMs}, MsUntilMidnight()})));
}

// With nothing queued, the date is still looked at every few seconds, so
// that a machine waking after midnight rebuilds within seconds.
void AlarmTimer::AimDayWatch() { dayWatch_->start(static_cast<int>(std::min<int64_t>(MsUntilMidnight(), kWatchMs))); }

void AlarmTimer::cmdGo_Click() {
    const std::optional<int64_t> seconds = QuickDurationSeconds(txtDuration_->text().toStdString());
    if (!seconds) return;
    // It ends by the steady clock; the moment shown is rounded up to a second.
    const int64_t endMs = WallNowMs() + *seconds * 1000;
    AlarmEntry e;
    e.moment = MomentFromSeconds(endMs / 1000 + (endMs % 1000 > 0 ? 1 : 0));
    e.text = kTimerCompleteText;
    e.sound = 1;
    e.steadyDueMs = Clock().steadyMs() + *seconds * 1000;
    if (!Module1.Alarms.addCountdown(std::move(e))) {
        TellFull();
        return;
    }
    Armed();
    Aim(false);
}

void AlarmTimer::TellFull() {
    Messages().message("This countdown was not set: " + std::to_string(kAlarmQueueSlots) +
                           " quick countdowns are already running, as many as can wait at one time.",
                       MsgButtons::Ok, MsgIcon::Exclamation, "Alarm Queue Full");
}

void AlarmTimer::CheckDate() {
    const CivilDate today = Today();
    if (dailyMissing_.valid() && dailyMissing_ == today) {
        AddMissingDailyAlarms();
        return;
    }
    // Before the first build (the first month drawn builds it) there is no
    // day to leave behind, unless that build could not read the calendar.
    if (failedFor_ != today && (!builtFor_.valid() || today == builtFor_)) return;
    const bool was = std::exchange(watchRetry_, failedFor_ == today);
    emit rebuildWanted();
    watchRetry_ = was;
}

// The daily alarms of a day built without them, from the moment that build
// began: those passed meanwhile ring now, as after a clock jump.
void AlarmTimer::AddMissingDailyAlarms() {
    const DateTime now = Now();
    std::vector<SortingRow> rows;
    if (!ReadDailyAlarms(now, rows, /*quiet=*/true)) return;
    dailyMissing_ = CivilDate{};
    const int64_t untilMs = DayStartMs(AddDays(now.date, 1));
    for (const SortingRow& row : rows)
        for (AlarmEntry& e : RowEntries(row, dailyFromMs_, untilMs)) Module1.Alarms.add(std::move(e));
    if (!Module1.Alarms.empty()) Armed();
    Aim(false);
}

void AlarmTimer::tmrWait_Timer() {
    if (firing_) {
        tickPending_ = true;
        return;
    }
    // The entries due now leave the queue together, in the order of their moments.
    run_ = Module1.Alarms.takeDue(WallNowMs(), Clock().steadyMs());
    runNext_ = 0;
    // A new day (midnight passed, or the machine slept over it) gets its queue.
    OptionalStep([&] { CheckDate(); });
    firing_ = true;
    FireNext();
}

void AlarmTimer::FireNext() {
    if (runNext_ < run_.size()) {
        const AlarmEntry d = run_[runNext_++];
        firedSound_ = d.sound;
        firedSoundFile_ = d.soundFile;
        OptionalStep([&] { txtDuration_->setText("True"); });
        Module1.AlarmMsg = firedMessage_ = FiredAlarmMessage(d.moment, d.text);
        OptionalStep([&] { LoadAlarm()->lblAlarmMsg->setText(QString::fromStdString(Module1.AlarmMsg)); });
        Module1.SelDayText = Module1.AlarmMsg;
        OptionalStep([&] {
            if (frmAlarm* w = AlarmWindow(); w && Module1.AlarmOpen) w->setWindowState(w->windowState() | Qt::WindowMinimized);
        });
        waitTimer_->start(fireWaitMs);
        return;
    }
    firing_ = false;
    run_.clear();
    Aim(true);
    if (tickPending_) {
        tickPending_ = false;
        tmrWait_Timer();
    }
}

void AlarmTimer::AfterWait() {
    // A rebuild during the wait (a month drawn, the new day) wrote its
    // summary there: the window shows and says what rang.
    Module1.AlarmMsg = firedMessage_;
    const int sound = PlayableSound(firedSound_);
    // A daily alarm may name its own wave file instead of a sound number.
    const std::string file =
        firedSoundFile_.empty() ? Module1.SoundFile[static_cast<size_t>(sound)] : ResolveDataPath(firedSoundFile_);
    Module1.CurSoundFile = file;
    // A window closed during the wait comes back with the message.
    bool speaks = false;
    OptionalStep([&] {
        if (!Module1.AlarmOpen) LoadAlarm()->lblAlarmMsg->setText(QString::fromStdString(Module1.AlarmMsg));
        const frmAlarm* w = AlarmWindow();
        speaks = Module1.OptVoice && w && w->hasVoice();
    });
    // Without a voice to speak it, the alarm is still heard.
    OptionalStep([&] {
        if (!speaks) PlayWaveFile(file);
    });
    OptionalStep([&] { ShowAlarm(); });
    FireNext();
}

}  // namespace vm
