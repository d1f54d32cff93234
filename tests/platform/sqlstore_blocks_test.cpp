// A record source over a large result reads its rows in blocks when they are
// asked for: what it shows, edits, deletes and finds must be what a whole
// read gives. And FOLDHAS, the literal case-folded search over joined fields.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

class Blocks : public ::testing::Test {
protected:
    std::string path = vmtest::MakeTempDir("blocks") + "/t.db";
    std::shared_ptr<db::Database> store = db::Database::Create(path);
    static constexpr int kRows = 5000;

    void SetUp() override {
        store->exec("CREATE TABLE [T] ([ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Name] TEXT, [N] INTEGER, [D] TEXT)");
        db::Transaction tx(*store);
        auto st = store->prepare("INSERT INTO [T] ([Name],[N],[D]) VALUES (?,?,?)");
        for (int i = 0; i < kRows; ++i) {
            char d[16];
            std::snprintf(d, sizeof d, "2024-%02d-%02d", 1 + i % 12, 1 + (i * 7) % 28);
            st.bindAll({db::Text("row " + std::to_string(i)), db::Int((i * 37) % 1000), db::Text(d)});
            st.run();
        }
        tx.commit();
    }
    // Every row of a query as "ID|Name|N|D", read straight from the engine.
    std::vector<std::string> Direct(const std::string& sql) {
        std::vector<std::string> out;
        auto st = store->prepare(sql);
        while (st.step())
            out.push_back(db::AsText(st.column(0)) + "|" + db::AsText(st.column(1)) + "|" + db::AsText(st.column(2)) +
                          "|" + db::AsText(st.column(3)));
        return out;
    }
    static std::vector<std::string> Shown(const db::RecordSource& rs) {
        std::vector<std::string> out;
        for (int r = 0; r < rs.recordCount(); ++r)
            out.push_back(db::AsText(rs.valueAt(r, 0)) + "|" + db::AsText(rs.valueAt(r, 1)) + "|" +
                          db::AsText(rs.valueAt(r, 2)) + "|" + db::AsText(rs.valueAt(r, 3)));
        return out;
    }
};

TEST_F(Blocks, ALargeSortedResultShowsEditsDeletesAndFindsAsAWholeRead) {
    const std::string sql = "SELECT * FROM [T] WHERE [N] >= ? ORDER BY [D] DESC, [ID]";
    db::RecordSource rs;
    rs.setDatabaseName(path);
    rs.setRecordSource(sql);
    rs.setParameters({db::Int(100)});
    rs.refresh();
    const std::vector<std::string> expected = Direct("SELECT * FROM [T] WHERE [N] >= 100 ORDER BY [D] DESC, [ID]");
    ASSERT_GT(expected.size(), 2000u);
    // Read from the middle first, then everything.
    EXPECT_EQ("row " + std::to_string(db::AsInt(rs.valueAt(3000, 0)) - 1), db::AsText(rs.valueAt(3000, 1)));
    EXPECT_EQ(db::AsText(rs.valueAt(3000, 0)), expected[3000].substr(0, expected[3000].find('|')));
    EXPECT_EQ(Shown(rs), expected);

    ASSERT_TRUE(rs.findFirst(4321));
    EXPECT_EQ(db::AsText(rs.field("Name")), "row 4320");
    rs.edit();
    rs.setField("Name", db::Text("edited"));
    rs.update();
    EXPECT_EQ(db::AsText(rs.field("Name")), "edited");
    const int at = rs.absolutePosition();
    rs.deleteRow();
    EXPECT_EQ(rs.recordCount(), static_cast<int>(expected.size()) - 1);
    EXPECT_EQ(Direct("SELECT * FROM [T] WHERE [ID] = 4321"), std::vector<std::string>{});
    EXPECT_EQ(db::AsText(rs.valueAt(at, 0)), expected[size_t(at) + 1].substr(0, expected[size_t(at) + 1].find('|')));

    // A row another program deleted meanwhile leaves the set at its update;
    // the rows after it keep their own keys.
    EXPECT_EQ(Shown(rs).size(), expected.size() - 1);
    rs.setAbsolutePosition(10);
    store->exec("DELETE FROM [T] WHERE [ID] = " + db::AsText(rs.valueAt(10, 0)));
    rs.edit();
    rs.setField("Name", db::Text("never stored"));
    EXPECT_THROW(rs.update(), db::DbError);
    EXPECT_EQ(Shown(rs), Direct("SELECT * FROM [T] WHERE [N] >= 100 ORDER BY [D] DESC, [ID]"));

    rs.addNew();
    rs.setField("Name", db::Text("added"));
    rs.update();
    EXPECT_EQ(db::AsText(rs.valueAt(rs.recordCount() - 1, 1)), "added");
    rs.setRecordSource("SELECT DISTINCT [N] FROM [T]");
    rs.refresh();
    EXPECT_THROW(rs.addNew(), db::DbError) << "a result that names no row is read-only";
}

TEST_F(Blocks, FoldHasJoinsTheFieldsAndTakesTheTextLiterally) {
    store->exec("CREATE TABLE [S] ([A] TEXT, [B] TEXT)");
    store->exec("INSERT INTO [S] VALUES ('Café Été', NULL), ('a_b', 'x'), ('axb', 'END'), ('one', 'two'), "
                "('ABC[XYZ]@`{ LONGER TEXT', NULL)");
    auto count = [&](const std::string& needle) {
        auto st = store->prepare("SELECT COUNT(*) FROM [S] WHERE FOLDHAS(?, [A], [B]) = 1");
        st.bind(1, db::Text(needle));
        st.step();
        return db::AsInt(st.column(0));
    };
    struct Case { const char* needle; int64_t rows; } cases[] = {{"CAFÉ", 1}, {"_", 1}, {"ONE TWO ", 1}, {" x ", 1},
                 {"abc[xyz]@`{ longer", 1}, {"abc{xyz", 0}, {"nothing", 0}};
    for (const Case& c : cases) EXPECT_EQ(count(c.needle), c.rows) << c.needle;
}

}  // namespace
