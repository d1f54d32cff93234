// Save As and New Calendar copy all or nothing: the copy runs in a child
// process that is killed with SIGKILL once a given number of bytes is written
// (the first piece, half the file, every byte but before the file has its
// name), and what is left under the new name is opened.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/calendarfiles.h"
#include "core/filegate.h"
#include "core/files.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace fs = std::filesystem;
namespace db = vm::db;

namespace {

// A calendar of some hundred kilobytes, so its copy takes several pieces.
std::string LargeCalendar() {
    const std::string path = vmtest::FreshCalendar();
    auto store = db::Database::Open(path);
    db::Transaction tx(*store);
    auto st = store->prepare(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText]) VALUES (0,'2026-02-14',2026045,?)");
    for (int i = 0; i < 3000; ++i) {
        st.bind(1, db::Text("Entry " + std::to_string(i) + " " + std::string(100, 'x')));
        st.run();
    }
    tx.commit();
    return path;
}

// The names in `folder` that begin with `prefix`, sorted.
std::vector<std::string> NamesStartingWith(const std::string& folder, const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(folder))
        if (const std::string n = e.path().filename().string(); n.rfind(prefix, 0) == 0) out.push_back(n);
    std::sort(out.begin(), out.end());
    return out;
}

int64_t Entries(const std::string& path) {
    auto st = db::Database::Open(path)->prepare("SELECT count(*) FROM [Velmora]");
    return st.step() ? db::AsInt(st.column(0)) : -1;
}

TEST(AllOrNothingCopy, ASaveAsKilledAtAnyPointLeavesNoFileOrTheWholeOne) {
    vmtest::Fixture fx;
    const std::string calendar = LargeCalendar();
    const std::string bytes = vmtest::ReadAll(calendar);
    const std::uintmax_t size = bytes.size();
    ASSERT_GT(size, 4u * 64 * 1024) << "several pieces";
    const std::string folder = vmtest::MakeTempDir("velmora-saveas"), copy = folder + "/Copy.mdb";
    // Names like a copy's temporary that are not one, a link among them.
    const std::vector<std::string> alike = {".Copy.mdb.velmora-part-abc", ".Copy.mdb.velmora-part-abcdefg",
                                            ".Copy.mdb.velmora-part-ab-def", ".Copy.mdb.velmora-part-Zz9Zz9",
                                            ".Copy2.mdb.velmora-part-abcdef", "Copy.mdb.velmora-part-abcdef",
                                            ".Copy.mdb.backup", ".Copy.mdb.202401"};
    for (const std::string& n : alike)
        if (n != ".Copy.mdb.velmora-part-Zz9Zz9") vmtest::WriteAll(folder + "/" + n, "kept " + n);
    vmtest::WriteAll(folder + "/Linked.txt", "kept");
    fs::create_symlink(folder + "/Linked.txt", folder + "/.Copy.mdb.velmora-part-Zz9Zz9");
    for (const std::uintmax_t stopAt : {std::uintmax_t{1}, size / 2, size}) {
        vmtest::RunCopyKilledAt(stopAt, [&] { vm::CopyCalendarNoOverwrite(calendar, copy); });
        EXPECT_FALSE(fs::exists(copy)) << "killed at " << stopAt << " of " << size;
        EXPECT_EQ(vmtest::ReadAll(calendar), bytes) << "the calendar in use stays whole";
        // Each copy begins by removing what the one killed before it left.
        std::vector<std::string> left = NamesStartingWith(folder, ".Copy.mdb.");
        std::erase_if(left, [&](const std::string& n) { return std::count(alike.begin(), alike.end(), n) > 0; });
        EXPECT_EQ(left.size(), 1u) << "killed at " << stopAt;
    }
    // A copy of another run still writing (it holds its temporary locked).
    const std::string running = folder + "/.Copy.mdb.velmora-part-Run123";
    vmtest::WriteAll(running, "running");
    const int held = open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    // A later copy is whole, opens as the calendar it copies and leaves no
    // temporary behind; the names that only look like one keep their files.
    vmtest::RunCopyKilledAt(0, [&] { vm::CopyCalendarNoOverwrite(calendar, copy); });
    close(held);
    ASSERT_TRUE(fs::exists(copy));
    for (const std::string& n : alike) {
        const std::string path = folder + "/" + n;
        EXPECT_TRUE(fs::exists(fs::symlink_status(path))) << n;
        EXPECT_EQ(vmtest::ReadAll(path), n == ".Copy.mdb.velmora-part-Zz9Zz9" ? "kept" : "kept " + n);
    }
    EXPECT_EQ(vmtest::ReadAll(running), "running");
    EXPECT_EQ(NamesStartingWith(folder, ".Copy.mdb.").size(), 7u) << "the look-alikes and the running copy's";
    EXPECT_EQ(vmtest::ReadAll(copy), bytes);
    EXPECT_EQ(vm::CheckCalendarFile(copy).use, vm::FileUse::Usable);
    EXPECT_EQ(Entries(copy), 3000);
    EXPECT_THROW(vm::CopyCalendarNoOverwrite(calendar, copy), vm::OpError) << "never over a file";
    EXPECT_EQ(vmtest::ReadAll(copy), bytes);
}

