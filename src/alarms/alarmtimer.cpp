#include "alarms/alarmtimer.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <vector>

#include "alarms/alarmqueue.h"
#include "alarms/frmalarm.h"
#include "alarms/playwave.h"
#include "core/files.h"
#include "core/module1.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int kFirstTickMs = 15000;
constexpr int kTickMs = 10000;
constexpr int kDayWatchMs = 60000;


}  // namespace

AlarmTimer::AlarmTimer(QTimer* tmrWait, QLineEdit* txtDuration, QPushButton* cmdGo, QLabel* lblRemaining,
                       QObject* parent)
    : QObject(parent), tmrWait_(tmrWait), txtDuration_(txtDuration), lblRemaining_(lblRemaining) {
    setObjectName("AlarmTimer");
    waitTimer_ = new QTimer(this);
    waitTimer_->setObjectName("tmrAlarmWait");
    waitTimer_->setSingleShot(true);
    connect(waitTimer_, &QTimer::timeout, this, &AlarmTimer::AfterWait);
    dayWatch_ = new QTimer(this);
    dayWatch_->setObjectName("tmrAlarmDay");
    dayWatch_->setInterval(kDayWatchMs);
    connect(dayWatch_, &QTimer::timeout, this, &AlarmTimer::CheckDate);
    dayWatch_->start();
    connect(tmrWait_, &QTimer::timeout, this, &AlarmTimer::tmrWait_Timer);
    if (cmdGo) connect(cmdGo, &QPushButton::clicked, this, &AlarmTimer::cmdGo_Click);
}

void AlarmTimer::SetAlarms(int shownMonth, int shownYear) {
    const DateTime now = Now();
    if (!ShowsTodaysMonth(shownMonth, shownYear, now.date)) return;
    Operation op("SetAlarms_Error");
    ClearAlarmQueue();
    builtFor_ = now.date;
    const int cell = TodayCell(now.date);

    std::vector<SortingRow> rows;
    if (!op.step(1, [&] {
            auto calendar = db::Database::Open(Module1.CalendarFilePath);
            rows = ReadCellRows(*calendar, cell);
        }))
        return;
    if (rows.empty()) {
        Module1.AlarmsChanged = false;
        return;
    }

    // The daily alarms join today's rows in memory; nothing is written.
    Operation daily("SetDailyAlarms_Error");
    daily.step(1, [&] {
        const std::string settings = SettingsDatabaseInUse();
        if (!FileExists(settings)) return;
        auto store = db::Database::Open(settings);
        const auto julDate = static_cast<int32_t>(db::AsInt(rows.front().JulDate, Date2Julian(now.date)));
        std::vector<SortingRow> alarms = SetDailyAlarms(*store, cell, julDate, now.date);
        rows.insert(rows.end(), std::make_move_iterator(alarms.begin()), std::make_move_iterator(alarms.end()));
    });

    int added = 0;
    for (const SortingRow& row : rows)
        if (!op.step(2, [&] { added += QueueRow(row, now); })) break;
    if (added > 0) Armed();
    if (op.ended()) return;
    Module1.AlarmMsg = AlarmSummary();
    Module1.AlarmsChanged = false;
}

void AlarmTimer::Armed() {
    // Each arming ticks first after 15 s, then every 10 s.
    if (!tmrWait_->isActive()) tmrWait_->start(kFirstTickMs);
    txtDuration_->setText("True");
}

void AlarmTimer::cmdGo_Click() {
    const std::optional<int64_t> seconds = QuickDurationSeconds(txtDuration_->text().toStdString());
    if (!seconds) return;
    AddAlarm(MomentFromSeconds(MomentSeconds(Now()) + *seconds), kTimerCompleteText, 1);
    Armed();
}

void AlarmTimer::CheckDate() {
    if (!builtFor_.valid() || Today() == builtFor_) return;
    emit rebuildWanted();
}

void AlarmTimer::tmrWait_Timer() {
    tmrWait_->setInterval(kTickMs);
    if (firing_) {
        tickPending_ = true;
        return;
    }
    OptionalStep([&] { CheckDate(); });
    runNow_ = Now();
    runNext_ = 1;
    runLast_ = std::min<int>(Module1.AlarmQueueCount, kAlarmQueueSlots);
    firing_ = true;
    FireNext();
}

void AlarmTimer::FireNext() {
    while (runNext_ <= runLast_) {
        const size_t i = static_cast<size_t>(runNext_++);
        if (!AlarmDue(Module1.AlarmQueueTime[i], runNow_)) continue;
        // The entry leaves its slot before the wait: nothing can fire it again.
        const DateTime moment = Module1.AlarmQueueTime[i];
        const std::string text = Module1.AlarmQueueText[i];
        firedSound_ = Module1.AlarmQueueSound[i];
        firedSoundFile_ = Module1.AlarmQueueSoundFile[i];
        Module1.AlarmQueueTime[i] = DateTime{};
        Module1.AlarmQueueText[i].clear();

        OptionalStep([&] { txtDuration_->setText(tmrWait_->isActive() ? "True" : "False"); });
        Module1.AlarmMsg = FiredAlarmMessage(moment, text);
        OptionalStep([&] { LoadAlarm()->lblAlarmMsg->setText(QString::fromStdString(Module1.AlarmMsg)); });
        Module1.SelDayText = Module1.AlarmMsg;
        OptionalStep([&] {
            if (frmAlarm* w = AlarmWindow(); w && Module1.AlarmOpen) w->setWindowState(w->windowState() | Qt::WindowMinimized);
        });
        waitTimer_->start(fireWaitMs);
        return;
    }
    firing_ = false;
    StopWhenEmpty();
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
    OptionalStep([&] {
        if (!Module1.OptVoice) PlayWaveFile(file);
    });
    Module1.CurSoundFile = file;
    // A window closed during the wait comes back with the message.
    OptionalStep([&] {
        if (!Module1.AlarmOpen) LoadAlarm()->lblAlarmMsg->setText(QString::fromStdString(Module1.AlarmMsg));
        ShowAlarm();
    });
    FireNext();
}

void AlarmTimer::StopWhenEmpty() {
    if (AnyAlarmLeft()) return;
    tmrWait_->stop();
    txtDuration_->setText("False");
    lblRemaining_->clear();
}

}  // namespace vm
