// The month kept beside [Sorting]: what makes it stale, and the rows read
// back as the month build stored them.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "core/sortedmonth.h"
#include "core/sorting.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

// Another program's write through plain SQLite.
void WriteElsewhere(const std::string& path, const std::string& sql) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &other, SQLITE_OPEN_READWRITE, nullptr), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(other, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(other);
    sqlite3_close(other);
}

std::vector<vm::SortingRow> SomeRows() {
    std::vector<vm::SortingRow> rows(4);
    const char* texts[] = {"Dentist", "Anniversary of a long name that needs the heap", "", "Tax"};
    for (size_t i = 0; i < rows.size(); ++i) {
        vm::SortingRow& r = rows[i];
        r.DayNo = static_cast<int>(7 - i);
        r.DayMsg = texts[i];
        r.Hour = i % 2 ? "05" : "12";
        r.Min = "7";
        r.AMPM = i % 2 ? "pm" : "AM";
        r.Alarm = i == 0 ? "15" : "";
        r.SoundNum = i == 1 ? db::Text("/sounds/bell.wav") : db::Int(static_cast<int64_t>(i));
        r.JulDate = db::Int(2026060 + static_cast<int64_t>(i));
        r.Date = db::Text("2026-03-0" + std::to_string(i + 1));
        r.Font = i == 2 ? "Arial, 12,True,False" : "";
        r.DayColors = i == 3 ? "255;0;255;0;3;3" : "";
        r.Priority = i == 3 ? db::Text("300") : db::Int(static_cast<int64_t>(i));
        r.TimeSort = vm::TimeSortText(r.Hour, r.Min, r.AMPM);
        r.Hr24 = vm::SortingHr24(r.Hour, r.AMPM);
    }
    vm::ArrangeForDisplay(rows);
    return rows;
}

TEST(SortedMonth, RowsReadBackForTheCellsAreTheRowsStored) {
    auto d = db::Database::Open(vmtest::FreshCalendar());
    const std::vector<vm::SortingRow> rows = SomeRows();
    vm::ReplaceSortingRows(*d, rows, vm::SortingFingerprint(*d, rows));
    std::vector<vm::SortingRow> back;
    ASSERT_TRUE(vm::ForEachSortingRowForCells(*d, [&](const vm::SortingRow& r) { back.push_back(r); }));
    ASSERT_EQ(back.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const vm::SortingRow &a = rows[i], &b = back[i];
        SCOPED_TRACE(a.DayMsg);
        EXPECT_EQ(std::tie(a.DayNo, a.Hour, a.Min, a.AMPM, a.DayMsg, a.Alarm, a.Font, a.DayColors),
                  std::tie(b.DayNo, b.Hour, b.Min, b.AMPM, b.DayMsg, b.Alarm, b.Font, b.DayColors));
        EXPECT_EQ(a.PriorityValue(), b.PriorityValue());
    }
    d->exec("ALTER TABLE [Sorting] DROP COLUMN [TimeSort]");
    EXPECT_FALSE(vm::ForEachSortingRowForCells(*d, [](const vm::SortingRow&) { FAIL(); }))
        << "a table of an older layout is not read back";
}

