// Start-up, shut-down and the menus of the main window, on the real window
// with a fresh data folder, a set clock and fake dialogs, sound, speech and
// desktop handler.
#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QApplication>

#include <filesystem>
#include <memory>

#include "core/calendarfiles.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/settingsio.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/splash.h"
#include "platform/recordgrid.h"
#include "platform/clock.h"
#include "platform/places.h"
#include "platform/shell.h"
#include "platform/sound.h"
#include "platform/speech.h"
#include "platform/sqlstore.h"
#include "records/frmselectedday.h"
#include "testsupport.h"

namespace db = vm::db;
using vm::Module1;

namespace {

class StartupFixture {
public:
    StartupFixture() : dir(vmtest::MakeTempDir("velmora-start") + "/Velmora"), clock({2026, 12, 6, 9, 30, 0}) {
        setenv("VELMORA_DATA_DIR", dir.c_str(), 1);
        vm::SetClock(&clock);
        vm::SetSoundPlayer(&sound);
        vm::SetSpeech(&speech);
        vm::SetDesktopOpener(&opener);
        vm::CalendarFiles = {};
    }
    ~StartupFixture() {
        window.reset();
        vm::SetClock(nullptr);
        vm::SetSoundPlayer(nullptr);
        vm::SetSpeech(nullptr);
        vm::SetDesktopOpener(nullptr);
    }
    vm::frmVelmora& Start() {
        window.reset();
        vm::ResetSharedState();
        window = std::make_unique<vm::frmVelmora>();
        window->unloadWaitMs = 0;
        window->Form_Load();
        return *window;
    }
    void Stop() {
        window->Form_Unload();
        window.reset();
    }
    QAction* Action(const char* name) { return window->findChild<QAction*>(name); }

    vmtest::Fixture fx;  // messages and shared state
    std::string dir;
    vm::FakeClock clock;
    vm::FakeSoundPlayer sound;
    vm::FakeSpeech speech;
    vm::FakeDesktopOpener opener;
    std::unique_ptr<vm::frmVelmora> window;
};

TEST(StartUp, AFirstRunMakesEverythingAndShowsTheCurrentMonthWithoutABox) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    for (const char* file : {"Velmora_Settings.mdb", "Velmoras.mdb", "VelmoraHelp.pdf", "Graphics/Months/Dec.jpg",
                             "Sounds/opensound.wav", "Sounds/Alarm30.wav"})
        EXPECT_TRUE(vm::FileExists(vm::JoinPath(f.dir, file))) << file;
    EXPECT_TRUE(f.fx.messages.shown.empty()) << f.fx.messages.shown[0].title << ": " << f.fx.messages.shown[0].text;
    EXPECT_EQ(Module1.CalendarFilePath, f.dir + "/Velmoras.mdb");
    EXPECT_EQ(Module1.OptStartRepeatYear, "2019");
    EXPECT_EQ(w.pCurMon, 12);
    EXPECT_NE(w.windowTitle().toStdString().find("Velmoras.mdb"), std::string::npos);
    // Today's cell: 6 December 2026 is the first Sunday of the grid's second row.
    auto* today = w.findChild<QLabel*>("lblTitle_7");
    ASSERT_NE(today, nullptr);
    EXPECT_EQ(today->text().trimmed(), "6");
    EXPECT_EQ(f.speech.created, 1) << "the main window's voice";
    ASSERT_FALSE(f.sound.played.empty());
    EXPECT_EQ(f.sound.played.back(), f.dir + "/Sounds/opensound.wav");
    EXPECT_EQ(Module1.CurSoundFile, f.dir + "/Sounds/opensound.wav");
}

TEST(StartUp, OptionsSoundsStyleAndRecentFilesSurviveARestart) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    const std::string other = f.dir + "/Other.mdb";
    std::filesystem::copy_file(vm::BlankCalendarTemplate(), other);
    Module1.OptStartRepeatYear = "2021";
    Module1.OptCalcYearsSince = false;
    Module1.OptVoice = true;
    Module1.SoundFile[25] = "/my/chime.wav";
    w.pCalendarStyle = 3;
    vm::CalendarFiles.PrevFiles[1] = other;
    vm::CalendarFiles.PrevFiles[2] = Module1.CalendarFilePath;
    f.Stop();

    vm::frmVelmora& again = f.Start();
    EXPECT_EQ(Module1.OptStartRepeatYear, "2021");
    EXPECT_FALSE(Module1.OptCalcYearsSince);
    EXPECT_TRUE(Module1.OptVoice);
    EXPECT_EQ(Module1.SoundFile[25], "/my/chime.wav");
    EXPECT_EQ(again.pCalendarStyle, 3);
    EXPECT_EQ(vm::CalendarFiles.PrevFiles[1], other);
    auto* prev1 = f.Action("mnuFile_Prev_1");
    ASSERT_NE(prev1, nullptr);
    EXPECT_TRUE(prev1->isVisible());
    EXPECT_EQ(prev1->text(), "1 - Other.mdb");
}

