// The one gate for calendar and settings files, on the real main window: a
// file that is not of its kind gives one box naming it, stays byte for byte
// as it was and gets nothing written into it at Exit; a read-only calendar is
// shown as it is.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>

#include <filesystem>
#include <memory>
#include <unistd.h>

#include "core/calendarfiles.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/record.h"
#include "core/settingsio.h"
#include "mainwindow/filecommands.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace fs = std::filesystem;
namespace db = vm::db;
using vm::Module1;

namespace {

class Gate : public ::testing::Test {
protected:
    Gate() {
        setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
        vm::SetClock(&clock);
        vm::SetSoundPlayer(&sound);
        vm::SetSpeech(&speech);
        vm::ResetCalendarFiles();
    }
    ~Gate() override {
        window.reset();
        vm::SetClock(nullptr);
        vm::SetSoundPlayer(nullptr);
        vm::SetSpeech(nullptr);
        vm::ResetCalendarFiles();
    }
    void Start() {
        window.reset();
        vm::ResetSharedState();
        window = std::make_unique<vm::frmVelmora>();
        window->unloadWaitMs = 0;
        window->Form_Load();
        vm::InstallFileCommands(*window);
    }
    void Stop() {
        window->Form_Unload();
        window.reset();
    }
    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }
    const std::vector<vm::FakeMessages::Shown>& Shown() { return fx.messages.shown; }
    // The texts of the day cells that mention `word`.
    int CellsWith(const QString& word) {
        int n = 0;
        for (auto* label : window->findChildren<QLabel*>())
            if (label->objectName().startsWith("lblDay_") && label->text().contains(word)) ++n;
        return n;
    }

    vmtest::Fixture fx;
    std::string dir = vmtest::MakeTempDir("velmora-gate") + "/Velmora";
    vm::FakeClock clock{{2026, 12, 6, 9, 0, 0}};
    vm::FakeSoundPlayer sound;
    vm::FakeSpeech speech;
    std::unique_ptr<vm::frmVelmora> window;
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

TEST_F(Gate, APreviousFileThatIsNotACalendarGivesOneBoxAndIsNeverUsed) {
    const std::string folder = vmtest::MakeTempDir("velmora-foreign");
    for (const auto& [kind, path] : ForeignFiles(folder)) {
        Start();
        const std::string inUse = Module1.CalendarFilePath;
        const std::string bytes = vmtest::ReadAll(path);
        vm::FileCommandsOf(*window)->LoadPrevFiles({path, "", "", ""});
        fx.messages.clear();
        Action("mnuFile_Prev_1")->trigger();
        ASSERT_EQ(Shown().size(), 1u) << kind;
        EXPECT_NE(Shown()[0].text.find(path), std::string::npos) << kind << ": the box names the file";
        EXPECT_EQ(Module1.CalendarFilePath, inUse) << kind;
        fx.messages.clear();
        Stop();
        EXPECT_TRUE(Shown().empty()) << kind << ": no box at Exit";
        EXPECT_EQ(vmtest::ReadAll(path), bytes) << kind;
        EXPECT_EQ(vm::ReadSettingsRow(vm::SettingsDatabasePath()).LastVelmoraFN, inUse) << kind;
    }
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

TEST_F(Gate, ADamagedSettingsDatabaseIsKeptAsideAndAFreshOneUsed) {
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

TEST_F(Gate, AReadOnlyCalendarIsShownWithItsOccurrencesAndLeftAlone) {
    Start();
    const std::string path = vmtest::MakeTempDir("velmora-ro") + "/Party.mdb";
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    {
        db::RecordSource rs;
        rs.setDatabaseName(path);
        rs.setRecordSource("Velmora");
        rs.refresh();
        rs.addNew();
        vm::DateRecord r;
        r.Date = {2026, 12, 10};
        r.DateText = "Gate Party";
        r.Repeat = "Daily";
        r.Duration = 3;
        r.WorkDay = true;
        vm::WriteDateRecord(rs, r);
        rs.update();
    }
    fx.messages.fileAnswers.push_back(path);
    Action("mnuFile_Open")->trigger();  // writable: the occurrences are stored
    ASSERT_TRUE(Shown().empty());
    ASSERT_EQ(CellsWith("Gate Party"), 3);
    Stop();

    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string bytes = vmtest::ReadAll(path);
    Start();
    fx.messages.clear();
    fx.messages.fileAnswers.push_back(path);
    Action("mnuFile_Open")->trigger();
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

TEST_F(Gate, ReadOnlySettingsAreReadAndNeverWritten) {
    Start();
    Module1.OptStartRepeatYear = "2027";
    Stop();
    const std::string settings = vm::SettingsDatabasePath();
    fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const std::string bytes = vmtest::ReadAll(settings);
    fx.messages.clear();
    Start();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].text.find(settings), std::string::npos);
    EXPECT_EQ(Module1.OptStartRepeatYear, "2027");
    Module1.OptStartRepeatYear = "2040";
    fx.messages.clear();
    Stop();
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(vmtest::ReadAll(settings), bytes);
    fs::permissions(settings, fs::perms::owner_read | fs::perms::owner_write);
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
