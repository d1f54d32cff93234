#include "core/sortedmonth.h"

#include <string>

#include "platform/sqltriggers.h"

namespace vm {
namespace {

constexpr const char* kTable = "SortingSource";
constexpr const char* kCreateTable =
    "CREATE TABLE IF NOT EXISTS [SortingSource] ([Changes] INTEGER, [Layout] INTEGER, [FirstKey] INTEGER, "
    "[LastKey] INTEGER, [FirstCell] INTEGER)";

// Any row of [RepeatingData] written by anyone but the pass forgets the month.
constexpr db::TriggerText kTriggers[] = {
    {"SortingSource_Insert",
     "CREATE TRIGGER [SortingSource_Insert] AFTER INSERT ON [RepeatingData] BEGIN DELETE FROM [SortingSource]; END"},
    {"SortingSource_Update",
     "CREATE TRIGGER [SortingSource_Update] AFTER UPDATE ON [RepeatingData] BEGIN DELETE FROM [SortingSource]; END"},
    {"SortingSource_Delete",
     "CREATE TRIGGER [SortingSource_Delete] AFTER DELETE ON [RepeatingData] BEGIN DELETE FROM [SortingSource]; END"},
};

}  // namespace

int64_t SchemaVersion(db::Database& db) {
    auto st = db.prepare("PRAGMA schema_version");
    return st.step() ? db::AsInt(st.column(0)) : -1;
}

std::optional<SortedMonth> MonthNow(db::Database& db, int64_t changes, int32_t firstKey, int32_t lastKey,
                                    int firstCell) noexcept {
    try {
        if (db.readOnly()) return std::nullopt;
        return SortedMonth{changes, SchemaVersion(db), firstKey, lastKey, firstCell};
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<SortedMonth> KeptMonth(db::Database& db) noexcept {
    try {
        if (db.readOnly() || !db.hasTable(kTable) || !db.hasTable("RepeatingData") ||
            !db::TriggersInPlace(db, "RepeatingData", kTriggers))
            return std::nullopt;
        auto st = db.prepare("SELECT [Changes], [Layout], [FirstKey], [LastKey], [FirstCell] FROM [SortingSource]");
        if (!st.step()) return std::nullopt;
        for (int i = 0; i < 5; ++i)
            if (db::IsNull(st.column(i))) return std::nullopt;
        SortedMonth m{db::AsInt(st.column(0)), db::AsInt(st.column(1)), static_cast<int32_t>(db::AsInt(st.column(2))),
                      static_cast<int32_t>(db::AsInt(st.column(3))), static_cast<int>(db::AsInt(st.column(4)))};
        if (st.step()) return std::nullopt;  // one row only
        return m;
    } catch (...) {
        return std::nullopt;
    }
}

void PutKeptMonth(db::Database& db, const SortedMonth& month, int64_t layoutAtStart) {
    if (db.readOnly() || !db.hasTable("RepeatingData")) return;
    db.exec(kCreateTable);
    db.exec("DELETE FROM [SortingSource]");
    if (month.layout != layoutAtStart) return;
    if (!db::TriggersInPlace(db, "RepeatingData", kTriggers)) db::MakeTriggers(db, kTriggers);
    auto put = db.prepare(
        "INSERT INTO [SortingSource] ([Changes], [Layout], [FirstKey], [LastKey], [FirstCell]) VALUES (?, ?, ?, ?, ?)");
    put.bind(1, db::Int(month.changes))
        .bind(2, db::Int(SchemaVersion(db)))  // after this transaction's own changes to the layout
        .bind(3, db::Int(month.firstKey))
        .bind(4, db::Int(month.lastKey))
        .bind(5, db::Int(month.firstCell));
    put.run();
}

void ForgetKeptMonth(db::Database& db) {
    if (!db.readOnly() && db.hasTable(kTable)) db.exec("DELETE FROM [SortingSource]");
}

void OccurrenceWriteBegins(db::Database& db) {
    db::DropTriggers(db, kTriggers);  // also when another program took the table away and left them
    if (db.hasTable(kTable)) db.exec("DELETE FROM [SortingSource]");
}

void OccurrenceWriteEnds(db::Database& db) {
    if (db.hasTable(kTable)) db::MakeTriggers(db, kTriggers);
}

}  // namespace vm
