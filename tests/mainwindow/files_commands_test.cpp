// File > Open, Save As, New Calendar and the recent files, on the real main
// window, with the file dialog answered by the message fake.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeySequence>
#include <QStatusBar>
#include <QTimer>

#include <filesystem>

#include "core/appearance.h"
#include "core/files.h"
#include "mainwindow/filecommands.h"
#include "platform/places.h"
#include "platform/sqlstore.h"
#include "startedwindow.h"

namespace fs = std::filesystem;
namespace db = vm::db;
using vm::Module1;

namespace {

struct Window : vmtest::StartedWindow {
    Window() { Start(); }
    // A calendar file of the current layout in a folder of its own.
    std::string calendar(const std::string& name) const {
        const std::string p = vmtest::MakeTempDir("velmora-cal") + "/" + name;
        fs::copy_file(vm::BlankCalendarTemplate(), p);
        return p;
    }
    std::vector<std::string> shownPrev() const {
        std::vector<std::string> out;
        for (int n = 1; n <= 5; ++n) {
            QAction* a = Action(("mnuFile_Prev_" + std::to_string(n)).c_str());
            if (a->isVisible()) out.push_back(a->text().toStdString());
        }
        return out;
    }
    std::string notice() const {
        if (QLabel* panel = Label("StatusBar1_Panel4")) return panel->text().toStdString();
        return window->statusBar()->currentMessage().toStdString();
    }
};

int64_t Count(const std::string& path, const std::string& sql) {
    auto st = db::Database::Open(path)->prepare(sql);
    return st.step() ? db::AsInt(st.column(0)) : -1;
}

TEST(FileOpen, ACalendarFileIsOpenedListedAndShown) {
    Window win;
    ASSERT_FALSE(vm::MainState.Hr24Added);
    const std::string upper = win.calendar("Work.MDB");
    {  // January of this older file has red day text; its hours lack [Hr24].
        auto d = db::Database::Open(upper);
        d->exec("UPDATE [Backgrounds] SET [DayFG] = 255 WHERE rowid = (SELECT min(rowid) FROM [Backgrounds])");
        for (const char* t : {"Velmora", "RepeatingData", "Sorting"})
            d->exec(std::string("ALTER TABLE [") + t + "] DROP COLUMN [Hr24]");
        d->exec("INSERT INTO [Velmora] ([Hour], [Minute], [AM_PM], [DateText]) VALUES (3, 0, 'PM', 'x')");
        d->exec("INSERT INTO [Velmora] ([Date], [JulDate], [DateText], [Repeat], [Duration]) VALUES "
                "('2026-12-01', 2026335, 'Daily walk', 'Daily', 40)");
    }
    const int builds = win.window->buildsRun();
    win.Open(upper);
    ASSERT_TRUE(win.Shown().empty()) << win.Shown()[0].text;
    EXPECT_TRUE(vm::MainState.Hr24Added);
    EXPECT_EQ(Count(upper, "SELECT [Hr24] FROM [Velmora] WHERE [Hour] = 3"), 15);
    EXPECT_EQ(Module1.CalendarFilePath, upper);
    EXPECT_EQ(win.Caption().substr(win.Caption().size() - 8), "Work.MDB");
    EXPECT_EQ(vm::MainState.Month[1].DayFG, 255);
    EXPECT_EQ(win.window->DataDates.databaseName(), upper) << "the window reads the opened file";
    EXPECT_EQ(win.shownPrev(), std::vector<std::string>{"1 - Work.MDB"});
    // The month is drawn once, from the occurrences the file's pass made.
    EXPECT_EQ(win.window->buildsRun(), builds + 1);
    int walks = 0;
    for (int i = 0; i < 42; ++i)
        walks += win.Label(QString("lblDay_%1").arg(i))->text().contains("Daily walk");
    EXPECT_EQ(walks, 31);

    // The next dialog starts in the folder of the file opened.
    const std::string home = win.calendar("Home.mdb");
    win.Open(home);
    EXPECT_EQ(win.fx.messages.dialogs.back().initialDir, vm::FolderOf(upper));
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - Home.mdb", "2 - Work.MDB"}));
}

TEST(FileSaveAsAndNew, AnExistingFileIsNeverWrittenOverAndANewNameGetsTheCopy) {
    Window win;
    const std::string inUse = Module1.CalendarFilePath;
    const std::string caption = win.Caption();
    vm::MainState.Month[4].DayFG = 255;
    const std::string taken = vmtest::MakeTempDir("velmora-taken") + "/Taken.mdb";
    vmtest::WriteAll(taken, "somebody's file");
    const std::string calendar = win.calendar("Calendar.mdb");
    const std::pair<const char*, std::string> cases[] = {
        {"mnuFile_SaveAs", taken}, {"mnuFile_SaveAs", inUse}, {"mnuNew_Calendar_File", calendar}};
    for (const auto& [command, target] : cases) {
        const std::string bytes = vmtest::ReadAll(target);
        win.fx.messages.clear();
        win.fx.messages.fileAnswers.push_back(target);
        win.Action(command)->trigger();
        ASSERT_EQ(win.Shown().size(), 1u) << command;
        EXPECT_EQ(win.Shown()[0].text, "Calendar File Already Exists. Cannot Overwrite.");
        EXPECT_EQ(vmtest::ReadAll(target), bytes) << command;
        EXPECT_EQ(Module1.CalendarFilePath, inUse) << "the calendar in use stays in use";
        EXPECT_EQ(win.Caption(), caption);
        EXPECT_EQ(vm::MainState.Month[4].DayFG, 255) << "and so does its look";
    }

    // A new name: the calendar is copied and the copy is used.
    win.fx.messages.clear();
    auto& rs = win.window->DataDates;  // still holding its connection, with a record written just now
    rs.setDatabaseName(Module1.CalendarFilePath);
    rs.setRecordSource("Velmora");
    rs.refresh();
    rs.addNew();
    rs.setField("DateText", db::Text("written just now"));
    rs.update();

    const std::string dir = vmtest::MakeTempDir("velmora-saveas");
    win.fx.messages.fileAnswers.push_back(dir + "/Copy");  // typed without a suffix
    win.Action("mnuFile_SaveAs")->trigger();
    const std::string copy = dir + "/Copy.mdb";
    EXPECT_TRUE(win.Shown().empty());
    EXPECT_EQ(Module1.CalendarFilePath, copy);
    EXPECT_EQ(Count(copy, "SELECT count(*) FROM [Velmora] WHERE [DateText] = 'written just now'"), 1);
    EXPECT_EQ(win.Caption().substr(win.Caption().size() - 8), "Copy.mdb");
    EXPECT_EQ(rs.databaseName(), copy);
    EXPECT_TRUE(win.shownPrev().empty()) << "Save As leaves the recent files alone";
}

// A new calendar's months have no pictures: none is shown, whatever the
// previous file showed.
TEST(FileSaveAsAndNew, ANewCalendarShowsNoPictureOfTheFileBefore) {
    Window win;
    win.window->pCalendarStyle = vm::kStyleMixed;
    win.window->cmbmonth_Click();
    ASSERT_FALSE(win.window->Image1->pixmap().isNull()) << "the month's own picture";
    win.fx.messages.fileAnswers.push_back(vmtest::MakeTempDir("velmora-new") + "/New.mdb");
    win.Action("mnuNew_Calendar_File")->trigger();
    ASSERT_TRUE(win.Shown().empty());
    EXPECT_TRUE(win.window->Image1->pixmap().isNull());
    win.window->cmbMonth->setCurrentText("March");
    win.window->cmbmonth_Click();
    EXPECT_TRUE(win.window->Image1->pixmap().isNull());
}

TEST(FileSaveAsAndNew, ANameWithoutMdbGetsItAndIsUsedAfterARestart) {
    Window win;
    const std::string dir = vmtest::MakeTempDir("velmora-named");
    struct Case { const char* command; const char* typed; const char* file; };
    for (const Case& c : {Case{"mnuNew_Calendar_File", "Neu 12.2026", "Neu 12.2026.mdb"},
                          Case{"mnuFile_SaveAs", "mine.txt", "mine.txt.mdb"},
                          Case{"mnuFile_SaveAs", "Kal 12.2026", "Kal 12.2026.mdb"}}) {
        win.fx.messages.clear();
        win.fx.messages.fileAnswers.push_back(dir + "/" + c.typed);
        win.Action(c.command)->trigger();
        EXPECT_TRUE(win.Shown().empty()) << c.typed;
        EXPECT_FALSE(win.fx.messages.dialogs.back().confirmOverwrite) << "the dialog never offers to replace";
        EXPECT_FALSE(fs::exists(dir + "/" + c.typed)) << c.typed;
        EXPECT_EQ(Module1.CalendarFilePath, dir + "/" + c.file);
    }
    db::Database::Open(Module1.CalendarFilePath)
        ->exec("INSERT INTO [Velmora] ([Date], [JulDate], [DateText]) VALUES ('2026-12-24', 2026358, 'Eve')");
    win.Stop();
    win.fx.messages.clear();
    win.Start();
    EXPECT_TRUE(win.Shown().empty());
    EXPECT_EQ(Module1.CalendarFilePath, dir + "/Kal 12.2026.mdb") << "the saved calendar is the one in use";
    EXPECT_EQ(win.Caption().substr(win.Caption().size() - 15), "Kal 12.2026.mdb");

    // A last file that is refused gives way to the default calendar file.
    win.Stop();
    vmtest::WriteAll(dir + "/Kal 12.2026.mdb", "not a calendar");
    win.Start();
    ASSERT_EQ(win.Shown().size(), 1u);
    EXPECT_NE(win.Shown()[0].text.find("Kal 12.2026.mdb"), std::string::npos) << win.Shown()[0].text;
    EXPECT_EQ(Module1.CalendarFilePath, vm::DefaultCalendarPath());
}

TEST(FilePrevious, ChoosingAnEntryAndAMissingEntry) {
    Window win;
    std::vector<std::string> files;
    for (const char* n : {"A.mdb", "B.mdb", "C.mdb", "D.mdb"}) {
        files.push_back(win.calendar(n));
        win.Open(files.back());
    }
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - D.mdb", "2 - C.mdb", "3 - B.mdb", "4 - A.mdb"}));

    win.Action("mnuFile_Prev_3")->trigger();  // B
    EXPECT_EQ(Module1.CalendarFilePath, files[1]);
    EXPECT_EQ(win.Caption().substr(win.Caption().size() - 5), "B.mdb");
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - B.mdb", "2 - D.mdb", "3 - C.mdb", "4 - A.mdb"}));

    // D's file is gone: its entry goes, with a notice, and B stays in use.
    fs::remove(files[3]);
    const int beeps = win.fx.messages.beeps;
    win.Action("mnuFile_Prev_2")->trigger();
    EXPECT_EQ(Module1.CalendarFilePath, files[1]);
    EXPECT_EQ(win.shownPrev(), (std::vector<std::string>{"1 - B.mdb", "2 - C.mdb", "3 - A.mdb"}));
    EXPECT_EQ(win.fx.messages.beeps, beeps + 1);
    EXPECT_TRUE(win.Shown().empty());
    EXPECT_EQ(win.notice(), "The Requested File No Longer Exists.");
    vm::FileCommands* cmds = vm::FileCommandsOf(*win.window);
    ASSERT_TRUE(cmds->tmrPrevNotice->isActive()) << "a timer clears the notice: the window keeps working";
    cmds->ClearPrevNotice();
    EXPECT_EQ(win.notice(), "");
}

TEST(FilePrevious, AnAmpersandInANameShowsAsOneAndMakesNoShortcut) {
    Window win;
    const std::string rd = win.calendar("R&D plans.mdb");
    win.Open(rd);
    win.Open(win.calendar("Other.mdb"));
    QAction* entry = win.Action("mnuFile_Prev_2");
    ASSERT_TRUE(entry->isVisible());
    EXPECT_EQ(entry->text().toStdString(), "2 - R&&D plans.mdb");
    EXPECT_EQ(entry->iconText().toStdString(), "2 - R&D plans.mdb") << "as the menu shows it";
    EXPECT_TRUE(QKeySequence::mnemonic(entry->text()).isEmpty()) << "no letter underlined";
    entry->trigger();
    EXPECT_EQ(Module1.CalendarFilePath, rd) << "the stored path keeps its one \"&\"";
    EXPECT_EQ(win.shownPrev()[0], "1 - R&&D plans.mdb");
}

}  // namespace
