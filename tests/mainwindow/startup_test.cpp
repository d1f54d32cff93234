// Start-up, shut-down and the menus of the main window, on the real window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "core/files.h"
#include "core/settingsio.h"
#include "mainwindow/pictures.h"
#include "mainwindow/splash.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "platform/sqlstore.h"
#include "records/dategrid.h"
#include "records/frmselectedday.h"
#include "startedwindow.h"

namespace db = vm::db;
using vm::Module1;
using StartupFixture = vmtest::StartedWindow;

namespace {

TEST(StartUp, AFirstRunMakesEverythingAndShowsTheCurrentMonthWithoutABox) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    for (const char* file : {"Velmora_Settings.mdb", "Velmoras.mdb", "VelmoraHelp.pdf", "Graphics/Months/Dec.jpg",
                             "Sounds/opensound.wav", "Sounds/Alarm30.wav"})
        EXPECT_TRUE(vm::FileExists(vm::JoinPath(f.dir, file))) << file;
    ASSERT_TRUE(f.Shown().empty()) << f.Shown()[0].title << ": " << f.Shown()[0].text;
    EXPECT_EQ(Module1.CalendarFilePath, f.dir + "/Velmoras.mdb");
    EXPECT_NE(f.Caption().find("Velmoras.mdb"), std::string::npos);
    EXPECT_EQ(w.lblMonth->text(), "December  2026");
    EXPECT_FALSE(w.Image1->pixmap().isNull());
    // Today, 6 December 2026, is the first Sunday of the grid's second row: white on black.
    QLabel* today = f.Label("lblTitle_7");
    EXPECT_EQ(today->text().trimmed(), "6");
    EXPECT_EQ(today->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(f.speech.created, 0) << "with speech off the voice starts when something first speaks";
    ASSERT_FALSE(f.sound.played.empty());
    EXPECT_EQ(f.sound.played.back(), f.dir + "/Sounds/opensound.wav");
}

// The pictures are read ahead while start-up opens the files; what shows is
// what the files hold, the month's own picture when its calendar names one.
TEST(StartUp, TheMonthShowsItsCalendarsPictureWholeBesideTheStartPanel) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    // The folder's picture, decoded no larger than the screen.
    QImageReader folderPicture(QString::fromStdString(f.dir + "/Graphics/Months/Dec.jpg"));
    const QSize whole = folderPicture.size();
    ASSERT_TRUE(whole.isValid());
    if (whole != whole.boundedTo(vm::LargestScreenPixels()))
        folderPicture.setScaledSize(whole.boundedTo(vm::LargestScreenPixels()));
    EXPECT_EQ(w.Image1->pixmap().toImage(), folderPicture.read());
    ASSERT_TRUE(w.Image4);
    EXPECT_FALSE(w.Image4->pixmap().isNull());
    EXPECT_EQ(vm::PicturesReadAhead(), 0);

    const std::string own = f.dir + "/own.jpg";
    QImage blue(320, 240, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    ASSERT_TRUE(blue.save(QString::fromStdString(own), "JPG", 95));
    Module1.MonthImageFile[12] = own;
    f.Stop();
    vm::frmVelmora& again = f.Start();
    const QImage shown = again.Image1->pixmap().toImage();
    EXPECT_EQ(shown.size(), QSize(320, 240));
    EXPECT_GT(shown.pixelColor(160, 120).blue(), 200);
    EXPECT_FALSE(again.Image4->pixmap().isNull());
    EXPECT_EQ(vm::PicturesReadAhead(), 0) << "the folder's picture read ahead is let go";
}

TEST(StartUp, OptionsSoundsStyleRecentFilesAndRecordsSurviveExitAndARestart) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    db::Database::Open(Module1.CalendarFilePath)
        ->exec("INSERT INTO [Velmora] ([Date], [JulDate], [DateType]) VALUES ('2026-12-01', 2026335, 'Birthday'), "
               "('2026-12-02', 2026336, '  '), ('2026-12-03', 2026337, 'Sailing Day')");
    const std::string other = f.dir + "/Other.mdb";
    std::filesystem::copy_file(vm::BlankCalendarTemplate(), other);
    Module1.OptStartRepeatYear = "2021";
    Module1.SoundFile[25] = "/my/chime.wav";
    w.pCalendarStyle = 3;
    vm::CalendarFiles.PrevFiles[1] = other;
    vm::CalendarFiles.PrevFiles[2] = Module1.CalendarFilePath;
    f.Action("mnuFile_Exit")->trigger();
    EXPECT_FALSE(w.isVisible());

