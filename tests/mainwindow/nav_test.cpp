// Moving through months in the real main window, headless: the month and
// year boxes with typed names and years, the arrow keys, the main toolbar, the
// records a search listed and their deletion, the day-cell double click and
// its speech, and a cell edit after the calendar table vanished.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTableView>
#include <QToolBar>
#include <QWidgetAction>

#include <functional>
#include <vector>

#include "core/dates.h"
#include "core/datewords.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "mainwindow/frmvelmora.h"
#include "alarms/frmalarm.h"
#include "platform/controls.h"
#include "platform/guardedapp.h"
#include "platform/recordgrid.h"
#include "platform/speech.h"
#include "records/dategrid.h"
#include "records/frmselectedday.h"
#include "keyboard.h"
#include "monthfixture.h"

namespace db = vm::db;
using vm::CivilDate;
using vm::MsgResult;

namespace {

class Navigation : public vmtest::MonthBuild {
protected:
    void SetUp() override {
        MonthBuild::SetUp();
        Draw("February", " 2026");
    }
    void TearDown() override { vm::UnloadSelectedDay(); }

    int64_t Add(CivilDate d, const char* text) { return cal.Add("Velmora", {d, text}); }
    std::vector<int64_t> Ids() {
        std::vector<int64_t> ids;
        auto st = cal.db->prepare("SELECT [ID] FROM [Velmora] ORDER BY [ID]");
        while (st.step()) ids.push_back(db::AsInt(st.column(0)));
        return ids;
    }
    QAction* Button(const char* key) { return w->Toolbar1->findChild<QAction*>(key); }
    void Click(const char* key) {
        QAction* a = Button(key);
        ASSERT_NE(a, nullptr) << key;
        a->trigger();
    }
    bool ListedButtonsShown() { return w->Toolbar1Button(10)->isVisible() && w->Toolbar1Button(12)->isVisible(); }
    bool ListedButtonsHidden() { return !w->Toolbar1Button(10)->isVisible() && !w->Toolbar1Button(12)->isVisible(); }
    void TypeInto(QComboBox* box, const QString& text) {
        box->lineEdit()->clear();
        QTest::keyClicks(box, text);
    }
    // A search typed into the date grid's search bar: the grid lists what it finds.
    void Search(const char* text) {
        w->dateGrid->txtSearch->setText(text);
        QTest::keyClick(w->dateGrid->txtSearch, Qt::Key_Return);
    }
    std::string Month() { return w->cmbMonth->currentText().toStdString(); }
    std::string Year() { return w->cmbYear->currentText().toStdString(); }
    std::string Shown() { return w->lblMonth->text().toStdString(); }
};

TEST_F(Navigation, BackAndForwardStepMonthsAndCrossYearsBeyondTheList) {
    struct Case {
        const char *month, *year, *key, *wantMonth, *wantYear;
        int firstCell;  // cell of the 1st in the drawn month
    };
    const Case cases[] = {
        {"January", " 2024", "Back", "December", " 2023", 5},
        {"December", " 2040", "Forward", "January", " 2041", 2},
        {"March", " 2026", "Back", "February", " 2026", 0},
        {"November", " 2026", "Forward", "December", " 2026", 2},
    };
    for (const Case& c : cases) {
        Draw(c.month, c.year);
        const int builds = w->buildsRun();
        Click(c.key);
        EXPECT_EQ(Month(), c.wantMonth) << c.month << c.key;
        EXPECT_EQ(Year(), c.wantYear) << c.month << c.key;
        EXPECT_EQ(Title(c.firstCell)->toolTip().toStdString(),
                  " " + std::string(c.wantMonth) + " 1, " + vm::Trim(c.wantYear) + " ");
        EXPECT_GT(w->buildsRun(), builds);
    }
    // A box without a month name: Forward writes January, Back writes nothing.
    w->cmbMonth->setEditText("Smarch");
    Click("Back");
    EXPECT_EQ(Month(), "Smarch");
    Click("Forward");
    EXPECT_EQ(Month(), "January");
    // No year past 9999: a beep, and December stays.
    Draw("December", " 9999");
    Click("Forward");
    EXPECT_EQ(Month(), "December");
    EXPECT_EQ(Year(), " 9999");
    EXPECT_EQ(fx.messages.beeps, 1);
}

TEST_F(Navigation, AWholeMonthNameInAnyCaseIsDrawnPartsOfNamesAreNot) {
    Draw("June", " 2026");
    TypeInto(w->cmbMonth, "FEBruary");
    EXPECT_EQ(Month(), "February");
    EXPECT_EQ(Shown(), "February  2026");

    for (const char* typed : {"feb", "Febuary", "mar"}) {
        const int builds = w->buildsRun();
        TypeInto(w->cmbMonth, typed);
        QTest::keyClick(w->cmbMonth, Qt::Key_Return);
        EXPECT_EQ(Month(), typed);
        EXPECT_EQ(w->buildsRun(), builds) << typed;
        EXPECT_EQ(Shown(), "February  2026") << typed;
    }
}

TEST_F(Navigation, ATypedYearFrom1To9999IsDrawnAnythingElseBeeps) {
    struct Case {
        const char* typed;
        const char* shown;  // the box afterwards
        bool drawn;
    };
    const Case cases[] = {
        {"2050", " 2050", true}, {"9999", " 9999", true}, {"1", " 1", true},     {" 2031", " 2031", true},
        {"0", " 2031", false},   {"10000", " 2031", false}, {"abc", " 2031", false}, {"-5", " 2031", false},
        {"", " 2031", false},  // emptied: the drawn year comes back
    };
    int beeps = 0;
    for (const Case& c : cases) {
        const int builds = w->buildsRun();
        TypeInto(w->cmbYear, c.typed);
        QTest::keyClick(w->cmbYear, Qt::Key_Return);
        EXPECT_EQ(Year(), c.shown) << c.typed;
        EXPECT_EQ(w->buildsRun() > builds, c.drawn) << c.typed;
        if (c.drawn) EXPECT_EQ(Shown(), std::string("February ") + c.shown) << c.typed;
        else ++beeps;
        EXPECT_EQ(fx.messages.beeps, beeps) << c.typed;
        EXPECT_EQ(w->cmbYear->count(), 23);
    }
}

// A typed year's month may take another number of rows: they are laid out
// for it, as when the year is chosen from the list.
TEST_F(Navigation, ATypedYearLaysTheRowsOutForItsMonth) {
    Draw("May", " 2026");  // six rows
    for (const char* year : {"2025", "2027", "2022"}) {  // five, six, five
        TypeInto(w->cmbYear, year);
        QTest::keyClick(w->cmbYear, Qt::Key_Return);
        ASSERT_EQ(Shown(), std::string("May  ") + year);
        const QRect first = Day(0)->geometry(), last = Day(35)->geometry();
        w->LayoutDayGrid();
        EXPECT_EQ(Day(0)->geometry(), first) << year;
        EXPECT_EQ(Day(35)->geometry(), last) << year;
    }
}

TEST_F(Navigation, KeysUpAndDownStepOnlyTheYearBoxFromTheYearShown) {
    const int builds = w->buildsRun();
    QTest::keyClick(w->cmbMonth, Qt::Key_Up);
    QTest::keyClick(w->cmbMonth, Qt::Key_Down);
    EXPECT_EQ(Month(), "February");
    EXPECT_EQ(w->buildsRun(), builds);

    QTest::keyClick(w->cmbMonth, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Month(), "March");
    EXPECT_EQ(Shown(), "March  2026");

    QTest::keyClick(w->cmbYear, Qt::Key_Down);
    EXPECT_EQ(Shown(), "March  2027");

    // A typed year beyond the list: the arrows step from it.
    const struct {
        const char* typed;
        Qt::Key key;
        const char* shown;
    } steps[] = {{"2041", Qt::Key_Up, " 2040"}, {"2041", Qt::Key_Down, " 2042"}, {"1999", Qt::Key_Down, " 2000"},
                 {"2018", Qt::Key_Up, " 2017"}};
    for (const auto& c : steps) {
        TypeInto(w->cmbYear, c.typed);
        QTest::keyClick(w->cmbYear, c.key);
        EXPECT_EQ(Year(), c.shown) << c.typed;
        EXPECT_EQ(Shown(), std::string("March ") + c.shown) << c.typed;
    }
}

// Ctrl+M and Ctrl+Y hide the month and year boxes at the first press, in
// either box or on the window, and show them at the next press anywhere.
TEST_F(Navigation, CtrlMAndCtrlYHideTheShownBoxesAtTheFirstPress) {
    auto shown = [&] {
        bool month = false, year = false;
        for (QAction* a : w->Toolbar1->actions())
            if (auto* wa = qobject_cast<QWidgetAction*>(a)) {
                if (wa->defaultWidget() == w->cmbMonth) month = wa->isVisible();
                if (wa->defaultWidget() == w->cmbYear) year = wa->isVisible();
            }
        EXPECT_EQ(month, year) << "the two boxes show and hide together";
        return month;
    };
    ASSERT_TRUE(shown());
    const struct {
        QWidget* where;
        Qt::Key key;
        bool after;
    } presses[] = {{w->cmbMonth, Qt::Key_M, false}, {w.get(), Qt::Key_Y, true},  {w->cmbYear, Qt::Key_Y, false},
                   {w.get(), Qt::Key_M, true},      {w.get(), Qt::Key_M, false}, {w.get(), Qt::Key_M, true},
                   {w->cmbMonth, Qt::Key_Y, false}};
    int n = 0;
    for (const auto& p : presses) {
        QTest::keyClick(p.where, p.key, Qt::ControlModifier);
        EXPECT_EQ(shown(), p.after) << "press " << ++n;
    }
}

// On an X desktop the search box claims Ctrl+E as the end of its line: the
// menu's key comes first, so the records just searched can be exported at once.
TEST_F(Navigation, MenuKeysReachTheMenuFromTheSearchBox) {
    auto* search = w->findChild<QLineEdit*>("txtSearch");
    ASSERT_NE(search, nullptr);
    // The claim as the X desktop's text boxes make it (the headless platform's do not).
    vm::EventHook claim(search, [](QObject*, QEvent* event) {
        if (event->type() != QEvent::ShortcutOverride) return false;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() != Qt::ControlModifier || key->key() != Qt::Key_E) return false;
        event->accept();
        return true;
    });
    search->installEventFilter(&claim);
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    search->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), search);
    search->setText("Dentist");
    search->setCursorPosition(0);
    QTest::keyClick(search, Qt::Key_E, Qt::ControlModifier);
    auto* panel = w->findChild<QWidget*>("SSPanelExport");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible()) << "Export Date Data opened";
    EXPECT_EQ(search->text(), "Dentist");
    // Keys that are no menu's still edit the text.
    search->setFocus();
    QTest::keyClick(search, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(search->selectedText(), "Dentist");

    // The same from the month box, whose text line claims the key through it.
    panel->hide();
    w->cmbMonth->installEventFilter(&claim);
    w->cmbMonth->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w->cmbMonth);
    QTest::keyClick(w->cmbMonth, Qt::Key_E, Qt::ControlModifier);
    EXPECT_TRUE(panel->isVisible()) << "Export Date Data opened from the month box";
    EXPECT_EQ(w->cmbMonth->currentText(), "February");
}

