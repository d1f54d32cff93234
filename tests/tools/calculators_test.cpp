// The day calculator and the work-day calculator driven headless by their
// controls' names, over calendar files built by the test.
#include <gtest/gtest.h>

#include <filesystem>

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <memory>

#include "core/dates.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/recordgrid.h"
#include "gridedit.h"
#include "testsupport.h"
#include "tools/frmcalcwrkdays.h"
#include "tools/frmdaycalculator.h"

namespace db = vm::db;

namespace {

class Calculators : public ::testing::Test {
protected:
    void SetUp() override {
        vm::SetClock(&clock);
        vm::Module1.CalendarFilePath = path;
        auto d = db::Database::Open(path);
        // Stale values in every row, and a row without a date.
        for (auto [date, text] : {std::pair{"2026-12-06", "today"}, std::pair{"2026-12-25", "Christmas"},
                                  std::pair{"2027-03-01", "O'Brien's birthday"}, std::pair{"2026-01-01", "gone"},
                                  std::pair{"", "no date"}})
            d->prepare("INSERT INTO [CalculateDates] ([Date], [Description], [Years], [TDays]) VALUES (?, ?, 9, 9)")
                .bindAll({*date ? db::Text(date) : db::Value{}, db::Text(text)})
                .run();
        for (const char* date : {"2026-01-01", "2026-12-25", "2026-12-24"})
            d->prepare("INSERT INTO [RepeatingData] ([Date], [JulDate], [DateText], [DateType], [WorkDay], [Hide]) "
                       "VALUES (?, ?, 'day off', 'Holiday', 0, 0)")
                .bindAll({db::Text(date), db::Int(vm::Date2Julian(*vm::ParseIso(date)))})
                .run();
        main = std::make_unique<vm::frmVelmora>();
        main->unloadWaitMs = 0;
    }
    void TearDown() override {
        vm::UnloadDayCalculator();
        vm::UnloadCalcWrkDays();
        main.reset();
        vm::SetClock(nullptr);
    }
    template <class T>
    T* find(QWidget* w, const char* name) { return vmtest::Child<T>(w, name); }
    QStringList Descriptions() {
        auto* m = vm::DayCalculator()->DayCalcModel;
        QStringList out;
        for (int r = 0; r < m->recordCount(); ++r) out << m->data(m->index(r, m->fieldIndex("Description"))).toString();
        return out;
    }
    // The shown values of the fields of a description's row, joined by "/".
    QString Row(const QString& description, const QStringList& fields) {
        auto* m = vm::DayCalculator()->DayCalcModel;
        QStringList out;
        for (const QString& f : fields)
            out << m->data(m->index(Descriptions().indexOf(description), m->fieldIndex(f.toStdString()))).toString();
        return out.join('/');
    }
    void Enter(QWidget* w, const char* box, const QString& text) {
        find<QLineEdit>(w, box)->setText(text);
        QTest::keyClick(find<QLineEdit>(w, box), Qt::Key_Return);
    }

