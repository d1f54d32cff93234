// The export and import commands on the real main window, headless: dialogs
// answered by the message fake, the desktop's open handler by its recording
// fake, results read back from the files, the store and the month's cells.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/files.h"
#include "exchange/orvantapanel.h"
#include "exchange/otherimports.h"
#include "exchangewindow.h"
#include "core/calendarfiles.h"
#include "records/frmweekview.h"
#include "platform/places.h"
#include "platform/printdialogs.h"
#include "records/frmselectedday.h"
#include "tools/frmpeople.h"
#include "platform/progress.h"
#include "platform/recordgrid.h"

namespace db = vm::db;
using vm::MsgResult;

namespace {

// A contract database as the contract program keeps it: two projects (one
// numbered 40000, one with an apostrophe) and status items dated as ISO text,
// month-first text, a day number, Null, empty, zero and unreadable text, and
// one item whose project is missing.
std::string MakeContractFile() {
    const std::string path = vmtest::MakeTempDir("velmora-con") + "/Jobs.con";
    auto con = db::Database::Create(path);
    con->exec("CREATE TABLE [Project] ([Proj_Num] INTEGER, [Proj_Desc] TEXT, [New_Proj] TEXT, [Budget] REAL)");
    con->exec("CREATE TABLE [Project_Status] ([ID] INTEGER PRIMARY KEY, [Proj_Num] INTEGER, [Status_Item] TEXT,"
              " [Status_Date] , [Note] TEXT)");
    con->exec("INSERT INTO [Project] VALUES (40000, 'O''Brien Bridge', 'P-7', 1.5), (12, 'Main Street', 'P-1', 2)");
    con->exec("INSERT INTO [Project_Status] ([Proj_Num], [Status_Item], [Status_Date]) VALUES "
              "(40000, 'Pour', '2026-03-15'), (40000, 'Inspect', '3/2/2026'), (12, 'Pour', '2026-07-04 10:00:00'),"
              "(999, 'Survey', '2026-12-01'), (12, 'Pour', NULL), (12, 'Pour', ''), (12, 'Pour', 0),"
              "(12, 'Owner''s walk', 46027), (12, 'Pour', 'next week')");
    return path;
}

class Exchange : public vmtest::ExchangeWindow {
protected:
    void AddRecords() override {
        db::Database::Open(calendar)->exec(
            "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Duration],[WorkDay],"
            "[Alarm],[SoundNum],[Priority]) VALUES "
            "(0,'2026-02-03',2026034,9,5,'AM','Dentist, 2nd floor',0,-1,'15,-10',2,5),"
            "(0,'2026-02-14',2026045,7,30,'PM','Valentine',0,-1,'15,-10',2,5),"
            "(0,'2026-03-01',2026060,0,0,'AM','Next month',0,-1,'15,-10',2,5)");
    }
    int64_t Count(const std::string& sql = "SELECT count(*) FROM [Velmora]") { return db::AsInt(Query(sql)); }
    QCheckBox* Field(int i) { return Find<QCheckBox>(QString("SSCheck1_%1").arg(i)); }
    // Every command that writes a file the user names, by its name.
    std::vector<std::pair<const char*, std::function<void()>>> Writers() {
        return {
            {"Export Fields", [this] {
                 w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
                 Click("sscmdExportFields");
             }},
            {"Print Calendar", [this] { w->findChild<QAction*>("mnuPrintCalendar")->trigger(); }},
            {"Print Grid", [this] { w->Toolbar1->findChild<QAction*>("Print")->trigger(); }},
            {"Contact Export", [] { vm::ShowPeople()->findChild<QAction*>("mnuFile_Export")->trigger(); }},
        };
    }
};

// The file dialog cancelled: the panel stays open, ready for another try.
TEST_F(Exchange, ExportFieldsCancelledInTheFileDialogCanBePressedAgain) {
    w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
    fx.messages.fileAnswers.clear();  // the dialog cancelled
    Click("sscmdExportFields");
    EXPECT_TRUE(Find<QWidget>("SSPanelExport")->isVisible());
    EXPECT_TRUE(Find<QPushButton>("sscmdExportFields")->isEnabled());
}

TEST_F(Exchange, ExportWritesTheListedRowsAndOpensTheFile) {
    const std::string data = dir + "/NewData";  // a data folder not there yet is made quietly
    setenv("VELMORA_DATA_DIR", data.c_str(), 1);  // the fixture puts the old one back
    QWidget* panel = Find<QWidget>("SSPanelExport");
    EXPECT_FALSE(panel->isVisible());
    w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
    EXPECT_TRUE(panel->isVisible());
    // Only the date, the text and the alarms.
    for (int i = 0; i < 15; ++i) Field(i)->setChecked(i == 1 || i == 3 || i == 10);
    const std::string out = dir + "/feb.txt";
    fx.messages.fileAnswers.push_back(out);
    Click("sscmdExportFields");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "2 Records Exported ");
    ASSERT_EQ(fx.messages.dialogs.size(), 1u);
    EXPECT_EQ(fx.messages.dialogs[0].initialDir, data);
    EXPECT_TRUE(std::filesystem::is_directory(data));
    const std::string bytes = vmtest::ReadAll(out);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n**") + 4 + 110 + 2),
              "\"2/3/2026\",\"Dentist++ 2nd floor\",\"15--10\"\r\n"
              "\"2/14/2026\",\"Valentine\",\"15--10\"\r\n");
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_NE(opener.opened[0].find("feb.txt"), std::string::npos);
    EXPECT_FALSE(panel->isVisible());

}

