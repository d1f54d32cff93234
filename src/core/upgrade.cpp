#include "core/upgrade.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <memory>

#include "core/files.h"
#include "core/module1.h"
#include "core/record.h"
#include "core/schema.h"
#include "platform/asciicase.h"
#include "platform/places.h"
#include "platform/steps.h"

namespace vm {
namespace {

// The old engine's "no such table" code: a table the upgrade needs is missing.
constexpr int kNoTable = -2147217865;

struct AlterStep {
    const char* table;
    bool add;  // false: drop
    const char* column;
};

// The columns of the tables an upgrade looks at, read once per table: the
// steps ask about the same few tables over and over, on every start.
class TableColumns {
public:
    explicit TableColumns(db::Database& db) : db_(db) {}
    // Empty when the table is missing (a table has at least one column).
    const std::vector<std::string>& of(const std::string& table) {
        auto known = tables_.find(table);
        if (known == tables_.end()) known = tables_.emplace(table, db_.columns(table)).first;
        return known->second;
    }
    void forget(const std::string& table) { tables_.erase(table); }

private:
    db::Database& db_;
    std::map<std::string, std::vector<std::string>> tables_;
};

bool HasColumn(const std::vector<std::string>& cols, const std::string& column) {
    return std::any_of(cols.begin(), cols.end(), [&](const std::string& c) {
        return EqualsNoCase(c, column);
    });
}

// Runs one layout change unless the file already has it. True when it changed
// the file. A missing table ends the upgrade.
bool ApplyAlter(db::Database& db, TableColumns& tables, const std::vector<TableDef>& layout, const AlterStep& s) {
    const std::vector<std::string>& present = tables.of(s.table);
    if (present.empty()) throw db::DbError(kNoTable, std::string("The table [") + s.table + "] is missing.");
    if (s.add == HasColumn(present, s.column)) return false;  // already there / already gone
    tables.forget(s.table);
    if (s.add) {
        const auto& cols = FindTable(layout, s.table).columns;
        const auto it = std::find_if(cols.begin(), cols.end(), [&](const ColumnDef& c) { return c.name == s.column; });
        db.exec(std::string("ALTER TABLE [") + s.table + "] ADD COLUMN " + ColumnDecl(*it));
    } else {
        db.exec(std::string("ALTER TABLE [") + s.table + "] DROP COLUMN [" + s.column + "]");
    }
    return true;
}

// Files made before alarm lists could grow past 255 characters declare
// [Alarm] with a length CHECK. Dropping a CHECK changes nothing stored, so
// only the table's declaration is rewritten, in one transaction (SQLite's
// documented way to remove a constraint); the other CHECKs stay. True when it
// changed the file.
bool DropAlarmLengthCheck(db::Database& db, const std::string& table) {
    static const std::string kCheck = " CHECK(length([Alarm]) <= 255)";
    std::string sql;
    {
        auto st = db.prepare("SELECT [sql] FROM sqlite_master WHERE [type] = 'table' AND [name] = ?");
        st.bind(1, db::Text(table));
        if (!st.step()) return false;
        sql = db::AsText(st.column(0));
    }
    const size_t at = sql.find(kCheck);
    if (at == std::string::npos) return false;
    sql.erase(at, kCheck.size());
    int64_t version = 0;
    {
        auto st = db.prepare("PRAGMA schema_version");
        if (st.step()) version = db::AsInt(st.column(0));
    }
    db::Transaction tx(db);
    db.exec("PRAGMA writable_schema = ON");
    auto put = db.prepare("UPDATE sqlite_master SET [sql] = ? WHERE [type] = 'table' AND [name] = ?");
    put.bind(1, db::Text(sql)).bind(2, db::Text(table)).run();
    db.exec("PRAGMA schema_version = " + std::to_string(version + 1));
    db.exec("PRAGMA writable_schema = OFF");
    tx.commit();
    return true;
}

OnError UpgradePolicy(int number) {
    // A missing table or an object that is not there ends the upgrade quietly.
    if (number == kNoTable || number == 91) return OnError::End;
    return OnError::Message;
}

void BackFillDayColors(db::RecordSource& src, const std::string& path, Operation& op) {
    src.setDatabaseName(path);
    for (const char* table : {"Velmora", "RepeatingData"}) {
        op.step(5, [&] {
            src.setRecordSource(std::string("SELECT * FROM [") + table + "]");
            src.refresh();
            db::Transaction tx(src.database());
            for (src.moveFirst(); !src.eof(); src.moveNext()) {
                if (!db::AsText(src.field("DayColors")).empty()) continue;
                const std::string fg = db::AsText(src.field("FGColor"));
                const std::string bg = db::AsText(src.field("BGColor"));
                src.edit();
                src.setField("DayColors", db::Text(fg + ";" + bg + ";" + fg + ";" + bg + ";3;3"));
                src.update();
            }
            tx.commit();
        });
        if (op.ended()) return;
    }
}

}  // namespace

int Hr24FromAmPm(int hour, const std::string& ampm, int current) {
    return Hr24Rule(hour, ampm, current).value_or(current);
}

void UpdateVelmoraFile(const std::string& path, db::RecordSource& DataDates) {
    if (!FileExists(path) || db::IsReadOnlyFile(path)) return;  // a read-only file is used as it is
    static const AlterStep steps[] = {
        {"Sorting", true, "Hr24"},          {"RepeatingData", true, "Hr24"},     {"Velmora", true, "Hr24"},
        {"Sorting", true, "Priority"},      {"RepeatingData", true, "Priority"}, {"Velmora", true, "Priority"},
        {"Sorting", false, "UseColor"},     {"RepeatingData", false, "UseColor"}, {"Velmora", false, "UseColor"},
        {"Velmora", true, "DayColors"},     {"RepeatingData", true, "DayColors"}, {"Sorting", true, "DayColors"},
    };
    Operation op("UpdateVelmoraFile_Error");
    op.onError(UpgradePolicy);
    std::shared_ptr<db::Database> conn;
    if (!op.step(1, [&] { conn = OpenStore(path, DbKind::Calendar); }) || !conn) return;

    bool dayColorsAdded = false;
    TableColumns tables(*conn);
    for (size_t i = 0; i < std::size(steps); ++i) {
        bool changed = false;
        if (!op.step(2, [&] { changed = ApplyAlter(*conn, tables, CalendarTables(), steps[i]); })) return;
        if (i == 2 && changed) MainState.Hr24Added = true;
        if (i >= 9 && i <= 10 && changed) dayColorsAdded = true;
    }
    for (const char* table : {"Velmora", "RepeatingData", "Sorting"})
        if (!op.step(3, [&] { DropAlarmLengthCheck(*conn, table); })) return;
    // The date types are listed from this index rather than by reading every
    // record; a file that cannot take it now is read without it.
    try {
        conn->exec(kDateTypeIndexSql);
    } catch (const db::DbError&) {
    }
    conn.reset();  // close the upgrade's own connection before the rows change
    if (dayColorsAdded) BackFillDayColors(DataDates, path, op);
}

void Table24Update(db::RecordSource& DataDates, const std::string& table, const std::string& ampmColumn) {
    Operation op("Table24Update_Error");
    std::unique_ptr<db::Transaction> tx;
    if (!op.step(1, [&] {
            DataDates.setRecordSource("SELECT * FROM [" + table + "]");
            DataDates.refresh();
            tx = std::make_unique<db::Transaction>(DataDates.database());
        }))
        return;
    for (DataDates.moveFirst(); !DataDates.eof(); DataDates.moveNext()) {
        const bool go = op.step(2, [&] {
            const db::Value ampm = DataDates.field(ampmColumn);
            if (db::IsNull(ampm)) return;
            const int hour = static_cast<int>(db::AsInt(DataDates.field("Hour")));
            const db::Value old = DataDates.field("Hr24");
            const int hr24 = Hr24FromAmPm(hour, db::AsText(ampm), db::IsNull(old) ? -1 : static_cast<int>(db::AsInt(old)));
            if (hr24 < 0 || (!db::IsNull(old) && hr24 == db::AsInt(old))) return;
            DataDates.edit();
            DataDates.setField("Hr24", db::Int(hr24));
            DataDates.update();
        });
        if (!go) break;
    }
    if (tx) op.step(3, [&] { tx->commit(); });
}

void Table24UpdateAll(db::RecordSource& DataDates) {
    try {
        DataDates.setDatabaseName(Module1.CalendarFilePath);
    } catch (...) {
    }
    Table24Update(DataDates, "Velmora", "AM_PM");
    Table24Update(DataDates, "Sorting", "AMPM");
    Table24Update(DataDates, "RepeatingData", "AM_PM");
}

void UpdateSettingsFile() {
    const std::string path = SettingsDatabasePath();
    if (!FileExists(path) || db::IsReadOnlyFile(path)) return;
    static const AlterStep steps[] = {
        {"Settings", true, "Prev1"},          {"Settings", true, "Prev2"},
        {"Settings", true, "Prev3"},          {"Settings", true, "Prev4"},
        {"Settings", true, "StartRepeatYear"}, {"Settings", true, "StartUpSound"},
        {"Settings", true, "CalcYearsSince"}, {"Settings", true, "Voice"},
    };
    Operation op("UpdateSettingsFile_Error");
    op.onError(UpgradePolicy);
    std::shared_ptr<db::Database> conn;
    if (!op.step(1, [&] { conn = OpenStore(path, DbKind::Settings); }) || !conn) return;
    TableColumns tables(*conn);
    for (const auto& s : steps)
        if (!op.step(2, [&] { ApplyAlter(*conn, tables, SettingsTables(), s); })) return;
}

}  // namespace vm