TEST_F(Navigation, ListedRecordButtonsShowForAListingHideOnAMove) {
    Add({2026, 2, 3}, "Dentist");
    Add({2026, 2, 4}, "Plumber");
    EXPECT_TRUE(ListedButtonsHidden());

    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"month build", [&] { w->cmbmonth_Click(); }},
        {"File menu", [&] { emit w->mnuFile->aboutToShow(); }},
        {"toolbar click", [&] { Click("Print"); }},
        {"year choice", [&] { w->cmbYear_Click(); }},
        {"month box change", [&] { TypeInto(w->cmbMonth, "feb"); }},
        {"repeat expansion", [&] { w->mnuFile_Build_Repeating_Click(); }},
    };
    for (const Step& s : steps) {
        Search("Dentist");
        EXPECT_TRUE(ListedButtonsShown()) << s.what;
        EXPECT_EQ(w->DataDatesModel->recordCount(), 1) << s.what;
        s.act();
        EXPECT_TRUE(ListedButtonsHidden()) << s.what;
    }
}

TEST_F(Navigation, DeletingListedRecordsAsksAndDeletesExactlyThoseInOneGo) {
    const int64_t a = Add({2026, 2, 3}, "Dentist visit town");
    const int64_t b = Add({2026, 2, 4}, "Plumber");
    const int64_t c = Add({2026, 2, 5}, "Baker visit");
    const int64_t d = Add({2026, 3, 9}, "Tailor visit town");
    const int64_t e = Add({2026, 2, 6}, "Cobbler visit");
    Draw("February", " 2026");  // the grid holds a, b, c, e

    // Cancel: nothing goes.
    Search("visit");  // a, c, d, e
    fx.messages.answers.push_back(MsgResult::Cancel);
    Click("btn_cancel");
    EXPECT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(Ids(), (std::vector<int64_t>{a, b, c, d, e}));
    EXPECT_FALSE(vm::MainState.pRebuildRepeating);
    EXPECT_TRUE(ListedButtonsShown()) << "the listing stays, and so does its Delete";
    EXPECT_EQ(w->dateGrid->lblRecCnt->text(), "4 Recs");
    for (const char* button : {"Justify", "Drawing"}) {  // the month listed again: the count was the search's
        Click(button);
        EXPECT_EQ(w->dateGrid->lblRecCnt->text(), "") << button;
        Search("visit");
    }

    // OK after a second, narrower search: exactly its list, reported, and the month drawn again.
    fx.messages.clear();
    Search("town");  // a, d
    Click("btn_cancel");
    EXPECT_EQ(Ids(), (std::vector<int64_t>{b, c, e}));
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].text, "Permanently Deleting 2 Date Records\r\nAre You Sure?");
    EXPECT_EQ(fx.messages.shown[1].text, "2 Date Records Deleted.");
    EXPECT_FALSE(vm::MainState.pRebuildRepeating) << "the occurrences were made again at once";
    EXPECT_EQ(w->DataDates.recordCount(), 3);  // the month's own records again
    EXPECT_EQ(w->dateGrid->lblRecCnt->text(), "3 Recs") << "the count is the listed month's";
    EXPECT_EQ(Day(2)->text(), "");             // drawn again: the 3rd lost its entry
    EXPECT_EQ(Day(3)->text(), " Plumber");
    EXPECT_TRUE(ListedButtonsHidden());

    // A listing the grid no longer shows deletes nothing, and asks nothing.
    fx.messages.clear();
    Search("Plumber");
    w->cmbmonth_Click();  // the entry window's save, a style change...
    Click("btn_cancel");
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_EQ(Ids(), (std::vector<int64_t>{b, c, e}));

    // A text search, then a date search: the date's list goes.
    Search("visit");
    Search("2/5/2026");
    ASSERT_TRUE(ListedButtonsShown());
    Click("btn_cancel");
    EXPECT_EQ(Ids(), (std::vector<int64_t>{b, e}));
    EXPECT_TRUE(ListedButtonsHidden());

    // Another program renames a listed record meanwhile: what the question
    // counts is what goes, and nothing else.
    Add({2026, 2, 7}, "Glazier visit");
    Search("visit");  // e, f
    cal.db->exec("UPDATE [Velmora] SET [DateText] = 'Cobbler' WHERE [ID] = " + std::to_string(e));
    fx.messages.clear();
    fx.messages.answers.push_back(MsgResult::Cancel);
    Click("btn_cancel");
    EXPECT_EQ(fx.messages.shown[0].text, "Permanently Deleting 1 Date Records\r\nAre You Sure?");
    EXPECT_EQ(w->DataDatesModel->rowCount(), 1) << "the grid shows what the question counts";
    fx.messages.clear();
    Click("btn_cancel");
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].text, "Permanently Deleting 1 Date Records\r\nAre You Sure?");
    EXPECT_EQ(fx.messages.shown[1].text, "1 Date Records Deleted.");
    EXPECT_EQ(Ids(), (std::vector<int64_t>{b, e}));
}