// Another program changed and deleted listed rows after the grid read them:
// the export writes the rows as the file holds them now.
TEST_F(Exchange, ExportWritesTheRowsAsTheFileHoldsThemNow) {
    w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
    for (int i = 0; i < 15; ++i) Field(i)->setChecked(i == 1 || i == 3);
    {
        auto other = db::Database::Open(calendar);
        other->exec("UPDATE [Velmora] SET [DateText] = 'Valentine dinner' WHERE [DateText] = 'Valentine'");
        other->exec("DELETE FROM [Velmora] WHERE [DateText] LIKE 'Dentist%'");
    }
    const std::string out = dir + "/now.txt";
    fx.messages.fileAnswers.push_back(out);
    Click("sscmdExportFields");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "1 Records Exported ");
    const std::string bytes = vmtest::ReadAll(out);
    EXPECT_EQ(bytes.substr(bytes.find("\r\n**") + 4 + 110 + 2), "\"2/14/2026\",\"Valentine dinner\"\r\n");
    EXPECT_EQ(w->DataDatesModel->recordCount(), 1) << "the grid shows what was exported";
}

// Every command that writes a file the user names refuses the files in use,
// under any name, before it writes a byte.
TEST_F(Exchange, WritersRefuseTheOpenCalendarAndTheSettingsDatabaseUnderAnyName) {
    vm::FakePrintDialogs printers;  // none installed: printouts go to PDF files
    vm::SetPrintDialogs(&printers);
    const std::string settings = vm::SettingsDatabaseInUse();
    vmtest::WriteAll(settings, vmtest::ReadAll(vmtest::FreshSettings()));
    const std::string link = dir + "/link.txt", hard = dir + "/hard.pdf";
    std::filesystem::create_symlink(calendar, link);
    std::filesystem::create_hard_link(calendar, hard);
    const std::string before = vmtest::ReadAll(calendar), settingsBefore = vmtest::ReadAll(settings);

    const auto writers = Writers();
    for (const auto& [name, write] : writers)
        for (const std::string& target : {calendar, link, hard, settings, calendar + "-journal"}) {
            fx.messages.clear();
            fx.messages.answers = {MsgResult::No};  // no colour
            fx.messages.fileAnswers = {target};
            write();
            ASSERT_FALSE(fx.messages.shown.empty()) << name << " " << target;
            const auto& box = fx.messages.shown.back();
            EXPECT_NE(box.text.find("cannot be written over"), std::string::npos) << name << " " << target << box.text;
            EXPECT_TRUE(opener.opened.empty()) << name;
        }
    vm::UnloadPeople();
    vm::UnloadSelectedDay();
    vm::SetPrintDialogs(nullptr);
    EXPECT_EQ(vmtest::ReadAll(calendar), before);
    EXPECT_EQ(vmtest::ReadAll(settings), settingsBefore);
    EXPECT_FALSE(vm::FileExists(calendar + "-journal"));
    EXPECT_EQ(db::AsInt(Query("SELECT count(*) FROM [Velmora]")), 3) << "still a calendar";
}

