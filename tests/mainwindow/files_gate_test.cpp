// The one gate for calendar and settings files, on the real main window: a
// file that is not of its kind gives one box naming it, stays byte for byte
// as it was and gets nothing written into it at Exit; a read-only calendar is
// shown as it is.
#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

#include "core/files.h"
#include "core/settingsio.h"
#include "mainwindow/filecommands.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "startedwindow.h"

namespace fs = std::filesystem;
namespace db = vm::db;
using vm::Module1;

namespace {

class Gate : public ::testing::Test, public vmtest::StartedWindow {
protected:
    // File > Open, or the first recent file.
    void OpenBy(bool previous, const std::string& path) {
        if (!previous) return Open(path);
        vm::FileCommandsOf(*window)->LoadPrevFiles({path, "", "", ""});
        Action("mnuFile_Prev_1")->trigger();
    }
    // The day cells that mention `word`.
    int CellsWith(const QString& word) {
        int n = 0;
        for (auto* label : window->findChildren<QLabel*>())
            if (label->objectName().startsWith("lblDay_") && label->text().contains(word)) ++n;
        return n;
    }
};

// A SQLite file of someone else's, a text file and an empty file.
std::vector<std::pair<std::string, std::string>> ForeignFiles(const std::string& folder) {
    const std::string foreign = folder + "/Foreign.mdb";
    {
        auto d = db::Database::Create(foreign);
        d->exec("CREATE TABLE [Velmora] ([ID] INTEGER)");
        d->exec("CREATE TABLE [Other] ([Name] TEXT)");
    }
    vmtest::WriteAll(folder + "/Text.mdb", "Dear diary\n");
    vmtest::WriteAll(folder + "/Empty.mdb", "");
    return {{"foreign", foreign}, {"text", folder + "/Text.mdb"}, {"empty", folder + "/Empty.mdb"}};
}

TEST_F(Gate, ANonCalendarIsRefusedByOpenAndPreviousFileNeverWritten) {
    Start();
    const std::string inUse = Module1.CalendarFilePath;
    const std::string caption = Caption();
    const std::string folder = vmtest::MakeTempDir("velmora-foreign");
    auto files = ForeignFiles(folder);
    files.push_back({"settings", folder + "/Settings.mdb"});
    fs::copy_file(vm::BlankSettingsTemplate(), files.back().second);
    files.push_back({"no .mdb", folder + "/Calendar.db"});
    fs::copy_file(vm::BlankCalendarTemplate(), files.back().second);
    files.push_back({"missing", folder + "/Missing.mdb"});
    std::vector<std::string> bytes;
    for (const auto& [kind, path] : files) {
        bytes.push_back(vmtest::ReadAll(path));
        for (const bool previous : {false, true}) {
            if (previous && kind == "missing") continue;  // a notice, not a box
            fx.messages.clear();
            OpenBy(previous, path);
            ASSERT_EQ(Shown().size(), 1u) << kind << (previous ? " as a previous file" : "");
            EXPECT_NE(Shown()[0].text.find(path), std::string::npos) << kind << ": the box names the file";
            EXPECT_EQ(Module1.CalendarFilePath, inUse) << kind;
        }
    }
    EXPECT_EQ(Caption(), caption);
    fx.messages.clear();
    Stop();
    EXPECT_TRUE(Shown().empty()) << "no box at Exit";
    EXPECT_EQ(vm::ReadSettingsRow(vm::SettingsDatabasePath()).LastVelmoraFN, inUse);
    for (size_t k = 0; k < files.size(); ++k) {
        EXPECT_EQ(vmtest::ReadAll(files[k].second), bytes[k]) << files[k].first << " must stay byte for byte";
        EXPECT_FALSE(fs::exists(files[k].second + "-journal")) << files[k].first;
    }
}

// A blank template is never taken as the calendar, by File > Open, a recent
// file (a link to it included) or start-up: one sentence says to use New
// Calendar instead, and the template keeps every byte.
TEST_F(Gate, ABlankTemplateIsNeverOpenedAsTheCalendar) {
    // A program folder of its own, so nothing can reach the build's templates.
    const std::string shipped = vm::ProgramFolder();
    const std::string program = vmtest::MakeTempDir("velmora-program");
    for (const char* name : {"BlankVelmoras.mdb", "BlankVelmora_Settings.mdb"})
        fs::copy_file(shipped + "/" + name, program + "/" + name);
    for (const char* name : {"Graphics", "Sounds", "VelmoraHelp.pdf"})
        fs::create_symlink(shipped + "/" + name, program + "/" + name);
    setenv("VELMORA_PROGRAM_DIR", program.c_str(), 1);
    struct Restore {
        ~Restore() { unsetenv("VELMORA_PROGRAM_DIR"); }
    } restore;
    Start();
    const std::string inUse = Module1.CalendarFilePath;
    const std::string link = vmtest::MakeTempDir("velmora-link") + "/Mine.mdb";
    fs::create_symlink(vm::BlankCalendarTemplate(), link);
    const std::string templates[] = {vm::BlankCalendarTemplate(), vm::BlankSettingsTemplate(), link};
    const std::string bytes = vmtest::ReadAll(templates[0]), settingsBytes = vmtest::ReadAll(templates[1]);
    auto saysUseNewCalendar = [&](const std::string& what) {
        ASSERT_EQ(Shown().size(), 1u) << what;
        EXPECT_NE(Shown()[0].text.find("use File, New Calendar."), std::string::npos) << what << Shown()[0].text;
        EXPECT_EQ(Shown()[0].text.find('\n'), std::string::npos) << "one sentence";
    };
    for (const std::string& path : templates)
        for (const bool previous : {false, true}) {
            if (previous && path == templates[1]) continue;  // never listed as a recent file
            fx.messages.clear();
            OpenBy(previous, path);
            saysUseNewCalendar(path + (previous ? " as a previous file" : ""));
            EXPECT_EQ(Module1.CalendarFilePath, inUse);
        }
    Stop();
    db::Database::Open(vm::SettingsDatabasePath())
        ->prepare("UPDATE [Settings] SET [LastVelmoraFN] = ?")
        .bind(1, db::Text(vm::BlankCalendarTemplate()))
        .run();
    fx.messages.clear();
    Start();  // the last calendar is the template: the default one is used
    saysUseNewCalendar("at start-up");
    EXPECT_EQ(Module1.CalendarFilePath, inUse);
    Stop();
    EXPECT_EQ(vmtest::ReadAll(program + "/BlankVelmoras.mdb"), bytes);
    EXPECT_EQ(vmtest::ReadAll(program + "/BlankVelmora_Settings.mdb"), settingsBytes);
    EXPECT_FALSE(fs::exists(program + "/BlankVelmoras.mdb-journal"));
}

TEST_F(Gate, ADefaultCalendarThatIsNotOneGivesOneBoxAtStartAndNoneAtExit) {
    Start();
    Stop();
    const std::string calendar = dir + "/Velmoras.mdb";
    for (const auto& [kind, path] : ForeignFiles(vmtest::MakeTempDir("velmora-foreign"))) {
        fs::remove(calendar);
        fs::copy_file(path, calendar);
        const std::string bytes = vmtest::ReadAll(calendar);
        fx.messages.clear();
        Start();
        ASSERT_EQ(Shown().size(), 1u) << kind;
        EXPECT_NE(Shown()[0].text.find(calendar), std::string::npos) << kind;
        fx.messages.clear();
        Stop();
        EXPECT_TRUE(Shown().empty()) << kind;
        EXPECT_EQ(vmtest::ReadAll(calendar), bytes) << kind << " must stay byte for byte";
        EXPECT_FALSE(fs::exists(calendar + "-journal"));
    }
}

TEST_F(Gate, ADamagedSettingsDatabaseIsKeptAsideAndReplaced) {
    Start();
    Stop();
    const std::string settings = vm::SettingsDatabasePath();
    const struct {
        const char* kind;
        std::string bytes;
    } damaged[] = {{"garbage", std::string(4096, '\x5a')}, {"empty", ""}};
    for (const auto& d : damaged) {
        for (const auto& e : fs::directory_iterator(dir))
            if (e.path().filename().string().find(".damaged") != std::string::npos) fs::remove(e.path());
        vmtest::WriteAll(settings, d.bytes);
        fx.messages.clear();
        Start();
        ASSERT_EQ(Shown().size(), 1u) << d.kind;
        EXPECT_NE(Shown()[0].text.find(settings), std::string::npos) << d.kind;
        EXPECT_EQ(vmtest::ReadAll(dir + "/Velmora_Settings.damaged.mdb"), d.bytes) << d.kind;
        EXPECT_EQ(Module1.CalendarFilePath, dir + "/Velmoras.mdb") << d.kind << ": the fresh settings are read";
        Module1.OptStartRepeatYear = "2031";
        fx.messages.clear();
        Stop();
        EXPECT_TRUE(Shown().empty()) << d.kind;
        EXPECT_EQ(vm::ReadSettingsRow(settings).StartRepeatYear, "2031") << d.kind << ": the fresh one is saved into";
    }
}

// A settings database that lost a table of its own is no other file: the
// table is made again and the user's lists in it stay in use.
TEST_F(Gate, ASettingsDatabaseMissingATableKeepsEverythingElse) {
    Start();
    Stop();
    const std::string settings = vm::SettingsDatabasePath();
    for (const char* lost : {"AlarmSounds", "Settings"}) {
        {
            auto d = db::Database::Open(settings);
            d->exec("INSERT INTO [People] ([FirstName], [LastName]) VALUES ('Ada', 'Lovelace')");
            d->exec(std::string("DROP TABLE [") + lost + "]");
        }
        fx.messages.clear();
        Start();
        ASSERT_EQ(Shown().size(), 1u) << lost;
        EXPECT_NE(Shown()[0].text.find(std::string("[") + lost + "] was made again"), std::string::npos)
            << Shown()[0].text;
        EXPECT_FALSE(fs::exists(dir + "/Velmora_Settings.damaged.mdb")) << lost;
        auto d = db::Database::Open(settings);
        auto people = d->prepare("SELECT count(*) FROM [People] WHERE [LastName] = 'Lovelace'");
        ASSERT_TRUE(people.step());
        EXPECT_GE(db::AsInt(people.column(0)), 1) << lost;
        EXPECT_FALSE(vm::ReadSoundTable(settings)[30].empty()) << lost << ": the program's own sounds";
        Stop();
    }
}

// A settings database that cannot be made is said with its cause (here a
// folder in its place): the settings of the run are neither read nor saved.
TEST_F(Gate, ASettingsDatabaseThatCannotBeMadeIsSaid) {
    Start();
    Stop();
    const std::string settings = vm::SettingsDatabasePath();
    fs::remove(settings);
    fs::create_directory(settings);  // in the way of the copy
    fx.messages.clear();
    Start();
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown()[0].text, "The settings database \"" + settings + "\" is a folder, not a file, and is left as "
                               "it is.\r\nThe settings are not read now and not saved when the program ends.");
    Stop();
    EXPECT_TRUE(fs::is_directory(settings));
}