TEST(StartUp, AMissingLastFileFallsBackSilentlyAndNoCalendarGivesOneBox) {
    StartupFixture f;
    f.Start();
    Module1.CalendarFilePath = f.dir + "/deleted.mdb";  // stored at shut-down
    f.Stop();
    f.Start();
    EXPECT_EQ(Module1.CalendarFilePath, f.dir + "/Velmoras.mdb");
    EXPECT_TRUE(f.fx.messages.shown.empty());
    f.Stop();

    std::filesystem::remove(f.dir + "/Velmoras.mdb");
    vm::ResetSharedState();
    f.fx.messages.clear();
    f.window = std::make_unique<vm::frmVelmora>();
    // The next start finds no calendar at all: EnsureDataFolder copies the
    // template again, so take that away too by pointing the program folder
    // at an empty one for this start.
    const std::string empty = vmtest::MakeTempDir("velmora-noprog");
    const std::string savedProgram = vm::ProgramFolder();
    setenv("VELMORA_PROGRAM_DIR", empty.c_str(), 1);
    f.window->unloadWaitMs = 0;
    f.window->Form_Load();
    unsetenv("VELMORA_PROGRAM_DIR");
    ASSERT_EQ(f.fx.messages.shown.size(), 1u);
    EXPECT_EQ(f.fx.messages.shown[0].title, "File Not Found");
    EXPECT_EQ(f.fx.messages.shown[0].text, "Last Velmora File is Not Found.\r\nUse File, Open to Select a File");
    EXPECT_EQ(f.fx.messages.shown[0].icon, vm::MsgIcon::Critical);
}

TEST(ShutDown, MinimizedKeepsTheStoredRectangleAndAMissingCalendarStillSavesSettings) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    w.setGeometry(40, 50, 1000, 700);
    f.Stop();
    const vm::SettingsRow stored = vm::ReadSettingsRow(vm::SettingsDatabasePath());
    EXPECT_NEAR(*stored.Width, 1000 * 15, 15 * 40);

    vm::frmVelmora& again = f.Start();
    again.show();
    again.setWindowState(Qt::WindowMinimized);
    Module1.OptStartRepeatYear = "2030";
    Module1.SoundFile[3] = "/three.wav";
    std::filesystem::remove(Module1.CalendarFilePath);  // gone during the run
    ASSERT_TRUE(again.isMinimized());
    f.Stop();
    const vm::SettingsRow after = vm::ReadSettingsRow(vm::SettingsDatabasePath());
    EXPECT_EQ(after.Width, stored.Width) << "a minimized window keeps the stored rectangle";
    EXPECT_EQ(after.StartRepeatYear, "2030");
    EXPECT_EQ(vm::ReadSoundTable(vm::SettingsDatabasePath())[3], "/three.wav");
    EXPECT_TRUE(f.fx.messages.shown.empty());
}

TEST(StartUp, AStoredSizeIsCutBackOnlyWhenLargerThanTheScreen) {
    StartupFixture f;
    f.Start();
    f.Stop();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        int height, width;        // stored, in pixels
        int shownHeight, shownWidth;  // 500 twips are 33 pixels
    } cases[] = {{screen.height() - 10, screen.width() - 10, screen.height() - 10, screen.width() - 10},
                 {screen.height() + 50, screen.width() + 50, screen.height() - 33, screen.width() - 33},
                 {400, 600, 400, 600}};
    for (const auto& c : cases) {
        vm::SettingsRow stored = vm::ReadSettingsRow(vm::SettingsDatabasePath());
        vm::SettingsToSave s;
        s.Top = 0;
        s.Left = 0;
        s.Height = c.height * 15.0;
        s.Width = c.width * 15.0;
        s.VBarLeft = stored.VBarLeft.value_or(0);
        s.LastVelmoraFN = stored.LastVelmoraFN.value_or("");
        vm::WriteSettingsRow(vm::SettingsDatabasePath(), s);
        vm::frmVelmora& w = f.Start();
        EXPECT_EQ(w.geometry().height(), c.shownHeight) << c.height;
        EXPECT_EQ(w.geometry().width(), c.shownWidth) << c.width;
        f.window.reset();
    }
}

