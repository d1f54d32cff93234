// The entry window driven headless: set-up, add and save, stepping, search,
// the refusals, the date picker and the closing.
#include "core/calendarfiles.h"
#include "entrytestutil.h"

#include <QAbstractItemView>
#include <QCalendarWidget>
#include <QCheckBox>

#include <filesystem>

#include "core/calendardocument.h"
#include "mainwindow/celllabel.h"
#include "records/dategrid.h"
#include "platform/recordgrid.h"
#include "platform/messages.h"

namespace {

using entrytest::EntryWindow;
namespace db = vm::db;

using Strings = std::vector<std::string>;

Strings Items(QComboBox* c) {
    Strings out;
    for (int i = 0; i < c->count(); ++i) out.push_back(c->itemText(i).toStdString());
    return out;
}

TEST_F(EntryWindow, OpensBesideTheMainWindowWithPlaceholdersClosesStepwise) {
    open();
    EXPECT_EQ(w->pos(), main->pos() + QPoint(50, 50)) << "750 twips below and right of the main window";
    EXPECT_EQ(text("txtDate"), "Date");
    EXPECT_TRUE(shown("sscmdAddRecord"));
    EXPECT_FALSE(shown("sscmdSaveRecord"));
    EXPECT_FALSE(shown("SSPanel2"));

    // A second opening brings the same window back without a new set-up.
    type("txtDateText", "half typed");
    EXPECT_EQ(vm::ShowEnterRec(), w);
    EXPECT_EQ(text("txtDateText"), "half typed");

    // Closing shrinks it step by step on a timer, then unloads it.
    w->resize(600, 400);
    w->close();
    EXPECT_TRUE(w->isVisible()) << "closing runs on a timer, the window keeps working";
    EXPECT_TRUE(vm::Module1.EnterRecOpen);
    EXPECT_EQ(vm::EnterRec(), nullptr);
    int steps = 1;  // the first step runs at once
    QSize last = w->size();
    while (vm::Module1.EnterRecOpen && steps < 100) {
        w->closeStep();
        EXPECT_LE(w->height(), last.height());
        last = w->size();
        ++steps;
    }
    EXPECT_EQ(steps, 51) << "50 shrinking steps, then the unload";
    EXPECT_FALSE(vm::Module1.EnterRecOpen);
    EXPECT_FALSE(w->isVisible());

    QPointer<vm::frmEnterRec> gone(w);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
}

TEST_F(EntryWindow, ListsTakeStoredValuesFirstAndNewRenewsThemOnce) {
    const int64_t a = store("2025-03-01", "one");
    const int64_t b = store("2025-03-02", "two");
    auto database = db::Database::Open(vm::Module1.CalendarFilePath);
    database->exec("UPDATE [Velmora] SET [AM_PM] = 'PMET', [DateType] = ' Holiday', [Font] = 'Arial, 10,False,False' "
                   "WHERE [ID] = " + std::to_string(b));
    database->exec("UPDATE [Velmora] SET [DateType] = 'Birthday', [DayColors] = '0;16777215;0;16777215;3;3' WHERE [ID] = " +
                   std::to_string(a));
    open();
    const Strings ampm = Items(combo("cmbAMPM"));
    ASSERT_GT(ampm.size(), 2u);
    EXPECT_EQ(Strings(ampm.begin(), ampm.begin() + 2), Strings({"AM", "PMET"})) << "the stored values come first";
    // In the column's text order, where " Holiday" comes first; shown trimmed.
    EXPECT_EQ(Items(combo("cmbDayType")), Strings({"Holiday", "Birthday"}));
    EXPECT_EQ(text("cmbDayType"), "Date Type");
    const Strings repeats = Items(combo("cmbRepeatType"));
    type("cmbRepeatType", "Every-10");
    tool("New");
    tool("New");
    EXPECT_EQ(Items(combo("cmbAMPM")), ampm) << "renewed, not doubled";
    EXPECT_EQ(Items(combo("cmbRepeatType")), repeats);
    EXPECT_EQ(text("cmbRepeatType"), "Every-10") << "the set-up leaves the repeat rule's text";
}

// Another calendar opened while the window shows a record: Save no longer
// writes into the file left, stepping goes through the new file's records,
// and a save lands there.
TEST_F(EntryWindow, AnotherCalendarOpenedIsTheOneStepsAndSavesReach) {
    const std::string first = vm::Module1.CalendarFilePath;
    store("2024-01-01", "first file's record");
    const std::string second = vmtest::FreshCalendar();
    vm::Module1.CalendarFilePath = second;
    store("2024-02-01", "second file's record");
    vm::Module1.CalendarFilePath = first;
    open();
    tool("DoubleLeftArrow");
    ASSERT_EQ(text("txtDateText"), "first file's record");
    ASSERT_TRUE(shown("sscmdSaveRecord"));

    fx.messages.fileAnswers.push_back(second);
    main->findChild<QAction*>("mnuFile_Open")->trigger();
    ASSERT_EQ(vm::Module1.CalendarFilePath, second);
    EXPECT_FALSE(shown("sscmdSaveRecord")) << "nothing from the file left is saved";
    tool("DoubleLeftArrow");
    EXPECT_EQ(text("txtDateText"), "second file's record");
    type("txtDateText", "saved in the second");
    click("sscmdSaveRecord");
    EXPECT_EQ(rows().at(0).DateText, "saved in the second");
    vm::Module1.CalendarFilePath = first;
    EXPECT_EQ(rows().at(0).DateText, "first file's record");
    vm::Module1.CalendarFilePath = second;
}

TEST_F(EntryWindow, AddEveryBoxThenSaveChangesThatRecordOnlyWhileItExists) {
    store("2024-01-01", "first by date");
    open();
    for (const auto& [name, value] : std::vector<std::pair<const char*, QString>>{
             {"txtDate", "7/4/2025"}, {"cmbHour", "7"}, {"cmbMinute", "30"}, {"cmbAMPM", "PM"},
             {"txtDateText", "Fireworks at O'Brien's"}, {"txtRepeatNo", "3"}, {"cmbRepeatType", "Yearly"},
             {"cmbDayType", "Holiday"}, {"txtAlrmMin", "15,-5"}, {"txtSndNo", "4"}, {"Combo4", "Arial, 12,True,False"},
             {"cmbColors", "255;0;0;16777215;2;3"}, {"txtPriority", "9"}})
        type(name, value);
    QTest::mouseClick(find<QCheckBox>("Check2"), Qt::LeftButton);
    QTest::mouseClick(find<QCheckBox>("Check1"), Qt::LeftButton);
    click("sscmdAddRecord");
    ASSERT_TRUE(fx.messages.shown.empty());
    auto r = rows();
    ASSERT_EQ(r.size(), 2u);
    const vm::DateRecord& added = r[1];
    EXPECT_EQ(vm::FormatIso(added.Date), "2025-07-04");
    EXPECT_EQ(added.JulDate, 2025185);
    EXPECT_EQ(std::tie(added.Hour, added.Minute, added.AM_PM, added.DateText, added.Duration, added.Repeat),
              std::make_tuple(7, 30, std::string("PM"), std::string("Fireworks at O'Brien's"), int64_t{3},
                              std::string("Yearly")));
    EXPECT_EQ(std::tie(added.DateType, added.Hide, added.WorkDay, added.Alarm, added.SoundNum),
              std::make_tuple(std::string("Holiday"), true, true, std::string("15,-5"), int64_t{4}));
    EXPECT_EQ(std::tie(added.Font, added.DayColors, added.Priority, added.Hr24),
              std::make_tuple(std::string("Arial, 12,True,False"), std::string("255;0;0;16777215;2;3"), 9, 19));

    // Save right after Add changes the record just added, not the first one.
    type("txtDateText", "Fireworks moved");
    type("cmbHour", "12");
    type("cmbAMPM", "AM");
    click("sscmdSaveRecord");
    r = rows();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].DateText, "first by date");
    EXPECT_EQ(r[1].DateText, "Fireworks moved");
    EXPECT_EQ(r[1].Hr24, 0);
    EXPECT_EQ(w->writesTold(), 2);

    // Saving a record another window deleted meanwhile says so and stores nothing.
    vm::db::Database::Open(vm::Module1.CalendarFilePath)
        ->exec("DELETE FROM [Velmora] WHERE [ID] = " + std::to_string(r[1].ID));
    type("txtDateText", "edited after the delete");
    click("sscmdSaveRecord");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Save Record");
    EXPECT_NE(fx.messages.shown[0].text.find("Deleted Meanwhile"), std::string::npos) << fx.messages.shown[0].text;
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_FALSE(shown("sscmdSaveRecord")) << "a second try has nothing to save into";
}

