// The main window around the month grid: the repeat command, the layout, the
// splitter and panel drags, and the cell fonts.
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>

#include "core/monthlayout.h"
#include "monthfixture.h"
#include "platform/progress.h"


namespace {

class MonthWindow : public vmtest::MonthBuild {
protected:
    void SetUp() override {
        MonthBuild::SetUp();
        Draw("February", " 2026");
    }
    vm::TwipsRect T(const QWidget* x) { return w->TwipsOf(x); }
};

TEST_F(MonthWindow, CellsLieInSevenEqualColumnsAndRowsBelowThePictureTop) {
    const double bar = T(w->SSCmdVert).left;
    const double width = T(Title(0)).width;
    EXPECT_NEAR(width, (T(w->SSPanel1).width - bar - 300) / 7, 0.5);
    for (int i = 0; i < vm::kCellCount; ++i) {
        EXPECT_EQ(T(Day(i)).left, bar + 200 + (i % 7) * width) << i;
        EXPECT_EQ(T(Title(i)).width, width) << i;
    }
    for (int r = 1; r < 6; ++r) EXPECT_GT(T(Title(7 * r)).top, T(Day(7 * (r - 1))).top) << r;
    // Headings centred over the first row.
    for (int i = 0; i < 7; ++i)
        EXPECT_NEAR(T(w->DOW[i]).left + T(w->DOW[i]).width / 2, T(Day(i)).left + T(Day(i)).width / 2, 1) << i;
    // The panel ends just above the status bar, so a click on a cell changes nothing.
    const double gap = vm::layout::TwipsFromPixels(w->StatusBar1->y() - w->centralWidget()->y()) -
                       (T(w->SSPanel1).top + T(w->SSPanel1).height);
    EXPECT_GE(gap, 0);
    EXPECT_LE(gap, 200);
}

TEST_F(MonthWindow, TheBarFollowsTheMouseAndDropsWhereReleased) {
    const QPoint inBar(1, 5);
    QMouseEvent press(QEvent::MouseButtonPress, inBar, w->SSCmdVert->mapToGlobal(inBar), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->SSCmdVert, &press);
    EXPECT_TRUE(w->pDragActive);
    const QPoint at(200, 100);  // pixels in the panel
    QMouseEvent move(QEvent::MouseMove, at, w->SSPanel1->mapToGlobal(at), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w->SSPanel1, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w->SSPanel1->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(w->SSPanel1, &release);
    EXPECT_EQ(T(w->SSCmdVert).left, 3000);
    EXPECT_EQ(T(Title(0)).left, 3200);
    EXPECT_TRUE(Day(0)->isEnabled());
    EXPECT_FALSE(w->pDragActive);
    EXPECT_TRUE(w->Combo3->isHidden()) << "no room for the search bar";
}

TEST_F(MonthWindow, DayFontsReachEveryStripAndHeadingsTakeTheTitleFont) {
    vm::MainState.Month[2].TitleFntItalic = true;
    vm::MainState.Month[2].TitleFntSiz = vm::Currency::Whole(20);
    w->SetDayLabelFonts();
    for (int i : {0, 34, 35, 41}) {
        EXPECT_TRUE(Title(i)->font().italic()) << i;
        EXPECT_EQ(T(Title(i)).height, 550) << i;
    }
    vm::MainState.Month[5].TitleFntName = "Serif";
    const QFont dayFont = Day(0)->font();
    w->SetDayNameFonts(5);
    EXPECT_EQ(w->DOW[6]->font().family(), "Serif");
    EXPECT_EQ(w->lblMonth->font().family(), "Serif");
    EXPECT_EQ(Day(0)->font(), dayFont);
}

TEST_F(MonthWindow, BuildRepeatingDataStoresTheRowsAndReportsInTheFourthPanel) {
    cal.db->exec(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText],[Repeat],[Duration],[WorkDay]) VALUES "
        "(0,'2026-02-02',2026033,'Weekly','Weekly',3,-1), (0,'2026-02-03',2026034,'Odd','Bogus',3,-1)");
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    EXPECT_EQ(cal.Count("RepeatingData"), 2);
    EXPECT_EQ(w->StatusText(4), "Invalid Repeat Type Selected") << "a rule problem keeps its word";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    // Without problems the panel counts what was written; with nothing changed it says so.
    cal.db->exec("UPDATE [Velmora] SET [Repeat] = 'Monthly' WHERE [DateText] = 'Odd'");
    const char* said[] = {"Repeating data built: 2 occurrences of 1 record written",
                          "Repeating data is up to date: no record changed"};
    for (const char* text : said) {
        w->SetStatusText(4, "");
        w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
        EXPECT_EQ(w->StatusText(4), text);
        EXPECT_EQ(cal.Count("RepeatingData"), 4);
    }
    cal.db->exec("UPDATE [Velmora] SET [Repeat] = 'Bogus' WHERE [DateText] = 'Odd'");
    fx.messages.clear();
    w->cmbmonth_Click();
    EXPECT_TRUE(fx.messages.shown.empty());
    EXPECT_EQ(Day(8)->text(), " Weekly");
    EXPECT_EQ(Day(15)->text(), " Weekly");
}

