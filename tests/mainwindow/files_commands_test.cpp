// File > Open, Save As, New Calendar and the recent files, on the real main
// window, headless, with the file dialog answered by the message fake.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

#include <filesystem>
#include <memory>

#include "core/appearance.h"
#include "core/calendarfiles.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/schema.h"
#include "mainwindow/filecommands.h"
#include "mainwindow/frmvelmora.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace fs = std::filesystem;
namespace db = vm::db;

namespace {

// The main window after start-up with a fresh data folder, and its File commands.
struct Window {
    vmtest::Fixture fx;
    std::string data = vmtest::MakeTempDir("velmora-files") + "/Velmora";
    std::unique_ptr<vm::frmVelmora> w;
    vm::FileCommands* cmds = nullptr;

    Window() {
        setenv("VELMORA_DATA_DIR", data.c_str(), 1);
        vm::ResetCalendarFiles();
        w = std::make_unique<vm::frmVelmora>();
        w->Form_Load();
        cmds = vm::InstallFileCommands(*w);
    }
    ~Window() {
        w.reset();
        vm::ResetCalendarFiles();
    }
    QAction* item(const char* name) const { return w->findChild<QAction*>(name); }
    void open(const std::string& path) {
        fx.messages.fileAnswers.push_back(path);
        item("mnuFile_Open")->trigger();
    }
    std::string caption() const { return w->windowTitle().toStdString(); }
    // A calendar file of the current layout in a folder of its own.
    std::string calendar(const std::string& name) const {
        const std::string p = vmtest::MakeTempDir("velmora-cal") + "/" + name;
        fs::copy_file(vm::BlankCalendarTemplate(), p);
        return p;
    }
    std::vector<std::string> shownPrev() const {
        std::vector<std::string> out;
        for (int n = 1; n <= 5; ++n) {
            QAction* a = item(("mnuFile_Prev_" + std::to_string(n)).c_str());
            if (a->isVisible()) out.push_back(a->text().toStdString());
        }
        return out;
    }
};

// The status bar's fourth panel (or its message area on a window without panels).
std::string Notice(const Window& win) {
    if (auto* panel = win.w->findChild<QLabel*>("StatusBar1_Panel4")) return panel->text().toStdString();
    return win.w->statusBar()->currentMessage().toStdString();
}

int64_t Count(const std::string& path, const std::string& sql) {
    auto d = db::Database::Open(path);
    auto st = d->prepare(sql);
    return st.step() ? db::AsInt(st.column(0)) : -1;
}

TEST(FileMenu, CommandsStandInTheFileMenuInOrder) {
    Window win;
    QStringList names;
    for (QAction* a : win.w->mnuFile->actions()) names << a->objectName();
    ASSERT_GE(names.size(), 11);
    EXPECT_EQ(names.mid(0, 4), QStringList({"mnuFile_Open", "mnuFile_SaveAs", "mnuNew_Calendar_File", "mnuSepr"}));
    EXPECT_EQ(names.mid(names.size() - 7), QStringList({"mnuFile_Sepr3", "mnuFile_Prev_1", "mnuFile_Prev_2",
                                                        "mnuFile_Prev_3", "mnuFile_Prev_4", "mnuFile_Prev_5",
                                                        "mnuFile_Exit"}));
    EXPECT_EQ(win.item("mnuNew_Calendar_File")->text(), "New Calendar");
    EXPECT_TRUE(win.shownPrev().empty());
    EXPECT_EQ(vm::InstallFileCommands(*win.w), win.cmds) << "installed once";
}

TEST(FileOpen, AnythingButACalendarFileIsRefusedAndLeftUntouched) {
    Window win;
    const std::string dir = vmtest::MakeTempDir("velmora-bad");
    const std::string text = dir + "/notes.txt", textMdb = dir + "/notes.mdb", empty = dir + "/empty.mdb",
                      foreign = dir + "/foreign.mdb", settings = dir + "/settings.mdb";
    vmtest::WriteAll(text, "Dear diary\n");
    vmtest::WriteAll(textMdb, "Dear diary\n");
    vmtest::WriteAll(empty, "");
    { db::Database::Create(foreign)->exec("CREATE TABLE [Velmora] ([ID] INTEGER)"); }
    fs::copy_file(vm::BlankSettingsTemplate(), settings);
    const std::string before = vm::Module1.CalendarFilePath;
    const std::string caption = win.caption();

    for (const std::string& bad : {text, textMdb, empty, foreign, settings, dir + "/missing.mdb"}) {
        const std::string bytes = vmtest::ReadAll(bad);
        win.fx.messages.shown.clear();
        win.open(bad);
        ASSERT_EQ(win.fx.messages.shown.size(), 1u) << bad;
        EXPECT_NE(win.fx.messages.shown[0].text.find(bad), std::string::npos) << "the box names the file";
        EXPECT_EQ(win.fx.messages.shown[0].title, "MDB Files Only");
        EXPECT_EQ(win.fx.messages.shown[0].icon, vm::MsgIcon::Critical);
        EXPECT_EQ(vmtest::ReadAll(bad), bytes) << bad << " must stay byte for byte";
        EXPECT_FALSE(fs::exists(bad + "-journal"));
        EXPECT_EQ(vm::Module1.CalendarFilePath, before);
    }
    EXPECT_EQ(win.caption(), caption);
    EXPECT_TRUE(win.shownPrev().empty());
    EXPECT_EQ(vm::CalendarFiles.pOpenExistFile, dir + "/missing.mdb");

    const auto& req = win.fx.messages.dialogs.back();
    EXPECT_FALSE(req.save);
    EXPECT_EQ(req.title, "Open Calendar Date Data");
    EXPECT_EQ(req.initialDir, win.data);
    EXPECT_EQ(req.filter, "Calendar File  *.MDB|*.mdb;*.MDB");

    // Cancel: nothing happens.
    win.fx.messages.shown.clear();
    win.item("mnuFile_Open")->trigger();
    EXPECT_TRUE(win.fx.messages.shown.empty());
    EXPECT_EQ(vm::CalendarFiles.pOpenExistFile, "");
}

TEST(FileOpen, ACalendarFileIsOpenedListedAndShown) {
    Window win;
    const std::string upper = win.calendar("Work.MDB");
    {  // January of this file has red day text.
        auto d = db::Database::Open(upper);
        d->exec("UPDATE [Backgrounds] SET [DayFG] = 255 WHERE rowid = (SELECT min(rowid) FROM [Backgrounds])");
    }
    win.open(upper);
    EXPECT_TRUE(win.fx.messages.shown.empty());
    EXPECT_EQ(vm::Module1.CalendarFilePath, upper);
    EXPECT_EQ(vm::CalendarFiles.OpenDialogFolder, vm::FolderOf(upper));
    EXPECT_EQ(win.caption(), vm::CalendarCaption(upper));
    EXPECT_EQ(win.caption().substr(win.caption().size() - 8), "Work.MDB");
    EXPECT_EQ(vm::MainState.Month[1].DayFG, 255);
    EXPECT_EQ(win.w->DataDates.databaseName(), upper) << "the window reads the opened file";
    EXPECT_EQ(win.shownPrev(), std::vector<std::string>{"1 - Work.MDB"});

    // The next dialog starts in the folder of the file opened.
    const std::string home = win.calendar("Home.mdb");
    win.open(home);
    EXPECT_EQ(win.fx.messages.dialogs.back().initialDir, vm::FolderOf(upper));
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - Home.mdb", "2 - Work.MDB"}));
    win.open(upper);
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - Work.MDB", "2 - Home.mdb"}));
}

// A calendar file of an older layout: [Hr24] missing everywhere.
std::string OlderCalendar() {
    const std::string path = vmtest::MakeTempDir("velmora-older") + "/Older.mdb";
    fs::copy_file(vm::BlankCalendarTemplate(), path);
    auto d = db::Database::Open(path);
    for (const char* t : {"Velmora", "RepeatingData", "Sorting"}) d->exec(std::string("ALTER TABLE [") + t + "] DROP COLUMN [Hr24]");
    d->exec("INSERT INTO [Velmora] ([Hour], [Minute], [AM_PM], [DateText]) VALUES (3, 0, 'PM', 'x'), (12, 0, 'AM', 'y')");
    return path;
}

TEST(FileOpen, AnOlderFileGetsItsHourColumnFilled) {
    Window win;
    ASSERT_FALSE(vm::MainState.Hr24Added);
    const std::string older = OlderCalendar();
    win.open(older);
    EXPECT_TRUE(win.fx.messages.shown.empty()) << win.fx.messages.shown[0].text;
    EXPECT_EQ(vm::Module1.CalendarFilePath, older);
    EXPECT_TRUE(vm::MainState.Hr24Added);
    EXPECT_EQ(Count(older, "SELECT [Hr24] FROM [Velmora] WHERE [Hour] = 3"), 15);
    EXPECT_EQ(Count(older, "SELECT [Hr24] FROM [Velmora] WHERE [Hour] = 12"), 0);
}

TEST(FileSaveAs, CopiesTheCalendarAndSwitchesToTheCopy) {
    Window win;
    const std::string original = vm::Module1.CalendarFilePath;
    win.w->DataDates.setDatabaseName(original);
    win.w->DataDates.setRecordSource("Velmora");
    win.w->DataDates.refresh();
    win.w->DataDates.addNew();
    win.w->DataDates.setField("DateText", db::Text("written just now"));
    win.w->DataDates.update();

    const std::string dir = vmtest::MakeTempDir("velmora-saveas");
    win.fx.messages.fileAnswers.push_back(dir + "/Copy");  // typed without a suffix
    win.item("mnuFile_SaveAs")->trigger();
    const auto& req = win.fx.messages.dialogs.back();
    EXPECT_TRUE(req.save);
    EXPECT_EQ(req.title, "Save As Calendar File");
    EXPECT_EQ(req.defaultSuffix, ".mdb");
    EXPECT_EQ(req.initialDir, win.data);
    EXPECT_EQ(req.filter, "Calendar File     *.mdb|*.mdb;*.MDB");

    const std::string copy = dir + "/Copy.mdb";
    EXPECT_TRUE(win.fx.messages.shown.empty());
    EXPECT_EQ(vm::Module1.CalendarFilePath, copy);
    EXPECT_EQ(Count(copy, "SELECT count(*) FROM [Velmora] WHERE [DateText] = 'written just now'"), 1);
    EXPECT_EQ(win.caption(), vm::CalendarCaption(copy));
    EXPECT_EQ(win.w->DataDates.databaseName(), copy);
    EXPECT_TRUE(win.shownPrev().empty()) << "Save As leaves the recent files alone";
}

TEST(FileSaveAs, AnExistingFileIsNeverWrittenOver) {
    Window win;
    const std::string inUse = vm::Module1.CalendarFilePath;
    const std::string caption = win.caption();
    const std::string dir = vmtest::MakeTempDir("velmora-taken");
    const std::string taken = dir + "/Taken.mdb";
    vmtest::WriteAll(taken, "somebody's file");
    for (const std::string& target : {taken, inUse}) {
        const std::string bytes = vmtest::ReadAll(target);
        win.fx.messages.shown.clear();
        win.fx.messages.fileAnswers.push_back(target);
        win.item("mnuFile_SaveAs")->trigger();
        ASSERT_EQ(win.fx.messages.shown.size(), 1u);
        EXPECT_EQ(win.fx.messages.shown[0].text, "Calendar File Already Exists. Cannot Overwrite.");
        EXPECT_EQ(vmtest::ReadAll(target), bytes);
        EXPECT_EQ(vm::Module1.CalendarFilePath, inUse) << "the calendar in use stays in use";
        EXPECT_EQ(win.caption(), caption);
    }
    EXPECT_EQ(vm::CalendarFiles.SaveAsDialogFolder, vm::FolderOf(inUse));
}

TEST(FileNewCalendar, AnExistingNameChangesNothing) {
    Window win;
    const std::string inUse = vm::Module1.CalendarFilePath;
    const std::string caption = win.caption();
    vm::MainState.Month[4].DayFG = 255;
    vm::Module1.MonthImageFile[4] = "April.jpg";
    const std::string taken = win.calendar("Taken.mdb");
    const std::string bytes = vmtest::ReadAll(taken);
    win.fx.messages.fileAnswers.push_back(taken);
    win.item("mnuNew_Calendar_File")->trigger();
    ASSERT_EQ(win.fx.messages.shown.size(), 1u);
    EXPECT_EQ(win.fx.messages.shown[0].text, "Calendar File Already Exists. Cannot Overwrite.");
    EXPECT_EQ(win.fx.messages.shown[0].title, "Cannot Create Calendar File");
    EXPECT_EQ(win.fx.messages.shown[0].icon, vm::MsgIcon::Information);
    EXPECT_EQ(vmtest::ReadAll(taken), bytes);
    EXPECT_EQ(vm::Module1.CalendarFilePath, inUse);
    EXPECT_EQ(win.caption(), caption);
    EXPECT_EQ(vm::MainState.Month[4].DayFG, 255);
    EXPECT_EQ(vm::Module1.MonthImageFile[4], "April.jpg");
    EXPECT_EQ(vm::CalendarFiles.NewDialogFolder, vm::FolderOf(taken));
}

TEST(FileNewCalendar, TheNewFileStartsWithThePlainLook) {
    Window win;
    for (int m = 1; m <= 12; ++m) {
        auto& a = vm::MainState.Month[static_cast<size_t>(m)];
        a.DayFG = 255, a.DayBG = 0, a.TitleFG = 65280, a.TitleBG = 12;
        a.DayFntName = a.TitleFntName = "Arial";
        a.DayFntSiz = vm::Currency::Whole(20);
        a.DayFntBold = a.DayFntItalic = a.TitleFntUndrLn = a.TitleFntStrkThr = true;
        a.TitleFntBold = false;
        vm::Module1.MonthImageFile[static_cast<size_t>(m)] = "/pics/m.jpg";
    }
    const std::string dir = vmtest::MakeTempDir("velmora-new");
    win.fx.messages.fileAnswers.push_back(dir + "/Fresh.mdb");
    win.item("mnuNew_Calendar_File")->trigger();
    EXPECT_TRUE(win.fx.messages.shown.empty());
    EXPECT_EQ(vm::Module1.CalendarFilePath, dir + "/Fresh.mdb");
    EXPECT_EQ(vm::CheckStore(dir + "/Fresh.mdb", vm::DbKind::Calendar), "");
    EXPECT_EQ(win.caption(), vm::CalendarCaption(dir + "/Fresh.mdb"));
    EXPECT_EQ(vm::CalendarFiles.NewDialogFolder, dir);
    EXPECT_TRUE(win.shownPrev().empty()) << "a new file is not listed";
    for (int m = 1; m <= 12; ++m) {
        const auto& a = vm::MainState.Month[static_cast<size_t>(m)];
        EXPECT_EQ(vm::Module1.MonthImageFile[static_cast<size_t>(m)], "") << m;
        EXPECT_EQ(a.DayFG, 0);
        EXPECT_EQ(a.DayBG, 16777215);
        EXPECT_EQ(a.TitleFG, 0);
        EXPECT_EQ(a.TitleBG, 16777215);
        EXPECT_EQ(a.DayFntName, "MS Sans Serif");
        EXPECT_EQ(a.TitleFntName, "MS Sans Serif");
        EXPECT_EQ(a.DayFntSiz, vm::Currency::Whole(11));
        EXPECT_EQ(a.TitleFntSiz, vm::Currency::Whole(14));
        EXPECT_FALSE(a.DayFntBold || a.DayFntItalic || a.DayFntUndrLn || a.DayFntStrkThr);
        EXPECT_TRUE(a.TitleFntBold);
        EXPECT_FALSE(a.TitleFntItalic || a.TitleFntUndrLn || a.TitleFntStrkThr);
    }
}

TEST(FilePrevious, ChoosingAnEntryAndAMissingEntry) {
    Window win;
    std::vector<std::string> files;
    for (const char* n : {"A.mdb", "B.mdb", "C.mdb", "D.mdb"}) {
        files.push_back(win.calendar(n));
        win.open(files.back());
    }
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - D.mdb", "2 - C.mdb", "3 - B.mdb", "4 - A.mdb"}));

    win.item("mnuFile_Prev_3")->trigger();  // B
    EXPECT_EQ(vm::Module1.CalendarFilePath, files[1]);
    EXPECT_EQ(win.caption(), vm::CalendarCaption(files[1]));
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - B.mdb", "2 - D.mdb", "3 - C.mdb", "4 - A.mdb"}));

    // D's file is gone: its entry goes, with a notice, and B stays in use.
    fs::remove(files[3]);
    const int beeps = win.fx.messages.beeps;
    win.item("mnuFile_Prev_2")->trigger();
    EXPECT_EQ(vm::Module1.CalendarFilePath, files[1]);
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - B.mdb", "2 - C.mdb", "3 - A.mdb"}));
    EXPECT_EQ(win.fx.messages.beeps, beeps + 1);
    EXPECT_TRUE(win.fx.messages.shown.empty());
    EXPECT_EQ(Notice(win), "The Requested File No Longer Exists.");
    ASSERT_TRUE(win.cmds->tmrPrevNotice->isActive()) << "a timer clears the notice: the window keeps working";
    EXPECT_EQ(win.cmds->tmrPrevNotice->interval(), 2000);
    win.cmds->ClearPrevNotice();
    EXPECT_EQ(Notice(win), "");
    EXPECT_FALSE(win.cmds->tmrPrevNotice->isActive());
}

TEST(FilePrevious, StartUpFillsTheMenuFromTheStoredEntries) {
    Window win;
    const std::string a = win.calendar("A.mdb"), b = win.calendar("B.mdb");
    win.cmds->LoadPrevFiles({a, "", a, b});
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - A.mdb", "2 - B.mdb"}));
    EXPECT_EQ(vm::CalendarFiles.PrevFiles[2], b);
}

}  // namespace