// Another window's writes: a record shown with no edit typed shows them; a
// save writes only what its boxes changed; stepping meets the rows as they
// are now; a record deleted meanwhile takes no save, nor does the next one.
TEST_F(EntryWindow, ASaveKeepsWhatAnotherWindowWroteAndNeverLandsOnAnother) {
    const int64_t a = store("2025-03-01", "Alpha"), b = store("2025-03-02", "Bravo"),
                  c = store("2025-03-03", "Charlie");
    store("2025-03-04", "Delta");
    open();
    tool("DoubleLeftArrow");
    tool("RightArrow");
    ASSERT_EQ(text("txtDateText"), "Bravo");

    // The date grid lists the records; its cell edits are what another window writes.
    main->dateGrid->txtSearch->setText("a");
    main->dateGrid->sscmdSrchDateData->click();
    auto* grid = main->DataDatesModel;
    const auto editCell = [&](int64_t id, int gridColumn, const QString& t) {
        const int idColumn = grid->fieldIndex("ID");
        for (int r = 0; r < grid->recordCount(); ++r)
            if (db::AsInt(grid->value(r, idColumn)) == id)
                return grid->setData(grid->index(r, main->dateGrid->DateGridColumn(gridColumn)), t, Qt::EditRole);
        return false;
    };
    const auto editText = [&](int64_t id, const QString& t) { return editCell(id, 5, t); };
    ASSERT_STREQ(vm::DateGridField(5), "DateText");

    ASSERT_TRUE(editText(b, "Bravo from the grid"));
    EXPECT_EQ(text("txtDateText"), "Bravo from the grid") << "no edit typed: the record as it is now";
    type("txtPriority", "9");
    ASSERT_TRUE(editText(b, "Bravo again from the grid"));
    EXPECT_EQ(text("txtDateText"), "Bravo from the grid") << "what is typed stays";
    click("sscmdSaveRecord");
    EXPECT_EQ(rows().at(1).DateText, "Bravo again from the grid") << "the grid's edit kept";
    EXPECT_EQ(rows().at(1).Priority, 9);

    // The hour typed, the AM/PM changed in the grid: the time on the 24-hour
    // clock is the one the row ends up holding.
    type("cmbHour", "5");
    ASSERT_TRUE(editCell(b, vm::kColAmPm, "PM"));
    click("sscmdSaveRecord");
    EXPECT_EQ(std::tie(rows().at(1).Hour, rows().at(1).AM_PM, rows().at(1).Hr24),
              std::make_tuple(5, std::string("PM"), 17));

    ASSERT_TRUE(editText(c, "Charlie from the grid"));
    tool("RightArrow");
    EXPECT_EQ(text("txtDateText"), "Charlie from the grid");

    // Charlie deleted by another program, with an edit typed: the save says so,
    // stores nothing, and no second save edits Delta in its place.
    fx.messages.clear();
    type("txtDateText", "typed over Charlie");
    db::Database::Open(vm::Module1.CalendarFilePath)->exec("DELETE FROM [Velmora] WHERE [ID] = " + std::to_string(c));
    click("sscmdSaveRecord");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "The Record Shown Was Deleted Meanwhile: the Changes Were Not Stored.");
    EXPECT_FALSE(shown("sscmdSaveRecord"));
    w->sscmdSaveRecord_Click();  // even when asked again
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_EQ(rows().back().DateText, "Delta");

    // Stepping on from a record that went reaches the row after it.
    tool("DoubleLeftArrow");
    EXPECT_EQ(text("txtDateText"), "Alpha");
    db::Database::Open(vm::Module1.CalendarFilePath)->exec("DELETE FROM [Velmora] WHERE [ID] = " + std::to_string(a));
    vm::Document().RecordsWritten(vm::CalendarDocument::Change::Deleted);  // as the grid's Delete tells it
    EXPECT_FALSE(shown("sscmdSaveRecord"));
    tool("RightArrow");
    EXPECT_EQ(text("txtDateText"), "Bravo again from the grid");
}