    vm::frmVelmora& again = f.Start();
    EXPECT_EQ(Module1.OptStartRepeatYear, "2021");
    EXPECT_EQ(Module1.SoundFile[25], "/my/chime.wav");
    EXPECT_EQ(again.pCalendarStyle, 3);
    QAction* prev1 = f.Action("mnuFile_Prev_1");
    EXPECT_TRUE(prev1->isVisible());
    EXPECT_EQ(prev1->text(), "1 - Other.mdb");
    // The date grid lists every record and offers the stored date types last, once each.
    EXPECT_EQ(again.DataDates.recordCount(), 3);
    const QStringList types = again.DataDatesModel->valueList(again.dateGrid->DateGridColumn(10));
    EXPECT_EQ(types.mid(types.size() - 2), (QStringList{"Birthday", "Sailing Day"}));
    EXPECT_EQ(types.filter("Sailing").size(), 1);
    EXPECT_FALSE(types.contains("  "));
}

TEST(StartUp, AMissingLastFileFallsBackSilentlyAndNoCalendarGivesOneBox) {
    StartupFixture f;
    f.Start();
    Module1.CalendarFilePath = f.dir + "/deleted.mdb";  // stored at shut-down
    f.Stop();
    f.Start();
    EXPECT_EQ(Module1.CalendarFilePath, f.dir + "/Velmoras.mdb");
    EXPECT_TRUE(f.Shown().empty());
    f.Stop();

    // No calendar at all: the template the data folder is filled from is gone too.
    std::filesystem::remove(f.dir + "/Velmoras.mdb");
    setenv("VELMORA_PROGRAM_DIR", vmtest::MakeTempDir("velmora-noprog").c_str(), 1);
    f.Start();
    unsetenv("VELMORA_PROGRAM_DIR");
    ASSERT_EQ(f.Shown().size(), 1u);
    EXPECT_EQ(f.Shown()[0].title, "File Not Found");
}

TEST(ShutDown, MinimizedKeepsTheRectangleAndSavesWithoutACalendar) {
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
    f.Action("mnuNewRecord")->trigger();
    QPushButton* rgb = nullptr;  // the entry window's own RGB button
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmEnterRec") rgb = top->findChild<QPushButton*>("sscmdRGB");
    ASSERT_TRUE(rgb);
    rgb->click();
    ASSERT_TRUE(Module1.EnterRecOpen && Module1.RedGreenBlueOpen);
    std::filesystem::remove(Module1.CalendarFilePath);  // gone during the run
    ASSERT_TRUE(again.isMinimized());
    f.Stop();
    EXPECT_FALSE(Module1.EnterRecOpen);
    EXPECT_FALSE(Module1.RedGreenBlueOpen);
    const vm::SettingsRow after = vm::ReadSettingsRow(vm::SettingsDatabasePath());
    EXPECT_EQ(after.Width, stored.Width) << "a minimized window keeps the stored rectangle";
    EXPECT_EQ(after.StartRepeatYear, "2030");
    EXPECT_EQ(vm::ReadSoundTable(vm::SettingsDatabasePath())[3], "/three.wav");
    EXPECT_TRUE(f.Shown().empty());
}

TEST(StartUp, AStoredSizeIsCutBackOnlyWhenLargerThanTheScreen) {
    StartupFixture f;
    f.Start();
    f.Stop();
    const QSize screen = QGuiApplication::primaryScreen()->availableGeometry().size();
    const QSize inside = screen - QSize(10, 10);
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const struct {
        QSize stored, shown;  // pixels; 500 twips are 33 pixels
        QPoint at;            // stored place; the window is moved back whole onto the screen
    } cases[] = {{inside, inside, {40, 40}},
                 {screen + QSize(50, 50), screen - QSize(33, 33), {0, 0}},
                 {{600, 400}, {600, 400}, {screen.width() - 300, 40}}};
    for (const auto& c : cases) {
        const vm::SettingsRow stored = vm::ReadSettingsRow(vm::SettingsDatabasePath());
        vm::SettingsToSave s;
        s.Height = c.stored.height() * 15.0;
        s.Width = c.stored.width() * 15.0;
        s.Left = (room.left() + c.at.x()) * 15.0;
        s.Top = (room.top() + c.at.y()) * 15.0;
        s.LastVelmoraFN = stored.LastVelmoraFN.value_or("");
        vm::WriteSettingsRow(vm::SettingsDatabasePath(), s);
        const QRect shown = f.Start().geometry();
        EXPECT_EQ(shown.size(), c.shown) << c.stored.width() << "x" << c.stored.height();
        EXPECT_TRUE(room.contains(shown)) << c.stored.width() << "x" << c.stored.height() << " at " << c.at.x();
        f.window.reset();
    }
}

