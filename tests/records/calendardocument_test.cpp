// What the calendar shows follows what the file holds: an edit, a Hide flip
// or a pass in the real main window reaches the occurrences, the shown month
// and the open week view at once, and the date grid keeps what it lists.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include "core/calendardocument.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/recordgrid.h"
#include "records/dategrid.h"
#include "repeat/repeatpass.h"
#include "records/frmweekview.h"
#include "tools/frmcalcwrkdays.h"
#include "mainwindow/monthfixture.h"

namespace {

namespace db = vm::db;
using vm::CivilDate;

class FollowEdits : public vmtest::MonthBuild {
protected:
    vm::FakeClock clock{{2024, 3, 14, 9, 0, 0}};  // a Thursday; its week holds 12 March

    void SetUp() override {
        vm::SetClock(&clock);
        MonthBuild::SetUp();
        w->SetToday(CivilDate{2024, 3, 14});
    }
    void TearDown() override {
        vm::UnloadWeekView();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        w.reset();
        vm::SetClock(nullptr);
    }
    // The day cells of March 2024 that show the text.
    int CellsShowing(const char* text) {
        int n = 0;
        for (int i = 0; i < 42; ++i) n += Day(i)->text().contains(text) ? 1 : 0;
        return n;
    }
    bool TuesdayShows(const char* text) {
        auto* box = vmtest::Child<QPlainTextEdit>(vm::WeekView(), "RichTextBox1_2");
        return box->toPlainText().contains(text);
    }
    QModelIndex Cell(int gridColumn) {
        return w->DataDatesModel->index(0, w->dateGrid->DateGridColumn(gridColumn));
    }
    void Search(const char* text) {
        w->dateGrid->txtSearch->setText(text);
        QTest::keyClick(w->dateGrid->txtSearch, Qt::Key_Return);
    }
    void ClickHideHeader() {
        QHeaderView* header = w->TDBGridDates->horizontalHeader();
        const int section = w->dateGrid->DateGridColumn(vm::kColHide);
        const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
};

TEST_F(FollowEdits, GridEditsAndHideReachMonthWeekAndOccurrencesAtOnce) {
    cal.Add("Velmora", {{2024, 3, 5}, "Standup", 0, 0, "AM", "Weekly", 3});
    cal.Add("Velmora", {{2024, 3, 20}, "Dentist"});
    w->mnuFile_Build_Repeating_Click();
    Draw("March", " 2024");
    w->findChild<QAction*>("mnuWeek_View")->trigger();
    ASSERT_EQ(CellsShowing("Standup"), 3) << "the record and its two repeats";
    ASSERT_TRUE(TuesdayShows("Standup"));

    // Listed by a search, its Repeat Periods set to 0 in the grid: the repeats go.
    Search("Standup");
    ASSERT_EQ(w->DataDatesModel->recordCount(), 1);
    ASSERT_TRUE(w->DataDatesModel->setData(Cell(vm::kColDuration), "0", Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(cal.Count("RepeatingData"), 0);
    EXPECT_EQ(CellsShowing("Standup"), 1);
    EXPECT_FALSE(TuesdayShows("Standup"));
    EXPECT_EQ(w->DataDatesModel->recordCount(), 1) << "the grid still lists the search";
    EXPECT_EQ(CellsShowing("Dentist"), 1);

    // Three periods again: the repeats come back.
    ASSERT_TRUE(w->DataDatesModel->setData(Cell(vm::kColDuration), "3", Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(CellsShowing("Standup"), 3);
    EXPECT_TRUE(TuesdayShows("Standup"));

    // Hidden by the Hide header: no repeats, in the month nor the week.
    fx.messages.answers.push_back(vm::MsgResult::Yes);
    ClickHideHeader();
    EXPECT_EQ(cal.Count("RepeatingData"), 0);
    EXPECT_LE(CellsShowing("Standup"), 1);
    EXPECT_FALSE(TuesdayShows("Standup"));
    EXPECT_EQ(w->DataDatesModel->recordCount(), 1) << "the grid still lists the search";
}

TEST_F(FollowEdits, BuildRepeatingDataDrawsTheShownMonthAgain) {
    Draw("March", " 2024");
    // A record another program wrote while the month was shown.
    cal.Add("Velmora", {{2024, 3, 5}, "Standup", 0, 0, "AM", "Weekly", 3});
    ASSERT_EQ(CellsShowing("Standup"), 0);
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    EXPECT_EQ(cal.Count("RepeatingData"), 2);
    EXPECT_EQ(CellsShowing("Standup"), 3) << "drawn again after the pass";
    // The grid shows the records the pass expands.
    EXPECT_EQ(w->DataDates.recordSource(), std::string(vm::kRepeatPassSQL) + vm::kRepeatPassOrder);
    EXPECT_EQ(w->DataDatesModel->recordCount(), 1);
}

TEST_F(FollowEdits, ARecordWrittenElsewhereIsSettledOnceForItsCommand) {
    Draw("March", " 2024");
    const int builds = w->buildsRun();
    cal.Add("Velmora", {{2024, 3, 5}, "Standup", 0, 0, "AM", "Weekly", 3});
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Added);
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Changed);
    EXPECT_TRUE(vm::MainState.pRebuildRepeating) << "stale until the command is done";
    QCoreApplication::processEvents();
    EXPECT_FALSE(vm::MainState.pRebuildRepeating);
    EXPECT_EQ(w->buildsRun(), builds + 1) << "two writes, one pass and one drawing";
    EXPECT_EQ(CellsShowing("Standup"), 3);
}

// A record with a rule the pass cannot read is said when it is written and
// by File > Build Repeating Data, not again at every other record's save.
TEST_F(FollowEdits, ABadRuleIsSaidForItsOwnWriteNotAtEveryOtherSave) {
    Draw("March", " 2024");
    cal.Add("Velmora", {{2024, 3, 5}, "Odd", 0, 0, "AM", "YearWeek", 3});
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Added);
    QCoreApplication::processEvents();
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Invalid Repeat Type");
    fx.messages.clear();
    cal.Add("Velmora", {{2024, 3, 6}, "Standup", 0, 0, "AM", "Weekly", 3});
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Added);
    QCoreApplication::processEvents();
    EXPECT_TRUE(fx.messages.shown.empty()) << fx.messages.shown[0].text;
    EXPECT_EQ(CellsShowing("Standup"), 3);
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    EXPECT_EQ(fx.messages.shown.size(), 1u) << "the menu's pass says every problem";
}

// While a pass runs and lets events run, a write stored meanwhile waits:
// its settling (another pass, a month drawn from half-written rows) comes
// once the pass is over.
TEST_F(FollowEdits, AWriteDuringAPassSettlesAfterIt) {
    Draw("March", " 2024");
    const int builds = w->buildsRun();
    vm::Document().HoldSettling(true);
    cal.Add("Velmora", {{2024, 3, 5}, "Standup", 0, 0, "AM", "Weekly", 3});
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Added);
    QCoreApplication::processEvents();
    vm::Document().Settle();
    EXPECT_EQ(w->buildsRun(), builds) << "nothing settles while held";
    EXPECT_TRUE(vm::MainState.pRebuildRepeating);
    vm::Document().HoldSettling(false);
    QCoreApplication::processEvents();
    EXPECT_FALSE(vm::MainState.pRebuildRepeating);
    EXPECT_EQ(w->buildsRun(), builds + 1);
    EXPECT_EQ(CellsShowing("Standup"), 3);
}

// The observed weekday copy of a weekend holiday in the month: in its
// holiday's place and colours, before the day's own timed entries.
TEST_F(FollowEdits, AnObservedCopyTakesItsHolidaysPlaceAndColours) {
    const int64_t holiday = cal.Add("Velmora", {{2026, 7, 4}, "Independence", 0, 0, "AM", "Yearly", 2});
    cal.db->exec("UPDATE [Velmora] SET [DateType] = 'Holiday', [WorkDay] = 0, [Priority] = 5, "
                 "[DayColors] = '255;65280;0;16777215;3;3' WHERE [ID] = " + std::to_string(holiday));
    const int64_t dentist = cal.Add("Velmora", {{2026, 7, 3}, "Dentist", 9, 0, "AM"});
    cal.db->exec("UPDATE [Velmora] SET [Priority] = 1, [DayColors] = '0;16777215;0;16777215;3;3' WHERE [ID] = " +
                 std::to_string(dentist));
    w->mnuFile_Build_Repeating_Click();
    Draw("July", " 2026");
    QLabel* friday = nullptr;  // 3 July 2026
    for (int i = 0; i < 42; ++i)
        if (Day(i)->text().contains("Dentist")) friday = Day(i);
    ASSERT_NE(friday, nullptr);
    const QStringList lines = friday->text().split('\n');
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].contains("Independence *OBSERVED*")) << lines[0].toStdString();
    EXPECT_EQ(Back(friday), 65280) << "the holiday's colours";
}