// Every command that writes or reads a file the user names refuses a folder,
// a named pipe or a device before opening it (a pipe would wait for its
// other end for ever), saying what it is.
TEST_F(Exchange, FoldersPipesAndDevicesAreRefusedBeforeTheyAreOpened) {
    vm::FakePrintDialogs printers;  // none installed: printouts go to PDF files
    vm::SetPrintDialogs(&printers);
    const std::string pipe = dir + "/pipe.txt", folder = dir + "/folder.pdf", device = dir + "/null.txt";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);  // a writer that opens it anyway goes on
    std::filesystem::create_directory(folder);
    std::filesystem::create_symlink("/dev/null", device);
    const std::pair<std::string, std::string> targets[] = {
        {pipe, "a named pipe"}, {folder, "a folder"}, {device, "a device"}};

    const auto writers = Writers();
    for (const auto& [name, write] : writers)
        for (const auto& [target, kind] : targets) {
            fx.messages.clear();
            fx.messages.answers = {MsgResult::No};  // no colour
            fx.messages.fileAnswers = {target};
            write();
            ASSERT_FALSE(fx.messages.shown.empty()) << name << " " << target;
            EXPECT_EQ(fx.messages.shown.back().text.rfind("\"" + target + "\" is not a regular file (it is " + kind +
                                                              ") and cannot be written.",
                                                          0),
                      0u)
                << name << " " << fx.messages.shown.back().text;
            EXPECT_TRUE(opener.opened.empty()) << name;
        }
    char byte = 0;
    EXPECT_EQ(::read(reader, &byte, 1), 0) << "nothing was written into the pipe";
    ::close(reader);

    // The contact import and the calendar text import read none of them.
    for (const auto& [source, kind] : {std::pair<std::string, std::string>{pipe, "a named pipe"},
                                      {device, "a device"}}) {
        const std::string said = "\"" + source + "\" is not a regular file (it is " + kind + ") and cannot be read.";
        fx.messages.clear();
        fx.messages.fileAnswers = {source};
        vm::ShowPeople()->findChild<QAction*>("mnuFile_Import")->trigger();
        ASSERT_EQ(fx.messages.shown.size(), 1u) << source;
        EXPECT_EQ(fx.messages.shown[0].text.rfind(said, 0), 0u) << fx.messages.shown[0].text;
        EXPECT_EQ(fx.messages.shown[0].title, "Import Contact List Text Records");

        fx.messages.clear();
        fx.messages.fileAnswers = {source};
        w->findChild<QAction*>("mnuFile_Import")->trigger();
        Click("sscmdImport");
        ASSERT_EQ(fx.messages.shown.size(), 1u) << source;
        EXPECT_EQ(fx.messages.shown[0].text.rfind("75 - " + said, 0), 0u) << fx.messages.shown[0].text;
    }
    vm::UnloadPeople();
    vm::UnloadSelectedDay();
    vm::SetPrintDialogs(nullptr);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(std::filesystem::status(pipe).type(), std::filesystem::file_type::fifo);
}

