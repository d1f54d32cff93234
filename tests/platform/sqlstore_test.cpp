#include <gtest/gtest.h>

#include <filesystem>

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

namespace {

// A connection that no longer serves its path, because the file was made
// writable again or replaced by another program, is opened again when the
// source is bound anew, or before a record it shows is edited.
TEST_F(People, AFileWritableAgainOrReplacedIsOpenedAgain) {
    namespace fs = std::filesystem;
    Add("Ann", 9);
    Add("Bob", 10);
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    db::RecordSource shown;  // opened while the file may only be read
    shown.setDatabaseName(path);
    shown.setRecordSource("People");
    shown.refresh();
    ASSERT_TRUE(shown.database().readOnly());
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
    shown.setDatabaseName(path);
    shown.refresh();
    EXPECT_FALSE(shown.database().readOnly());
    shown.addNew();
    shown.setField("Name", db::Text("Cid"));
    shown.update();

    // Replaced as a backup restore or a sync tool does: a copy renamed over it.
    const std::string copy = path + ".copy";
    fs::copy_file(path, copy);
    db::Database::Open(copy)->exec("UPDATE [People] SET [Age] = 20 WHERE [Name] = 'Bob'");
    rs.findFirst(2);
    fs::rename(copy, path);
    {  // never under a transaction still open on it
        db::Database* held = &rs.database();
        db::Transaction open(*held);
        rs.setDatabaseName(path);
        EXPECT_EQ(&rs.database(), held);
    }
    rs.reopenIfStale();
    ASSERT_FALSE(rs.eof());
    EXPECT_EQ(db::AsText(rs.field("Name")), "Bob") << "on the same record";
    EXPECT_EQ(db::AsInt(rs.field("Age")), 20) << "read from the file now there";
    rs.edit();
    rs.setField("Age", db::Int(21));
    rs.update();
    auto st = db::Database::Open(path)->prepare("SELECT [Age] FROM [People] WHERE [Name] = 'Bob'");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(db::AsInt(st.column(0)), 21);

    // Replaced by a file without the record shown: no record is current, so
    // nothing can be written over another one.
    const auto replaceWith = [&](const std::string& sql) {
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
        db::Database::Open(copy)->exec(sql);
        fs::rename(copy, path);
    };
    rs.findFirst(2);
    replaceWith("DELETE FROM [People] WHERE [Name] = 'Bob'");
    rs.reopenIfStale();
    EXPECT_TRUE(rs.eof());
    // Bound anew on the same path: what it lists is read from the file now there.
    replaceWith("INSERT INTO [People] ([Name], [Age]) VALUES ('Dee', 40)");
    rs.setDatabaseName(path);
    EXPECT_EQ(rs.recordCount(), 3) << "Ann, Cid and Dee";
    EXPECT_TRUE(rs.eof()) << "still no record current";
}

}  // namespace