TEST(ShutDown, AFailedSaveIsShownWithItsPointOnTheSameLine) {
    StartupFixture f;
    f.Start();
    db::Database::Open(vm::SettingsDatabasePath())
        ->exec("CREATE TRIGGER [fail] BEFORE UPDATE ON [Settings] BEGIN SELECT RAISE(ABORT, 'injected'); END");
    f.fx.messages.clear();
    f.Stop();
    ASSERT_EQ(f.fx.messages.shown.size(), 1u);
    EXPECT_EQ(f.fx.messages.shown[0].title, "Form_Unload_Exit");
    const std::string& text = f.fx.messages.shown[0].text;
    EXPECT_NE(text.find(" - injected@ ErrorPnt= 2"), std::string::npos) << text;
    EXPECT_EQ(text.find('\n'), std::string::npos) << text;
}

TEST(StartUp, CancelInTheErrorBoxSkipsTheRemainingSteps) {
    StartupFixture f;
    f.Start();
    f.Stop();
    // A calendar whose records lack a column the date grid's list asks for.
    db::Database::Open(f.dir + "/Velmoras.mdb")->exec("ALTER TABLE [Velmora] DROP COLUMN [DateType]");
    f.fx.messages.clear();
    f.sound.played.clear();
    f.fx.messages.answers = {vm::MsgResult::Cancel};
    vm::frmVelmora& w = f.Start();
    ASSERT_EQ(f.fx.messages.shown.size(), 1u);
    EXPECT_EQ(f.fx.messages.shown[0].title, "Form Load Error");
    EXPECT_NE(f.fx.messages.shown[0].text.find("@Error Point: 15"), std::string::npos);
    // The caption, the start-up sound and closing the splash come later: skipped.
    EXPECT_FALSE(w.windowTitle().contains("Velmoras.mdb")) << w.windowTitle().toStdString();
    EXPECT_TRUE(f.sound.played.empty());
    ASSERT_NE(vm::SplashWindow(), nullptr);
    EXPECT_TRUE(vm::SplashWindow()->isVisible());
    vm::CloseSplash();
}

TEST(ShutDown, AMonthLookThatCannotBeSavedGivesOneBoxNotOnePerMonth) {
    StartupFixture f;
    f.Start();
    db::Database::Open(Module1.CalendarFilePath)
        ->exec("CREATE TRIGGER [fail] BEFORE UPDATE ON [Backgrounds] BEGIN SELECT RAISE(ABORT, 'injected'); END");
    f.fx.messages.clear();
    f.Stop();
    ASSERT_EQ(f.fx.messages.shown.size(), 1u);
    EXPECT_EQ(f.fx.messages.shown[0].title, "SaveFonts2File_Error");
}

TEST(ShutDown, ClosingTheWindowSavesLikeExit) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    Module1.OptStartUpSound = "/closing.wav";
    f.Action("mnuFile_Exit")->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(vm::ReadSettingsRow(vm::SettingsDatabasePath()).StartUpSound, "/closing.wav");
    f.window.reset();
}

TEST(StartUp, AVoiceThatCannotBeMadeIsReportedAndStartUpGoesOn) {
    StartupFixture f;
    f.speech.failNext = true;
    vm::frmVelmora& w = f.Start();
    ASSERT_EQ(f.fx.messages.shown.size(), 1u);
    EXPECT_EQ(f.fx.messages.shown[0].title, "Initialize_Speech_Error");
    EXPECT_EQ(f.fx.messages.shown[0].text.find("Error Number 429 - "), 0u);
    EXPECT_EQ(w.pCurMon, 12);
    EXPECT_EQ(w.Voice, nullptr);
}

struct Item {
    const char* name;
    const char* caption;
    const char* keys;
};