// A Delete that fails (the file held, full, or refusing) deletes nothing,
// says so, and leaves the listing with its Delete to try again.
TEST_F(Navigation, AFailedDeleteKeepsTheListingAndItsDeleteButton) {
    const int64_t a = Add({2026, 2, 3}, "Town visit");
    const int64_t b = Add({2026, 2, 4}, "Plumber");
    Draw("February", " 2026");
    Search("visit");
    cal.db->exec("CREATE TRIGGER [NoDeleting] BEFORE DELETE ON [Velmora] BEGIN SELECT RAISE(ABORT, 'refused'); END");
    fx.messages.clear();
    Click("btn_cancel");
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].text.rfind("No Date Records were Deleted.", 0), 0u) << fx.messages.shown[1].text;
    EXPECT_EQ(Ids(), (std::vector<int64_t>{a, b}));
    EXPECT_TRUE(ListedButtonsShown()) << "the way to try again stays";

    cal.db->exec("DROP TRIGGER [NoDeleting]");
    fx.messages.clear();
    Click("btn_cancel");
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].text, "1 Date Records Deleted.");
    EXPECT_EQ(Ids(), (std::vector<int64_t>{b}));
}

TEST_F(Navigation, DoubleClickOpensTheSelectedDayOnlyForADayOfTheShownMonth) {
    Add({2026, 4, 15}, "Tom && Jerry");
    // April 2026 begins in cell 3: cells 0..2 show 29..31 March, 33.. show May.
    Draw("April", " 2026");
    ASSERT_EQ(Title(0)->text(), "29 ");
    for (int cell : {0, 2, 33, 34, 40}) {
        w->lblDay_DblClick(cell);
        EXPECT_EQ(vm::SelectedDay(), nullptr) << cell;
    }
    EXPECT_EQ(vm::Module1.SelDayTitle, "");

    ASSERT_EQ(Day(17)->text(), " Tom & Jerry") << "one \"&\" shows, as in the week view";
    QTest::mouseDClick(Day(17), Qt::LeftButton);
    vm::frmSelectedDay* sel = vm::SelectedDay();
    ASSERT_NE(sel, nullptr);
    EXPECT_EQ(sel->txtDayText->toPlainText(), " Tom & Jerry");
    EXPECT_EQ(sel->dayDate(), (CivilDate{2026, 4, 15}));

    // Another day opens the window afresh with that day.
    w->lblDay_DblClick(3);
    ASSERT_NE(vm::SelectedDay(), nullptr);
    EXPECT_EQ(vm::SelectedDay()->txtDayText->toPlainText(), "");
    EXPECT_EQ(vm::SelectedDay()->dayDate(), (CivilDate{2026, 4, 1}));
}