TEST_F(EntryWindow, StepsTheMonthEmptyColumnsArePlaceholdersNoSavePastEnd) {
    store("2025-03-03", "third", 1);
    store("2025-03-01", "first");
    store("2025-03-02", "second");
    {
        auto database = db::Database::Open(vm::Module1.CalendarFilePath);
        database->exec("UPDATE [Velmora] SET [Alarm] = '30', [Repeat] = 'Daily', [Minute] = 45 WHERE [DateText] = 'third'");
        database->exec("INSERT INTO [Velmora] ([Date], [JulDate], [DateText]) VALUES ('2025-03-04', 2025063, 'bare')");
    }
    open();
    tool("DoubleLeftArrow");
    EXPECT_EQ(text("txtDateText"), "first");
    EXPECT_EQ(text("txtDate"), "3/1/2025");
    tool("RightArrow");
    EXPECT_EQ(text("txtDateText"), "second");
    tool("DoubleRightArrow");
    tool("LeftArrow");
    EXPECT_EQ(text("txtPriority"), "1");
    EXPECT_EQ(text("txtAlrmMin"), "30");

    // An empty column loads as its placeholder, not the previous record's value, and is saved empty.
    tool("RightArrow");
    EXPECT_EQ(text("txtDateText"), "bare");
    EXPECT_EQ(text("txtAlrmMin"), "Alarm Mins");
    EXPECT_EQ(text("cmbRepeatType"), "Repeat Type");
    EXPECT_EQ(text("cmbMinute"), "Min");
    EXPECT_EQ(text("cmbHour"), "Hr");
    click("sscmdSaveRecord");
    for (const char* col : {"Alarm", "Repeat", "Minute", "Hour", "AM_PM"})
        EXPECT_TRUE(db::IsNull(column(rows()[3].ID, col))) << col;

    // Past the end there is no current record: Save says so and writes nothing.
    tool("RightArrow");
    tool("RightArrow");
    const int redraws = w->writesTold();
    click("sscmdSaveRecord");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Save Record");
    EXPECT_EQ(w->writesTold(), redraws);
}

