#include <gtest/gtest.h>

#include <sqlite3.h>

#include "core/dates.h"
#include "core/module1.h"
#include "core/sorting.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

TEST(TimeText, BuildTimeStringTable) {
    struct Row { const char *hour, *min, *ampm, *result; };
    const Row table[] = {
        {"7", "5", "PM", "7:05 PM "},   {"0", "0", "AM", ""},       {"0", "30", "AM", "0:30 AM "},
        {"24", "00", "PM", "24:00 PM "}, {"25", "00", "PM", ""},    {"7", "60", "AM", ""},
        {"7", "", "AM", ""},            {"", "15", "PM", ""},       {"7", "15", "pm", "7:15 PM "},
        {"9", "30", "AM EST", "9:30 AM EST "}, {"12", "40", "PM", "12:40 PM "}, {"-1", "10", "AM", ""},
        {"x", "10", "AM", ""},          {"7", "05", "A", ""},
    };
    for (const auto& r : table)
        EXPECT_EQ(vm::BuildTimeString(r.hour, r.min, r.ampm), r.result) << r.hour << ":" << r.min << " " << r.ampm;
}

TEST(SortingRow, TimeSortAndHr24FromHourMinuteAndAmPm) {
    struct Row { const char *hour, *min, *ampm, *timeSort; std::optional<int> hr24; };
    const Row table[] = {
        {"12", "40", "PM", "12:40", 12}, {"12", "40", "AM", "12:40", 0}, {"1", "15", "PM", "13:15", 13},
        {"9", "5", "AM", "09:05", 9},    {"0", "0", "AM", "00:00", 0},  {"", "", "", "00:00", std::nullopt},
        {"3", "0", "PM EST", "15:00", 15}, {"11", "59", "PM", "23:59", 23}, {"abc", "x", "PM", "00:00", 12},
        {"4", "20", "am", "04:20", 4}, {"4", "20", "Pm", "16:20", 16},
    };
    for (const auto& r : table) {
        EXPECT_EQ(vm::TimeSortText(r.hour, r.min, r.ampm), r.timeSort) << r.hour << " " << r.ampm;
        EXPECT_EQ(vm::SortingHr24(r.hour, r.ampm), r.hr24) << r.hour << " " << r.ampm;
    }
}

// ---- the store

std::vector<std::string> Messages(const std::vector<vm::SortingRow>& rows) {
    std::vector<std::string> out;
    for (const auto& r : rows) out.push_back(r.DayMsg);
    return out;
}

TEST(SortingStore, OccurrencesOfTheMonthOnlyWithTheirKeysInDisplayOrder) {
    vmtest::Fixture fx;
    auto d = db::Database::Open(vmtest::FreshCalendar());
    d->exec("ALTER TABLE [RepeatingData] DROP COLUMN [Hr24]");  // a file of an older layout
    d->exec("INSERT INTO [RepeatingData] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Priority],"
            "[DayColors],[Font]) VALUES (0,'2026-01-31',2026031,9,0,'AM','January',0,'',''), "
            "(0,'2026-02-01',2026032,1,15,'PM','First',0,'',''), (-1,'2026-02-28',2026059,0,0,'AM','Last',4,"
            "' 255;0;0;0;3;3 ',' Arial, 12,True,False '), (0,'2026-03-01',2026060,9,0,'AM','March',0,'','')");
    const auto month = vm::ReadMonthOccurrences(*d, 2026032, 2026059, 0);
    ASSERT_EQ(Messages(month), (std::vector<std::string>{"First", "Last"}));
    EXPECT_EQ(month[0].DayNo, 0);
    EXPECT_EQ(month[0].Hr24, 13);
    // Occurrences are copied whatever their Hide flag; texts lose their outer blanks.
    EXPECT_EQ(month[1].DayNo, 27);
    EXPECT_EQ(month[1].DayColors, "255;0;0;0;3;3");
    EXPECT_EQ(month[1].Font, "Arial, 12,True,False");
    EXPECT_EQ(month[1].PriorityValue(), 4);

    vm::ReplaceSortingRows(*d, month);
    vm::ReplaceSortingRows(*d, month);  // replaces, never adds
    EXPECT_EQ(Messages(vm::ReadSortingInDisplayOrder(*d)), Messages(month));
    vm::EmptySorting(*d);
    EXPECT_TRUE(vm::ReadSortingInDisplayOrder(*d).empty());
}