    vmtest::Fixture fixture;
    vm::FakeClock clock{{2026, 12, 6, 9, 0, 0}};
    std::string path = vmtest::FreshCalendar();
    std::unique_ptr<vm::frmVelmora> main;
};

TEST_F(Calculators, TheDatedListAndTheThreeBoxes) {
    main->mnuFile_DayCalculator->trigger();
    auto* w = vm::DayCalculator();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(vm::Module1.DayCalculatorOpen);
    EXPECT_EQ(vm::Module1.CalendarFilePath, path) << "the calendar in use stays in use";
    EXPECT_EQ(find<QLineEdit>(w, "TextCalcDate")->text(), "12/6/2026");
    EXPECT_EQ(Descriptions(), (QStringList{"Christmas", "O'Brien's birthday"})) << "upcoming only, by date";
    EXPECT_EQ(Row("Christmas", {"TDays"}), "19");

    // A search with a quote and any letter case, with the filter kept.
    Enter(w, "txtSearchDays", "o'BRIEN");
    EXPECT_EQ(Descriptions(), (QStringList{"O'Brien's birthday"}));
    QTest::mouseClick(find<QPushButton>(w, "sscmdClearSrch"), Qt::LeftButton);
    find<QCheckBox>(w, "chkUpcoming")->click();
    EXPECT_EQ(Descriptions().size(), 5);

    // Every row is recalculated (a row without a date gets empty values),
    // again for a new base date; a bad one is refused.
    const QStringList values{"Years", "Months", "Days", "TDays"};
    EXPECT_EQ(Row("gone", values), "0/11/5/-339");
    EXPECT_EQ(Row("no date", values), "///");
    Enter(w, "TextCalcDate", "12/25/2026");
    EXPECT_EQ(Row("Christmas", values), "0/0/0/0");
    EXPECT_EQ(Row("O'Brien's birthday", values), "0/2/4/66");
    Enter(w, "TextCalcDate", "31/31/2025");
    ASSERT_EQ(fixture.messages.shown.size(), 1u);
    EXPECT_EQ(fixture.messages.shown[0].text, "Invalid Date Set  mm/dd/year format");
    EXPECT_EQ(find<QLineEdit>(w, "TextCalcDate")->text(), "12/6/2026");

    // The three boxes: two filled give the third.
    find<QLineEdit>(w, "txtDate1")->setText("1/15/2024");
    find<QLineEdit>(w, "txtDate2")->setText("3/20/2024");
    QTest::mouseClick(find<QPushButton>(w, "sscmdCalc2"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>(w, "txtdateDif")->text(), "65");
    EXPECT_EQ(find<QLabel>(w, "lblYrMnDayCalc")->text(), " 2 Months  5 Days ");

    // Clear works from the keyboard; two-digit years are this century's.
    auto* clear = find<QRadioButton>(w, "optClrDates");
    clear->setFocus();
    QTest::keyClick(clear, Qt::Key_Space);
    for (const char* box : {"txtDate1", "txtdateDif", "txtDate2"}) EXPECT_EQ(find<QLineEdit>(w, box)->text(), "") << box;
    EXPECT_FALSE(clear->isChecked());
    find<QLineEdit>(w, "txtDate1")->setText("3/1/25");
    find<QLineEdit>(w, "txtDate2")->setText("3/1/2025");
    QTest::mouseClick(find<QPushButton>(w, "sscmdCalc2"), Qt::LeftButton);
    EXPECT_EQ(find<QLineEdit>(w, "txtdateDif")->text(), "0");

    // File > Exit stores the list's cell still being edited and closes the window.
    auto* list = find<QTableView>(w, "TDBGridCalcDays");
    vmtest::OpenCellAndType(list, list->model()->index(Descriptions().indexOf("gone"),
                                                       w->DayCalcModel->fieldIndex("Description")), "kept");
    w->mnuDayCalc_Exit->trigger();
    auto d = db::Database::Open(path)->prepare("SELECT COUNT(*) FROM [CalculateDates] WHERE [Description] = 'kept'");
    ASSERT_TRUE(d.step());
    EXPECT_EQ(db::AsInt(d.column(0)), 1);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(vm::DayCalculator(), nullptr);
    EXPECT_FALSE(vm::Module1.DayCalculatorOpen);
}

TEST_F(Calculators, TheWorkDayCalculatorCountsAndCopiesItsResult) {
    main->mnuFile_CalcWrkDays->trigger();
    auto* w = vm::CalcWrkDays();
    ASSERT_NE(w, nullptr);
    auto* month = find<QCalendarWidget>(w, "MonthView1");
    for (int day : {1, 25, 15}) {
        month->setSelectedDate(QDate(2026, 12, day));
        emit month->clicked(month->selectedDate());  // as a click on the day does
    }
    EXPECT_EQ(find<QLineEdit>(w, "txtBeginDate")->text(), "12/1/2026");
    EXPECT_EQ(find<QLineEdit>(w, "txtEndDate")->text(), "12/25/2026") << "both filled: a click changes nothing";
    QTest::mouseClick(find<QPushButton>(w, "sscmdCalculate"), Qt::LeftButton);
    const QString result = find<QLabel>(w, "lblCalcDaysResult")->text();
    EXPECT_EQ(result, "25 Calendar Days Difference\n12/1/2026 Is a Tuesday\n12/25/2026 Is a Friday\n"
                      "Weekend Days: 6\nHoliday Days: 2\nWorkdays Between: 12/1/2026 and 12/25/2026 = 17 Work Days");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), result);
    EXPECT_EQ(find<QLabel>(w, "lblHolidayCount")->text(), "Unique Holiday Record Count: 2 The Grid is Read Only");
    w->mnuFile_Exit->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(vm::CalcWrkDays(), nullptr);
    EXPECT_FALSE(vm::Module1.CalcWrkDaysOpen);
}

}  // namespace

