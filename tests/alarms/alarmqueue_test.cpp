// Today's alarm queue without a window: entries from [Sorting] rows and the
// daily alarms, the fire window, the texts and the countdown durations. The
// expected moments are written out by hand.
#include <gtest/gtest.h>

#include <QLocale>

#include <clocale>

#include "alarms/alarmqueue.h"
#include "core/module1.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::DateTime;
using vm::Module1;

namespace {

const DateTime kNow{{2026, 12, 6}, 9, 0, 0};  // a Sunday

vm::SortingRow Row(const char* date, const char* hour, const char* min, const char* ampm, const char* text,
                   const char* alarm = "", db::Value sound = db::Int(3)) {
    vm::SortingRow r;
    r.Date = db::Text(date);
    r.Hour = hour;
    r.Min = min;
    r.AMPM = ampm;
    r.DayMsg = text;
    r.Alarm = alarm;
    r.SoundNum = sound;
    return r;
}

struct Slot {
    DateTime at;
    std::string text;
    int32_t sound;
};

std::vector<Slot> Queue() {
    std::vector<Slot> out;
    for (int i = 1; i <= Module1.AlarmQueueCount; ++i)
        out.push_back({Module1.AlarmQueueTime[size_t(i)], Module1.AlarmQueueText[size_t(i)],
                       Module1.AlarmQueueSound[size_t(i)]});
    return out;
}

std::string Moment(const DateTime& t) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", t.date.y, t.date.m, t.date.d, t.hour, t.minute,
                  t.second);
    return buf;
}

class AlarmQueue : public ::testing::Test {
protected:
    vmtest::Fixture fx;
};

