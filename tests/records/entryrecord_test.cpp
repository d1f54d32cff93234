// The entry window's rules without a window: refusals and the 24-hour clock.
#include <gtest/gtest.h>

#include "core/entryrecord.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/record.h"
#include "core/sorting.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

// Every box on its placeholder, the date filled.
vm::EntryBoxes Placeholders() {
    return {false, false, "3/15/2025", "Hour", "Min", "AM", "", "Repeat#", "Repeat Type", "Date Type", "Alarm Mins",
            "Sound", "Select Font", "Select FG Colors", "Priority"};
}

const db::Value* Column(const vm::EntrySave& s, const std::string& name) {
    for (const auto& [n, v] : s.columns)
        if (n == name) return &v;
    return nullptr;
}

TEST(EntrySave, RefusesWhatTheRecordCannotHold) {
    const struct {
        const char* what;
        void (*set)(vm::EntryBoxes&);
    } cases[] = {
        {"placeholder date", [](vm::EntryBoxes& b) { b.date = "Date"; }},
        {"no such day", [](vm::EntryBoxes& b) { b.date = "2/30/2025"; }},
        {"priority 256", [](vm::EntryBoxes& b) { b.priority = "256"; }},
        {"priority 1e3", [](vm::EntryBoxes& b) { b.priority = "1e3"; }},
        {"minute 60", [](vm::EntryBoxes& b) { b.minute = "60"; }},
        {"hour 13", [](vm::EntryBoxes& b) { b.hour = "13"; }},
        {"huge repeat count", [](vm::EntryBoxes& b) { b.repeatNo = "99999999999"; }},
        {"colours over 100", [](vm::EntryBoxes& b) { b.colors = std::string(101, '1'); }},
        {"AM/PM over 10", [](vm::EntryBoxes& b) { b.ampm = "AMETXXXXXXX"; }},
    };
    for (const auto& c : cases) {
        auto b = Placeholders();
        c.set(b);
        const auto s = vm::PlanEntrySave(b);
        EXPECT_FALSE(s.ok()) << c.what;
        EXPECT_TRUE(s.columns.empty()) << c.what;
    }
    auto b = Placeholders();
    b.priority = "255";
    b.minute = "59";
    b.hour = "12";
    b.colors = std::string(100, '1');
    b.date = "12/31/24";  // two-digit years fall in 1930..2029
    const auto s = vm::PlanEntrySave(b);
    ASSERT_TRUE(s.ok());
    EXPECT_EQ(db::AsInt(*Column(s, "JulDate")), 2024366);
}

class EntryStore : public ::testing::Test {
protected:
    void SetUp() override {
        vm::Module1.CalendarFilePath = vmtest::FreshCalendar();
        rs.setDatabaseName(vm::Module1.CalendarFilePath);
        rs.setRecordSource("Velmora");
        rs.refresh();
    }
    void add(const vm::EntryBoxes& b) {
        const auto s = vm::PlanEntrySave(b);
        ASSERT_TRUE(s.ok()) << s.refusal;
        rs.addNew();
        vm::WriteEntrySave(rs, s);
        rs.update();
        rs.moveLast();
    }
    vmtest::Fixture fx;
    db::RecordSource rs;
};

TEST_F(EntryStore, Hr24FollowsTheHourAndAmPmTheRowHolds) {
    const struct {
        const char *hour, *ampm;
        std::optional<int> hr24;
    } cases[] = {{"Hour", "AM", 0}, {"12", "PMCT", 12}, {"7", "PM", 19}, {"3", "pm", 15}, {"4", "Pm", 16},
                 // the box's placeholder contains "AM": the hour as it stands
                 {"7", "AM/PM", 7},  {"12", "AM/PM", 0}};
    for (const auto& c : cases) {
        auto b = Placeholders();
        b.hour = c.hour;
        b.ampm = c.ampm;
        add(b);
        const auto r = vm::ReadDateRecord(rs);
        EXPECT_EQ(r.Hr24, c.hr24) << c.hour << " " << c.ampm;
        // Stored upper-cased.
        EXPECT_EQ(r.AM_PM, std::string(c.ampm) == "AM/PM" ? "" : vm::ToUpper(c.ampm));
    }
}

// The cells and the week view show a time only when the row holds both an
// hour and a minute; the alarms ring an hour with no minute on the hour.
TEST_F(EntryStore, AnHourPickedWithoutAMinuteIsOnTheHour) {
    auto b = Placeholders();
    b.hour = "7";
    b.ampm = "PM";
    add(b);
    auto r = vm::ReadDateRecord(rs);
    EXPECT_EQ(db::AsInt(rs.field("Minute")), 0);
    EXPECT_EQ(vm::BuildTimeString(db::AsText(rs.field("Hour")), db::AsText(rs.field("Minute")), r.AM_PM), "7:00 PM ");

    auto none = Placeholders();  // no time at all stays no time
    for (const char* hour : {"Hr", "Hour"}) {
        none.hour = hour;
        add(none);
        EXPECT_TRUE(db::IsNull(rs.field("Minute"))) << hour;
    }

    // A stored minute is kept when the box is left alone.
    b.minute = "45";
    add(b);
    rs.edit();
    b.minute = vm::entry::kMinuteUnset;
    vm::WriteEntrySave(rs, vm::PlanEntrySave(b));
    rs.update();
    EXPECT_EQ(db::AsInt(rs.field("Minute")), 45);
}

}  // namespace
