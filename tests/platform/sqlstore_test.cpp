#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "platform/places.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

// A small store with range limits, and a record source over it.
struct People : ::testing::Test {
    std::string path = vmtest::MakeTempDir("velmora-db") + "/t.mdb";
    db::RecordSource rs;
    void SetUp() override {
        db::Database::Create(path)->exec(
            "CREATE TABLE [People] ([ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Name] TEXT COLLATE NOCASE, "
            "[Age] INTEGER CHECK([Age] BETWEEN 0 AND 255))");
        rs.setDatabaseName(path);
        rs.setRecordSource("People");
        rs.refresh();
    }
    void Add(const char* name, int age) {
        rs.addNew();
        rs.setField("Name", db::Text(name));
        rs.setField("Age", db::Int(age));
        rs.update();
    }
};

TEST(Database, OpeningNeverCreatesOrChangesAFile) {
    const std::string dir = vmtest::MakeTempDir("velmora-open");
    const std::string missing = dir + "/nothing.mdb";
    EXPECT_THROW(db::Database::Open(missing), db::DbError);
    EXPECT_FALSE(std::filesystem::exists(missing));

    struct Bad { const char* name; std::string bytes; };
    for (const Bad& b : {Bad{"empty.mdb", ""}, Bad{"text.mdb", "Standard Jet DB, or so it says\n"},
                         Bad{"short.mdb", std::string("SQLite format 3\0", 16)}}) {
        const std::string path = dir + "/" + b.name;
        vmtest::WriteAll(path, b.bytes);
        try {
            db::Database::Open(path);
            ADD_FAILURE() << b.name << " was opened";
        } catch (const db::DbError& e) {
            EXPECT_EQ(e.number(), db::kNotDatabase) << b.name;
            EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << "the message names the file";
        }
        EXPECT_EQ(vmtest::ReadAll(path), b.bytes) << b.name;
    }
}

// A large file is read through a memory map, a small one is not; what is
// read is the same either way, also after the file grew past the map.
TEST(Database, ALargeFileIsReadThroughAMapAndReadsTheSame) {
    const std::string path = vmtest::MakeTempDir("velmora-map") + "/big.mdb";
    db::Database::Create(path)->exec("CREATE TABLE [T] ([N] INTEGER, [Text] TEXT)");
    auto mapped = [&](db::Database& d) {
        auto st = d.prepare("PRAGMA mmap_size");
        return st.step() && db::AsInt(st.column(0)) > 0;
    };
    auto sum = [](db::Database& d) {
        auto st = d.prepare("SELECT count(*), sum([N]), sum(length([Text])) FROM [T]");
        st.step();
        return std::tuple(db::AsInt(st.column(0)), db::AsInt(st.column(1)), db::AsInt(st.column(2)));
    };
    auto fill = [&](db::Database& d, int from, int to) {
        d.exec("BEGIN");
        auto ins = d.prepare("INSERT INTO [T] VALUES (?, ?)");
        for (int i = from; i < to; ++i) {
            ins.bind(1, db::Int(i)).bind(2, db::Text(std::string(1000, char('a' + i % 26))));
            ins.run();
        }
        d.exec("COMMIT");
    };
    {
        auto small = db::Database::Open(path);
        EXPECT_FALSE(mapped(*small)) << "a small file is read as it is";
        fill(*small, 0, 12000);  // about 12 MB
    }
    auto big = db::Database::Open(path);
    if (!mapped(*big)) GTEST_SKIP() << "files in " << path << " are on a file system not read through a map";
    EXPECT_EQ(sum(*big), std::tuple(int64_t{12000}, int64_t{11999} * 12000 / 2, int64_t{12000} * 1000));
    fill(*big, 12000, 13000);  // written through the map's own connection
    auto other = db::Database::Open(path);
    fill(*other, 13000, 14000);  // and through another
    EXPECT_EQ(sum(*big), std::tuple(int64_t{14000}, int64_t{13999} * 14000 / 2, int64_t{14000} * 1000));
}

// A refused update and an update of a row deleted meanwhile both fail
// and write nothing back.
TEST_F(People, FailedUpdatesStoreNothing) {
    Add("Ann", 9);
    Add("Bob", 10);
    rs.moveFirst();
    rs.edit();
    rs.setField("Age", db::Int(999));
    EXPECT_THROW(rs.update(), db::DbError);
    rs.cancelUpdate();
    rs.refresh();
    EXPECT_EQ(db::AsInt(rs.field("Age")), 9);

    db::Database::Open(path)->exec("DELETE FROM [People] WHERE [Age] = 9");
    rs.edit();
    rs.setField("Age", db::Int(11));
    try {
        rs.update();
        ADD_FAILURE() << "an update of a deleted row reported success";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.number(), db::kRowDeleted);
    }
    EXPECT_EQ(rs.recordCount(), 1);
    auto st = db::Database::Open(path)->prepare("SELECT count(*), max([Age]) FROM [People]");
    st.step();
    EXPECT_EQ(db::AsInt(st.column(0)), 1) << "nothing was written back";
    EXPECT_EQ(db::AsInt(st.column(1)), 10);
}

}  // namespace