// A pass of its own shows its progress (a long one's dialog then shows), as a
// task with no Cancel: it cannot stop half-way, and writes every row.
TEST_F(MonthWindow, APassShowsItsProgressAndCannotBeStoppedHalfWay) {
    vm::FakeProgress progress;
    progress.cancelAtStep = 1;
    vm::SetProgress(&progress);
    cal.db->exec("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText],[Repeat],[Duration],[WorkDay]) VALUES "
                 "(0,'2026-02-02',2026033,'Weekly','Weekly',3,-1), (0,'2026-02-03',2026034,'Daily','Daily',5,-1)");
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    vm::SetProgress(nullptr);
    ASSERT_EQ(progress.tasks.size(), 1u);
    EXPECT_EQ(progress.tasks[0].title, "Build Repeating Data");
    EXPECT_FALSE(progress.tasks[0].canCancel);
    EXPECT_GT(progress.tasks[0].steps, 0);
    EXPECT_TRUE(progress.tasks[0].ended);
    EXPECT_FALSE(progress.cancelled) << "no Cancel to press";
    EXPECT_EQ(cal.Count("RepeatingData"), 6);
    EXPECT_EQ(w->StatusText(4), "Repeating data built: 6 occurrences of 2 records written");
}

// A pass that fails (another program holds the calendar locked) has its box
// and leaves no earlier "up to date" standing in the status line.
TEST_F(MonthWindow, AFailedPassSaysSoInTheStatusLine) {
    cal.db->exec("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText],[Repeat],[Duration],[WorkDay]) VALUES "
                 "(0,'2026-02-02',2026033,'Weekly','Weekly',3,-1)");
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    ASSERT_EQ(w->StatusText(4), "Repeating data built: 2 occurrences of 1 record written");
    cal.db->exec("UPDATE [Velmora] SET [Duration] = 4");
    auto other = vm::db::Database::Open(cal.path);
    other->exec("BEGIN EXCLUSIVE");
    fx.messages.answers = {vm::MsgResult::Cancel};
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    other->exec("ROLLBACK");
    ASSERT_FALSE(fx.messages.shown.empty());
    EXPECT_EQ(fx.messages.shown[0].title, "Build Repeating Error");
    EXPECT_EQ(w->StatusText(4), "Repeating data was not built");
    fx.messages.clear();
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    EXPECT_EQ(w->StatusText(4), "Repeating data built: 3 occurrences of 1 record written");
}

TEST_F(MonthWindow, BuildRepeatingDataFromTheMenuPutsBackRowsTakenOut) {
    cal.db->exec(
        "INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[DateText],[Repeat],[Duration],[WorkDay]) VALUES "
        "(0,'2026-02-02',2026033,'Weekly','Weekly',4,-1), (0,'2026-02-03',2026034,'Later','Weekly',3,-1)");
    w->mnuFile_Build_Repeating_Click();
    ASSERT_EQ(cal.Count("RepeatingData"), 5);
    // Another program takes a row out of the middle: the bounds stay.
    cal.db->exec("DELETE FROM [RepeatingData] WHERE rowid = (SELECT min(rowid) + 1 FROM [RepeatingData])");
    w->mnuFile_Build_Repeating_Click();
    EXPECT_EQ(cal.Count("RepeatingData"), 4) << "the start-up check trusts the bounds";
    w->findChild<QAction*>("mnuFile_Build_Repeating")->trigger();
    EXPECT_EQ(cal.Count("RepeatingData"), 5);
    EXPECT_EQ(w->StatusText(4), "Repeating data built: 3 occurrences of 1 record written");
}

// Counts the paints a widget gets.
class Paints : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        count += e->type() == QEvent::Paint;
        return false;
    }
};

TEST_F(MonthWindow, AMonthChangePaintsItsCellsOnceWhenTheMonthIsWhole) {
    cal.Add("Velmora", {vm::CivilDate{2026, 3, 4}, "Meeting"});
    QApplication::processEvents();
    Paints day, title;
    Day(3)->installEventFilter(&day);  // the 4th
    Title(3)->installEventFilter(&title);
    Draw("March", " 2026");
    EXPECT_EQ(day.count + title.count, 0) << "nothing is painted while the month is built and laid out";
    QApplication::processEvents();
    EXPECT_EQ(Text(Day(3)), " Meeting");
    EXPECT_EQ(day.count, 1);
    EXPECT_EQ(title.count, 1);
}