// What a Save As killed midway left is removed at the next start whatever
// the name it was saving to; look-alikes, links, other kinds of file and a
// copy still running keep theirs.
TEST(AllOrNothingCopy, WhatAKilledSaveAsLeftIsRemovedWhateverItsName) {
    vmtest::Fixture fx;
    const std::string calendar = LargeCalendar();
    const std::string folder = vmtest::MakeTempDir("velmora-left");
    vmtest::RunCopyKilledAt(vmtest::ReadAll(calendar).size() / 2,
                            [&] { vm::CopyCalendarNoOverwrite(calendar, folder + "/Copy3.mdb"); });
    ASSERT_EQ(NamesStartingWith(folder, ".Copy3.mdb.").size(), 1u);
    const std::vector<std::string> kept = {".notes.txt.velmora-part-abcdef", ".Copy4.mdb.velmora-part-abc",
                                           "Copy5.mdb.velmora-part-abcdef", ".mdb.velmora-part-abcdef",
                                           ".Velmoras.mdb.backup", ".Velmoras.mdb.202401"};
    for (const std::string& n : kept) vmtest::WriteAll(folder + "/" + n, "kept");
    vmtest::WriteAll(folder + "/Linked.txt", "kept");
    fs::create_symlink(folder + "/Linked.txt", folder + "/.Link.mdb.velmora-part-qwe123");
    const std::string running = folder + "/.Other.MDB.velmora-part-Run123";
    vmtest::WriteAll(running, "running");
    const int held = open(running.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    vmtest::WriteAll(folder + "/.Old.MDB.velmora-part-ab12CD", "left by a killed copy");

    vm::RemoveLeftoverDatabaseCopies(folder);
    close(held);
    EXPECT_TRUE(NamesStartingWith(folder, ".Copy3.mdb.").empty());
    EXPECT_FALSE(fs::exists(folder + "/.Old.MDB.velmora-part-ab12CD"));
    for (const std::string& n : kept) EXPECT_EQ(vmtest::ReadAll(folder + "/" + n), "kept") << n;
    EXPECT_TRUE(fs::is_symlink(folder + "/.Link.mdb.velmora-part-qwe123"));
    EXPECT_EQ(vmtest::ReadAll(folder + "/Linked.txt"), "kept");
    EXPECT_EQ(vmtest::ReadAll(running), "running");
}

TEST(AllOrNothingCopy, ANewCalendarKilledBeforeItsNameLeavesNoFile) {
    vmtest::Fixture fx;
    const std::string folder = vmtest::MakeTempDir("velmora-new");
    const std::string created = folder + "/New.mdb";
    vmtest::RunCopyKilledAt(1, [&] { vm::CopyFileNoOverwrite(vm::BlankCalendarTemplate(), created, true); });
    EXPECT_FALSE(fs::exists(created));
    vmtest::RunCopyKilledAt(0, [&] { vm::CopyFileNoOverwrite(vm::BlankCalendarTemplate(), created, true); });
    EXPECT_EQ(vmtest::ReadAll(created), vmtest::ReadAll(vm::BlankCalendarTemplate()));
    EXPECT_EQ(vm::CheckCalendarFile(created).use, vm::FileUse::Usable);
    EXPECT_EQ(Entries(created), 0);
}

// A calendar another program left in write-ahead-log mode, still open there
// with records in its log only: the copy holds them.
TEST(AllOrNothingCopy, ACalendarInLogModeIsCopiedWithTheRecordsInItsLog) {
    vmtest::Fixture fx;
    const std::string calendar = vmtest::FreshCalendar();
    const std::string copy = vmtest::MakeTempDir("velmora-wal") + "/Copy.mdb";
    auto other = db::Database::Open(calendar);
    other->exec("PRAGMA journal_mode = WAL");
    other->exec("PRAGMA wal_autocheckpoint = 0");
    other->exec("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText]) VALUES (0,'2026-12-15',2026349,'in the log')");
    ASSERT_GT(fs::file_size(calendar + "-wal"), 0u);
    vm::CopyCalendarNoOverwrite(calendar, copy);
    EXPECT_EQ(Entries(copy), 1);
    // A reader in the middle of the log keeps it from being emptied: no copy,
    // and a box that says why.
    const std::string second = fs::path(copy).replace_filename("Second.mdb").string();
    auto reader = db::Database::Open(calendar);
    reader->exec("BEGIN");
    reader->exec("SELECT count(*) FROM [Velmora]");
    other->exec("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText]) VALUES (0,'2026-12-16',2026350,'later')");
    EXPECT_THROW(vm::CopyCalendarNoOverwrite(calendar, second), vm::OpError);
    EXPECT_FALSE(fs::exists(second));
    reader->exec("COMMIT");
}

}  // namespace