// A size of nothing or less, one past any number, or a splitter bar outside
// the window (left by another program or a damaged run) keeps the default;
// the window fits the screen and the cells lie beside the grid.
TEST(StartUp, AStoredSizeOfNothingOrABarOutsideTheWindowKeepsTheDefault) {
    StartupFixture f;
    f.Start();
    f.Stop();
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const char* stored[] = {"Height = 0, Width = 0", "Height = -5000, Width = -1e300, Top = -1e300",
                            "Height = 1e300, Width = 1e12", "VBarLeft = 20000", "VBarLeft = -2000",
                            "VBarLeft = 100"};
    for (const char* c : stored) {
        vm::db::Database::Open(vm::SettingsDatabasePath())
            ->exec(std::string("UPDATE [Settings] SET [Height] = 9000, [Width] = 9000, [Top] = 600, [Left] = 600, "
                               "[VBarLeft] = 4000; UPDATE [Settings] SET ") + c);
        vm::frmVelmora& w = f.Start();
        w.show();
        QApplication::processEvents();
        EXPECT_GE(w.height(), 300) << c << ": no strip";
        EXPECT_GE(w.width(), 300) << c;
        EXPECT_LE(w.width(), room.width()) << c;
        EXPECT_LE(w.height(), room.height()) << c;
        const double bar = w.TwipsOf(w.SSCmdVert).left;
        EXPECT_GE(bar, 0) << c;
        EXPECT_LE(bar, w.FormWidthTwips() - vm::frmVelmora::kGridSideMargin) << c;
        f.window.reset();
    }
    // Where the toolbar's Justify puts the bar comes back as it was.
    vm::db::Database::Open(vm::SettingsDatabasePath())
        ->exec("UPDATE [Settings] SET [Height] = 9000, [Width] = 9000, [VBarLeft] = 7880");
    vm::frmVelmora& w = f.Start();
    EXPECT_EQ(w.TwipsOf(w.SSCmdVert).left, 7880);
}

TEST(ShutDown, AStoreThatCannotBeWrittenGivesOneBoxWithItsPointOnOneLine) {
    const struct {
        bool settings;
        const char* table;
        const char *title, *text;
    } cases[] = {{true, "Settings", "Form_Unload_Exit", " - injected@ ErrorPnt= 2"},
                 {false, "Backgrounds", "SaveFonts2File_Error", "injected"}};
    for (const auto& c : cases) {
        StartupFixture f;
        f.Start();
        db::Database::Open(c.settings ? vm::SettingsDatabasePath() : Module1.CalendarFilePath)
            ->exec(std::string("CREATE TRIGGER [fail] BEFORE UPDATE ON [") + c.table +
                   "] BEGIN SELECT RAISE(ABORT, 'injected'); END");
        f.fx.messages.clear();
        f.Stop();
        ASSERT_EQ(f.Shown().size(), 1u) << c.table << ": one box, not one per month";
        EXPECT_EQ(f.Shown()[0].title, c.title);
        EXPECT_NE(f.Shown()[0].text.find(c.text), std::string::npos) << f.Shown()[0].text;
        EXPECT_EQ(f.Shown()[0].text.find('\n'), std::string::npos) << f.Shown()[0].text;
    }
}

