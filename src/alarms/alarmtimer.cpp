#include "alarms/alarmtimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

#include "alarms/frmalarm.h"
#include "core/alarmqueue.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/playwave.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int64_t kDayMs = 86400000;
constexpr int kDayWatchMaxMs = 60000;

int64_t DayStartMs(const CivilDate& d) { return DaysFromCivil(d) * kDayMs; }

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
        AimDayWatch();
    });
    AimDayWatch();
    connect(tmrWait_, &QTimer::timeout, this, &AlarmTimer::tmrWait_Timer);
    if (cmdGo) connect(cmdGo, &QPushButton::clicked, this, &AlarmTimer::cmdGo_Click);
}

void AlarmTimer::SetAlarms() {
    const DateTime now = Now();
    // Whole seconds: an entry at exactly now is still ahead.
    int64_t fromMs = MomentSeconds(now) * 1000;
    if (builtFor_.valid() && now.date > builtFor_) {
        // A new day: nothing of it has been watched yet, so an entry at
        // midnight, or one passed while the machine slept, still rings.
        fromMs = DayStartMs(now.date);
    } else if (rungUntil_ && *rungUntil_ >= fromMs && *rungUntil_ < DayStartMs(now.date) + kDayMs) {
        // The clock went back within the day: what has rung stays rung.
        fromMs = *rungUntil_ + 1;
    }
    builtFor_ = now.date;
    Operation op("SetAlarms_Error");

    // Quick countdowns are kept until they ring (or Stop in the alarm window ends them).
    struct Kept {
        DateTime moment;
        std::string text;
        int32_t sound;
        std::string file;
        int64_t steady;
    };
    std::vector<Kept> kept;
    for (size_t i = 1; i <= size_t(std::clamp<int>(Module1.AlarmQueueCount, 0, kAlarmQueueSlots)); ++i)
        if (!IsFreeMoment(Module1.AlarmQueueTime[i]) && Module1.AlarmQueueSteady[i] != 0)
            kept.push_back({Module1.AlarmQueueTime[i], Module1.AlarmQueueText[i], Module1.AlarmQueueSound[i],
                            Module1.AlarmQueueSoundFile[i], Module1.AlarmQueueSteady[i]});
    ClearAlarmQueue();
    int added = 0;
    for (const Kept& k : kept) added += AddAlarm(k.moment, k.text, k.sound, k.file, k.steady) ? 1 : 0;

    std::vector<SortingRow> rows;
    if (!op.step(1, [&] { rows = ReadTodaysRows(Module1.CalendarFilePath, now.date); })) {
        Aim(false);
        return;
    }
    // The daily alarms ring every day, also on a day without entries.
    Operation daily("SetDailyAlarms_Error");
    daily.step(1, [&] {
        const std::string settings = SettingsDatabaseInUse();
        if (!FileExists(settings)) return;
        auto store = db::Database::Open(settings);
        std::vector<SortingRow> alarms = SetDailyAlarms(*store, TodayCell(now.date), Date2Julian(now.date), now.date);
        rows.insert(rows.end(), std::make_move_iterator(alarms.begin()), std::make_move_iterator(alarms.end()));
    });

    for (const SortingRow& row : rows)
        if (!op.step(2, [&] { added += QueueRow(row, fromMs); })) break;
    if (added > 0) Armed();
    Aim(false);
    if (op.ended()) return;
    Module1.AlarmMsg = AlarmSummary();
    Module1.AlarmsChanged = false;
}

void AlarmTimer::Armed() { txtDuration_->setText("True"); }

void AlarmTimer::Aim(bool afterTick) {
    if (firing_) return;  // the run aims the timer when it ends
    const std::optional<int64_t> next = MsUntilNextDue(WallNowMs(), Clock().steadyMs());
    if (!next) {
        if (tmrWait_->isActive() || afterTick) {
            tmrWait_->stop();
            txtDuration_->setText("False");
            lblRemaining_->clear();
        }
        return;
    }
    tmrWait_->start(static_cast<int>(std::min<int64_t>(*next, kWatchMs)));
}

void AlarmTimer::AimDayWatch() {
    const int64_t now = WallNowMs();
    const int64_t midnight = (now / kDayMs + 1) * kDayMs;
    dayWatch_->start(static_cast<int>(std::clamp<int64_t>(midnight - now, 1, kDayWatchMaxMs)));
}

void AlarmTimer::cmdGo_Click() {
    const std::optional<int64_t> seconds = QuickDurationSeconds(txtDuration_->text().toStdString());
    if (!seconds) return;
    // It ends by the steady clock; the moment shown is rounded up to a second.
    const int64_t endMs = WallNowMs() + *seconds * 1000;
    const int64_t steadyEnd = Clock().steadyMs() + *seconds * 1000;
    AddAlarm(MomentFromSeconds(endMs / 1000 + (endMs % 1000 > 0 ? 1 : 0)), kTimerCompleteText, 1, "",
             steadyEnd == 0 ? 1 : steadyEnd);
    Armed();
    Aim(false);
}

void AlarmTimer::CheckDate() {
    if (Today() == builtFor_) return;
    emit rebuildWanted();
}

void AlarmTimer::tmrWait_Timer() {
    if (firing_) {
        tickPending_ = true;
        return;
    }
    // The entries due now leave their slots together, in the order of their moments.
    const int64_t nowMs = WallNowMs(), steadyNow = Clock().steadyMs();
    rungUntil_ = std::max(rungUntil_.value_or(nowMs), nowMs);
    run_.clear();
    runNext_ = 0;
    for (int i = 1; i <= Module1.AlarmQueueCount && i <= kAlarmQueueSlots; ++i) {
        if (!SlotDue(i, nowMs, steadyNow)) continue;
        const size_t s = size_t(i);
        run_.push_back({Module1.AlarmQueueTime[s], Module1.AlarmQueueText[s], Module1.AlarmQueueSound[s],
                        Module1.AlarmQueueSoundFile[s]});
        Module1.AlarmQueueTime[s] = DateTime{};
        Module1.AlarmQueueText[s].clear();
        Module1.AlarmQueueSteady[s] = 0;
    }
    std::stable_sort(run_.begin(), run_.end(),
                     [](const Due& a, const Due& b) { return MomentSeconds(a.moment) < MomentSeconds(b.moment); });
    // A new day (midnight passed, or the machine slept over it) gets its queue.
    OptionalStep([&] { CheckDate(); });
    firing_ = true;
    FireNext();
}

void AlarmTimer::FireNext() {
    if (runNext_ < run_.size()) {
        const Due d = run_[runNext_++];
        firedSound_ = d.sound;
        firedSoundFile_ = d.soundFile;
        OptionalStep([&] { txtDuration_->setText("True"); });
        Module1.AlarmMsg = FiredAlarmMessage(d.moment, d.text);
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