// A program folder of the test's own whose blank template `damaged` holds
// text; the rest is the build's.
std::string ProgramWithDamaged(const std::string& damaged) {
    const std::string shipped = vm::ProgramFolder();
    const std::string program = vmtest::MakeTempDir("velmora-program");
    for (const char* name : {"BlankVelmoras.mdb", "BlankVelmora_Settings.mdb"})
        if (name != damaged) fs::copy_file(shipped + "/" + name, program + "/" + name);
    vmtest::WriteAll(program + "/" + damaged, "not a database\n");
    for (const char* name : {"Graphics", "Sounds", "VelmoraHelp.pdf"})
        fs::create_symlink(shipped + "/" + name, program + "/" + name);
    setenv("VELMORA_PROGRAM_DIR", program.c_str(), 1);
    return program + "/" + damaged;
}

struct ProgramFolderBack {
    ~ProgramFolderBack() { unsetenv("VELMORA_PROGRAM_DIR"); }
};

// A damaged blank settings template is named and never copied: neither at a
// first start nor in place of a damaged settings database.
TEST_F(Gate, ADamagedSettingsTemplateIsSaidAndNeverCopied) {
    const ProgramFolderBack back;
    const std::string blank = ProgramWithDamaged("BlankVelmora_Settings.mdb");
    const std::string settings = vm::SettingsDatabasePath();
    const std::string said = "The program's blank template \"" + blank + "\" is damaged (it is not a Velmora "
                             "database file), so no new settings database was made from it.\r\nInstall Velmora "
                             "again to mend it.";
    Start();
    ASSERT_FALSE(Shown().empty());
    EXPECT_EQ(Shown()[0].text, "The settings database \"" + settings + "\" is not there.\r\n" + said +
                                   "\r\nThe settings are not read now and not saved when the program ends.");
    Stop();
    EXPECT_FALSE(fs::exists(settings));

    vmtest::WriteAll(settings, std::string(4096, 'z'));
    fx.messages.clear();
    Start();
    ASSERT_FALSE(Shown().empty());
    EXPECT_TRUE(Shown()[0].text.ends_with("is kept as \"" + dir + "/Velmora_Settings.damaged.mdb\".\r\n" + said))
        << Shown()[0].text;
    EXPECT_EQ(Shown()[0].text.find("a fresh settings database was made"), std::string::npos);
    Stop();
    EXPECT_FALSE(fs::exists(settings));
}