TEST_F(Navigation, ACellEditAfterTheTableVanishedShowsABoxAndGoesOn) {
    Add({2026, 4, 15}, "Dentist");
    Draw("April", " 2026");
    ASSERT_EQ(w->DataDatesModel->recordCount(), 1);
    cal.db->exec("DROP TABLE [Velmora]");  // by another program, while the row is listed
    fx.messages.clear();
    const int escaped = vm::UncaughtErrorCount();
    const QModelIndex cell = w->DataDatesModel->index(0, w->DataDatesModel->fieldIndex("DateText"));
    w->TDBGridDates->setCurrentIndex(cell);
    w->TDBGridDates->edit(cell);
    if (auto* editor = w->TDBGridDates->viewport()->findChild<QLineEdit*>()) {
        QTest::keyClicks(editor, "x");
        QTest::keyClick(editor, Qt::Key_Return);
    }
    QApplication::processEvents();
    ASSERT_FALSE(fx.messages.shown.empty());
    for (const auto& m : fx.messages.shown)
        EXPECT_NE(m.text.find("no such table: Velmora"), std::string::npos) << m.title << ": " << m.text;
    EXPECT_EQ(vm::UncaughtErrorCount(), escaped) << "a failure left an event handler";
    Click("Forward");
    EXPECT_EQ(Month(), "May");
}

