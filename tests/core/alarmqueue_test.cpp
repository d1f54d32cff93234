// Today's alarm queue without a window. The expected moments are written out
// by hand.
#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>
#include <optional>
#include <vector>

#include "core/alarmqueue.h"
#include "core/alarmqueue_rows.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::AlarmEntry;
using vm::AlarmQueue;
using vm::DateTime;

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

std::string Line(const AlarmEntry& e) { return Moment(e.moment) + " " + e.text + " " + std::to_string(e.sound); }

// "moment text sound" of every entry of a row.
Strings Entries(const vm::SortingRow& row, const DateTime& now) {
    Strings out;
    for (const AlarmEntry& e : vm::RowEntries(row, vm::MomentSeconds(now) * 1000)) out.push_back(Line(e));
    return out;
}

// "moment text sound" of every slot in use ("-" for a free one).
Strings Held(const AlarmQueue& q) {
    Strings out;
    for (int i = 1; i <= q.count(); ++i) out.push_back(q.slot(i) ? Line(*q.slot(i)) : "-");
    return out;
}

AlarmEntry Entry(const DateTime& at, const char* text, int64_t rowDay = 0) {
    AlarmEntry e;
    e.moment = at;
    e.text = text;
    e.sound = 1;
    e.rowDay = rowDay;
    return e;
}

AlarmEntry Countdown(const DateTime& shown, int64_t steadyDueMs) {
    AlarmEntry e = Entry(shown, "Timer Complete");
    e.steadyDueMs = steadyDueMs;
    return e;
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
        EXPECT_EQ(Entries(c.row, c.now), c.expected);
    }
    EXPECT_THROW(vm::RowEntries(Row("6 Dezember", "10", "0", "AM"), 0), vm::OpError);
    // A Date in no form the program writes: the row rings on the day it is shown by.
    for (const char* odd : {"6 Dezember", "", "7.12.2026"}) {
        vm::SortingRow row = Row(odd, "10", "0", "AM");
        row.JulDate = db::Int(vm::Date2Julian(vm::CivilDate{2026, 12, 6}));
        EXPECT_EQ(Entries(row, kNow), Strings{"2026-12-06 10:00:00 Call 3"}) << odd;
    }
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
}

TEST(AlarmQueue, DueAtItsMomentNeverBeforeAndTheTimerAimedAtTheNext) {
    vmtest::Fixture fx;
    const DateTime at{{2026, 12, 6}, 23, 59, 50};
    const int64_t atMs = vm::MomentSeconds(at) * 1000;
    struct Case { int64_t nowMs; bool due; } cases[] = {
        {atMs - 1, false}, {atMs, true}, {atMs + 35000, true}, {atMs + 3600000, true},  // however late
    };
    for (const auto& c : cases) EXPECT_EQ(AlarmQueue::Due(Entry(at, "Wall"), c.nowMs, 0), c.due) << c.nowMs - atMs;
    // A countdown by the steady clock alone, whatever the wall clock says.
    EXPECT_TRUE(AlarmQueue::Due(Countdown(at, 500000), atMs - 600000, 500000));
    EXPECT_FALSE(AlarmQueue::Due(Countdown(at, 500000), atMs + 600000, 499999));

    // A wall entry and a countdown: the next due time, also when the wall
    // clock jumps (the countdown does not move with it).
    AlarmQueue q;
    q.add(Entry(at, "Wall"));
    q.addCountdown(Countdown(at, 500000));
    struct Next { int64_t wallMs, steadyMs; std::optional<int64_t> ms; } next[] = {
        {atMs - 9000, 495000, 5000}, {atMs - 1500, 495000, 1500}, {atMs + 300000, 499000, 0}, {atMs - 9000, 500000, 0}};
    for (const auto& n : next) EXPECT_EQ(q.msUntilNextDue(n.wallMs, n.steadyMs), n.ms) << n.wallMs - atMs;
    // Taken, they leave; the countdown names the wall moment it completed at.
    const std::vector<AlarmEntry> due = q.takeDue(atMs + 7000, 500000 + 2000);
    ASSERT_EQ(due.size(), 2u);
    EXPECT_EQ(Moment(due[0].moment) + " " + due[0].text, "2026-12-06 23:59:50 Wall");
    EXPECT_EQ(Moment(due[1].moment) + " " + due[1].text, "2026-12-06 23:59:55 Timer Complete");
    EXPECT_EQ(q.msUntilNextDue(atMs, 0), std::nullopt);
    EXPECT_TRUE(q.empty());

    // AM and PM in any letter case.
    for (const char* pm : {"pm", "Pm", "PM", "pM", "pmet"}) {
        EXPECT_EQ(Entries(Row("2026-12-06", "3", "15", pm), kNow), Strings{"2026-12-06 15:15:00 Call 3"}) << pm;
    }

    struct Quick { const char* text; std::optional<int64_t> seconds; } quick[] = {
        {"90", 90}, {"2:30", 150}, {"1:0:0", 3600}, {"x:5", 5}, {"", std::nullopt},
        {"x:1:5", 65}, {"1.6", 2}, {"True", 0},
    };
    for (const auto& c : quick) EXPECT_EQ(vm::QuickDurationSeconds(c.text), c.seconds) << c.text;
}