// Display order: cell, then falling priority, then time of day. The rows in hand are placed in the order, and with the values, that
// [Sorting] gives back.
TEST(SortingStore, RowsInHandArrangeAsTheTableReadsBack) {
    struct Row { int day; const char* priority; std::optional<int> hr24; const char *ampm, *hour, *min; };
    const Row table[] = {
        {3, "2", 9, "AM", "9", "05"},     {3, "", 9, "AM", "9", "5"},      {3, "7", std::nullopt, "", "", ""},
        {3, "2", 13, "PM", "1", "00"},    {3, "300", 8, "AM", "8", "0"},   {1, "1", 0, "AM", "12", "30"},
        {1, "1", 0, "AM", "12", "7"},     {1, "1", 0, "AM", "x", "1"},     {1, "1", 0, "AM", "05", "2"},
        {1, "1", 0, "am", "5", "3"},      {1, "1", 0, "AM", "5.5", "4"},   {1, "1", std::nullopt, "AM", "4", "9"},
        {0, "0", 23, "PM", "11", "59"},   {0, "-3", 22, "PM", "10", "01"}, {41, "9", 1, "AM", "1", "01"},
    };
    std::vector<vm::SortingRow> rows;
    for (const Row& r : table) {
        vm::SortingRow s;
        s.DayNo = r.day;
        if (*r.priority) s.Priority = db::Text(r.priority);
        s.Hr24 = r.hr24;
        s.AMPM = r.ampm;
        s.Hour = r.hour;
        s.Min = r.min;
        s.DayMsg = "entry " + std::to_string(rows.size());
        rows.push_back(s);
    }
    auto d = db::Database::Open(vmtest::FreshCalendar());
    vm::ReplaceSortingRows(*d, rows);
    const std::vector<vm::SortingRow> stored = vm::ReadSortingInDisplayOrder(*d);
    vm::ArrangeForDisplay(rows);
    std::vector<std::string> order;
    for (int i : {12, 13, 11, 8, 9, 10, 6, 5, 7, 2, 0, 3, 4, 1, 14}) order.push_back("entry " + std::to_string(i));
    EXPECT_EQ(Messages(stored), order);
    ASSERT_EQ(rows.size(), stored.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].DayMsg, stored[i].DayMsg) << i;
        EXPECT_EQ(rows[i].DayNo, stored[i].DayNo) << i;
        EXPECT_EQ(rows[i].PriorityValue(), stored[i].PriorityValue()) << rows[i].DayMsg;
        EXPECT_EQ(rows[i].Hour, stored[i].Hour) << rows[i].DayMsg;
        EXPECT_EQ(rows[i].Min, stored[i].Min) << rows[i].DayMsg;
    }
}

// A start takes the stamp kept with [Sorting] instead of reading the rows
// back, so any write to the table by another program, through plain SQLite,
// must take the stamp away.
TEST(SortingStore, AnotherProgramsWriteTakesTheKeptStampAway) {
    const std::string path = vmtest::FreshCalendar();
    auto d = db::Database::Open(path);
    std::vector<vm::SortingRow> rows(3);
    for (size_t i = 0; i < rows.size(); ++i) rows[i].DayMsg = "entry " + std::to_string(i);
    const uint64_t stamp = vm::SortingFingerprint(*d, rows);
    EXPECT_FALSE(vm::KeptSortingStamp(*d));
    for (const char* sql : {"UPDATE [Sorting] SET [DayMsg] = 'stale' WHERE rowid = 2",
                            "DELETE FROM [Sorting] WHERE rowid = 3",
                            "INSERT INTO [Sorting] ([DayNo], [DayMsg]) VALUES (5, 'more')"}) {
        SCOPED_TRACE(sql);
        vm::ReplaceSortingRows(*d, rows, stamp);
        EXPECT_EQ(vm::KeptSortingStamp(*d), stamp);
        EXPECT_EQ(vm::StoredSortingFingerprint(*d), stamp) << "the stamp is that of the rows read back";
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(other, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(other);
        sqlite3_close(other);
        EXPECT_FALSE(vm::KeptSortingStamp(*d));
    }
    vm::KeepSortingStamp(*d, 77);
    EXPECT_EQ(vm::KeptSortingStamp(*d), 77u);
    vm::ReplaceSortingRows(*d, rows);  // rows stored without a stamp leave none
    EXPECT_FALSE(vm::KeptSortingStamp(*d));
    vm::KeepSortingStamp(*d, 77);
    d->exec("DROP TRIGGER [SortingStamp_Update]");
    EXPECT_FALSE(vm::KeptSortingStamp(*d)) << "no stamp is trusted without all its triggers";
}

}  // namespace

