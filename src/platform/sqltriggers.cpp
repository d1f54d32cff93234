#include "platform/sqltriggers.h"

#include <string>

namespace vm::db {

bool TriggersInPlace(Database& db, const char* table, std::span<const TriggerText> triggers) {
    auto st = db.prepare(
        "SELECT [sql] FROM sqlite_master WHERE type = 'trigger' AND name = ? AND tbl_name = ? COLLATE NOCASE");
    for (const TriggerText& t : triggers) {
        st.bind(1, Text(t.name)).bind(2, Text(table));
        const bool same = st.step() && AsText(st.column(0)) == t.sql;
        st.reset();
        if (!same) return false;
    }
    return true;
}

void DropTriggers(Database& db, std::span<const TriggerText> triggers) {
    for (const TriggerText& t : triggers) db.exec(std::string("DROP TRIGGER IF EXISTS [") + t.name + "]");
}

void MakeTriggers(Database& db, std::span<const TriggerText> triggers) {
    DropTriggers(db, triggers);
    for (const TriggerText& t : triggers) db.exec(t.sql);
}

}  // namespace vm::db