// An export over a file on a disk that fills up leaves that file as it was:
// its one box says the write failed, and it is neither said complete nor opened.
TEST_F(Exchange, AnExportOnAFullDiskLeavesTheOldFileAndIsNotSaidComplete) {
    const std::string out = dir + "/feb.txt";
    vmtest::WriteAll(out, "last year's export");
    w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
    fx.messages.fileAnswers.push_back(out);
    {
        vmtest::DiskFullAfter full(100);
        Click("sscmdExportFields");
    }
    ASSERT_EQ(fx.messages.shown.size(), 1u) << fx.messages.shown.back().text;
    EXPECT_EQ(fx.messages.shown[0].text.rfind("61 - Disk full or write error: \"" + out + "\" was not changed", 0), 0u)
        << fx.messages.shown[0].text;
    EXPECT_EQ(Box("Export Complete"), nullptr);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(vmtest::ReadAll(out), "last year's export");

    // With room again the same export replaces it.
    fx.messages.clear();
    fx.messages.fileAnswers.push_back(out);
    w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
    Click("sscmdExportFields");
    ASSERT_NE(Box("Export Complete"), nullptr);
    EXPECT_EQ(vmtest::ReadAll(out).rfind("**0Hide", 0), 0u);
}

// With no calendar open, every command that needs one says so plainly, once,
// and changes nothing.
TEST_F(Exchange, CommandsNeedingTheCalendarSayNoneIsOpen) {
    const std::string calendar = vm::Module1.CalendarFilePath;
    const auto before = vmtest::ReadAll(calendar);
    vm::Module1.CalendarFilePath = calendar + ".gone";
    const std::function<void()> commands[] = {
        [&] { w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger(); },
        [&] { w->findChild<QAction*>("mnuWeek_View")->trigger(); },
        [&] { w->Toolbar1->findChild<QAction*>("btn_cancel")->trigger(); },  // Delete the listed records
        [&] {
            w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
            Click("sscmdExportFields");
        },
        [&] {
            fx.messages.fileAnswers.push_back(dir + "/some.txt");
            w->findChild<QAction*>("mnuFile_Import")->trigger();
            Click("sscmdSetAll");
            Click("sscmdImport");
        },
    };
    int n = 0;
    for (const auto& command : commands) {
        fx.messages.clear();
        command();
        ASSERT_EQ(fx.messages.shown.size(), 1u) << n;
        EXPECT_EQ(fx.messages.shown[0].text, vm::kNoCalendarText) << n++;
    }
    EXPECT_EQ(vm::WeekView(), nullptr);
    vm::Module1.CalendarFilePath = calendar;
    EXPECT_EQ(vmtest::ReadAll(calendar), before);
}

TEST_F(Exchange, ImportDispatchByExtension) {
    for (const auto& [name, shown] : std::vector<std::pair<std::string, bool>>{
             {"report.old.txt", true}, {"plain.CSV", true}, {".csv", true}, {"notes.doc", false}, {"noext", false}}) {
        const std::string path = vmtest::MakeTempDir("velmora-a.b") + "/" + name;  // a dot in the folder name
        vmtest::WriteAll(path, "");
        if (auto* panel = w->findChild<QWidget*>("SSPanelImport")) panel->hide();  // made when first opened
        fx.messages.clear();
        fx.messages.fileAnswers.push_back(path);
        w->findChild<QAction*>("mnuFile_Import")->trigger();
        EXPECT_EQ(Find<QWidget>("SSPanelImport")->isVisible(), shown) << name;
        EXPECT_EQ(Box("Invalid File Selected") == nullptr, shown) << name;
    }
}

// The panel's Help names the choice each position list offers for a field
// the file does not have.
TEST_F(Exchange, ImportHelpNamesWhatThePositionListsOffer) {
    const std::string file = dir + "/in.txt";
    vmtest::WriteAll(file, "");
    fx.messages.fileAnswers.push_back(file);
    w->findChild<QAction*>("mnuFile_Import")->trigger();
    ASSERT_TRUE(Find<QWidget>("SSPanelImport")->isVisible());
    Click("sscmdImportHelp");
    const auto* help = Box("Import Data");
    ASSERT_NE(help, nullptr);
    for (QComboBox* list : Find<QWidget>("SSPanelImport")->findChildren<QComboBox*>()) {
        ASSERT_GE(list->count(), 1);
        const std::string none = list->itemText(0).toStdString();
        EXPECT_EQ(none, "N/A");
        EXPECT_NE(help->text.find("Select " + none + " if"), std::string::npos) << help->text;
    }
}