TEST_F(EntryWindow, SearchIsLiteralInAnyCaseAndClearListsAll) {
    store("2025-05-01", "Lunch with O'Brien");
    store("2025-04-01", "50% off sale");
    store("2025-02-01", "axb meeting");
    store("2025-01-01", "500 reasons");
    open();
    type("txtSearch", "o'brien");
    click("sscmdSrch2DoLst");
    EXPECT_EQ(text("txtDateText"), "Lunch with O'Brien");

    type("txtSearch", "50%");
    QTest::keyClick(box("txtSearch"), Qt::Key_Return);
    EXPECT_EQ(text("txtDateText"), "50% off sale");
    tool("RightArrow");
    EXPECT_EQ(text("txtDateText"), "50% off sale") << "the only hit, not \"500 reasons\"";

    for (const char* none : {"a_b", "no such words"}) {
        type("txtSearch", none);
        click("sscmdSrch2DoLst");
        EXPECT_EQ(text("txtDateText"), "50% off sale") << none << ": no hits leave the boxes";
    }

    click("sscmdClearSrch");
    EXPECT_EQ(text("txtSearch"), "Search");
    EXPECT_EQ(text("txtDateText"), "500 reasons") << "every record by date, the first loaded";
}

TEST_F(EntryWindow, AddRefusesNoDayAsksForColoursThenStoresTheColumns) {
    open();
    type("txtDate", "2/30/2025");
    click("sscmdAddRecord");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Record Not Saved");
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(w->writesTold(), 0);

    type("txtDate", "3/15/2025");
    type("cmbColors", "Colors");
    click("sscmdAddRecord");
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].title, "Select Colors");
    EXPECT_EQ(combo("cmbColors")->palette().color(QPalette::Base), QColor(0xFF, 0xD5, 0xEA));
    EXPECT_TRUE(rows().empty());
    type("cmbColors", "Select FG Colors");

    // With no calendar open it says so plainly and the boxes keep what was typed.
    const std::string calendar = vm::Module1.CalendarFilePath;
    vm::Module1.CalendarFilePath = calendar + ".gone";
    type("txtDate", "3/15/25");
    click("sscmdAddRecord");
    ASSERT_EQ(fx.messages.shown.size(), 3u);
    EXPECT_EQ(fx.messages.shown[2].text, vm::kNoCalendarText);
    EXPECT_EQ(text("txtDate"), "3/15/25");
    EXPECT_EQ(text("cmbColors"), "Select FG Colors");
    vm::Module1.CalendarFilePath = calendar;
    click("sscmdAddRecord");
    EXPECT_EQ(combo("cmbColors")->palette().color(QPalette::Base), QPalette().color(QPalette::Base));

    // Added with every other box on its placeholder: the column map.
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    const int64_t id = r[0].ID;
    EXPECT_EQ(db::AsText(column(id, "Date")), "2025-03-15");
    EXPECT_EQ(r[0].JulDate, 2025074);
    EXPECT_EQ(r[0].AM_PM, "AM");
    for (const char* zero : {"Hide", "Hour", "Hr24", "Duration", "SoundNum", "Priority", "WorkDay"})
        EXPECT_EQ(column(id, zero), db::Value{int64_t{0}}) << zero;
    for (const char* unwritten : {"Minute", "Repeat", "Alarm", "BGColor", "FGColor"})
        EXPECT_TRUE(db::IsNull(column(id, unwritten))) << unwritten;
    for (const char* empty : {"DateText", "DateType", "Font", "DayColors"}) EXPECT_EQ(db::AsText(column(id, empty)), "");
    EXPECT_TRUE(shown("sscmdSaveRecord"));
    EXPECT_EQ(w->writesTold(), 1) << "the save tells the calendar document";
}