TEST(AlarmQueue, AFullQueueHoldsTheNearestAndAlwaysACountdown) {
    vmtest::Fixture fx;
    auto at = [](int minutes) { return vm::MomentFromSeconds(vm::MomentSeconds(kNow) + minutes * 60); };
    auto ms = [&](int minutes) { return vm::MomentSeconds(at(minutes)) * 1000; };
    // 95 entries offered latest first: the 94 nearest are held, the last waits.
    AlarmQueue q;
    for (int m = 95; m >= 1; --m) EXPECT_TRUE(q.add(Entry(at(m), std::to_string(m).c_str())));
    ASSERT_EQ(q.count(), vm::kAlarmQueueSlots);
    ASSERT_EQ(q.waiting().size(), 1u);
    EXPECT_EQ(q.waiting()[0].text, "95");
    // A countdown takes the latest held entry's slot; that entry waits.
    EXPECT_TRUE(q.addCountdown(Countdown(at(0), 1000)));
    Strings waiting;
    for (const AlarmEntry& e : q.waiting()) waiting.push_back(e.text);
    EXPECT_EQ(waiting, (Strings{"94", "95"}));
    // A slot freed by a ring takes the nearest waiting entry.
    EXPECT_EQ(q.takeDue(ms(1), 0).size(), 1u);
    EXPECT_EQ(q.waiting().size(), 1u);
    EXPECT_EQ(q.count(), vm::kAlarmQueueSlots);
    // Every entry rings in turn, none dropped.
    int rang = 1;
    for (int m = 2; m <= 96; ++m) rang += static_cast<int>(q.takeDue(ms(m), 2000).size());
    EXPECT_EQ(rang, 96);
    EXPECT_TRUE(q.empty());

    // Slots all held by countdowns: a wall entry waits and still rings when due;
    // one countdown more cannot be held.
    q.clear();
    for (int i = 0; i < vm::kAlarmQueueSlots; ++i) ASSERT_TRUE(q.addCountdown(Countdown(at(60), 1000000)));
    EXPECT_FALSE(q.addCountdown(Countdown(at(60), 1000000)));
    EXPECT_TRUE(q.add(Entry(at(5), "Waits")));
    EXPECT_EQ(q.msUntilNextDue(ms(0), 0), 300000);
    const auto due = q.takeDue(ms(5), 0);
    ASSERT_EQ(due.size(), 1u);
    EXPECT_EQ(due[0].text, "Waits");
}

TEST(AlarmQueue, WhatRangIsNeverQueuedAgainAndRebuildsKeepWhatTheyCannotRead) {
    vmtest::Fixture fx;
    const int64_t today = vm::DaysFromCivil(kNow.date), nowMs = vm::MomentSeconds(kNow) * 1000;
    auto at = [](int minutes) { return vm::MomentFromSeconds(vm::MomentSeconds(kNow) + minutes * 60); };
    AlarmQueue q;
    ASSERT_TRUE(q.add(Entry(at(5), "Call", today)));
    EXPECT_EQ(q.takeDue(nowMs + 300000, 0).size(), 1u);
    // Read again after the clock went back: the same entry is not queued; another is.
    EXPECT_FALSE(q.add(Entry(at(5), "Call", today)));
    EXPECT_TRUE(q.add(Entry(at(5), "Other", today)));
    EXPECT_TRUE(q.add(Entry(at(5), "Call", today + 1)));  // the same moment from another day's record

    // A rebuild from now on, rereading yesterday's and today's records: what
    // it will read again leaves; countdowns, entries due already and those of
    // older records stay.
    q.clear();
    q.add(Entry(at(-1), "Due", today));
    q.add(Entry(at(10), "Reread", today));
    q.add(Entry(at(10), "Yesterday's", today - 1));
    q.add(Entry(at(10), "Older", today - 2));
    q.addCountdown(Countdown(at(1), 5000));
    q.keepForRebuild(nowMs, today - 1);
    EXPECT_EQ(Held(q), (Strings{"2026-12-06 08:59:00 Due 1", "2026-12-06 09:10:00 Older 1",
                                "2026-12-06 09:01:00 Timer Complete 1"}));
}

}  // namespace
