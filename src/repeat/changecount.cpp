#include "repeat/changecount.h"

#include <array>
#include <string>

namespace vm {
namespace {

struct Trigger {
    const char* name;
    const char* sql;
};
// One per kind of write; each row written counts once.
constexpr std::array<Trigger, 3> kTriggers{{
    {"RepeatChanges_Insert",
     "CREATE TRIGGER [RepeatChanges_Insert] AFTER INSERT ON [Velmora] "
     "BEGIN UPDATE [RepeatChanges] SET [Changes] = [Changes] + 1; END"},
    {"RepeatChanges_Update",
     "CREATE TRIGGER [RepeatChanges_Update] AFTER UPDATE ON [Velmora] "
     "BEGIN UPDATE [RepeatChanges] SET [Changes] = [Changes] + 1; END"},
    {"RepeatChanges_Delete",
     "CREATE TRIGGER [RepeatChanges_Delete] AFTER DELETE ON [Velmora] "
     "BEGIN UPDATE [RepeatChanges] SET [Changes] = [Changes] + 1; END"},
}};

// The stored text of a trigger on [Velmora], "" when there is none.
std::string TriggerSQL(db::Database& db, const char* name) {
    auto st = db.prepare(
        "SELECT [sql] FROM sqlite_master WHERE type = 'trigger' AND name = ? AND tbl_name = 'Velmora' COLLATE NOCASE");
    st.bind(1, db::Text(name));
    return st.step() ? db::AsText(st.column(0)) : std::string();
}

}  // namespace

ChangeCount ReadChangeCount(db::Database& db) noexcept {
    ChangeCount count;
    try {
        if (!db.hasTable(kRepeatChangesTable)) return count;
        for (const Trigger& t : kTriggers)
            if (TriggerSQL(db, t.name) != t.sql) return count;
        auto st = db.prepare("SELECT [Changes], [Seen] FROM [RepeatChanges]");
        if (!st.step() || db::IsNull(st.column(0))) return count;
        count.changes = db::AsInt(st.column(0));
        count.seen = db::IsNull(st.column(1)) ? -1 : db::AsInt(st.column(1));
        if (st.step()) return ChangeCount{};  // one row only
        count.watched = true;
    } catch (...) {
        return ChangeCount{};
    }
    return count;
}

ChangeCount WatchChanges(db::Database& db) noexcept {
    ChangeCount count = ReadChangeCount(db);
    if (count.watched) return count;
    try {
        db::Transaction tx(db);
        db.exec("DROP TABLE IF EXISTS [RepeatChanges]");
        db.exec("CREATE TABLE [RepeatChanges] ([Changes] INTEGER, [Seen] INTEGER)");
        db.exec("INSERT INTO [RepeatChanges] ([Changes], [Seen]) VALUES (0, NULL)");
        for (const Trigger& t : kTriggers) {
            db.exec(std::string("DROP TRIGGER IF EXISTS [") + t.name + "]");
            db.exec(t.sql);
        }
        tx.commit();
    } catch (...) {
        return ChangeCount{};
    }
    return ReadChangeCount(db);
}

void RecordChangesSeen(db::Database& db, int64_t seen) {
    auto st = db.prepare("UPDATE [RepeatChanges] SET [Seen] = ?");
    st.bind(1, db::Int(seen));
    st.run();
}

}  // namespace vm