namespace {

// Rows of a dated list, the dates written as the file holds them.
void AddDated(const std::string& path, std::initializer_list<std::pair<const char*, const char*>> rows) {
    auto d = db::Database::Open(path);
    for (auto [date, text] : rows)
        d->prepare("INSERT INTO [CalculateDates] ([Date], [Description], [Years], [TDays]) VALUES (?, ?, 9, 9)")
            .bindAll({db::Text(date), db::Text(text)})
            .run();
}

int64_t StoredTDays(const std::string& path, const char* description) {
    auto st = db::Database::Open(path)->prepare("SELECT [TDays] FROM [CalculateDates] WHERE [Description] = ?");
    st.bind(1, db::Text(description));
    return st.step() ? db::AsInt(st.column(0)) : -99999;
}

TEST_F(Calculators, TheDatedListFollowsFileOpenAndReadsWrittenDates) {
    const std::string other = vmtest::FreshCalendar();
    // Dates as another tool wrote them: M/D/YYYY text beside the ISO form.
    AddDated(other, {{"12/8/2026", "Dec text"}, {"1930-05-01", "Iso 1930"}, {"0030-01-01", "Iso 30"},
                     {"3/4/2027", "Mar text"}});
    main->mnuFile_DayCalculator->trigger();
    auto* w = vm::DayCalculator();
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(StoredTDays(path, "Christmas"), 19);

    fixture.messages.fileAnswers.push_back(other);
    main->findChild<QAction*>("mnuFile_Open")->trigger();
    ASSERT_EQ(vm::Module1.CalendarFilePath, other);
    EXPECT_EQ(Descriptions(), (QStringList{"Dec text", "Mar text"})) << "the new calendar's upcoming rows";

    // A new base date recalculates the calendar now open, never the old one.
    Enter(w, "TextCalcDate", "12/25/2026");
    EXPECT_EQ(StoredTDays(path, "Christmas"), 19) << "the old file is left alone";
    EXPECT_EQ(StoredTDays(other, "Mar text"), 69);
    EXPECT_EQ(Row("Mar text", {"TDays"}), "69");

    // Written dates sort and are found as days.
    find<QCheckBox>(w, "chkUpcoming")->click();
    EXPECT_EQ(Descriptions(), (QStringList{"Iso 30", "Iso 1930", "Dec text", "Mar text"}));
    for (const char* typed : {"3/4/2027", "2027"}) {
        Enter(w, "txtSearchDays", typed);
        EXPECT_EQ(Descriptions(), (QStringList{"Mar text"})) << typed;
    }
    QTest::mouseClick(find<QPushButton>(w, "sscmdClearSrch"), Qt::LeftButton);
    w->TDBGridCalcDays_HeadClick(w->DayCalcModel->fieldIndex("Date"));
    w->TDBGridCalcDays_HeadClick(w->DayCalcModel->fieldIndex("Date"));
    EXPECT_EQ(Descriptions(), (QStringList{"Mar text", "Dec text", "Iso 1930", "Iso 30"})) << "Date, descending";
}

TEST_F(Calculators, WholeYearsReadAsYearsInTheLabelAndTheList) {
    AddDated(path, {{"2030-01-01", "Decade"}});
    main->mnuFile_DayCalculator->trigger();
    auto* w = vm::DayCalculator();
    ASSERT_NE(w, nullptr);
    Enter(w, "TextCalcDate", "1/1/2020");
    EXPECT_EQ(Row("Decade", {"Years", "Months", "Days"}), "10/0/0");
    find<QLineEdit>(w, "txtDate1")->setText("1/1/2020");
    find<QLineEdit>(w, "txtDate2")->setText("1/1/2030");
    QTest::mouseClick(find<QPushButton>(w, "sscmdCalc2"), Qt::LeftButton);
    EXPECT_EQ(find<QLabel>(w, "lblYrMnDayCalc")->text(), "10 Years ");
}

}  // namespace

namespace {

// A list that cannot be recalculated in its file says so plainly, as every
// write does.
TEST_F(Calculators, ADatedListThatCannotBeWrittenSaysSoPlainly) {
    main->mnuFile_DayCalculator->trigger();
    auto* w = vm::DayCalculator();
    ASSERT_NE(w, nullptr);
    w->DataDayCalc.database().exec("PRAGMA query_only = 1");
    fixture.messages.clear();
    Enter(w, "TextCalcDate", "12/25/2026");
    w->DataDayCalc.database().exec("PRAGMA query_only = 0");
    ASSERT_EQ(fixture.messages.shown.size(), 1u);
    EXPECT_EQ(fixture.messages.shown[0].text,
              "The file may only be read: " + std::filesystem::path(path).filename().string() + " was not changed");
    EXPECT_EQ(StoredTDays(path, "Christmas"), 19) << "nothing changed";
}

}  // namespace