TEST_F(Exchange, ImportStoresGoodLinesAndReportsTheOthers) {
    const std::string file = dir + "/in.txt";
    // Windows-1252 bytes, CR line ends, a header, a contact line, a line
    // without a real date and one whose priority no column can hold.
    vmtest::WriteAll(file,
                     "**0Hide, 1Date\r**---\r"
                     "\"False\",\"2/20/2026\",\"3:15 PM\",\"Caf\xE9++ open[]late\",\"0\",\"\",\"Event\",\"True\","
                     "\"15--10\",\"4\",\"Arial; 12;True;False\",\"0;16777215;0;16777215;3;3\",\"9\"\r"
                     "1,Smith,John\r"
                     "\"False\",\"2/31/2026\",\"\",\"no such day\",\"0\",\"\",\"\",\"True\",\"\",\"0\",\"\",\"\",\"1\"\r"
                     "\"False\",\"2/21/2026\",\"\",\"too important\",\"0\",\"\",\"\",\"True\",\"\",\"0\",\"\",\"\",\"999\"\r");
    fx.messages.fileAnswers.push_back(file);
    w->findChild<QAction*>("mnuFile_Import")->trigger();
    ASSERT_TRUE(Find<QWidget>("SSPanelImport")->isVisible());
    Click("sscmdImport");

    ASSERT_EQ(Count(), 5);
    EXPECT_EQ(db::AsText(Query("SELECT [DateText]||'|'||[Alarm]||'|'||[Font]||'|'||[Hr24]||'|'||[JulDate]||'|'||"
                               "[Priority]||'|'||[SoundNum] FROM [Velmora] WHERE [ID] = 4")),
              "Caf\xC3\xA9, open\r\nlate|15,-10|Arial, 12,True,False|15|2026051|9|4");
    EXPECT_TRUE(db::IsNull(Query("SELECT [Priority] FROM [Velmora] WHERE [ID] = 5")));

    const auto* rejected = Box("Lines Not Imported");
    ASSERT_NE(rejected, nullptr);
    EXPECT_EQ(rejected->text, "1 line was not imported; nothing of them was stored:\r\nLine 5: \"2/31/2026\" is not a date");
    EXPECT_EQ(Box("Import Complete")->text, "2 Records Imported ");
    EXPECT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_FALSE(Find<QWidget>("SSPanelImport")->isVisible());
    // The shown month is built again: the imported record is in its cell (Friday 20 February: cell 19).
    EXPECT_NE(Find<QLabel>("lblDay_19")->text().toStdString().find("Caf\xC3\xA9"), std::string::npos);
}

// A file that is not text is refused once; a long import shows its progress
// and, cancelled, leaves the calendar as it was.
TEST_F(Exchange, ImportRefusesNonTextAndCancelKeepsTheCalendar) {
    vm::FakeProgress progress;
    vm::SetProgress(&progress);
    auto import = [&](const std::string& file) {
        fx.messages.clear();
        fx.messages.fileAnswers.push_back(file);
        w->findChild<QAction*>("mnuFile_Import")->trigger();
        Click("sscmdImport");
    };
    const std::string program = dir + "/program.txt";
    std::string bytes = "\x7F" "ELF";
    for (int i = 0; i < 4000; ++i) bytes += static_cast<char>(i % 7 ? (i * 31) % 256 : 0);
    vmtest::WriteAll(program, bytes);
    import(program);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "\"" + program + "\" is not a text file; nothing was imported.");
    EXPECT_EQ(Count(), 3);

    std::string lines;
    for (int i = 0; i < 40000; ++i) lines += "\"False\",\"2/20/2026\",\"\",\"Entry " + std::to_string(i) + "\"\r\n";
    const std::string big = dir + "/big.txt";
    vmtest::WriteAll(big, lines);
    const std::string before = vmtest::ReadAll(calendar);
    progress.clear();
    progress.cancelAtStep = 1;
    import(big);
    ASSERT_EQ(progress.tasks.size(), 1u) << "no repeat pass after a cancelled import";
    EXPECT_EQ(progress.tasks.back().title, "Import Data");
    EXPECT_TRUE(progress.tasks.back().ended);
    EXPECT_EQ(Count(), 3);
    // Said as cancelled, never as complete, and the file is as it was, byte for byte.
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Import Cancelled");
    EXPECT_EQ(vmtest::ReadAll(calendar), before);

    vm::SetProgress(nullptr);
}