TEST_F(Navigation, TheSelectedDayAndAnAlarmSpeakWithTheOneVoice) {
    vm::FakeSpeech speech;
    vm::SetSpeech(&speech);
    vm::Module1.OptVoice = true;
    Add({2026, 4, 15}, "Dentist");
    Draw("April", " 2026");
    vm::Module1.AlarmMsg = "Take the pills";
    auto alarmButton = [](const char* key) { vm::AlarmWindow()->Toolbar1->findChild<QAction*>(key)->trigger(); };
    for (int round = 0; round < 3; ++round) {
        QTest::mouseDClick(Day(17), Qt::LeftButton);
        ASSERT_NE(vm::SelectedDay(), nullptr);
        vm::LoadAlarm();
        vm::ShowAlarm();
        alarmButton("Sound2");  // Speak, while the day may still be speaking
    }
    EXPECT_EQ(speech.created, 1);
    // Three days, three alarm showings and every other Speak (it toggles).
    EXPECT_EQ(speech.log->spoken.size(), 8u);
    EXPECT_EQ(speech.log->purges, 8) << "every new text stops the one being spoken";

    // The day's Stop leaves the alarm's text alone; the alarm's own Stop stops it.
    const int stops = speech.log->stops;
    vm::SelectedDay()->findChild<QAction*>("cancel-16")->trigger();
    EXPECT_EQ(speech.log->stops, stops);
    alarmButton("btn_cancel");
    EXPECT_EQ(speech.log->stops, stops + 1);

    vm::UnloadAlarm();
    vm::UnloadSelectedDay();
    vm::Module1.OptVoice = false;
    vm::SetSpeech(nullptr);
}

