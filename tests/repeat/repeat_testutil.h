// Builders and checks shared by the repeat tests.
#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/copyrecords.h"
#include "core/dates.h"
#include "core/module1.h"
#include "core/record.h"
#include "repeat/expand.h"
#include "testsupport.h"

namespace vmtest {

inline vm::CivilDate D(int y, int m, int d) { return vm::CivilDate{y, m, d}; }

// A visible working-day record with the given rule.
inline vm::DateRecord Rec(vm::CivilDate date, std::string rule, int64_t duration, int64_t id = 1) {
    vm::DateRecord r;
    r.ID = id;
    r.Date = date;
    r.JulDate = vm::Date2Julian(date);
    r.Repeat = std::move(rule);
    r.Duration = duration;
    r.WorkDay = true;
    r.DateText = "Entry";
    r.DateType = "Event";
    return r;
}

inline vm::DateRecord Holiday(vm::CivilDate date, std::string rule, int64_t duration, int64_t id = 1) {
    vm::DateRecord r = Rec(date, std::move(rule), duration, id);
    r.WorkDay = false;
    r.DateType = "Holiday";
    return r;
}

// Runs the engine; every row it gives must name a real day whose key it carries.
inline vm::Expansion Expand(const std::vector<vm::DateRecord>& records, const vm::RepeatOptions& options = {}) {
    vm::Expansion e = vm::ExpandRepeats(records, options);
    for (const auto& row : e.rows) {
        EXPECT_TRUE(row.Date.valid()) << vm::FormatMDY(row.Date);
        EXPECT_EQ(vm::Date2Julian(row.Date), row.JulDate) << vm::FormatMDY(row.Date);
    }
    return e;
}

// The "M/D/YYYY" texts of the rows of one kind, in order.
inline std::vector<std::string> Days(const vm::Expansion& e, vm::RowKind kind = vm::RowKind::Occurrence) {
    std::vector<std::string> out;
    for (const auto& row : e.rows)
        if (row.kind == kind) out.push_back(vm::FormatMDY(row.Date));
    return out;
}

inline std::vector<std::string> Days(const std::vector<vm::DateRecord>& records, const vm::RepeatOptions& options = {},
                                     vm::RowKind kind = vm::RowKind::Occurrence) {
    return Days(Expand(records, options), kind);
}

using Strings = std::vector<std::string>;

// Stores records in a calendar file the way the entry window does; gives the
// last new ID.
inline int64_t AddRecords(const std::string& path, const std::vector<vm::DateRecord>& records) {
    vm::db::RecordSource rs;
    rs.setDatabaseName(path);
    rs.setRecordSource("Velmora");
    rs.refresh();
    for (const vm::DateRecord& r : records) {
        rs.addNew();
        vm::WriteDateRecord(rs, r);
        rs.update();
    }
    return rs.database().lastInsertId();
}

// Copies every record of the file, in ID order, as the copy panel does with
// only a new type given; the number copied.
inline int CopyAllRecords(const std::string& path, const std::string& newType) {
    vm::db::RecordSource listed;
    listed.setDatabaseName(path);
    listed.setRecordSource("SELECT * FROM [Velmora] ORDER BY [ID]");
    listed.refresh();
    vm::CopyRequest request;
    request.newType = newType;
    return vm::CopyListedRecords(listed.database(), listed, request).copied;
}

// A fresh calendar file, made the current one, with the message fake.
struct CalendarFile {
    CalendarFile() {
        vm::Module1.CalendarFilePath = path;
        vm::Module1.OptStartRepeatYear = "2019";
    }

    void Exec(const std::string& sql) { vm::db::Database::Open(path)->exec(sql); }

    // A table's whole content, ID aside, as a sorted list of rows.
    static Strings Dump(const std::string& file, const std::string& table) {
        auto st = vm::db::Database::Open(file)->prepare("SELECT * FROM [" + table + "] ORDER BY [ID]");
        Strings rows;
        while (st.step()) {
            std::string& line = rows.emplace_back();
            for (int i = 0; i < st.columnCount(); ++i) {
                if (st.columnName(i) == "ID") continue;
                const vm::db::Value v = st.column(i);
                line += st.columnName(i) + "=" + (vm::db::IsNull(v) ? "<null>" : vm::db::AsText(v)) + "|";
            }
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    Fixture fx;
    std::string path = FreshCalendar();
};

}  // namespace vmtest