TEST_F(Exchange, CalendarFileImportAsksThenDrawsNewRecordsAndRepeats) {
    std::string source = vmtest::FreshCalendar();
    db::Database::Open(source)->exec(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[Repeat],[Duration],"
        "[WorkDay]) VALUES (0,'2026-02-02',2026033,0,0,'AM','Choir','Weekly',3,-1),"
        "(0,'2026-02-10',2026041,0,0,'AM','Dentist','',0,-1)");
    fx.messages.answers = {MsgResult::No};  // no duplicates
    vm::ImportVelmoraFile(source);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].text, "2 Date Record(s) have been imported from:\r\n" + source);
    EXPECT_EQ(Count("SELECT count(*) FROM [RepeatingData] WHERE [DateText] = 'Choir'"), 2);
    EXPECT_EQ(Day(1)->text(), " Choir");    // Feb 2, the record itself
    EXPECT_EQ(Day(8)->text(), " Choir");    // Feb 9, an occurrence
    EXPECT_EQ(Day(9)->text(), " Dentist");  // Feb 10
}

TEST_F(Exchange, ContractPanelImportsTheChosenProjectOrTheChosenType) {
    for (int i = 1; i <= 12; ++i) {
        vm::MainState.Month[i].DayBG = 1000 + i;
        vm::MainState.Month[i].DayFG = 2000 + i;
    }
    const std::string con = MakeContractFile();
    vm::ShowOrvanta_Import(con);
    auto* panel = Find<vm::OrvantaPanel>("sspanelOrvanta");
    EXPECT_TRUE(panel->isVisible());
    auto* projects = Find<QComboBox>("cmbSelProj");
    auto* types = Find<QComboBox>("cmbSelStatusItems");
    ASSERT_EQ(projects->count(), 3);
    EXPECT_EQ(projects->itemText(2), "O'Brien Bridge");
    EXPECT_EQ(projects->itemData(2).toLongLong(), 40000);
    ASSERT_EQ(types->count(), 5);

    // Independent day keys: 2026 is no leap year (Jan 31, Feb 28, Mar 31, ...).
    const std::string pour = "*P-7 - O'Brien Bridge - Pour 2026-03-15 2026074 1003 2003",
                      inspect = "*P-7 - O'Brien Bridge - Inspect 2026-03-02 2026061 1003 2003",
                      july = "*P-1 - Main Street - Pour 2026-07-04 2026185 1007 2007",
                      survey = "*Survey 2026-12-01 2026335 1012 2012",  // its project is missing
                      walk = "*P-1 - Main Street - Owner's walk 2026-01-05 2026005 1001 2001";
    struct Case {
        const char* project;
        const char* type;
        std::vector<std::string> expected;
        bool unreadable;
    } cases[] = {
        {"Select All Projects", "Select All Types", {pour, inspect, july, survey, walk}, true},
        // A chosen project gives every type of its items, whatever type is chosen.
        {"O'Brien Bridge", "Pour", {pour, inspect}, false},
        {"Select All Projects", "Owner's walk", {walk}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.project) + " / " + c.type);
        db::Database::Open(calendar)->exec("DELETE FROM [Velmora]");
        fx.messages.clear();
        vm::ShowOrvanta_Import(con);
        projects->setCurrentText(c.project);
        types->setCurrentText(c.type);
        Click("sscmdStartOrvantaImport");
        ASSERT_EQ(fx.messages.shown.size(), 1u);
        const std::string& box = fx.messages.shown[0].text;
        const std::string head =
            std::to_string(c.expected.size()) + " Orvanta Date Record(s) have been imported from:\r\n" + con + "\r\n";
        EXPECT_EQ(box.rfind(head, 0), 0u) << box;
        EXPECT_EQ(box.find("1 item(s) with an unreadable Status_Date") != std::string::npos, c.unreadable) << box;
        EXPECT_FALSE(panel->isVisible());
        // The imported records: text, date, day key, background and text colour.
        std::vector<std::string> rows;
        auto st = db::Database::Open(calendar)->prepare(
            "SELECT [DateText]||' '||[Date]||' '||[JulDate]||' '||[BGColor]||' '||[FGColor] FROM [Velmora]"
            " WHERE [DateType] = 'Orvanta' AND [Hide] = 0 AND [Duration] = 0 ORDER BY [ID]");
        while (st.step()) rows.push_back(db::AsText(st.column(0)));
        EXPECT_EQ(rows, c.expected);
        EXPECT_EQ(Count(), int64_t(rows.size()));
    }
}