// Tab reaches the main toolbar's buttons right after the boxes on the bar,
// the listed-record buttons while they show; Space presses a button, and the
// window's keys still work with a button focused.
TEST_F(Navigation, TabReachesTheMainToolbarAndSpacePressesItsButtons) {
    using vmtest::FocusName;
    using vmtest::Press;
    Add({2026, 2, 3}, "Dentist");
    Add({2026, 2, 4}, "Plumber");
    ASSERT_TRUE(vmtest::ActivateForKeys(w.get()));
    ASSERT_EQ(FocusName(), "cmbMonth") << "the window opens with the keys in the month box";
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "cmbYear") << "the month box still goes on to the year box";
    ASSERT_TRUE(vmtest::TabTo("cmdGo", false, 5));
    Press(Qt::Key_Tab);
    EXPECT_EQ(FocusName(), "Print");
    Press(Qt::Key_Tab);
    ASSERT_EQ(FocusName(), "Back");
    Press(Qt::Key_Space);
    EXPECT_EQ(Month() + Year(), "January 2026");
    ASSERT_TRUE(vmtest::TabTo("Forward"));
    Press(Qt::Key_Space);
    EXPECT_EQ(Month() + Year(), "February 2026");
    // On to the grid: the hidden buttons are passed over.
    ASSERT_TRUE(vmtest::TabTo("Forward"));
    std::vector<std::string> after;
    for (int i = 0; i < 8 && FocusName() != "Combo3"; ++i) {
        Press(Qt::Key_Tab);
        after.push_back(FocusName().toStdString());
    }
    EXPECT_EQ(after, (std::vector<std::string>{"Justify", "bottomArrow16Green", "CopyRec", "Drawing", "Combo3"}));

    // With a button focused: Ctrl+M hides and shows the boxes, Ctrl+E opens the export.
    ASSERT_TRUE(vmtest::TabTo("Justify", true));
    Press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_FALSE(w->cmbMonth->isVisible());
    Press(Qt::Key_M, Qt::ControlModifier);
    EXPECT_TRUE(w->cmbMonth->isVisible());
    ASSERT_TRUE(vmtest::TabTo("Drawing"));
    Press(Qt::Key_E, Qt::ControlModifier);
    auto* panel = w->findChild<QWidget*>("SSPanelExport");
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible()) << "Export Date Data opened";
    panel->hide();

    Search("Dentist");
    ASSERT_TRUE(ListedButtonsShown());
    ASSERT_TRUE(vmtest::TabTo("CopyRec"));
    ASSERT_TRUE(vmtest::TabTo("btn_cancel", true)) << "Delete All Search Records, shown now";
    fx.messages.answers.push_back(MsgResult::Cancel);
    Press(Qt::Key_Space);
    ASSERT_FALSE(fx.messages.shown.empty()) << "Delete All Search Records asks first";
    EXPECT_EQ(Ids().size(), 2u);
}