// A calendar the engine cannot write (no room left, or writes refused) ends
// each command at its first failed write with one plain box: none of the
// raw "13 - database or disk is full" boxes per step. Month steps, which
// write only the month's working table, say it once while it lasts, not at
// every step, and again when it comes back after a step that could write.
TEST(StartUp, AFileThatCannotBeWrittenGivesOnePlainBoxNotOnePerMonthStep) {
    const struct {
        const char* pragma;
        const char* text;
    } cases[] = {{"max_page_count", "The disk is full: Velmoras.mdb was not changed"},
                 {"query_only", "The file may only be read: Velmoras.mdb was not changed"}};
    for (const auto& c : cases) {
        StartupFixture f;
        f.Start();
        {
            auto cal = db::Database::Open(Module1.CalendarFilePath);
            db::Transaction batch(*cal);
            auto add = cal->prepare("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText],[Duration]) "
                                    "VALUES (0,?,?,?,0)");
            for (int i = 0; i < 400; ++i) {
                const vm::CivilDate d{2027, 1 + i % 2, 15};  // January and February 2027
                add.bindAll({db::Text(vm::FormatIso(d)), db::Int(vm::Date2Julian(d)),
                             db::Text(std::string(300, static_cast<char>('a' + i % 26)))})
                    .step();
                add.reset();
            }
            batch.commit();
        }
        db::Database& store = f.window->DataDates.database();
        if (std::string(c.pragma) == "max_page_count") {
            auto pages = store.prepare("PRAGMA page_count");
            pages.step();
            store.exec("PRAGMA max_page_count = " + std::to_string(db::AsInt(pages.column(0))));
        } else
            store.exec("PRAGMA query_only = 1");
        f.fx.messages.clear();
        QWidget* forward = f.window->Toolbar1->widgetForAction(f.window->Toolbar1Button("Forward"));
        QWidget* back = f.window->Toolbar1->widgetForAction(f.window->Toolbar1Button("Back"));
        QTest::mouseClick(forward, Qt::LeftButton);  // January 2027: its entries cannot be sorted
        f.window->mnuFile_Build_Repeating_Click();   // more writes within the same command
        ASSERT_EQ(f.Shown().size(), 1u) << c.pragma;
        EXPECT_EQ(f.Shown()[0].text, c.text);
        EXPECT_EQ(f.Shown()[0].buttons, vm::MsgButtons::Ok);
        QTest::mouseClick(forward, Qt::LeftButton);  // February 2027, no room either
        QTest::mouseClick(back, Qt::LeftButton);
        QTest::mouseClick(forward, Qt::LeftButton);
        EXPECT_EQ(f.Shown().size(), 1u) << c.pragma << ": month steps while it lasts say nothing more";
        EXPECT_EQ(f.window->lblMonth->text(), "February  2027");
        // Room again: the next step writes; when the room is gone once more,
        // the next step that cannot write says so again.
        auto writable = [&](bool yes) {
            if (std::string(c.pragma) == "query_only") {
                store.exec(std::string("PRAGMA query_only = ") + (yes ? "0" : "1"));
                return;
            }
            auto pages = store.prepare("PRAGMA page_count");
            pages.step();
            store.exec("PRAGMA max_page_count = " + (yes ? std::string("1073741823") : db::AsText(pages.column(0))));
        };
        writable(true);
        QTest::mouseClick(forward, Qt::LeftButton);
        EXPECT_EQ(f.Shown().size(), 1u);
        writable(false);
        QTest::mouseClick(back, Qt::LeftButton);
        EXPECT_EQ(f.Shown().size(), 2u) << c.pragma << ": a failure that came back is said again";
        EXPECT_EQ(f.window->lblMonth->text(), "February  2027");
        writable(true);
    }
}

// A voice that cannot be made is said at start-up only when speech is on.
TEST(StartUp, AVoiceThatCannotBeMadeIsReportedOnlyWithSpeechOn) {
    StartupFixture f;
    f.speech.failNext = true;
    f.Start();
    EXPECT_TRUE(f.Shown().empty()) << "speech is off";
    EXPECT_TRUE(f.speech.failNext) << "nor is the voice started before something speaks";
    f.Stop();
    db::Database::Open(f.dir + "/Velmora_Settings.mdb")->exec("UPDATE [Settings] SET [Voice] = -1");
    vm::SetSpeech(&f.speech);  // a fresh engine is asked for
    f.speech.failNext = true;
    vm::frmVelmora& w = f.Start();
    ASSERT_EQ(f.Shown().size(), 1u);
    EXPECT_EQ(f.Shown()[0].title, "Initialize_Speech_Error");
    EXPECT_EQ(f.Shown()[0].text.find("Error Number 429 - "), 0u);
    EXPECT_EQ(w.lblMonth->text(), "December  2026");
    EXPECT_EQ(w.Voice, nullptr);
}