// The repeat pass after an import shows in the import's own progress dialog,
// under its own label: the window never hangs without a word.
TEST_F(Exchange, TheRepeatPassAfterAnImportShowsInItsDialog) {
    vm::FakeProgress progress;
    vm::SetProgress(&progress);
    std::string lines;
    for (int i = 1; i <= 20; ++i)
        lines += "\"False\",\"2/2/2026\",\"\",\"Choir " + std::to_string(i) + "\",\"3\",\"Weekly\"\r\n";
    vmtest::WriteAll(dir + "/weekly.txt", lines);
    fx.messages.fileAnswers.push_back(dir + "/weekly.txt");
    w->findChild<QAction*>("mnuFile_Import")->trigger();
    Click("sscmdImport");
    EXPECT_EQ(Box("Import Complete")->text, "20 Records Imported ");
    EXPECT_EQ(Count("SELECT count(*) FROM [RepeatingData] WHERE [DateText] LIKE 'Choir%'"), 40);

    std::string source = vmtest::FreshCalendar();
    db::Database::Open(source)->exec(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText],[Repeat],[Duration]) "
        "VALUES (0,'2026-02-03',2026034,'Band','Weekly',3)");
    fx.messages.clear();
    fx.messages.answers = {MsgResult::Yes};
    vm::ImportVelmoraFile(source);
    vm::SetProgress(nullptr);
    ASSERT_EQ(progress.tasks.size(), 4u);
    for (size_t pass : {1u, 3u}) {
        SCOPED_TRACE(pass);
        EXPECT_EQ(progress.tasks[pass - 1].label.rfind("Importing ", 0), 0u);
        EXPECT_EQ(progress.tasks[pass].label, "Building the repeating data");
        EXPECT_GT(progress.tasks[pass].steps, 0) << "the pass moves the dialog";
        EXPECT_TRUE(progress.tasks[pass - 1].ended && progress.tasks[pass].ended);
    }
}