// New Calendar from a damaged blank template makes nothing and blames the
// template, not the new file; the calendar in use stays.
TEST_F(Gate, NewCalendarFromADamagedTemplateSaysSoAndMakesNothing) {
    Start();
    Stop();
    const ProgramFolderBack back;
    const std::string blank = ProgramWithDamaged("BlankVelmoras.mdb");
    fx.messages.clear();
    Start();
    ASSERT_TRUE(Shown().empty()) << Shown()[0].text;
    const std::string inUse = Module1.CalendarFilePath;
    const std::string chosen = vmtest::MakeTempDir("velmora-new") + "/New.mdb";
    fx.messages.fileAnswers.push_back(chosen);
    Action("mnuNew_Calendar_File")->trigger();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].title, "Cannot Create Calendar File");
    EXPECT_EQ(Shown()[0].text, "The program's blank template \"" + blank + "\" is damaged (it is not a Velmora "
                               "database file), so no new calendar file was made from it.\r\nInstall Velmora "
                               "again to mend it.");
    EXPECT_FALSE(fs::exists(chosen));
    EXPECT_EQ(Module1.CalendarFilePath, inUse);

    // A database of another program as the template: its copy is removed,
    // and the template, not the new file, is said.
    fs::remove(blank);
    db::Database::Create(blank)->exec("CREATE TABLE [Other] ([Name] TEXT)");
    fx.messages.clear();
    fx.messages.fileAnswers.push_back(chosen);
    Action("mnuNew_Calendar_File")->trigger();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].text.find("The program's blank template \"" + blank + "\" is damaged"), 0u)
        << Shown()[0].text;
    EXPECT_FALSE(fs::exists(chosen));
    EXPECT_EQ(Module1.CalendarFilePath, inUse);
    Stop();
}

