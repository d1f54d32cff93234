#include "calendars.h"

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vmbench {

std::vector<vm::DateRecord> TypicalCalendar(int n) {
    std::vector<vm::DateRecord> records;
    records.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        vm::DateRecord& r = records.emplace_back();
        r.Date = vm::AddDays(vm::CivilDate{2024, 1, 1}, i % 1100);
        r.JulDate = vm::Date2Julian(r.Date);
        r.DateText = "Entry " + std::to_string(i);
        r.Hour = 1 + i % 12;
        r.Minute = (i * 7) % 60;
        r.AM_PM = i % 2 ? "PM" : "AM";
        r.Hr24 = vm::Hr24Rule(r.Hour, r.AM_PM, std::nullopt);
        r.WorkDay = true;
        const int per = i * 1000 / n;  // per mille of the calendar
        if (per < 160) {
            r.Repeat = "Yearly";
            r.Duration = 20;
            r.DateType = "Birthday";
        } else if (per < 190) {
            r.Repeat = "Monthly";
            r.Duration = 24;
        } else if (per < 200) {
            r.Repeat = "Weekly";
            r.Duration = 52;
        }
    }
    return records;
}

std::vector<vm::DateRecord> HeavyCalendar(int n) {
    std::vector<vm::DateRecord> records;
    records.reserve(static_cast<size_t>(n));
    auto add = [&](vm::CivilDate date, const std::string& rule, int64_t duration) -> vm::DateRecord& {
        vm::DateRecord r;
        r.ID = static_cast<int64_t>(records.size()) + 1;
        r.Date = date;
        r.JulDate = vm::Date2Julian(date);
        r.Repeat = rule;
        r.Duration = duration;
        r.WorkDay = true;
        r.Hour = 9;
        r.AM_PM = "AM";
        r.DateText = "Entry " + std::to_string(r.ID);
        r.DateType = "Event";
        r.Font = "DejaVu Sans, 10,False,False";
        r.DayColors = "0;16777215;0;16777215;3;3";
        r.Hr24 = 9;
        records.push_back(r);
        return records.back();
    };
    auto day = [](int i, int firstYear, int years) {
        return vm::CivilDate{firstYear + i % years, 1 + i % 12, 1 + (i * 7) % 28};
    };
    // The mix of 5,000 records, scaled to n.
    auto count = [n](int per5000) { return per5000 * n / 5000; };
    for (int i = 0; i < count(1000); ++i) {  // birthdays, anniversaries and holidays
        vm::DateRecord& r = add(day(i, 1950, 70), "Yearly", 20);
        if (i % 10 == 0) {
            r.WorkDay = false;
            r.DateType = "Holiday";
        } else if (i % 3 == 0) {
            r.DateText += "'s Birthday";
        } else if (i % 50 == 1) {
            r.DateText += "'s Death";
        }
    }
    for (int i = 0; i < count(300); ++i) add(day(i, 2015, 10), "Monthly", 240);
    for (int i = 0; i < count(100); ++i) add(day(i, 2015, 10), "Weekly", 1040);
    for (int i = 0; i < count(50); ++i) add(day(i, 2015, 10), "WeekMask-ftttttf", 1040);
    for (int i = 0; i < count(50); ++i) add(day(i, 2018, 5), "Daily", 7300);
    for (int i = 0; i < count(100); ++i) add(day(i, 2018, 5), "MonthWeek-2-Tue", 24);
    for (int i = 0; i < count(100); ++i)
        add(day(i, 2000, 20), i % 2 ? "YearWeek-4-Thu-Nov" : "YearWeek-last-mon-may", 10);
    for (int i = 0; i < count(100); ++i) add(day(i, 2018, 5), "Every-14", 50);
    for (int i = 0; i < count(100); ++i) add(day(i, 2018, 5), "Quarterly", 20);
    for (int i = 0; i < count(50); ++i) add(day(i, 2018, 5), "MonthLastDay", 24);
    for (int i = 0; i < count(50); ++i) add(day(i, 2018, 5), "Hour-1", 10);
    while (static_cast<int>(records.size()) < n) add(day(static_cast<int>(records.size()), 2015, 10), "None", 1);
    return records;
}

vm::RepeatOptions HeavyOptions() {
    vm::RepeatOptions options;
    options.startYear = 2019;
    options.calcYearsSince = true;
    options.birthDateOf = [](const std::string&) { return std::optional<vm::CivilDate>(vm::CivilDate{1920, 5, 2}); };
    return options;
}

void AddRecords(const std::string& path, const std::vector<vm::DateRecord>& records) {
    vm::db::RecordSource rs;
    rs.setDatabaseName(path);
    rs.setRecordSource("Velmora");
    rs.refresh();
    vm::db::Transaction tx(rs.database());
    for (vm::DateRecord r : records) {
        r.ID = 0;
        rs.addNew();
        vm::WriteDateRecord(rs, r);
        rs.update();
    }
    tx.commit();
}

}  // namespace vmbench
