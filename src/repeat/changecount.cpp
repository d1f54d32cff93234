#include "repeat/changecount.h"

#include "platform/sqltriggers.h"

namespace vm {
namespace {

// One per kind of write; each row written counts once.
constexpr db::TriggerText kTriggers[] = {
    {"RepeatChanges_Insert",
     "CREATE TRIGGER [RepeatChanges_Insert] AFTER INSERT ON [Velmora] "
     "BEGIN UPDATE [RepeatChanges] SET [Changes] = [Changes] + 1; END"},
    {"RepeatChanges_Update",
     "CREATE TRIGGER [RepeatChanges_Update] AFTER UPDATE ON [Velmora] "
     "BEGIN UPDATE [RepeatChanges] SET [Changes] = [Changes] + 1; END"},
    {"RepeatChanges_Delete",
     "CREATE TRIGGER [RepeatChanges_Delete] AFTER DELETE ON [Velmora] "
     "BEGIN UPDATE [RepeatChanges] SET [Changes] = [Changes] + 1; END"},
};

}  // namespace

ChangeCount ReadChangeCount(db::Database& db) noexcept {
    ChangeCount count;
    try {
        if (!db.hasTable(kRepeatChangesTable)) return count;
        if (!db::TriggersInPlace(db, "Velmora", kTriggers)) return count;
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
        db::MakeTriggers(db, kTriggers);
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
