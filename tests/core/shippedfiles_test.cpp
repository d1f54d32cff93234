// What the program ships into the data folder: the manual, the blank
// templates, the sounds and the month pictures, with a program folder of the
// test's own so that damaged shipped files can be had.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/files.h"
#include "core/monthpictures.h"
#include "core/soundfiles.h"
#include "core/splashlogic.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace {

const std::string kManual = "%PDF-1.4\nthis program's manual\n%%EOF\n";

struct Shipped : vmtest::Fixture {
    Shipped() {
        program = vmtest::MakeTempDir("velmora-program");
        data = vmtest::MakeTempDir("velmora-data") + "/Velmora";
        setenv("VELMORA_PROGRAM_DIR", program.c_str(), 1);
        setenv("VELMORA_DATA_DIR", data.c_str(), 1);
        fs::create_directories(data);
        vmtest::WriteAll(program + "/VelmoraHelp.pdf", kManual);
    }
    ~Shipped() { unsetenv("VELMORA_PROGRAM_DIR"); }
    // Files of some hundred kilobytes each in the program's `folder`.
    std::vector<std::string> Ship(const std::string& folder, const std::vector<std::string>& names) {
        fs::create_directories(program + "/" + folder);
        for (const std::string& name : names) vmtest::WriteAll(program + "/" + folder + "/" + name, std::string(200000, name[0]));
        return names;
    }
    // The names in the data folder's `folder` beginning with ".", sorted.
    std::vector<std::string> Hidden(const std::string& folder) const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(folder))
            if (e.path().filename().string().front() == '.') out.push_back(e.path().filename().string());
        return out;
    }
    std::string program, data;
};

TEST(ShippedManual, IsNeverWrittenThroughALinkOrIntoAnotherFilesBytes) {
    Shipped fx;
    const std::string copy = fx.data + "/VelmoraHelp.pdf";
    const std::string mine = fx.data + "/mine.txt";
    vmtest::WriteAll(mine, "the user's own text");
    fs::create_symlink(mine, copy);
    vm::EnsureManual();
    EXPECT_TRUE(fs::is_symlink(copy));
    EXPECT_EQ(vmtest::ReadAll(mine), "the user's own text");

    // A second name of another file: the old copy goes, the other file stays.
    fs::remove(copy);
    fs::create_hard_link(mine, copy);
    vm::EnsureManual();
    EXPECT_EQ(vmtest::ReadAll(copy), kManual);
    EXPECT_EQ(vmtest::ReadAll(mine), "the user's own text");
    EXPECT_TRUE(fx.Hidden(fx.data).empty()) << fx.Hidden(fx.data)[0];

    fs::remove(copy);
    fs::create_directory(copy);
    vm::EnsureManual();
    EXPECT_TRUE(fs::is_directory(copy));
}

TEST(ShippedManual, OneThatIsNoPdfNeverReplacesNorMakesACopy) {
    Shipped fx;
    const std::string copy = fx.data + "/VelmoraHelp.pdf";
    const std::string good = "%PDF-1.4\nan older manual\n";
    for (const std::string& damaged : {std::string(), std::string("not a manual at all")}) {
        vmtest::WriteAll(fx.program + "/VelmoraHelp.pdf", damaged);
        vmtest::WriteAll(copy, good);
        vm::EnsureManual();
        EXPECT_EQ(vmtest::ReadAll(copy), good) << damaged.size();
        fs::remove(copy);
        vm::EnsureManual();
        EXPECT_FALSE(fs::exists(copy)) << damaged.size();
    }
}