// A manual in the data folder that differs from the program's, even in one
// byte of the same length, gives way to it at the next start.
// A Save As killed midway left a hidden part of its copy in the data folder:
// the next start removes it.
TEST(StartUp, ThePartOfACopyAKilledSaveAsLeftIsRemovedAtTheNextStart) {
    StartupFixture f;
    f.Start();
    f.Stop();
    const std::string left = f.dir + "/.Copy3.mdb.velmora-part-nTC4f5", mine = f.dir + "/.Velmoras.mdb.backup";
    vmtest::WriteAll(left, "half a calendar");
    vmtest::WriteAll(mine, "the user's own");
    f.Start();
    EXPECT_FALSE(std::filesystem::exists(left));
    EXPECT_EQ(vmtest::ReadAll(mine), "the user's own") << "only what a copy of ours left";
    f.Stop();
}

TEST(StartUp, AManualUnlikeTheProgramsOwnIsReplacedAtTheNextStart) {
    StartupFixture f;
    f.Start();
    const std::string copy = f.dir + "/VelmoraHelp.pdf";
    const std::string shipped = vmtest::ReadAll(vm::JoinPath(vm::ProgramFolder(), "VelmoraHelp.pdf"));
    ASSERT_EQ(vmtest::ReadAll(copy), shipped);
    f.Stop();
    for (const std::string& other : {std::string("an older manual"), shipped.substr(0, shipped.size() - 1) + "#"}) {
        { std::ofstream(copy, std::ios::binary | std::ios::trunc) << other; }
        ASSERT_EQ(vmtest::ReadAll(copy), other);
        f.Start();
        EXPECT_EQ(vmtest::ReadAll(copy), shipped) << other.size();
        f.Stop();
    }
}

TEST(Menus, PrintPdfAndTheManualOnTheStartedWindow) {
    StartupFixture f;
    // A manual an older version left in the data folder gives way to this one.
    { std::ofstream(f.dir + "/VelmoraHelp.pdf") << "an older manual"; }
    vm::frmVelmora& w = f.Start();
    EXPECT_EQ(vmtest::ReadAll(f.dir + "/VelmoraHelp.pdf"),
              vmtest::ReadAll(vm::JoinPath(vm::ProgramFolder(), "VelmoraHelp.pdf")));
    w.show();
    // Print PDF Calendar writes a PDF and shows its hint in the day window.
    w.printToFile = vmtest::MakeTempDir("velmora-pdf") + "/calendar.pdf";
    f.Action("mnuPrintCalendar")->trigger();
    const std::string pdf = vmtest::ReadAll(w.printToFile);
    EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
    EXPECT_GT(pdf.size(), 2000u);
    EXPECT_NE(Module1.SelDayText.find("narrow or shorter"), std::string::npos);
    vm::UnloadSelectedDay();
    // A PDF that cannot be written is said so, and no hint follows.
    f.fx.messages.clear();
    Module1.SelDayText.clear();
    w.printToFile = vmtest::MakeTempDir("velmora-pdf") + "/no such folder/calendar.pdf";
    f.Action("mnuPrintCalendar")->trigger();
    ASSERT_EQ(f.Shown().size(), 1u);
    EXPECT_NE(f.Shown()[0].text.find("cannot be written"), std::string::npos) << f.Shown()[0].text;
    EXPECT_TRUE(Module1.SelDayText.empty());

    // The manual and the web pages go to the desktop handler only.
    f.fx.messages.clear();
    f.Action("mnuShow_UserManual")->trigger();
    EXPECT_EQ(f.opener.opened, std::vector<std::string>{"file://" + f.dir + "/VelmoraHelp.pdf"});
    EXPECT_TRUE(f.Shown().empty());
    // The registered PDF program fails after the desktop took the file: the
    // box comes then.
    f.opener.failLater();
    ASSERT_EQ(f.Shown().size(), 1u);
    EXPECT_EQ(f.Shown()[0].title, "mnuUserManual_Click - Error");
    EXPECT_EQ(f.Shown()[0].icon, vm::MsgIcon::Critical);
    EXPECT_EQ(f.Shown()[0].text.rfind("User Manual Not Found\r\n", 0), 0u);
    EXPECT_NE(f.Shown()[0].text.find(f.dir + "/VelmoraHelp.pdf"), std::string::npos);
    f.fx.messages.clear();
    // A desktop with no PDF reader: one box that names the manual's full path.
    f.opener.succeed = false;
    f.Action("mnuShow_UserManual")->trigger();
    ASSERT_EQ(f.Shown().size(), 1u);
    EXPECT_NE(f.Shown()[0].text.find("opens PDF files"), std::string::npos);
    EXPECT_NE(f.Shown()[0].text.find(f.dir + "/VelmoraHelp.pdf"), std::string::npos);
    f.opener.succeed = true;
    f.opener.opened.clear();
    f.fx.messages.clear();
    std::filesystem::remove(f.dir + "/VelmoraHelp.pdf");
    f.Action("mnuShow_UserManual")->trigger();
    ASSERT_EQ(f.Shown().size(), 1u);
    EXPECT_EQ(f.Shown()[0].text, "User Manual Not Found\r\nIt was looked for at:\r\n" + f.dir + "/VelmoraHelp.pdf");
    f.fx.messages.answers = {vm::MsgResult::Cancel};
    f.Action("mnuHelp_Images")->trigger();
    EXPECT_TRUE(f.opener.opened.empty()) << "neither a missing manual nor Cancel opens anything";
}

