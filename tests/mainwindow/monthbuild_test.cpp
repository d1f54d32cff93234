// The month build in the real main window: records and occurrences in, cells out.
#include <QApplication>
#include <QTableView>

#include "monthfixture.h"
#include "platform/recordgrid.h"

using vmtest::MonthBuild;

namespace {

TEST_F(MonthBuild, FebruaryWithRecordsAndOccurrences) {
    // Broken colour and font texts never stop the build.
    cal.Add("Velmora", {{2026, 2, 2}, "Odd", 0, 0, "AM", "", 0, false, 0, "abc;;7", ",x,maybe"});
    cal.Add("Velmora", {{2026, 2, 2}, "Fine", 1, 0, "AM", "", 0, false, 0, "", "Serif, 13,True,False"});
    cal.Add("Velmora", {{2026, 2, 3}, "Dentist", 0, 0, "AM", "", 0, false, 0, "", "", "15"});
    cal.Add("Velmora", {{2026, 2, 3}, "Meeting", 9, 5, "AM", "", 0, false, 0, "", "", "10"});
    cal.Add("Velmora", {{2026, 2, 10}, "Secret", 0, 0, "AM", "", 0, true});
    cal.Add("Velmora", {{2026, 2, 11}, "Mask TF", 0, 0, "AM", "WeekMask TF", 3});
    cal.Add("Velmora", {{2026, 2, 12}, "Mask zero", 0, 0, "AM", "weekmask-TTTTTTT", 0});
    cal.Add("Velmora", {{2026, 2, 13}, "Mask none", 0, 0, "AM", "weekmask-fffffff", 4});
    cal.Add("Velmora", {{2026, 2, 18}, "Gym", 6, 0, "PM", "WeekMask-FTFTFFF", 1});
    cal.Add("Velmora", {{2026, 2, 14}, "Valentine", 7, 30, "PM", "", 0, false, 0, "255;255;255;255;3;3"});
    cal.Add("Velmora", {{2026, 3, 1}, "Next month"});
    w->mnuFile_Build_Repeating_Click();
    cal.Add("RepeatingData", {{2026, 2, 20}, "Payday", 0, 0, "AM", "", 0, false, 2, "255;65535;0;65535;3;3"});
    fx.messages.clear();

    Draw("February", " 2026");
    EXPECT_FALSE(BoxShown());
    EXPECT_EQ(w->lblMonth->text(), "February  2026");
    EXPECT_TRUE(Title(35)->isHidden());

    EXPECT_EQ(Text(Day(1)), " Odd\n 1:00 AM  Fine");
    EXPECT_DOUBLE_EQ(Day(1)->font().pointSizeF(), 13);
    EXPECT_TRUE(Day(1)->font().bold());
    EXPECT_EQ(Text(Day(2)), " *Dentist\n  *9:05 AM  Meeting");
    EXPECT_TRUE(Day(2)->autoFillBackground());
    EXPECT_EQ(Text(Day(9)), "");             // hidden record
    EXPECT_FALSE(Title(9)->autoFillBackground());
    EXPECT_EQ(Text(Day(10)), " Mask TF");     // not a weekmask rule: on its own day
    EXPECT_EQ(Text(Day(11)), " Mask zero");   // nothing expanded: on its own day
    EXPECT_EQ(Text(Day(12)), " Mask none");   // marks no day: on its own day
    EXPECT_EQ(Text(Day(15)), " 6:00 PM Gym"); // the weekmask rows, the record itself not again
    EXPECT_EQ(Text(Day(17)), " 6:00 PM Gym");
    EXPECT_EQ(Text(Day(19)), " Payday");
    EXPECT_EQ(Fore(Day(19)), 255);
    EXPECT_EQ(Back(Day(19)), 65535);

    // Today: white on black number, its entries black on white.
    EXPECT_EQ(Text(Day(13)), " 7:30 PM Valentine");
    EXPECT_TRUE(MarkedToday(Title(13)));
    EXPECT_EQ(Fore(Day(13)), 0);
    EXPECT_EQ(Back(Day(13)), 16777215);

    EXPECT_EQ(cal.Count("Sorting"), 11);
    // The date grid lists the month's records, hidden and weekmask ones included.
    auto* grid = w->DataDatesModel;
    ASSERT_EQ(grid->recordCount(), 10);
    int dateColumn = -1;
    for (int c = 0; c < grid->columnCount(); ++c)
        if (grid->headerData(c, Qt::Horizontal).toString() == "Date") dateColumn = c;
    ASSERT_GE(dateColumn, 0);
    EXPECT_EQ(grid->data(grid->index(0, dateColumn)).toString(), "2/2/2026");
    EXPECT_EQ(grid->data(grid->index(9, dateColumn)).toString(), "2/18/2026");
    EXPECT_FALSE(w->Image1->pixmap().isNull());
}

TEST_F(MonthBuild, ABuildAskedForDuringABuildRunsAfterItMissingFileNoChange) {
    cal.Add("Velmora", {{2026, 2, 3}, "Dentist"});
    Draw("February", " 2026");
    const int before = w->buildsRun();
    // A redraw waiting in the event queue is reached while the build lets events run.
    QMetaObject::invokeMethod(w.get(), &vm::frmVelmora::cmbmonth_Click, Qt::QueuedConnection);
    w->BuildCalendarNumbers();
    EXPECT_EQ(w->buildsRun(), before + 2);
    EXPECT_EQ(w->deepestBuild(), 1);
    EXPECT_EQ(Text(Day(2)), " Dentist");
    EXPECT_EQ(cal.Count("Sorting"), 1);

    // A missing calendar file changes nothing but the cursor.
    vm::Module1.CalendarFilePath = cal.path + ".gone";
    w->SetWaitCursor(true);  // a caller showing the wait cursor
    w->cmbMonth->setCurrentText("March");
    w->BuildCalendarNumbers();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(w->lblMonth->text(), "February  2026");
    EXPECT_EQ(Text(Day(2)), " Dentist");
    EXPECT_FALSE(BoxShown());
}

TEST_F(MonthBuild, BoxTextsWithNoMonthOrYearKeepTheMonthAndTakeThisYear) {
    cal.Add("Velmora", {{2026, 2, 3}, "Dentist"});
    Draw("February", " 2026");
    Draw("Smarch", " 2026");
    EXPECT_EQ(w->pCurMon, 2);
    EXPECT_EQ(w->lblMonth->text(), "Smarch  2026");
    EXPECT_EQ(Text(Day(2)), " Dentist");
    for (const char* year : {"", "abc", "99999", "0"}) {
        Draw("February", year);
        EXPECT_EQ(Text(Day(2)), " Dentist") << year;
        EXPECT_EQ(Title(2)->toolTip().toStdString(), std::string(" February 3, ") + year + " ") << year;
        EXPECT_TRUE(MarkedToday(Title(13))) << year << ": today's cell, so the current year is shown";
    }
    Draw("February", " 2027");
    EXPECT_FALSE(MarkedToday(Title(13))) << "not today in another year";
    EXPECT_FALSE(BoxShown());
}

TEST_F(MonthBuild, CalendarStylesDecideWhichCellsCoverThePicture) {
    cal.Add("Velmora", {{2026, 2, 4}, "Entry"});
    cal.Add("Velmora", {{2026, 2, 5}, "Glass", 0, 0, "AM", "", 0, false, 0, "0;255;0;255;2;2"});
    const struct {
        int style;
        bool emptyCell;  // an entry without colours is always black on white; "Glass" always shows the picture
    } cases[] = {{vm::kStyleMixed, false}, {vm::kStyleAllOpaque, true}, {vm::kStyleAllTransparent, false}};
    for (const auto& c : cases) {
        w->pCalendarStyle = c.style;
        Draw("February", " 2026");
        EXPECT_TRUE(Day(3)->autoFillBackground()) << c.style;
        EXPECT_FALSE(Day(4)->autoFillBackground() || Title(4)->autoFillBackground()) << c.style;
        EXPECT_EQ(Day(5)->autoFillBackground(), c.emptyCell) << c.style;
    }
    EXPECT_FALSE(Title(13)->autoFillBackground()) << "all transparent: today's number on the picture";
}

// Strips keep their colours from month to month, but today's black one does
// not follow into other months, where its number would stand black on black.
TEST_F(MonthBuild, TodaysBlackStripStaysWithToday) {
    w->pCalendarStyle = vm::kStyleAllOpaque;
    Draw("February", " 2026");
    ASSERT_TRUE(MarkedToday(Title(13)));
    for (const char* month : {"March", "April"}) {
        Draw(month, " 2026");
        EXPECT_TRUE(Title(13)->autoFillBackground()) << month;
        EXPECT_NE(Back(Title(13)), Fore(Title(13))) << month << ": the number can be read";
        EXPECT_EQ(Back(Title(13)), Back(Title(12))) << month << ": as the strips beside it";
    }
    Draw("February", " 2026");
    EXPECT_TRUE(MarkedToday(Title(13)));
}

}  // namespace