TEST(BlankTemplates, ADamagedOneIsNeverCopiedAndIsSaid) {
    Shipped fx;
    vmtest::WriteAll(vm::BlankCalendarTemplate(), "");
    vmtest::WriteAll(vm::BlankSettingsTemplate(), std::string(4096, 'x'));
    ASSERT_TRUE(vm::EnsureDataFolder());
    EXPECT_FALSE(fs::exists(vm::DefaultCalendarPath()));
    EXPECT_FALSE(fs::exists(vm::SettingsDatabasePath()));
    EXPECT_TRUE(fx.Hidden(fx.data).empty());
    ASSERT_EQ(fx.messages.shown.size(), 1u) << "the settings template is said where the settings are read";
    EXPECT_EQ(fx.messages.shown[0].text,
              "The program's blank template \"" + vm::BlankCalendarTemplate() +
                  "\" is damaged (it is not a Velmora database file), so no new calendar file was made from it."
                  "\r\nInstall Velmora again to mend it.");

    // One that starts as a database but is another program's: its copy goes
    // again, and the template is said.
    fs::remove(vm::BlankCalendarTemplate());
    vm::db::Database::Create(vm::BlankCalendarTemplate())->exec("CREATE TABLE [Other] ([Name] TEXT)");
    fx.messages.clear();
    ASSERT_TRUE(vm::EnsureDataFolder());
    EXPECT_FALSE(fs::exists(vm::DefaultCalendarPath()));
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text.rfind("The program's blank template", 0), 0u) << fx.messages.shown[0].text;

    // One cut short: it starts as a database, and the engine's check finds it.
    {
        const std::string whole = fx.data + "/whole.mdb";
        auto made = vm::db::Database::Create(whole);
        made->exec("CREATE TABLE [T] ([A] TEXT)");
        for (int i = 0; i < 200; ++i) made->exec("INSERT INTO [T] VALUES ('" + std::string(500, 'a' + i % 26) + "')");
        made.reset();
        EXPECT_FALSE(vm::BlankTemplateDamaged(whole));
        const std::string bytes = vmtest::ReadAll(whole);
        vmtest::WriteAll(whole, bytes.substr(0, bytes.size() / 2));
        EXPECT_TRUE(vm::BlankTemplateDamaged(whole));
        fs::remove(whole);
    }

    // A calendar already there needs no template: nothing is said.
    vmtest::WriteAll(vm::DefaultCalendarPath(), "the user's own");
    fx.messages.clear();
    ASSERT_TRUE(vm::EnsureDataFolder());
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_EQ(vm::CopyBlankTemplate(vm::BlankCalendarTemplate(), fx.data + "/New.mdb"), vm::TemplateCopy::TemplateDamaged);
    EXPECT_FALSE(fs::exists(fx.data + "/New.mdb"));
}

// A first start killed while it copies the sounds or the pictures leaves no
// folder that looks whole; the next start makes the whole one and clears
// what the stopped copy left.
TEST(ShippedFolders, AFirstCopyKilledMidwayIsWholeAtTheNextStart) {
    Shipped fx;
    const auto sounds = fx.Ship("Sounds", {"Alarm01.wav", "Bell.wav", "Chime.wav", "opensound.wav"});
    std::vector<std::string> pictures;
    for (int m = 1; m <= 12; ++m) pictures.push_back(vm::MonthPictureName(m));
    fx.Ship("Graphics/Months", pictures);
    struct Case {
        std::string folder;
        std::vector<std::string> names;
        std::function<int()> ensure;
    };
    for (const Case& c : {Case{"Sounds", sounds, vm::EnsureSoundFolder},
                          Case{"Graphics/Months", pictures, vm::EnsureMonthPictures}}) {
        const std::string target = fx.data + "/" + c.folder;
        const std::string parent = fs::path(target).parent_path().string();
        vmtest::RunCopyKilledAt(2 * 65536, [&] { c.ensure(); });  // midway through the first file
        EXPECT_FALSE(fs::exists(target)) << c.folder;
        EXPECT_FALSE(fx.Hidden(parent).empty()) << "what the stopped copies left";
        EXPECT_EQ(c.ensure(), static_cast<int>(c.names.size())) << c.folder;
        for (const std::string& name : c.names)
            EXPECT_EQ(vmtest::ReadAll(target + "/" + name), vmtest::ReadAll(fx.program + "/" + c.folder + "/" + name));
        EXPECT_TRUE(fx.Hidden(parent).empty()) << fx.Hidden(parent)[0];
        EXPECT_TRUE(fx.Hidden(target).empty());
        ASSERT_TRUE(fs::create_directory(fx.data + "/made"));
        EXPECT_EQ(fs::status(target).permissions(), fs::status(fx.data + "/made").permissions());
        fs::remove(fx.data + "/made");
        // A file the user removes from the whole folder stays removed.
        fs::remove(target + "/" + c.names[1]);
        EXPECT_EQ(c.ensure(), 0);
        EXPECT_FALSE(fs::exists(target + "/" + c.names[1]));
    }
}