// A calendar that cannot be written: one plain box and never "Import
// Complete"; on a read-only calendar the commands that write say so before
// anything is tried.
TEST_F(Exchange, ACalendarThatCannotBeWrittenGivesOnePlainBoxOnly) {
    std::string lines;
    for (int i = 1; i <= 2000; ++i)
        lines += "\"False\",\"2/20/2026\",\"\",\"Entry " + std::to_string(i) + std::string(200, 'x') + "\"\r\n";
    vmtest::WriteAll(dir + "/many.txt", lines);
    const std::string name = std::filesystem::path(calendar).filename().string();
    auto import = [&] {
        fx.messages.clear();
        fx.messages.fileAnswers.push_back(dir + "/many.txt");
        w->findChild<QAction*>("mnuFile_Import")->trigger();
        QTest::mouseClick(Find<QPushButton>("sscmdImport"), Qt::LeftButton);  // a new command
    };
    db::Database& store = w->DataDates.database();
    vmtest::FillDisk(store);
    import();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "The disk is full: " + name + " was not changed");
    EXPECT_EQ(Count(), 3);
    vmtest::FillDisk(store, false);

    std::filesystem::permissions(calendar, std::filesystem::perms::owner_read);
    const std::string before = vmtest::ReadAll(calendar);
    const std::string readOnly = "The file may only be read: " + name + " was not changed";
    import();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, readOnly);
    std::string source = vmtest::FreshCalendar();
    QTest::mouseClick(Find<QWidget>("lblMonth"), Qt::LeftButton);  // the next command
    fx.messages.clear();
    vm::ImportVelmoraFile(source);
    ASSERT_EQ(fx.messages.shown.size(), 1u) << "not even the duplicates question";
    EXPECT_EQ(fx.messages.shown[0].text, readOnly);
    QTest::mouseClick(Find<QWidget>("lblMonth"), Qt::LeftButton);
    fx.messages.clear();
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    ASSERT_EQ(fx.messages.shown.size(), 1u) << "Build Repeating Data says so";
    EXPECT_EQ(fx.messages.shown[0].text, readOnly);
    EXPECT_EQ(vmtest::ReadAll(calendar), before);
    std::filesystem::permissions(calendar, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

// The calendar-file import's one summary box names the rows whose Date
// cannot be read; Cancel says so and keeps the calendar as it was.
TEST_F(Exchange, CalendarFileImportSummaryNamesUnreadableDatesCancelSaysSo) {
    std::string source = vmtest::FreshCalendar();
    {
        auto s = db::Database::Open(source);
        s->exec("INSERT INTO [Velmora] ([Date],[DateText],[Duration]) VALUES ('3/15/2024','Old tool',0),"
                "('someday','Lost',0)");
        s->exec("DROP TRIGGER IF EXISTS [none]");
    }
    fx.messages.answers = {MsgResult::Yes};
    vm::ImportVelmoraFile(source);
    ASSERT_EQ(fx.messages.shown.size(), 2u) << "the question and one summary box";
    EXPECT_EQ(fx.messages.shown[1].text, "1 Date Record(s) have been imported from:\r\n" + source +
                                             "\r\n\r\n1 record was not imported: their Date cannot be read as a day."
                                             "\r\n\"someday\": Lost");
    EXPECT_EQ(db::AsText(Query("SELECT [Date]||' '||[JulDate] FROM [Velmora] WHERE [DateText] = 'Old tool'")),
              "2024-03-15 2024075");

    vm::FakeProgress progress;
    progress.cancelAtStep = 1;
    vm::SetProgress(&progress);
    const std::string before = vmtest::ReadAll(calendar);
    fx.messages.clear();
    fx.messages.answers = {MsgResult::Yes};
    vm::ImportVelmoraFile(source);
    vm::SetProgress(nullptr);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].title, "Import Cancelled");
    EXPECT_EQ(progress.tasks.size(), 1u) << "no repeat pass";
    EXPECT_EQ(vmtest::ReadAll(calendar), before);

    // Once the records are stored, the pass after them cannot be stopped:
    // its dialog offers no Cancel.
    progress.clear();
    vm::SetProgress(&progress);
    fx.messages.clear();
    fx.messages.answers = {MsgResult::Yes};
    vm::ImportVelmoraFile(source);
    vm::SetProgress(nullptr);
    ASSERT_EQ(progress.tasks.size(), 2u);
    EXPECT_EQ(progress.tasks[1].label, "Building the repeating data");
    EXPECT_FALSE(progress.tasks[1].canCancel);
    EXPECT_EQ(fx.messages.shown.back().title, "Import Complete");
}

// Help's web items: an opener that fails shows the box with the address.
TEST_F(Exchange, AWebItemTheOpenerCannotOpenShowsTheAddress) {
    opener.succeed = false;
    w->findChild<QAction*>("mnuHelp_Website")->trigger();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Internet Browser Problem");
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_NE(fx.messages.shown[0].text.find(opener.opened[0]), std::string::npos);
    opener.succeed = true;
    fx.messages.clear();
    w->findChild<QAction*>("mnuHelp_Website")->trigger();
    EXPECT_TRUE(fx.messages.shown.empty());
}

}  // namespace
