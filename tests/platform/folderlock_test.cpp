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

// A power cut right after a start can leave the lock file empty or half
// written, or naming a program that now runs as another: no copy holds it,
// so the next start takes it, and a second copy is then refused.
TEST(FolderLock, ALockFileNoCopyHoldsIsTakenWhateverItHolds) {
    const std::string dir = vmtest::MakeTempDir("velmora-lock");
    const std::string lock = dir + "/.velmora.lock";
    for (const std::string& left : {std::string(), std::string("\x01\xffgarbled"), std::to_string(getpid()) + "\n",
                                    std::string("1\nanother-host\nvelmora\n")}) {
        vmtest::WriteAll(lock, left);
        std::optional<vm::FolderLock> first(std::in_place, dir);
        EXPECT_FALSE(first->heldElsewhere()) << left.size();
        EXPECT_EQ(first->problem(), "");
        EXPECT_TRUE(vm::FolderLock(dir).heldElsewhere()) << left.size();
    }
}

// What is in the lock file's place is never written: a link leads to a file
// of the user's, which keeps its bytes; a folder is said, and no copy is
// taken as running.
TEST(FolderLock, ALinkOrAFolderInItsPlaceIsLeftAsItIs) {
    const std::string dir = vmtest::MakeTempDir("velmora-lock");
    const std::string lock = dir + "/.velmora.lock";
    vmtest::WriteAll(dir + "/notes.txt", "the user's own");
    std::filesystem::create_symlink(dir + "/notes.txt", lock);
    {
        const vm::FolderLock first(dir);
        EXPECT_FALSE(first.heldElsewhere());
        EXPECT_TRUE(vm::FolderLock(dir).heldElsewhere());
    }
    EXPECT_EQ(vmtest::ReadAll(dir + "/notes.txt"), "the user's own");
    EXPECT_TRUE(std::filesystem::is_symlink(lock));

    std::filesystem::remove(lock);
    std::filesystem::create_directory(lock);
    const vm::FolderLock blocked(dir);
    EXPECT_FALSE(blocked.heldElsewhere());
    EXPECT_EQ(blocked.problem(), "\"" + lock + "\" is a folder, not a file, so Velmora cannot make sure that no "
                                 "other copy uses the data folder at the same time.");
    EXPECT_TRUE(std::filesystem::is_directory(lock));
}

}  // namespace
