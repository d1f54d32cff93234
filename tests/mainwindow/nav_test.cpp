// Moving through months in the real main window, headless: the month and
// year boxes with typed names and years, the arrow keys, the main toolbar, the
// records a search listed and their deletion, and the day-cell double click.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <memory>
#include <vector>

#include "core/dates.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "mainwindow/frmvelmora.h"
#include "platform/recordgrid.h"
#include "records/frmselectedday.h"
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

TEST_F(Navigation, ListedRecordButtonsShowForAListingHideOnAMove) {
    const int64_t a = Add({2026, 2, 3}, "Dentist");
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
        w->ShowListedRecords({a});
        EXPECT_TRUE(ListedButtonsShown()) << s.what;
        EXPECT_EQ(w->DataDatesModel->recordCount(), 1) << s.what;
        s.act();
        EXPECT_TRUE(ListedButtonsHidden()) << s.what;
    }
}

TEST_F(Navigation, DeletingListedRecordsAsksAndDeletesExactlyThoseInOneGo) {
    const int64_t a = Add({2026, 2, 3}, "Dentist");
    const int64_t b = Add({2026, 2, 4}, "Plumber");
    const int64_t c = Add({2026, 2, 5}, "Baker");
    const int64_t d = Add({2026, 3, 9}, "Tailor");
    Draw("February", " 2026");  // the grid holds a, b, c

    // Cancel: nothing goes.
    w->ShowListedRecords({c, a, d});
    fx.messages.answers.push_back(MsgResult::Cancel);
    Click("btn_cancel");
    EXPECT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(Ids(), (std::vector<int64_t>{a, b, c, d}));
    EXPECT_FALSE(vm::MainState.pRebuildRepeating);

    // OK: exactly the listed ones, reported, and the month drawn again.
    fx.messages.clear();
    w->ShowListedRecords({a, d});
    Click("btn_cancel");
    EXPECT_EQ(Ids(), (std::vector<int64_t>{b, c}));
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].text, "Permanently Deleting 2 Date Records\r\nAre You Sure?");
    EXPECT_EQ(fx.messages.shown[1].text, "2 Date Records Deleted.");
    EXPECT_TRUE(vm::MainState.pRebuildRepeating);
    EXPECT_EQ(w->DataDates.recordCount(), 2);  // the month's own records again
    EXPECT_EQ(Day(2)->text(), "");             // drawn again: the 3rd lost its entry
    EXPECT_EQ(Day(3)->text(), " Plumber");
    EXPECT_TRUE(ListedButtonsHidden());

    // A listing the grid no longer shows deletes nothing, and asks nothing.
    fx.messages.clear();
    w->ShowListedRecords({b});
    w->cmbmonth_Click();  // the entry window's save, a style change...
    Click("btn_cancel");
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_EQ(Ids(), (std::vector<int64_t>{b, c}));
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

    ASSERT_EQ(Day(17)->text(), " Tom && Jerry");
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

}  // namespace