TEST_F(AlarmQueue, OwnTimeIsQueuedFromNowOn) {
    struct Case {
        DateTime now;
        const char* hour; const char* min; const char* ampm;
        const char* expected;  // "" = not queued
    } cases[] = {
        {{{2026, 12, 6}, 9, 5, 0}, "9", "5", "AM", "2026-12-06 09:05:00"},   // exactly now
        {{{2026, 12, 6}, 9, 5, 1}, "9", "5", "AM", ""},                      // a second earlier
        {kNow, "12", "30", "AM", ""},                                        // 00:30, long gone
        {{{2026, 12, 6}, 0, 0, 0}, "12", "30", "AM", "2026-12-06 00:30:00"}, // the first hour of the day
        {kNow, "12", "30", "PM", "2026-12-06 12:30:00"},
        {kNow, "1", "15", "PM", "2026-12-06 13:15:00"},
        {kNow, "11", "59", "PMET", "2026-12-06 23:59:00"},                  // a zone suffix changes nothing
        {kNow, "10", "0", "AMPT", "2026-12-06 10:00:00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.hour) + ":" + c.min + " " + c.ampm);
        vm::ClearAlarmQueue();
        vm::QueueRow(Row("2026-12-06", c.hour, c.min, c.ampm, "Dentist"), c.now);
        const auto q = Queue();
        if (std::string(c.expected).empty()) {
            EXPECT_TRUE(q.empty());
        } else {
            ASSERT_EQ(q.size(), 1u);
            EXPECT_EQ(Moment(q[0].at), c.expected);
            EXPECT_EQ(q[0].text, "Dentist");
        }
    }
}

TEST_F(AlarmQueue, OffsetsBeforeAndAfter) {
    struct Case {
        const char* alarm;
        std::vector<std::pair<std::string, std::string>> expected;  // moment, text
    } cases[] = {
        {"15", {{"2026-12-06 10:00:00", "Call"}, {"2026-12-06 09:45:00", " 15 Minutes Until - Call"}}},
        {"-10", {{"2026-12-06 10:00:00", "Call"}, {"2026-12-06 10:10:00", " 10 Minutes After - Call"}}},
        {"15,0", {{"2026-12-06 10:00:00", "Call"}, {"2026-12-06 09:45:00", " 15 Minutes Until - Call"}}},
        {"0", {{"2026-12-06 10:00:00", "Call"}}},
        {"x", {{"2026-12-06 10:00:00", "Call"}}},
        {"1.5", {{"2026-12-06 10:00:00", "Call"}, {"2026-12-06 09:58:30", " 1.5 Minutes Until - Call"}}},
        {"90,-60", {{"2026-12-06 10:00:00", "Call"}, {"2026-12-06 11:00:00", " 60 Minutes After - Call"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.alarm);
        vm::ClearAlarmQueue();
        vm::QueueRow(Row("2026-12-06", "10", "0", "AM", "Call", c.alarm), kNow);  // 90 before is 8:30, gone
        const auto q = Queue();
        ASSERT_EQ(q.size(), c.expected.size());
        for (size_t i = 0; i < q.size(); ++i) {
            EXPECT_EQ(Moment(q[i].at), c.expected[i].first);
            EXPECT_EQ(q[i].text, c.expected[i].second);
        }
    }
}

TEST_F(AlarmQueue, SoundNumbers) {
    // The row's own time plays 1..30 (0 and 31 become 1); its offsets keep the number.
    struct Case { db::Value stored; int32_t own, offset; } cases[] = {
        {db::Int(7), 7, 7}, {db::Int(0), 1, 0}, {db::Int(31), 1, 31}, {db::Value{}, 0, 0}};
    for (const auto& c : cases) {
        vm::ClearAlarmQueue();
        vm::QueueRow(Row("2026-12-06", "10", "0", "AM", "Call", "5", c.stored), kNow);
        const auto q = Queue();
        ASSERT_EQ(q.size(), 2u);
        EXPECT_EQ(q[0].sound, c.own);
        EXPECT_EQ(q[1].sound, c.offset);
    }
    const int playable[][2] = {{1, 1}, {30, 30}, {0, 1}, {31, 1}, {-4, 1}, {17, 17}};
    for (const auto& p : playable) EXPECT_EQ(vm::PlayableSound(p[0]), p[1]) << p[0];
}

TEST_F(AlarmQueue, HoldsAtMost94Entries) {
    vm::ClearAlarmQueue();
    for (int i = 0; i < 95; ++i) vm::QueueRow(Row("2026-12-06", "11", std::to_string(i % 60).c_str(), "PM", "E"), kNow);
    EXPECT_EQ(Module1.AlarmQueueCount, 94);
    EXPECT_TRUE(Module1.AlarmQueueText[95].empty());
    // The summary stops at the last slot in use.
    EXPECT_NE(vm::AlarmSummary().find("94: "), std::string::npos);
    EXPECT_EQ(vm::AlarmSummary().find("95: "), std::string::npos);
}

TEST_F(AlarmQueue, DatesAreReadWithoutTheLocale) {
    // A German desktop would read 12/6/2026 as the 12th of June.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    for (const char* date : {"2026-12-06", "12/6/2026", "12/06/2026"}) {
        vm::ClearAlarmQueue();
        vm::QueueRow(Row(date, "10", "0", "AM", "Call"), kNow);
        ASSERT_EQ(Module1.AlarmQueueCount, 1) << date;
        EXPECT_EQ(Moment(Module1.AlarmQueueTime[1]), "2026-12-06 10:00:00") << date;
    }
    std::setlocale(LC_ALL, "C");
    QLocale::setDefault(QLocale::c());
    // A text that is no date is refused with an error, nothing queued.
    vm::ClearAlarmQueue();
    EXPECT_THROW(vm::QueueRow(Row("6 Dezember", "10", "0", "AM", "Call"), kNow), vm::OpError);
    EXPECT_EQ(Module1.AlarmQueueCount, 0);
}

TEST_F(AlarmQueue, FireWindow) {
    const DateTime at{{2026, 12, 6}, 23, 59, 50};
    struct Case { DateTime now; bool due; } cases[] = {
        {{{2026, 12, 6}, 23, 59, 39}, false},  // T - 11 s
        {{{2026, 12, 6}, 23, 59, 40}, true},   // T - 10 s
        {{{2026, 12, 7}, 0, 0, 20}, true},     // T + 30 s, past midnight
        {{{2026, 12, 7}, 0, 0, 21}, false},    // T + 31 s
    };
    for (const auto& c : cases) EXPECT_EQ(vm::AlarmDue(at, c.now), c.due) << Moment(c.now);
    EXPECT_FALSE(vm::AlarmDue(DateTime{}, at));  // a free slot
}

TEST_F(AlarmQueue, Texts) {
    EXPECT_EQ(vm::FiredAlarmMessage({{2026, 12, 6}, 0, 5, 0}, "Early"), "Sunday Dec 6, 2026 12:05 am - Early");
    EXPECT_EQ(vm::FiredAlarmMessage({{2026, 3, 17}, 13, 7, 0}, "Lunch"), "Tuesday Mar 17, 2026 1:07 pm - Lunch");
    vm::ClearAlarmQueue();
    vm::AddAlarm({{2026, 12, 6}, 9, 5, 0}, "Dentist", 3);
    vm::AddAlarm({{2026, 12, 6}, 21, 0, 30}, "Call", 12);
    EXPECT_EQ(vm::AlarmSummary(), "1: 12/6/2026 9:05:00 AM - Dentist Snd:3\r\n2: 12/6/2026 9:00:30 PM - Call Snd:12\r\n");
}

TEST_F(AlarmQueue, QuickDurations) {
    struct Case { const char* text; std::optional<int64_t> seconds; } cases[] = {
        {"90", 90}, {"2:30", 150}, {"1:0:0", 3600}, {"x:5", 5}, {"", std::nullopt},
        {"x:1:5", 65}, {"0:90", 90}, {"1.6", 2}, {"True", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(vm::QuickDurationSeconds(c.text), c.seconds) << c.text;
}

TEST_F(AlarmQueue, TodaysCellAndMonth) {
    // December 2026 starts on a Tuesday (cell 2); March 2026 on a Sunday.
    EXPECT_EQ(vm::TodayCell({2026, 12, 6}), 7);
    EXPECT_EQ(vm::TodayCell({2026, 12, 31}), 32);
    EXPECT_EQ(vm::TodayCell({2026, 3, 1}), 0);
    EXPECT_TRUE(vm::ShowsTodaysMonth(12, 2026, {2026, 12, 6}));
    EXPECT_FALSE(vm::ShowsTodaysMonth(12, 2025, {2026, 12, 6}));
    EXPECT_FALSE(vm::ShowsTodaysMonth(11, 2026, {2026, 12, 6}));
}

TEST_F(AlarmQueue, DailyAlarmsAreReadNotWritten) {
    auto settings = db::Database::Open(vmtest::FreshSettings());
    settings->exec(
        "INSERT INTO [Alarms] ([Disable],[Hour],[Minute],[AMPM],[AlarmText],[SoundNum]) VALUES "
        "(0, 7, 30, 'AM', 'Pills', 4), (-1, 8, 0, 'AM', 'Off', 4), (NULL, 8, 0, 'AM', 'Unset', 4),"
        "(0, NULL, 0, 'PM', 'No hour', 4), (0, 6, 15, 'PMET', 'Walk', NULL)");
    const auto rows = vm::SetDailyAlarms(*settings, 7, 2026340, {2026, 12, 6});
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].DayMsg, "DAILY ALARM: Pills");
    EXPECT_EQ(rows[1].DayMsg, "DAILY ALARM: Walk");
    EXPECT_EQ(db::AsInt(rows[1].SoundNum, -1), 0);
    EXPECT_EQ(rows[1].DayNo, 7);
    EXPECT_EQ(db::AsInt(rows[1].JulDate), 2026340);

    vm::ClearAlarmQueue();
    for (const auto& r : rows) vm::QueueRow(r, {{2026, 12, 6}, 6, 0, 0});
    ASSERT_EQ(Module1.AlarmQueueCount, 2);
    EXPECT_EQ(Moment(Module1.AlarmQueueTime[2]), "2026-12-06 18:15:00");
    EXPECT_EQ(Module1.AlarmQueueSound[2], 1);  // no sound number: sound 1

    auto count = settings->prepare("SELECT COUNT(*) FROM [Alarms]");
    count.step();
    EXPECT_EQ(db::AsInt(count.column(0)), 5);
}

TEST_F(AlarmQueue, CellRowsOfTheSortingTable) {
    auto cal = db::Database::Open(vmtest::FreshCalendar());
    cal->exec(
        "INSERT INTO [Sorting] ([DayNo],[Hour],[Min],[AMPM],[DayMsg],[Alarm],[SoundNum],[JulDate],[Date]) VALUES "
        "(7, 9, 5, 'AM', 'Mine', '10', 2, 2026340, '2026-12-06'), (8, 9, 5, 'AM', 'Tomorrow', '', 2, 2026341, "
        "'2026-12-07'), (7, NULL, NULL, NULL, NULL, NULL, NULL, 2026340, '2026-12-06')");
    const auto rows = vm::ReadCellRows(*cal, 7);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].DayMsg, "Mine");
    EXPECT_EQ(rows[0].Alarm, "10");
    EXPECT_EQ(rows[1].AMPM, "");  // empty fields read as empty text
    vm::ClearAlarmQueue();
    for (const auto& r : rows) vm::QueueRow(r, {{2026, 12, 6}, 0, 0, 0});
    // 9:05, 8:55 and the untimed row at midnight.
    ASSERT_EQ(Module1.AlarmQueueCount, 3);
    EXPECT_EQ(Moment(Module1.AlarmQueueTime[2]), "2026-12-06 08:55:00");
    EXPECT_EQ(Moment(Module1.AlarmQueueTime[3]), "2026-12-06 00:00:00");
}

}  // namespace