// The alarm window's buttons from the keyboard: Tab to Stop and Speak.
TEST_F(Navigation, TabReachesTheAlarmButtonsAndSpacePressesThem) {
    vm::FakeSpeech speech;
    vm::SetSpeech(&speech);
    vm::Module1.OptVoice = true;
    vm::Module1.AlarmMsg = "Take the pills";
    vm::AlarmEntry waiting;  // an alarm window with nothing queued closes itself
    waiting.text = "Later";
    waiting.steadyDueMs = int64_t{1} << 60;
    ASSERT_TRUE(vm::Module1.Alarms.addCountdown(waiting));
    vm::LoadAlarm();
    vm::ShowAlarm();
    QWidget* alarm = vm::AlarmWindow();
    ASSERT_TRUE(vmtest::ActivateForKeys(alarm));
    EXPECT_EQ(QApplication::focusWidget(), vm::AlarmWindow()->lblAlarmMsg) << "a key typed as it comes up presses nothing";
    const int stops = speech.log->stops;
    ASSERT_TRUE(vmtest::TabTo("btn_cancel"));
    vmtest::Press(Qt::Key_Space);
    EXPECT_EQ(speech.log->stops, stops + 1);
    const size_t spoken = speech.log->spoken.size();
    ASSERT_TRUE(vmtest::TabTo("Sound2", true));
    vmtest::Press(Qt::Key_Space);
    EXPECT_EQ(speech.log->spoken.size(), spoken + 1) << "Speak says the alarm again";
    ASSERT_TRUE(vmtest::TabTo("pause"));
    vm::UnloadAlarm();
    vm::Module1.Alarms.clear();
    vm::Module1.OptVoice = false;
    vm::SetSpeech(nullptr);
}

// What a tool bar shows, separators as "|": never one first, last or doubled.
std::string ShownButtons(QToolBar* bar) {
    std::string shown;
    for (QAction* a : bar->actions())
        if (a->isVisible()) shown += a->isSeparator() ? "|" : "b";
    return shown;
}