TEST(Menus, EveryItemHasItsCaptionShortcutAndPlace) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    const Item items[] = {
        {"mnuFile_Open", "Open", ""},
        {"mnuFile_SaveAs", "Save As", ""},
        {"mnuNew_Calendar_File", "New Calendar", ""},
        {"mnuFile_Settings", "Preference &Settings", "Ctrl+S"},
        {"mnuList_People", "Contact List", ""},
        {"mnuFile_DayCalculator", "Day Calculator", ""},
        {"mnuFile_CalcWrkDays", "Calculate Work Dates", ""},
        {"mnuFile_Show2Do", "Show To Do List", ""},
        {"mnuFile_ShowTimer", "Show Timers", ""},
        {"mnuPrintCalendar", "Print PDF Calendar", ""},
        {"mnuFile_Build_Repeating", "Build &Repeating Data", "Ctrl+R"},
        {"mnuFile_Hide_Show", "Hide Calendar / Show Picture", "Ctrl+H"},
        {"mnuFile_Import", "Import Date Data", "Ctrl+I"},
        {"mnuFile_Export_Data", "Export Date Data", "Ctrl+E"},
        {"mnuFile_Exit", "E&xit", ""},
        {"mnuAbout", "&About", ""},
        {"mnuShow_UserManual", "&User Manual", ""},
        {"mnuHelp_CalendarDownload", "Calendar Download Website", ""},
        {"mnuHelp_Website", "YouTub Video Website", ""},
        {"mnuHelp_Images", "Great Web Back Ground Images", ""},
        {"mnuWeek_View", "Week View", ""},
        {"mnuNewRecord", "New Record", ""},
    };
    for (const Item& it : items) {
        QAction* a = f.Action(it.name);
        ASSERT_NE(a, nullptr) << it.name;
        EXPECT_EQ(a->text(), it.caption) << it.name;
        EXPECT_EQ(a->shortcut().toString(), it.keys) << it.name;
    }
    // The File menu's order, separators included.
    QStringList order;
    for (QAction* a : w.mnuFile->actions()) order << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(order.join("|").toStdString(),
              "Open|Save As|New Calendar|-|Preference &Settings|Tools|-|Print PDF Calendar|Build &Repeating Data|-|"
              "Hide Calendar / Show Picture|Import/Export|-|Previous File 1|Previous File 2|Previous File 3|"
              "Previous File 4|Previous File 5|E&xit");
    QStringList bar;
    for (QAction* a : w.menuBar()->actions()) bar << a->text();
    EXPECT_EQ(bar.join("|").toStdString(), "&File|&About|Help|Week View|New Record");
}

TEST(Menus, HideCalendarTogglesTheGridAndItsCaption) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    QAction* toggle = f.Action("mnuFile_Hide_Show");
    toggle->trigger();
    EXPECT_FALSE(w.pCalendarShown);
    EXPECT_EQ(toggle->text(), "Show Calendar");
    EXPECT_FALSE(w.findChild<QLabel*>("lblDay_10")->isVisible());
    toggle->trigger();
    EXPECT_TRUE(w.pCalendarShown);
    EXPECT_EQ(toggle->text(), "Hide Calendar / Show Picture");
    EXPECT_TRUE(w.findChild<QLabel*>("lblDay_10")->isVisible());
}

TEST(Menus, PrintPdfCalendarWritesAPdfAndShowsTheHint) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    w.printToFile = vmtest::MakeTempDir("velmora-pdf") + "/calendar.pdf";
    f.Action("mnuPrintCalendar")->trigger();
    const std::string pdf = vmtest::ReadAll(w.printToFile);
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_GT(pdf.size(), 2000u);
    EXPECT_EQ(Module1.SelDayTitle, "Print PDF Calendar");
    EXPECT_NE(Module1.SelDayText.find("narrow or shorter"), std::string::npos);
    EXPECT_TRUE(Module1.SelectedDayOpen);
    vm::UnloadSelectedDay();
}

TEST(Menus, ManualAndWebPagesGoToTheDesktopHandlerOnly) {
    StartupFixture f;
    f.Start();
    f.Action("mnuShow_UserManual")->trigger();
    ASSERT_EQ(f.opener.opened.size(), 1u);
    EXPECT_EQ(f.opener.opened[0], "file://" + f.dir + "/VelmoraHelp.pdf");
    EXPECT_TRUE(f.fx.messages.shown.empty());

    std::filesystem::remove(f.dir + "/VelmoraHelp.pdf");
    f.Action("mnuShow_UserManual")->trigger();
    ASSERT_EQ(f.fx.messages.shown.size(), 1u);
    EXPECT_EQ(f.fx.messages.shown[0].title, "mnuUserManual_Click - Error");
    EXPECT_EQ(f.fx.messages.shown[0].text, "User Manual Not Found");

    f.opener.opened.clear();
    f.Action("mnuHelp_CalendarDownload")->trigger();
    f.Action("mnuHelp_Website")->trigger();
    EXPECT_EQ(f.opener.opened.size(), 2u);
    f.fx.messages.answers = {vm::MsgResult::Cancel};
    f.Action("mnuHelp_Images")->trigger();
    EXPECT_EQ(f.opener.opened.size(), 2u) << "Cancel opens nothing";
    f.Action("mnuHelp_Images")->trigger();
    ASSERT_EQ(f.opener.opened.size(), 4u);
    EXPECT_NE(f.opener.opened[2].find("screensaver"), std::string::npos) << "the screensaver page first";
    for (const auto& url : f.opener.opened) EXPECT_EQ(url.rfind("http", 0) == 0 || url.rfind("file://", 0) == 0, true);
}