// Earlier versions copied file by file into the folder: a copy of theirs cut
// short left the folder part full, with the hidden rest of the file it was
// copying. It is finished, and a folder without such a leftover is not.
TEST(ShippedFolders, ACopyFileByFileCutShortIsFinished) {
    Shipped fx;
    const auto sounds = fx.Ship("Sounds", {"Alarm01.wav", "Alarm02.wav", "Alarm03.wav"});
    fs::create_directories(fx.data + "/Sounds");
    fs::copy_file(fx.program + "/Sounds/Alarm01.wav", fx.data + "/Sounds/Alarm01.wav");
    vmtest::WriteAll(fx.data + "/Sounds/.Alarm02.wav.velmora-part-a1B2c3", "half of it");
    vmtest::WriteAll(fx.data + "/Sounds/.notes.txt.a1B2c3", "the user's own");
    EXPECT_EQ(vm::EnsureSoundFolder(), 2);
    for (const std::string& name : sounds) EXPECT_TRUE(vm::FileExists(fx.data + "/Sounds/" + name)) << name;
    EXPECT_EQ(fx.Hidden(fx.data + "/Sounds"), std::vector<std::string>{".notes.txt.a1B2c3"});
}

// A first start on a disk that fills up part-way (a small file goes, a large
// one does not) leaves no Sounds folder that looks whole: the next start,
// with room, makes it whole.
TEST(ShippedFolders, ACopyCutShortByAFullDiskIsMadeWholeNextTime) {
    Shipped fx;
    const auto sounds = fx.Ship("Sounds", {"Alarm01.wav", "Bell.wav"});
    vmtest::WriteAll(fx.program + "/Sounds/Chime.wav", "a short one");
    {
        const vmtest::DiskFullAfter full(64 * 1024);
        vm::EnsureSoundFolder();
    }
    EXPECT_FALSE(fs::exists(fx.data + "/Sounds"));
    EXPECT_EQ(vm::EnsureSoundFolder(), 3);
    for (const char* name : {"Alarm01.wav", "Bell.wav", "Chime.wav"})
        EXPECT_EQ(vmtest::ReadAll(fx.data + "/Sounds/" + name), vmtest::ReadAll(fx.program + "/Sounds/" + name));
}

// Only the head of the first line of SplashTextColor.txt is read, however
// large the file: this reads the bytes the process reads from files.
long BytesReadSoFar() {
    std::ifstream io("/proc/self/io");
    std::string key;
    long value = -1;
    while (io >> key >> value)
        if (key == "rchar:") return value;
    return -1;
}

TEST(SplashColourFile, OnlyItsHeadIsReadHoweverLargeItIs) {
    const std::string folder = vmtest::MakeTempDir("velmora-splash");
    {
        std::ofstream out(folder + "/SplashTextColor.txt", std::ios::binary);
        out << "222222222222";  // red every month, and no line end for 64 MB
    }
    fs::resize_file(folder + "/SplashTextColor.txt", 64u << 20);  // sparse: no room taken on the disk
    if (BytesReadSoFar() < 0) GTEST_SKIP() << "the system does not count the bytes read";
    const long before = BytesReadSoFar();
    std::string name = folder;
    int32_t colour = 0;
    vm::GetSplashPicture(name, colour, 7);
    const long read = BytesReadSoFar() - before;
    EXPECT_EQ(colour, 255);
    EXPECT_EQ(name, folder + "/Jul.jpg");
    ASSERT_LT(read, 1 << 20) << "no more than its head";

    // A named pipe in its place is never opened (that would wait for a writer).
    fs::remove(folder + "/SplashTextColor.txt");
    ASSERT_EQ(mkfifo((folder + "/SplashTextColor.txt").c_str(), 0600), 0);
    name = folder;
    colour = 255;
    vm::GetSplashPicture(name, colour, 7);
    EXPECT_EQ(colour, 0);
}

}  // namespace
