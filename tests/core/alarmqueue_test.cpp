// Today's alarm queue without a window. The expected moments are written out
// by hand.
#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>

#include "core/alarmqueue.h"
#include "core/module1.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::DateTime;
using vm::Module1;

namespace {

const DateTime kNow{{2026, 12, 6}, 9, 0, 0};  // a Sunday

using Strings = std::vector<std::string>;

vm::SortingRow Row(const char* date, const char* hour, const char* min, const char* ampm, const char* alarm = "",
                   db::Value sound = db::Int(3)) {
    vm::SortingRow r;
    r.Date = db::Text(date);
    r.Hour = hour;
    r.Min = min;
    r.AMPM = ampm;
    r.DayMsg = "Call";
    r.Alarm = alarm;
    r.SoundNum = sound;
    return r;
}

std::string Moment(const DateTime& t) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.date.y, t.date.m, t.date.d, t.hour, t.minute,
                  t.second);
    return buf;
}

// "moment text sound" of every slot in use.
Strings Queue() {
    Strings out;
    for (size_t i = 1; i <= size_t(Module1.AlarmQueueCount); ++i)
        out.push_back(Moment(Module1.AlarmQueueTime[i]) + " " + Module1.AlarmQueueText[i] + " " +
                      std::to_string(Module1.AlarmQueueSound[i]));
    return out;
}

TEST(AlarmQueue, EntriesOfARowReadWithoutTheLocale) {
    vmtest::Fixture fx;
    // A German desktop would read 12/6/2026 as the 12th of June.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    struct Case { DateTime now; vm::SortingRow row; Strings expected; } cases[] = {
        {{{2026, 12, 6}, 9, 5, 0}, Row("2026-12-06", "9", "5", "AM"), {"2026-12-06 09:05:00 Call 3"}},  // exactly now
        {{{2026, 12, 6}, 9, 5, 1}, Row("2026-12-06", "9", "5", "AM"), {}},  // a second earlier
        {{{2026, 12, 6}, 0, 0, 0}, Row("2026-12-06", "12", "30", "AM"), {"2026-12-06 00:30:00 Call 3"}},  // not noon
        {kNow, Row("12/6/2026", "12", "30", "PM"), {"2026-12-06 12:30:00 Call 3"}},
        {kNow, Row("12/06/2026", "11", "59", "PMET"), {"2026-12-06 23:59:00 Call 3"}},
        {kNow, Row("2026-12-06", "10", "0", "AM", "15"),
         {"2026-12-06 10:00:00 Call 3", "2026-12-06 09:45:00  15 Minutes Until - Call 3"}},
        {kNow, Row("2026-12-06", "10", "0", "AM", "-10"),
         {"2026-12-06 10:00:00 Call 3", "2026-12-06 10:10:00  10 Minutes After - Call 3"}},
        {kNow, Row("2026-12-06", "10", "0", "AM", "x"), {"2026-12-06 10:00:00 Call 3"}},
        // Part of a minute is kept to the second.
        {kNow, Row("2026-12-06", "10", "0", "AM", "2.5"),
         {"2026-12-06 10:00:00 Call 3", "2026-12-06 09:57:30  2.5 Minutes Until - Call 3"}},
        {kNow, Row("2026-12-06", "10", "0", "AM", "90,-60"),  // 8:30 is gone
         {"2026-12-06 10:00:00 Call 3", "2026-12-06 11:00:00  60 Minutes After - Call 3"}},
        // The row's own time plays 1..30; its offsets keep the stored number.
        {kNow, Row("2026-12-06", "10", "0", "AM", "5", db::Int(31)),
         {"2026-12-06 10:00:00 Call 1", "2026-12-06 09:55:00  5 Minutes Until - Call 31"}},
        {kNow, Row("2026-12-06", "10", "0", "AM", "", db::Int(0)), {"2026-12-06 10:00:00 Call 1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(db::AsText(c.row.Date) + " " + c.row.Hour + ":" + c.row.Min + " " + c.row.AMPM + " [" +
                     c.row.Alarm + "]");
        vm::ClearAlarmQueue();
        vm::QueueRow(c.row, c.now);
        EXPECT_EQ(Queue(), c.expected);
    }
    vm::ClearAlarmQueue();
    EXPECT_THROW(vm::QueueRow(Row("6 Dezember", "10", "0", "AM"), kNow), vm::OpError);
    EXPECT_EQ(Module1.AlarmQueueCount, 0);
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());

    // 95 rows: the queue holds 94.
    for (int i = 0; i < 95; ++i) vm::QueueRow(Row("2026-12-06", "11", std::to_string(i % 60).c_str(), "PM"), kNow);
    EXPECT_EQ(Module1.AlarmQueueCount, 94);
    EXPECT_TRUE(Module1.AlarmQueueText[95].empty());
}

TEST(AlarmQueue, DueAtItsMomentNeverBeforeAndTheTimerAimedAtTheNext) {
    vmtest::Fixture fx;
    const DateTime at{{2026, 12, 6}, 23, 59, 50};
    const int64_t atMs = vm::MomentSeconds(at) * 1000;
    struct Case { int64_t nowMs; bool due; } cases[] = {
        {atMs - 1, false}, {atMs, true}, {atMs + 35000, true}, {atMs + 3600000, true},  // however late
    };
    for (const auto& c : cases) EXPECT_EQ(vm::AlarmDue(at, c.nowMs), c.due) << c.nowMs - atMs;
    EXPECT_FALSE(vm::AlarmDue(DateTime{}, atMs));  // a free slot

    // A wall entry and a countdown on the steady clock: the next due time,
    // also when the wall clock jumps (the countdown does not move with it).
    vm::AddAlarm(at, "Wall", 1);
    vm::AddAlarm(at, "Countdown", 1, "", 500000);
    struct Next { int64_t wallMs, steadyMs; std::optional<int64_t> ms; } next[] = {
        {atMs - 9000, 495000, 5000}, {atMs - 1500, 495000, 1500}, {atMs + 300000, 499000, 0}, {atMs - 9000, 500000, 0}};
    for (const auto& n : next) EXPECT_EQ(vm::MsUntilNextDue(n.wallMs, n.steadyMs), n.ms) << n.wallMs - atMs;
    EXPECT_TRUE(vm::SlotDue(2, atMs - 600000, 500000));
    EXPECT_FALSE(vm::SlotDue(2, atMs + 600000, 499999));
    Module1.AlarmQueueTime[1] = Module1.AlarmQueueTime[2] = DateTime{};
    EXPECT_EQ(vm::MsUntilNextDue(atMs, 0), std::nullopt);

    // AM and PM in any letter case.
    for (const char* pm : {"pm", "Pm", "PM", "pM", "pmet"}) {
        vm::ClearAlarmQueue();
        vm::QueueRow(Row("2026-12-06", "3", "15", pm), kNow);
        EXPECT_EQ(Queue(), Strings{"2026-12-06 15:15:00 Call 3"}) << pm;
    }

    struct Quick { const char* text; std::optional<int64_t> seconds; } quick[] = {
        {"90", 90}, {"2:30", 150}, {"1:0:0", 3600}, {"x:5", 5}, {"", std::nullopt},
        {"x:1:5", 65}, {"1.6", 2}, {"True", 0},
    };
    for (const auto& c : quick) EXPECT_EQ(vm::QuickDurationSeconds(c.text), c.seconds) << c.text;
}

}  // namespace