TEST_F(EntryWindow, DatePickerAndPlaceholderBoxes) {
    open();
    auto* date = box("txtDate");
    focusIn(date);
    EXPECT_TRUE(shown("SSPanel2"));
    find<QCalendarWidget>("MonthView1")->setSelectedDate(QDate(2025, 3, 15));
    emit find<QCalendarWidget>("MonthView1")->clicked(QDate(2025, 3, 15));
    EXPECT_EQ(date->text(), "3/15/2025");
    EXPECT_FALSE(shown("SSPanel2"));
    QTest::mouseDClick(date, Qt::LeftButton);
    EXPECT_TRUE(shown("SSPanel2"));

    // At its box, weeks from Sunday without week numbers; Escape closes it.
    auto* picker = find<QWidget>("SSPanel2");
    EXPECT_EQ(picker->pos(), date->mapToGlobal(QPoint(0, date->height())));
    QTest::keyClick(find<QCalendarWidget>("MonthView1"), Qt::Key_Escape);
    EXPECT_FALSE(shown("SSPanel2"));

    // Entering a box empties its placeholder only.
    focusIn(box("txtPriority"));
    EXPECT_EQ(text("txtPriority"), "");
    type("txtPriority", "12");
    focusIn(box("txtPriority"));
    EXPECT_EQ(text("txtPriority"), "12");
}

// The picker is a small window of its own: Escape closes it wherever its
// keyboard focus is, and the entry window, active again, does not open it anew.
TEST_F(EntryWindow, EscapeClosesThePickerWindowAndItStaysClosed) {
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    auto* date = box("txtDate");
    date->setFocus(Qt::TabFocusReason);
    auto* picker = find<QWidget>("SSPanel2");
    ASSERT_TRUE(picker->isVisible());
    // Escape at each place the user's keys can be: the date box, the picker
    // window itself (the month shown, no control chosen), and its day table.
    QWidget* dayTable = find<QCalendarWidget>("MonthView1")->findChild<QAbstractItemView*>();
    ASSERT_NE(dayTable, nullptr);
    const struct {
        const char* where;
        QWidget* target;
    } places[] = {{"the date box", date}, {"the picker window", picker}, {"its day table", dayTable}};
    for (const auto& p : places) {
        date->setFocus(Qt::TabFocusReason);
        QTest::mouseDClick(date, Qt::LeftButton);
        ASSERT_TRUE(picker->isVisible()) << p.where;
        if (p.target != date) {
            picker->activateWindow();
            ASSERT_TRUE(QTest::qWaitForWindowActive(picker)) << p.where;
            p.target->setFocus(Qt::MouseFocusReason);
        }
        QTest::keyClick(p.target, Qt::Key_Escape);
        EXPECT_FALSE(picker->isVisible()) << p.where;
        w->activateWindow();
        QTest::qWait(20);
        EXPECT_FALSE(picker->isVisible()) << p.where << ": the entry window, active again, opened it anew";
    }
}