// Every command of the menu bar has an Alt letter of its own, and Alt with
// that letter opens its menu or runs it.
TEST(Menus, EveryMenuBarCommandHasItsOwnAltLetter) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    std::set<int> letters;
    for (QAction* a : w.menuBar()->actions()) {
        const QKeySequence alt = QKeySequence::mnemonic(a->text());
        ASSERT_FALSE(alt.isEmpty()) << a->text().toStdString() << " has no Alt letter";
        EXPECT_TRUE(letters.insert(alt[0].toCombined()).second) << a->text().toStdString() << ": its letter is taken";
        QSignalSpy ran(a, &QAction::triggered);
        std::unique_ptr<QSignalSpy> opened;
        if (a->menu()) opened = std::make_unique<QSignalSpy>(a->menu(), &QMenu::aboutToShow);
        w.activateWindow();
        QTest::keyClick(&w, alt[0].key(), Qt::AltModifier);
        EXPECT_EQ((opened ? opened->count() : ran.count()), 1) << a->text().toStdString();
        if (a->menu()) a->menu()->hide();
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != &w && top->isWindow() && top->isVisible() && !qobject_cast<QMenu*>(top)) top->close();
    }
    EXPECT_EQ(letters.size(), 5u) << "File, About, Help, Week View and New Record";
}

QWidget* ShownDayWindow() {
    for (QWidget* top : QApplication::topLevelWidgets())
        if (top->objectName() == "frmSelectedDay" && top->isVisible()) return top;
    return nullptr;
}

TEST(Menus, AboutOpensAtItsOwnSize) {
    StartupFixture f;
    vm::frmVelmora& w = f.Start();
    w.show();
    f.Action("mnuAbout")->trigger();
    EXPECT_TRUE(w.findChild<QWidget*>("ssPnlSplash1")->isVisible());
    ASSERT_NE(ShownDayWindow(), nullptr);
    const QSize aboutSize = ShownDayWindow()->size();
    const std::string text = ShownDayWindow()->findChild<QPlainTextEdit*>("txtDayText")->toPlainText().toStdString();
    EXPECT_NE(text.find(vm::VersionText()), std::string::npos);
    vm::UnloadSelectedDay();

    // A day window of another size is open: About still opens at its own size.
    Module1.SelDayHeight = 3000;
    Module1.SelDayWidth = 4200;
    vm::ShowSelectedDay();
    f.Action("mnuAbout")->trigger();
    ASSERT_NE(ShownDayWindow(), nullptr);
    EXPECT_EQ(ShownDayWindow()->size(), aboutSize);
    vm::UnloadSelectedDay();

    // The start panel goes at a press on it, also with the calendar hidden.
    f.Action("mnuFile_Hide_Show")->trigger();
    QWidget* panel = w.findChild<QWidget*>("ssPnlSplash1");
    ASSERT_TRUE(panel->isVisible());
    QTest::mousePress(w.findChild<QWidget*>("lblSplash"), Qt::LeftButton);
    EXPECT_FALSE(panel->isVisible());
    vm::UnloadSelectedDay();
}

}  // namespace
