// One running copy per data folder: the folder's lock, taken by the first,
// refused to a second while the first runs, taken over from a copy killed
// before it could let go.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "platform/folderlock.h"
#include "testsupport.h"

namespace {

TEST(FolderLock, ASecondCopyIsRefusedWhileTheFirstRunsAndNotAfter) {
    const std::string dir = vmtest::MakeTempDir("velmora-lock") + "/Data folder";
    std::optional<vm::FolderLock> first(std::in_place, dir);
    EXPECT_FALSE(first->heldElsewhere());
    EXPECT_TRUE(std::filesystem::is_directory(dir)) << "made for the lock";
    EXPECT_TRUE(vm::FolderLock(dir).heldElsewhere());
    first.reset();
    EXPECT_FALSE(vm::FolderLock(dir).heldElsewhere());

    // A copy killed while it held the lock leaves it behind: the next takes it over.
    const pid_t child = fork();
    if (child == 0) {
        vm::FolderLock held(dir);
        _exit(held.heldElsewhere() ? 1 : 0);  // no let-go, as after a kill
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(std::filesystem::exists(dir + "/.velmora.lock"));
    EXPECT_FALSE(vm::FolderLock(dir).heldElsewhere());

    // A lock left behind that cannot be taken over (the folder may no longer
    // be written) is no copy running either.
    const pid_t again = fork();
    if (again == 0) {
        vm::FolderLock held(dir);
        _exit(held.heldElsewhere() ? 1 : 0);
    }
    ASSERT_EQ(waitpid(again, &status, 0), again);
    std::filesystem::create_directory(dir + "/.velmora.lock.rmlock");  // in the way of taking it over
    const vm::FolderLock left(dir);
    EXPECT_FALSE(left.heldElsewhere());
    EXPECT_EQ(left.path(), dir + "/.velmora.lock");
}

}  // namespace
