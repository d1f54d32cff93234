// Save As and New Calendar copy all or nothing: the copy runs in a child
// process that is killed with SIGKILL once a given number of bytes is written
// (the first piece, half the file, every byte but before the file has its
// name), and what is left under the new name is opened.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

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

// Runs `copy` in a child process, which stops once `stopAt` bytes are
// written and is killed there; 0 lets it finish. Returns once it is gone.
void RunCopyKilledAt(std::uintmax_t stopAt, const std::function<void()>& copy) {
    int pipefd[2];
    ASSERT_EQ(pipe(pipefd), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(pipefd[0]);
        vm::SetCopyPieceHook([&](std::uintmax_t written) {
            if (stopAt == 0 || written < stopAt) return;
            const char stopped = 's';
            if (write(pipefd[1], &stopped, 1) != 1) _exit(2);
            for (;;) pause();
        });
        try {
            copy();
        } catch (...) {
        }
        _exit(0);
    }
    close(pipefd[1]);
    char stopped = 0;
    const bool atStop = read(pipefd[0], &stopped, 1) == 1;  // nothing when the child finished
    close(pipefd[0]);
    if (atStop) kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(atStop, stopAt != 0) << "the copy stopped where it was told to";
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
    const std::string copy = vmtest::MakeTempDir("velmora-saveas") + "/Copy.mdb";
    for (const std::uintmax_t stopAt : {std::uintmax_t{1}, size / 2, size}) {
        RunCopyKilledAt(stopAt, [&] { vm::CopyCalendarNoOverwrite(calendar, copy); });
        EXPECT_FALSE(fs::exists(copy)) << "killed at " << stopAt << " of " << size;
        EXPECT_EQ(vmtest::ReadAll(calendar), bytes) << "the calendar in use stays whole";
    }
    // What the killed copies left under other names keeps nothing from a
    // later copy, which is whole and opens as the calendar it copies.
    RunCopyKilledAt(0, [&] { vm::CopyCalendarNoOverwrite(calendar, copy); });
    ASSERT_TRUE(fs::exists(copy));
    EXPECT_EQ(vmtest::ReadAll(copy), bytes);
    EXPECT_EQ(vm::CheckCalendarFile(copy).use, vm::FileUse::Usable);
    EXPECT_EQ(Entries(copy), 3000);
    EXPECT_THROW(vm::CopyCalendarNoOverwrite(calendar, copy), vm::OpError) << "never over a file";
    EXPECT_EQ(vmtest::ReadAll(copy), bytes);
}

TEST(AllOrNothingCopy, ANewCalendarKilledBeforeItsNameLeavesNoFile) {
    vmtest::Fixture fx;
    const std::string folder = vmtest::MakeTempDir("velmora-new");
    const std::string created = folder + "/New.mdb";
    RunCopyKilledAt(1, [&] { vm::CopyFileNoOverwrite(vm::BlankCalendarTemplate(), created, true); });
    EXPECT_FALSE(fs::exists(created));
    RunCopyKilledAt(0, [&] { vm::CopyFileNoOverwrite(vm::BlankCalendarTemplate(), created, true); });
    EXPECT_EQ(vmtest::ReadAll(created), vmtest::ReadAll(vm::BlankCalendarTemplate()));
    EXPECT_EQ(vm::CheckCalendarFile(created).use, vm::FileUse::Usable);
    EXPECT_EQ(Entries(created), 0);
}

}  // namespace