TEST(Menus, SettingsAndNewRecordOpenTheirWindows) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    f.Action("mnuFile_Settings")->trigger();
    auto* settings = w.findChild<QWidget*>("SSPanelSettings");
    ASSERT_NE(settings, nullptr);
    EXPECT_TRUE(settings->isVisible());
    f.Action("mnuNewRecord")->trigger();
    EXPECT_TRUE(Module1.EnterRecOpen);
    f.Stop();
    EXPECT_FALSE(Module1.EnterRecOpen) << "shut-down closes the entry window";
}

TEST(Menus, AboutShowsTheStartPanelAndTheAboutText) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    f.Action("mnuAbout")->trigger();
    EXPECT_TRUE(w.findChild<QWidget*>("ssPnlSplash1")->isVisible());
    ASSERT_TRUE(Module1.SelectedDayOpen);
    QWidget* about = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmSelectedDay" && top->isVisible()) about = top;
    ASSERT_NE(about, nullptr);
    const QSize aboutSize = about->size();
    auto* box = about->findChild<QPlainTextEdit*>("txtDayText");
    ASSERT_NE(box, nullptr);
    const std::string text = box->toPlainText().toStdString();
    EXPECT_NE(text.find("Velmora"), std::string::npos);
    EXPECT_NE(text.find(vm::VersionText()), std::string::npos);
    vm::UnloadSelectedDay();

    // A day window of another size is open: About still opens at its own size.
    Module1.SelDayHeight = 3000;
    Module1.SelDayWidth = 4200;
    vm::ShowSelectedDay();
    f.Action("mnuAbout")->trigger();
    QWidget* again = nullptr;
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmSelectedDay" && top->isVisible()) again = top;
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->size(), aboutSize);
    vm::UnloadSelectedDay();

    // Neutral words: no contact or payment lines, here or on the start panel.
    const std::string panel = w.findChild<QLabel*>("lblSplash")->text().toStdString();
    for (const std::string& words : {text, panel}) {
        EXPECT_EQ(words.find('@'), std::string::npos) << words;
        EXPECT_EQ(words.find("payment"), std::string::npos) << words;
    }
}

TEST(StartUp, TheDateGridOffersTheStoredDateTypesAndTheColourPanelOpensTheConverter) {
    StartupFixture f;
    f.Start();
    {
        auto d = db::Database::Open(Module1.CalendarFilePath);
        d->exec("INSERT INTO [Velmora] ([Date], [JulDate], [DateType]) VALUES ('2026-12-01', 2026335, 'Birthday'), "
                "('2026-12-02', 2026336, '  '), ('2026-12-03', 2026337, 'Holiday')");
    }
    f.Stop();
    vm::frmVelmora& w = f.Start();
    // The design types first, then the stored ones.
    EXPECT_EQ(w.DataDatesModel->valueList(w.DateGridColumn(10)),
              (QStringList{"Holiday", "Birthday", "Death Date", "Anniversary", "Wedding", "Project Start Date",
                           "Project Complete Date", "Birthday", "Holiday"}));
    EXPECT_EQ(w.DataDates.recordSource(), "SELECT * FROM [Velmora]") << "start-up ends on all date records";
    EXPECT_EQ(w.DataDates.recordCount(), 3);

    auto* panel = w.findChild<QWidget*>("SSPanelDayColor");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isHidden());
    auto* rgb = panel->findChild<QPushButton*>("sscmdRedGreenBlue");
    ASSERT_NE(rgb, nullptr);
    rgb->click();
    EXPECT_TRUE(Module1.RedGreenBlueOpen);
    f.Stop();
    EXPECT_FALSE(Module1.RedGreenBlueOpen) << "shut-down closes the converter";
}

}  // namespace