TEST_F(MonthWindow, TheSameMonthShownAgainLeavesTheSortingTableUnwritten) {
    cal.Add("Velmora", {vm::CivilDate{2026, 3, 4}, "Meeting"});
    Draw("March", " 2026");
    auto written = [&] {
        auto st = w->DataDates.database().prepare("SELECT total_changes()");
        st.step();
        return vm::db::AsInt(st.column(0));
    };
    const int64_t before = written();
    Draw("March", " 2026");
    EXPECT_EQ(written(), before);
    cal.Add("Velmora", {vm::CivilDate{2026, 3, 5}, "Lunch"});
    Draw("March", " 2026");
    EXPECT_EQ(cal.Count("Sorting"), 2);
    cal.db->exec("DELETE FROM [Sorting]");  // another writer: the next build fills it again
    Draw("March", " 2026");
    EXPECT_EQ(cal.Count("Sorting"), 2);
    // A new start on the month the table holds reads it back and leaves it.
    w = std::make_unique<vm::frmVelmora>();
    vm::ReadCalValues(w->DataSettings);
    vm::SetDefaultCalValues();
    w->SetToday(vm::CivilDate{2026, 2, 14});
    Draw("March", " 2026");
    EXPECT_EQ(written(), 0);
    EXPECT_EQ(Text(Day(4)), " Lunch");
    cal.db->exec("UPDATE [Sorting] SET [DayMsg] = 'stale' WHERE [DayMsg] = 'Lunch'");
    w = std::make_unique<vm::frmVelmora>();
    vm::ReadCalValues(w->DataSettings);
    vm::SetDefaultCalValues();
    Draw("March", " 2026");
    EXPECT_GT(written(), 0) << "a table that holds other rows is written again";
}

}  // namespace

namespace {

// The same month on a calendar nothing was written to is read back from
// [Sorting] at the next start; whatever another program writes to the
// occurrences, the records or the tables' layout meanwhile shows there as a
// build from the records would show it.
TEST_F(MonthWindow, AMonthReadBackShowsEveryWriteMadeSinceElsewhere) {
    using Rec = vmtest::Calendar::Rec;
    cal.Add("Velmora", Rec{vm::CivilDate{2026, 3, 2}, "Weekly", 9, 30, "AM", "Weekly", 3, false, 2, "255;0;255;0;3;3"});
    cal.Add("Velmora", Rec{vm::CivilDate{2026, 3, 4}, "Meeting", 1, 15, "pm"});
    cal.Add("Velmora", Rec{vm::CivilDate{2026, 3, 4}, "Early", 8, 5, "AM", "", 0, false, 5, "", " Arial, 12,True,False "});
    w->mnuFile_Build_Repeating_Click();
    auto cells = [&] {
        std::vector<std::string> shown;
        for (int i = 0; i < vm::kCellCount; ++i)
            shown.push_back(Text(Day(i)) + "|" + Text(Title(i)) + "|" + std::to_string(Fore(Day(i))) + "|" +
                            std::to_string(Back(Day(i))) + "|" + Day(i)->font().toString().toStdString());
        return shown;
    };
    auto start = [&] {
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->SetToday(vm::CivilDate{2026, 2, 14});
        Draw("March", " 2026");
        return cells();
    };
    // What a build from the records shows: [Sorting] emptied by another writer first.
    auto built = [&] {
        cal.db->exec("DELETE FROM [Sorting]");
        return start();
    };
    Draw("March", " 2026");
    std::vector<std::string> shown = cells();
    EXPECT_NE(shown[8].find("Weekly"), std::string::npos);
    EXPECT_EQ(start(), shown);

    struct Write { const char* sql; int cell; const char* seen; };
    const Write writes[] = {
        {"UPDATE [RepeatingData] SET [DateText] = 'Moved' WHERE [JulDate] = 2026068", 8, "Moved"},
        {"INSERT INTO [RepeatingData] ([Hide],[Date],[JulDate],[DateText]) VALUES (0,'2026-03-20',2026079,'Added')",
         19, "Added"},
        {"DELETE FROM [RepeatingData] WHERE [JulDate] = 2026075", 15, nullptr},
        {"UPDATE [Velmora] SET [DateText] = 'Renamed' WHERE [DateText] = 'Meeting'", 3, "Renamed"},
        {"ALTER TABLE [RepeatingData] ADD COLUMN [Extra] TEXT", 3, "Renamed"},
    };
    for (const Write& write : writes) {
        SCOPED_TRACE(write.sql);
        cal.db->exec(write.sql);
        shown = start();
        if (write.seen) EXPECT_NE(shown[size_t(write.cell)].find(write.seen), std::string::npos);
        else EXPECT_EQ(shown[size_t(write.cell)].find("Weekly"), std::string::npos);
        EXPECT_EQ(built(), shown);
        EXPECT_EQ(start(), shown) << "read back again";
    }
    EXPECT_TRUE(fx.messages.shown.empty());
}

}  // namespace