// Another program holding the settings database locked has not damaged it:
// it is neither put aside nor replaced, and settings this run could not read
// are never written over it; a lock at Exit is said.
TEST_F(Gate, ASettingsDatabaseInUseIsNeitherReplacedNorWrittenOver) {
    Start();
    Module1.OptStartRepeatYear = "2031";
    Stop();
    const std::string settings = vm::SettingsDatabasePath();
    {
        auto other = db::Database::Open(settings);
        other->exec("BEGIN EXCLUSIVE");
        fx.messages.clear();
        Start();
        ASSERT_FALSE(Shown().empty());
        EXPECT_EQ(Shown()[0].title, "Settings Database");
        for (const auto& box : Shown())  // (the daily alarms cannot be read either)
            EXPECT_NE(box.text.find("in use by another program"), std::string::npos) << box.text;
        other->exec("ROLLBACK");
    }
    for (const auto& e : fs::directory_iterator(dir))
        EXPECT_EQ(e.path().filename().string().find(".damaged"), std::string::npos) << e.path();
    fx.messages.clear();
    Stop();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(vm::ReadSettingsRow(settings).StartRepeatYear, "2031") << "the unread settings kept";

    Start();
    Module1.OptStartRepeatYear = "2032";
    auto other = db::Database::Open(settings);
    other->exec("BEGIN EXCLUSIVE");
    fx.messages.clear();
    Stop();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].text.find("The settings of this run could not be saved."), std::string::npos);
    other->exec("ROLLBACK");
    EXPECT_EQ(vm::ReadSettingsRow(settings).StartRepeatYear, "2031");
}

TEST_F(Gate, AReadOnlyCalendarIsShownWithItsOccurrencesAndLeftAlone) {
    Start();
    const std::string path = vmtest::MakeTempDir("velmora-ro") + "/Party.mdb";
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    db::Database::Open(path)->exec(
        "INSERT INTO [Velmora] ([Date], [JulDate], [DateText], [Repeat], [Duration], [WorkDay], [Hide]) "
        "VALUES ('2026-12-10', 2026344, 'Gate Party', 'Daily', 3, -1, 0)");
    Open(path);  // writable: the occurrences are stored
    ASSERT_TRUE(Shown().empty());
    ASSERT_EQ(CellsWith("Gate Party"), 3);
    Stop();

    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string bytes = vmtest::ReadAll(path);
    Start();
    fx.messages.clear();
    Open(path);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].text.find("read-only"), std::string::npos);
    EXPECT_EQ(Module1.CalendarFilePath, path);
    EXPECT_EQ(CellsWith("Gate Party"), 3) << "the record and its stored occurrences";
    fx.messages.clear();
    Stop();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(vmtest::ReadAll(path), bytes);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(Gate, AFolderThatMayNotBeReadIsSaidSo) {
    if (geteuid() == 0) GTEST_SKIP() << "the superuser may read every folder";
    const std::string folder = vmtest::MakeTempDir("velmora-locked");
    const std::string path = folder + "/Locked.mdb";
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    fs::permissions(folder, fs::perms::owner_write);
    const std::string problem = vm::CalendarFileProblem(path);
    const bool denied = vm::PathDenied(path);
    fs::permissions(folder, fs::perms::owner_all);
    EXPECT_NE(problem.find("Permission"), std::string::npos) << problem;
    EXPECT_TRUE(denied);
}

}  // namespace
