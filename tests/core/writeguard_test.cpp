// The write check against the program's own folder: every file under it is
// refused however it is named (a link, a link to a file not there yet, a hard
// link, ".." parts), while files beside it, and a data folder kept inside it,
// follow their own rules.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "core/writeguard.h"
#include "platform/places.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

class ProgramFolderGuard : public ::testing::Test {
protected:
    vmtest::Fixture fx;
    std::string root = vmtest::MakeTempDir("velmora-guard");
    std::string program = root + "/Velmora";
    std::string elsewhere = root + "/Velmora Exports";  // shares the program folder's name as a prefix
    std::string savedProgram;

    void SetUp() override {
        if (const char* p = std::getenv("VELMORA_PROGRAM_DIR")) savedProgram = p;
        for (const char* sub : {"/Sounds", "/Graphics/Months", "/Graphics/Splash"}) fs::create_directories(program + sub);
        fs::create_directories(elsewhere);
        for (const char* file : {"/Sounds/Alarm01.wav", "/Graphics/Months/Jan.jpg", "/Graphics/Splash/Apr.jpg",
                                 "/velmora_mkmanual", "/VelmoraHelp.pdf"})
            vmtest::WriteAll(program + file, "shipped");
        setenv("VELMORA_PROGRAM_DIR", program.c_str(), 1);
    }
    void TearDown() override {
        if (savedProgram.empty())
            unsetenv("VELMORA_PROGRAM_DIR");
        else
            setenv("VELMORA_PROGRAM_DIR", savedProgram.c_str(), 1);
        std::error_code ec;
        fs::remove_all(root, ec);
    }
};

TEST_F(ProgramFolderGuard, EveryFileUnderItIsRefusedUnderAnyName) {
    fs::create_symlink(program + "/velmora_mkmanual", elsewhere + "/helper.txt");
    fs::create_symlink(program + "/Sounds/Alarm99.wav", elsewhere + "/dangling.txt");
    fs::create_symlink(elsewhere + "/helper.txt", elsewhere + "/chain.csv");
    fs::create_hard_link(program + "/Graphics/Months/Jan.jpg", elsewhere + "/hard.jpg");
    fs::create_symlink(program + "/Graphics", elsewhere + "/pictures");
    fs::create_symlink("../Sounds/Alarm02.wav", program + "/Graphics/next.wav");  // not there yet
    fs::create_symlink(elsewhere + "/pictures/next.wav", elsewhere + "/through.txt");
    const std::string refused[] = {
        program + "/Sounds/Alarm01.wav", program + "/Graphics/Months/Jan.jpg", program + "/Graphics/Splash/Apr.jpg",
        program + "/velmora_mkmanual",   program + "/VelmoraHelp.pdf",         program + "/New Export.txt",
        elsewhere + "/helper.txt",       elsewhere + "/dangling.txt",          elsewhere + "/chain.csv",
        elsewhere + "/hard.jpg",         elsewhere + "/pictures/Months/Jan.jpg", elsewhere + "/through.txt",
        elsewhere + "/../Velmora/Sounds/Alarm01.wav"};
    for (const std::string& path : refused) {
        fx.messages.clear();
        EXPECT_FALSE(vm::MayWriteFile(path, "Export")) << path;
        ASSERT_EQ(fx.messages.shown.size(), 1u) << path;
        EXPECT_NE(fx.messages.shown[0].text.find("one of the program's own files"), std::string::npos) << path;
        EXPECT_NE(fx.messages.shown[0].text.find(path), std::string::npos) << "the box names the file";
    }
    EXPECT_EQ(vmtest::ReadAll(program + "/velmora_mkmanual"), "shipped");
    EXPECT_FALSE(vm::FileExists(program + "/Sounds/Alarm99.wav"));

    fx.messages.clear();
    for (const std::string& path : {elsewhere + "/export.txt", root + "/Velmora.txt", elsewhere + "/copy.jpg"})
        EXPECT_EQ(vm::WriteOverProblem(path), "") << path;
    EXPECT_TRUE(fx.messages.shown.empty());
}

TEST_F(ProgramFolderGuard, ADataFolderInsideItKeepsItsOwnRules) {
    const std::string data = program + "/Data";
    fs::create_directories(data + "/Sounds");
    setenv("VELMORA_DATA_DIR", (program + "/Data").c_str(), 1);  // the fixture puts the old one back
    EXPECT_EQ(vm::WriteOverProblem(data + "/February.txt"), "");
    EXPECT_NE(vm::WriteOverProblem(data + "/Sounds/Alarm01.wav"), "") << "the data folder's own copies";
    EXPECT_NE(vm::WriteOverProblem(program + "/Sounds/Alarm01.wav"), "");
}

// A program run from the home folder itself does not refuse every file of
// the user's: only the files it has in use.
TEST_F(ProgramFolderGuard, AProgramInTheHomeFolderGuardsOnlyItsListedFiles) {
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    setenv("HOME", program.c_str(), 1);
    const std::string letter = vm::WriteOverProblem(program + "/Letter.txt");
    const std::string manual = vm::WriteOverProblem(program + "/VelmoraHelp.pdf");
    setenv("HOME", home.c_str(), 1);
    EXPECT_EQ(letter, "");
    EXPECT_NE(manual, "");
}

}  // namespace