TEST_F(Navigation, ToolbarsShowOneSeparatorBetweenButtonsWhateverIsHidden) {
    Add({2026, 2, 3}, "Dentist");
    Add({2026, 2, 4}, "Plumber");  // so that a search for the other lists fewer than all
    auto tidy = [](const std::string& s) {
        return !s.empty() && s.front() != '|' && s.back() != '|' && s.find("||") == std::string::npos;
    };
    EXPECT_TRUE(tidy(ShownButtons(w->Toolbar1))) << ShownButtons(w->Toolbar1);
    Search("Dentist");
    ASSERT_TRUE(ListedButtonsShown());
    EXPECT_TRUE(tidy(ShownButtons(w->Toolbar1))) << ShownButtons(w->Toolbar1);
    w->cmbmonth_Click();
    ASSERT_TRUE(ListedButtonsHidden());
    EXPECT_TRUE(tidy(ShownButtons(w->Toolbar1))) << ShownButtons(w->Toolbar1);

    // Without speech the selected day's playback buttons leave no separators behind.
    for (bool voice : {false, true}) {
        vm::Module1.OptVoice = voice;
        w->lblDay_DblClick(2);
        ASSERT_NE(vm::SelectedDay(), nullptr);
        const std::string shown = ShownButtons(vm::SelectedDay()->Toolbar1);
        EXPECT_TRUE(tidy(shown)) << voice << " " << shown;
        vm::UnloadSelectedDay();
    }
}

// Grid mode leaves the calendar a narrow strip: each weekday heading stays in
// its own column, shortened or blank, and the month title stays over the
// picture or goes; back in calendar mode both are whole again. The filter
// box is as wide as its text.
TEST_F(Navigation, GridModeKeepsHeadingsTitleAndFilterTextInPlace) {
    auto check = [&](const char* mode, bool whole) {
        for (int i = 0; i < 7; ++i) {
            QLabel* heading = w->DOW[size_t(i)];
            const QRect column = Day(i)->geometry();
            EXPECT_GE(heading->x(), column.left()) << mode << i;
            EXPECT_LE(heading->geometry().right(), column.right()) << mode << i;
            EXPECT_LE(heading->fontMetrics().horizontalAdvance(heading->text()), heading->width()) << mode << i;
            if (whole) {
                EXPECT_EQ(heading->text().size(), QString(vm::WeekdayName(i)).size()) << mode << i;
            }
        }
        if (w->lblMonth->isVisible()) {
            EXPECT_GE(w->lblMonth->x(), w->Image1->x()) << mode;
            EXPECT_FALSE(w->lblMonth->geometry().intersects(w->Combo3->geometry())) << mode;
            EXPECT_LE(w->lblMonth->fontMetrics().horizontalAdvance(w->lblMonth->text()), w->lblMonth->width()) << mode;
        }
        EXPECT_EQ(w->lblMonth->isVisible(), whole) << mode;
    };
    Click("Justify");
    check("grid", false);
    ASSERT_TRUE(w->Combo3->isVisible());
    const QString filter = w->Combo3->currentText();
    ASSERT_EQ(filter, "Select Repeating Data");
    EXPECT_GT(w->Combo3->lineEdit()->width(), w->Combo3->fontMetrics().horizontalAdvance(filter));
    Click("Drawing");
    check("calendar", true);
}

// The copy panel and the export panel, opened in either order, lie side by side.
TEST_F(Navigation, TheCopyPanelAndTheExportPanelNeverCoverEachOther) {
    QWidget* copy = w->findChild<QWidget*>("ssPanlCopyRecs");
    QWidget* exportPanel = w->findChild<QWidget*>("SSPanelExport");
    for (bool copyFirst : {true, false}) {
        if (copyFirst) Click("CopyRec");
        w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
        if (!copyFirst) Click("CopyRec");
        ASSERT_TRUE(copy->isVisible() && exportPanel->isVisible()) << copyFirst;
        EXPECT_FALSE(copy->geometry().intersects(exportPanel->geometry())) << copyFirst;
        copy->hide();
        exportPanel->hide();
    }
}

}  // namespace