// The work-day calculator counts from the occurrences the grid's edit left.
TEST_F(FollowEdits, AWorkDayCountFollowsAHolidayEditedInTheGrid) {
    auto holiday = [&](CivilDate d, const char* text, const char* repeat, int64_t periods) {
        const int64_t id = cal.Add("Velmora", {d, text, 0, 0, "AM", repeat, periods});
        cal.db->exec("UPDATE [Velmora] SET [DateType] = 'Holiday', [WorkDay] = 0 WHERE [ID] = " + std::to_string(id));
    };
    holiday({2023, 1, 1}, "New Year", "Yearly", 4);
    holiday({2024, 3, 13}, "Midweek", "Weekly", 2);  // again on Wednesday 20 March
    w->mnuFile_Build_Repeating_Click();
    Draw("March", " 2024");
    auto count = [&] {
        w->mnuFile_CalcWrkDays->trigger();
        QWidget* calc = vm::CalcWrkDays();
        vmtest::Child<QLineEdit>(calc, "txtBeginDate")->setText("3/18/2024");
        vmtest::Child<QLineEdit>(calc, "txtEndDate")->setText("3/22/2024");
        QTest::mouseClick(vmtest::Child<QPushButton>(calc, "sscmdCalculate"), Qt::LeftButton);
        return vmtest::Child<QLabel>(calc, "lblCalcDaysResult")->text().split('\n').last().toStdString();
    };
    EXPECT_EQ(count(), "Workdays Between: 3/18/2024 and 3/22/2024 = 4 Work Days");
    Search("Midweek");
    ASSERT_TRUE(w->DataDatesModel->setData(Cell(vm::kColDuration), "0", Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(count(), "Workdays Between: 3/18/2024 and 3/22/2024 = 5 Work Days");
    vm::UnloadCalcWrkDays();
}

// Today's alarm queue follows a grid edit that takes a repeat off today,
// whatever month is shown.
TEST_F(FollowEdits, TodaysAlarmsFollowAGridEditOfARepeat) {
    cal.Add("Velmora", {{2024, 3, 7}, "Standup", 10, 0, "AM", "Weekly", 3, false, 0, "", "", "0"});
    w->mnuFile_Build_Repeating_Click();
    Draw("January", " 2025");
    auto queued = [] {
        int n = 0;
        const vm::AlarmQueue& q = vm::Module1.Alarms;
        for (int i = 1; i <= q.count(); ++i) n += q.slot(i) && q.slot(i)->text.find("Standup") != std::string::npos;
        for (const vm::AlarmEntry& e : q.waiting()) n += e.text.find("Standup") != std::string::npos;
        return n;
    };
    ASSERT_EQ(queued(), 1) << "today's repeat at 10:00 AM";
    Search("Standup");
    ASSERT_TRUE(w->DataDatesModel->setData(Cell(vm::kColDuration), "0", Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(queued(), 0) << "no repeat today any more";
    ASSERT_TRUE(w->DataDatesModel->setData(Cell(vm::kColDuration), "3", Qt::EditRole));
    QCoreApplication::processEvents();
    EXPECT_EQ(queued(), 1);
}

}  // namespace

namespace {

// A write settled before any month is drawn (nothing follows it yet) leaves
// the grid's listing free: a later search is what the grid keeps over the
// next edit.
TEST_F(FollowEdits, AWriteBeforeTheFirstMonthLeavesTheGridsListingFree) {
    cal.Add("Velmora", {{2024, 3, 5}, "Standup", 0, 0, "AM", "Weekly", 3});
    cal.Add("Velmora", {{2024, 3, 20}, "Dentist"});
    ASSERT_EQ(w->buildsRun(), 0);
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Added);
    QCoreApplication::processEvents();
    Draw("March", " 2024");
    Search("Dentist");
    ASSERT_EQ(w->DataDatesModel->recordCount(), 1);
    cal.Add("Velmora", {{2024, 3, 21}, "Lunch"});
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Added);
    QCoreApplication::processEvents();
    EXPECT_EQ(CellsShowing("Lunch"), 1);
    ASSERT_EQ(w->DataDatesModel->recordCount(), 1) << "the grid still lists the search";
    EXPECT_TRUE(w->DataDatesModel->data(Cell(vm::kColDate)).toString().contains("20"))
        << "the search's record, 20 March";
}

}  // namespace
