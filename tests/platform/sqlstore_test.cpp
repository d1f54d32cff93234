#include <gtest/gtest.h>

#include <filesystem>

#include "platform/places.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

std::string NewDb(const std::string& schema) {
    const std::string path = vmtest::MakeTempDir("velmora-db") + "/t.mdb";
    auto d = db::Database::Create(path);
    d->exec(schema);
    return path;
}

const char* kPeople =
    "CREATE TABLE [People] ([ID] INTEGER PRIMARY KEY AUTOINCREMENT, [Name] TEXT COLLATE NOCASE, "
    "[Age] INTEGER CHECK([Age] BETWEEN 0 AND 255), [Nick] TEXT CHECK(length([Nick]) <= 5))";

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

TEST(Database, KeepsOneFileWithARollbackJournal) {
    auto d = db::Database::Open(NewDb(kPeople));
    auto st = d->prepare("PRAGMA journal_mode");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(db::AsText(st.column(0)), "delete");
}

TEST(Database, TypedTextOnlyEverTravelsAsAParameter) {
    auto d = db::Database::Open(NewDb(kPeople));
    auto ins = d->prepare("INSERT INTO [People] ([Name]) VALUES (?)");
    for (const char* name : {"O'Brien", "50%", "a_b", "x'); DROP TABLE [People]; --"}) ins.bind(1, db::Text(name)).run();
    auto count = d->prepare("SELECT count(*) FROM [People] WHERE [Name] = ?");
    count.bind(1, db::Text("o'brien"));  // text compares without regard to case
    ASSERT_TRUE(count.step());
    EXPECT_EQ(db::AsInt(count.column(0)), 1);
    EXPECT_TRUE(d->hasTable("People"));
}

TEST(Database, OutOfRangeValuesAreRefusedAndNeverStored) {
    auto d = db::Database::Open(NewDb(kPeople));
    EXPECT_THROW(d->prepare("INSERT INTO [People] ([Age]) VALUES (?)").bind(1, db::Int(256)).run(), db::DbError);
    EXPECT_THROW(d->prepare("INSERT INTO [People] ([Nick]) VALUES (?)").bind(1, db::Text("toolong")).run(), db::DbError);
    d->prepare("INSERT INTO [People] ([Age], [Nick]) VALUES (255, 'ok')").run();
    auto st = d->prepare("SELECT count(*) FROM [People]");
    st.step();
    EXPECT_EQ(db::AsInt(st.column(0)), 1);
}

TEST(Transaction, RollsBackUnlessCommitted) {
    auto d = db::Database::Open(NewDb(kPeople));
    try {
        db::Transaction tx(*d);
        d->exec("INSERT INTO [People] ([Name]) VALUES ('a')");
        throw std::runtime_error("fails half way");
    } catch (const std::runtime_error&) {
    }
    {
        db::Transaction tx(*d);
        d->exec("INSERT INTO [People] ([Name]) VALUES ('b')");
        tx.commit();
    }
    auto st = d->prepare("SELECT group_concat([Name]) FROM [People]");
    st.step();
    EXPECT_EQ(db::AsText(st.column(0)), "b");
}

TEST(RecordSource, BrowsesAddsEditsDeletesAndFinds) {
    const std::string path = NewDb(kPeople);
    db::RecordSource rs;
    rs.setDatabaseName(path);
    rs.setRecordSource("People");
    rs.refresh();
    EXPECT_TRUE(rs.bof());
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_THROW(rs.edit(), db::DbError);

    for (const char* n : {"Ann", "Bob", "Cy"}) {
        rs.addNew();
        rs.setField("Name", db::Text(n));
        rs.setField("Age", db::Int(30));
        rs.update();
    }
    EXPECT_EQ(rs.recordCount(), 3);
    rs.moveLast();
    EXPECT_EQ(db::AsText(rs.field("Name")), "Cy");
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    rs.moveFirst();
    rs.edit();
    rs.setField("Age", db::Int(31));
    EXPECT_EQ(db::AsInt(rs.field("Age")), 31);  // the edit buffer shows the change
    rs.update();

    ASSERT_TRUE(rs.findFirst(2));
    EXPECT_EQ(db::AsText(rs.field("name")), "Bob");  // field names ignore case
    rs.deleteRow();
    EXPECT_EQ(db::AsText(rs.field("Name")), "Cy");
    EXPECT_FALSE(rs.findFirst(2));

    // A SELECT with a condition is still editable and sees the stored changes.
    rs.setRecordSource("SELECT * FROM [People] WHERE [Age] > 30 ORDER BY [Name]");
    rs.refresh();
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(db::AsText(rs.field("Name")), "Ann");
    rs.edit();
    rs.setField("Name", db::Text("Anne"));
    rs.update();

    rs.setRecordSource("SELECT DISTINCT [Age] FROM [People]");
    rs.refresh();
    EXPECT_FALSE(rs.editable());
    EXPECT_THROW(rs.addNew(), db::DbError);
    EXPECT_THROW(rs.field("Nope"), db::DbError);

    rs.setRecordSource("People");
    rs.refresh();
    EXPECT_EQ(db::AsText(rs.field("Name")), "Anne");
}

TEST(RecordSource, AFailedUpdateKeepsTheStoredRow) {
    db::RecordSource rs;
    rs.setDatabaseName(NewDb(kPeople));
    rs.setRecordSource("People");
    rs.refresh();
    rs.addNew();
    rs.setField("Age", db::Int(9));
    rs.update();
    rs.edit();
    rs.setField("Age", db::Int(999));
    EXPECT_THROW(rs.update(), db::DbError);
    rs.cancelUpdate();
    rs.refresh();
    EXPECT_EQ(db::AsInt(rs.field("Age")), 9);
}

TEST(RecordSource, EditingARowDeletedMeanwhileFails) {
    db::RecordSource rs;
    const std::string path = NewDb(kPeople);
    rs.setDatabaseName(path);
    rs.setRecordSource("People");
    rs.refresh();
    for (int age : {9, 10}) {
        rs.addNew();
        rs.setField("Age", db::Int(age));
        rs.update();
    }
    rs.moveFirst();
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
    auto st = db::Database::Open(path)->prepare("SELECT count(*) FROM [People]");
    ASSERT_TRUE(st.step());
    EXPECT_EQ(db::AsInt(st.column(0)), 1) << "nothing was written back";
}

TEST(Values, ConvertTheWayFieldsAreRead) {
    EXPECT_EQ(db::AsText(db::Value{}), "");
    EXPECT_EQ(db::AsText(db::Int(-5)), "-5");
    EXPECT_EQ(db::AsInt(db::Value{2.5}), 2);
    EXPECT_EQ(db::AsInt(db::Value{}, 7), 7);
    EXPECT_TRUE(db::AsBool(db::Int(-1)));
    EXPECT_FALSE(db::AsBool(db::Int(0)));
    EXPECT_FALSE(db::AsBool(db::Value{}));
    EXPECT_TRUE(db::AsBool(db::Text("True")));
    EXPECT_EQ(db::AsInt(db::Bool(true)), -1);
}

}  // namespace
