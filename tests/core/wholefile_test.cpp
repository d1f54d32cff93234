// Files the user names that are no regular files (folders, named pipes,
// devices), refused before they are opened, and files replaced whole or not
// at all.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "core/writeguard.h"
#include "platform/places.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

// What is left in a folder beside `keep`: no temporary stays behind.
std::vector<std::string> Others(const std::string& folder, const std::string& keep) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        if (e.path().filename() != keep) names.push_back(e.path().filename().string());
    return names;
}

TEST(NotAFile, FoldersPipesAndDevicesAreRefusedForWritingAndReading) {
    vmtest::Fixture fx;
    const std::string dir = vmtest::MakeTempDir("velmora-special");
    const std::string pipe = dir + "/pipe.txt", folder = dir + "/folder.txt", device = dir + "/null.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(folder);
    fs::create_symlink("/dev/null", device);
    fs::create_symlink(pipe, dir + "/to pipe.txt");
    const std::pair<std::string, std::string> special[] = {
        {pipe, "a named pipe"}, {dir + "/to pipe.txt", "a named pipe"}, {folder, "a folder"}, {device, "a device"}};
    for (const auto& [path, kind] : special) {
        const std::string said = "\"" + path + "\" is not a regular file (it is " + kind + ")";
        EXPECT_EQ(vm::WriteOverProblem(path).rfind(said + " and cannot be written.", 0), 0u) << path;
        EXPECT_EQ(vm::ReadFromProblem(path).rfind(said + " and cannot be read.", 0), 0u) << path;
        fx.messages.clear();
        EXPECT_FALSE(vm::MayWriteFile(path, "Export"));
        EXPECT_FALSE(vm::MayReadFile(path, "Import"));
        ASSERT_EQ(fx.messages.shown.size(), 2u) << path;
        EXPECT_EQ(fx.messages.shown[1].title, "Import");
    }
    // A file, a file not there yet and a link to one not there yet pass.
    vmtest::WriteAll(dir + "/list.txt", "x");
    fs::create_symlink(dir + "/later.txt", dir + "/to later.txt");
    fx.messages.clear();
    for (const std::string& path : {dir + "/list.txt", dir + "/new.txt", dir + "/to later.txt"}) {
        EXPECT_TRUE(vm::MayWriteFile(path, "Export")) << path;
        EXPECT_TRUE(vm::MayReadFile(path, "Import")) << path;
    }
    EXPECT_TRUE(fx.messages.shown.empty());
}

TEST(WholeFileWriter, ReplacesOnlyOnceWhollyWrittenKeepingLinksAndModes) {
    const std::string dir = vmtest::MakeTempDir("velmora-whole");
    const std::string file = dir + "/list.txt", link = dir + "/link.txt";
    vmtest::WriteAll(file, "old list");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(file, link);
    {
        vm::WholeFileWriter w(link);
        ASSERT_TRUE(w.isOpen());
        EXPECT_TRUE(w.write("new "));
        EXPECT_TRUE(w.write(std::string(100000, 'n')));
        EXPECT_EQ(vmtest::ReadAll(file), "old list") << "nothing shows before the end";
        EXPECT_TRUE(w.commit());
    }
    EXPECT_EQ(vmtest::ReadAll(file), "new " + std::string(100000, 'n'));
    EXPECT_TRUE(fs::is_symlink(link)) << "the link still leads to the list";
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(Others(dir, "list.txt"), std::vector<std::string>{"link.txt"});
    fs::create_symlink("later.txt", dir + "/to later.txt");  // a file not there yet
    {
        vm::WholeFileWriter w(dir + "/to later.txt");
        EXPECT_TRUE(w.write("made"));
        EXPECT_TRUE(w.commit());
    }
    EXPECT_TRUE(fs::is_symlink(dir + "/to later.txt"));
    EXPECT_EQ(vmtest::ReadAll(dir + "/later.txt"), "made");
    const mode_t mask = ::umask(022);
    ::umask(mask);
    EXPECT_EQ(static_cast<mode_t>(fs::status(dir + "/later.txt").permissions() & fs::perms::all), 0666 & ~mask)
        << "a new file is made as any other under the process's mask";
    fs::remove(dir + "/to later.txt");
    fs::remove(dir + "/later.txt");

    // Dropped on the way, or the disk full: the old file stays, no temporary.
    vmtest::WriteAll(file, "old list");
    {
        vm::WholeFileWriter w(file);
        EXPECT_TRUE(w.write("half"));
    }
    {
        vmtest::DiskFullAfter full(1000);
        vm::WholeFileWriter w(file);
        w.write(std::string(70000, 'x'));  // past the first piece: written and refused
        EXPECT_FALSE(w.write("more"));
        EXPECT_FALSE(w.commit());
    }
    {
        vmtest::DiskFullAfter full(1000);
        vm::WholeFileWriter w(file);
        EXPECT_TRUE(w.write(std::string(2000, 'x')));  // kept back until the end
        EXPECT_FALSE(w.commit());
    }
    EXPECT_EQ(vmtest::ReadAll(file), "old list");
    EXPECT_EQ(Others(dir, "list.txt"), std::vector<std::string>{"link.txt"});
    {
        vm::WholeFileWriter w(dir + "/no such folder/list.txt");
        EXPECT_FALSE(w.isOpen());
        EXPECT_EQ(w.whyNotOpen(), "no file can be made in its folder");
    }

    // A pipe or a folder is never replaced by a file, whatever asked.
    const std::string pipe = dir + "/pipe.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    fs::create_directory(dir + "/folder.txt");
    for (const std::string& special : {pipe, dir + "/folder.txt"}) {
        vm::WholeFileWriter w(special);
        EXPECT_FALSE(w.isOpen()) << special;
        EXPECT_FALSE(w.commit()) << special;
        EXPECT_EQ(w.whyNotOpen(), special == pipe ? "it is a named pipe, not a file" : "it is a folder, not a file");
    }
    EXPECT_EQ(fs::status(pipe).type(), fs::file_type::fifo);
    EXPECT_TRUE(fs::is_directory(dir + "/folder.txt"));
}

}  // namespace