// Whether a day cell of the main window shows the text.
bool MonthShows(const vm::frmVelmora& main, const QString& what) {
    for (auto* cell : main.lblDay)
        if (cell && cell->text().contains(what)) return true;
    return false;
}

TEST_F(EntryWindow, ASavedRecordShowsInTheMonthAtOnceAndTheWindowStepsThatMonth) {
    store("2025-03-02", "in March");
    store("2025-04-20", "in April");
    main->cmbMonth->setCurrentText("March");
    main->cmbYear->setCurrentText(" 2025");
    main->cmbmonth_Click();
    open();
    tool("DoubleRightArrow");
    EXPECT_EQ(text("txtDateText"), "in March") << "the window steps through the shown month";

    tool("New");
    type("txtDate", "3/15/2025");
    type("txtDateText", "Dentist");
    EXPECT_FALSE(MonthShows(*main, "Dentist"));
    click("sscmdAddRecord");
    EXPECT_TRUE(MonthShows(*main, "Dentist"));
}

// Add Record on a full disk gives the plain sentence every write gives, and on
// a calendar that may only be read it says so before anything is tried.
TEST_F(EntryWindow, AddRecordOnAFullDiskOrAReadOnlyFileSaysSoPlainly) {
    const std::string name = std::filesystem::path(vm::Module1.CalendarFilePath).filename().string();
    open();
    tool("New");
    type("txtDate", "3/15/2025");
    find<QPlainTextEdit>("txtDateText")->setPlainText(QString(20000, 'x'));
    w->Data1.setDatabaseName(vm::Module1.CalendarFilePath);
    w->Data1.setRecordSource("SELECT * FROM [Velmora]");
    w->Data1.refresh();
    vmtest::FillDisk(w->Data1.database());
    fx.messages.clear();
    click("sscmdAddRecord");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "The disk is full: " + name + " was not changed");
    EXPECT_TRUE(rows().empty());
    vmtest::FillDisk(w->Data1.database(), false);

    std::filesystem::permissions(vm::Module1.CalendarFilePath, std::filesystem::perms::owner_read);
    fx.messages.clear();
    click("sscmdAddRecord");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "The file may only be read: " + name + " was not changed");
    std::filesystem::permissions(vm::Module1.CalendarFilePath,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(text("txtDate"), "3/15/2025") << "the boxes keep what was typed";

    // A window opened while the file could only be read saves once it may
    // be written again.
    vm::UnloadEnterRec();
    std::filesystem::permissions(vm::Module1.CalendarFilePath, std::filesystem::perms::owner_read);
    open();
    tool("DoubleLeftArrow");
    std::filesystem::permissions(vm::Module1.CalendarFilePath,
                                 std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    tool("New");
    type("txtDate", "3/16/2025");
    type("txtDateText", "Writable again");
    fx.messages.clear();
    click("sscmdAddRecord");
    EXPECT_TRUE(fx.messages.shown.empty()) << fx.messages.shown[0].text;
    EXPECT_EQ(rows().size(), 1u);
}

}  // namespace

namespace {

TEST_F(EntryWindow, StepsRecordsByTheirDayWhateverFormTheDateHas) {
    store("2026-01-05", "January");
    const int64_t december = store("2026-12-08", "December");
    store("1930-05-01", "Old");
    store("2027-03-04", "March");
    // Written by another tool as M/D/YYYY text.
    db::Database::Open(vm::Module1.CalendarFilePath)
        ->prepare("UPDATE [Velmora] SET [Date] = '12/8/2026' WHERE [ID] = ?")
        .bind(1, db::Int(december))
        .run();
    open();
    click("sscmdClearSrch");
    std::vector<std::string> seen{text("txtDateText").toStdString()};
    for (int i = 0; i < 3; ++i) {
        tool("RightArrow");
        seen.push_back(text("txtDateText").toStdString());
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Old", "January", "December", "March"}));
    tool("DoubleRightArrow");
    EXPECT_EQ(text("txtDateText"), "March");
    tool("LeftArrow");
    EXPECT_EQ(text("txtDateText"), "December");
}

}  // namespace