TEST(SortedMonth, AnyWriteToTheOccurrencesOrTheLayoutForgetsTheMonth) {
    const std::string path = vmtest::FreshCalendar();
    auto d = db::Database::Open(path);
    const std::vector<vm::SortingRow> rows = SomeRows();
    const uint64_t stamp = vm::SortingFingerprint(*d, rows);
    auto keep = [&](int64_t changes) {
        const auto month = vm::MonthNow(*d, changes, 2026060, 2026090, 0);
        if (!month) return std::optional<vm::SortedMonth>();
        vm::ReplaceSortingRows(*d, rows, stamp, &*month);
        return vm::MonthNow(*d, changes, 2026060, 2026090, 0);
    };
    EXPECT_FALSE(vm::KeptMonth(*d));
    auto month = keep(5);
    ASSERT_TRUE(month);
    EXPECT_EQ(vm::KeptMonth(*d), month) << "the month as the next build takes it";
    EXPECT_EQ(vm::KeptSortingStamp(*d), stamp);

    for (const char* sql : {"INSERT INTO [RepeatingData] ([JulDate], [DateText]) VALUES (2026061, 'x')",
                            "UPDATE [RepeatingData] SET [DateText] = 'y'", "DELETE FROM [RepeatingData]"}) {
        SCOPED_TRACE(sql);
        if (sql[0] != 'I') d->exec("INSERT INTO [RepeatingData] ([JulDate], [DateText]) VALUES (2026061, 'x')");
        EXPECT_EQ(vm::KeptMonth(*d), keep(5));
        WriteElsewhere(path, sql);
        EXPECT_FALSE(vm::KeptMonth(*d));
    }
    // A change to the tables' layout: the month taken before it no longer holds.
    month = keep(5);
    WriteElsewhere(path, "ALTER TABLE [Velmora] ADD COLUMN [Extra] TEXT");
    EXPECT_NE(vm::KeptMonth(*d), vm::MonthNow(*d, 5, 2026060, 2026090, 0));
    // ... nor is it kept when the layout changed while its rows were read.
    const auto before = vm::MonthNow(*d, 5, 2026060, 2026090, 0);
    WriteElsewhere(path, "ALTER TABLE [Velmora] ADD COLUMN [More] TEXT");
    vm::ReplaceSortingRows(*d, rows, stamp, &*before);
    EXPECT_FALSE(vm::KeptMonth(*d));
    // Rows stored without their month, or a stamp kept alone, keep none.
    keep(5);
    vm::ReplaceSortingRows(*d, rows, stamp);
    EXPECT_FALSE(vm::KeptMonth(*d));
    keep(5);
    vm::KeepSortingStamp(*d, stamp);
    EXPECT_FALSE(vm::KeptMonth(*d));
    // A trigger taken away: nothing is trusted.
    keep(5);
    d->exec("DROP TRIGGER [SortingSource_Update]");
    EXPECT_FALSE(vm::KeptMonth(*d));
    EXPECT_TRUE(keep(5)) << "the next month kept puts it back";
    EXPECT_EQ(vm::KeptMonth(*d), keep(5));
}

TEST(SortedMonth, ThePassesOwnWriteForgetsTheMonthAndLeavesTheWatchInPlace) {
    const std::string path = vmtest::FreshCalendar();
    auto d = db::Database::Open(path);
    const std::vector<vm::SortingRow> rows = SomeRows();
    const auto month = vm::MonthNow(*d, 1, 2026060, 2026090, 0);
    vm::ReplaceSortingRows(*d, rows, vm::SortingFingerprint(*d, rows), &*month);
    ASSERT_TRUE(vm::KeptMonth(*d));
    auto passWrite = [&] {
        db::Transaction tx(*d);
        vm::OccurrenceWriteBegins(*d);
        d->exec("INSERT INTO [RepeatingData] ([JulDate], [DateText]) VALUES (2026062, 'pass')");
        vm::OccurrenceWriteEnds(*d);
        tx.commit();
    };
    passWrite();
    EXPECT_FALSE(vm::KeptMonth(*d));
    const auto again = vm::MonthNow(*d, 1, 2026060, 2026090, 0);
    vm::ReplaceSortingRows(*d, rows, vm::SortingFingerprint(*d, rows), &*again);
    ASSERT_TRUE(vm::KeptMonth(*d));
    WriteElsewhere(path, "DELETE FROM [RepeatingData] WHERE [DateText] = 'pass'");
    EXPECT_FALSE(vm::KeptMonth(*d)) << "the triggers are back after the pass";
    // Another program took the table away and left its triggers: the pass
    // still writes, and leaves the occurrences writable for everyone.
    WriteElsewhere(path, "DROP TABLE [SortingSource]");
    passWrite();
    WriteElsewhere(path, "INSERT INTO [RepeatingData] ([JulDate], [DateText]) VALUES (2026063, 'other')");
    EXPECT_FALSE(vm::KeptMonth(*d));
}

}  // namespace
