// The stopwatch window opened by Show Timers of the real main window and driven
// headless by its controls' names, with the clock moved by hand.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTabWidget>
#include <QTest>

#include "alarmfixture.h"
#include "gridedit.h"
#include "core/files.h"
#include "alarms/frmstopwatch.h"
#include "platform/recordgrid.h"

namespace db = vm::db;
using vmtest::Strings;

namespace {

class StopWatchWindow : public vmtest::AlarmTimerTest {
protected:
    void SetUp() override {
        AlarmTimerTest::SetUp();
        w->mnuFile_ShowTimer->trigger();
        sw = vm::StopWatch();
        ASSERT_NE(sw, nullptr);
        sw->beepGapMs = 0;
    }
    void TearDown() override {
        vm::UnloadStopWatch();
        AlarmTimerTest::TearDown();
    }
    template <class T>
    T* find(const QString& name) { return vmtest::Child<T>(sw, name); }
    QString label(const QString& name) { return find<QLabel>(name)->text(); }
    void click(const QString& name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    void advance(int seconds, int ms = 0) { clock.advance(seconds * 1000LL + ms); }
    db::Value Stored(const std::string& sql) {
        auto st = db::Database::Open(settingsPath)->prepare(sql);
        return st.step() ? st.column(0) : db::Value{};
    }
    vm::frmStopWatch* sw = nullptr;
};

TEST_F(StopWatchWindow, TimersCountRealTimeWhileTheWallClockJumps) {
    click("sscmdStrtStop_0");
    EXPECT_EQ(find<QPushButton>("sscmdStrtStop_0")->text(), "Stop");
    for (int k = 0; k < 600; ++k) {
        advance(1);
        if (k == 100) clock.jumpWall(3600000);   // daylight-saving time ends...
        if (k == 300) clock.jumpWall(-3600000);  // ...or the clock is set back
        if (k % 7 == 0) sw->Timer1_Timer(0);  // a busy window misses most ticks
    }
    sw->Timer1_Timer(0);
    EXPECT_EQ(label("lblTime_0"), "0:10:0") << "exactly ten minutes";
    // Stopping stops the display only; Reset empties it.
    click("sscmdStrtStop_0");
    EXPECT_EQ(find<QPushButton>("sscmdStrtStop_0")->text(), "Start");
    click("sscmdReset_0");
    EXPECT_EQ(label("lblTime_0"), "");

    EXPECT_FALSE(find<QPushButton>("sscmdLap_0")->isVisibleTo(sw));
    click("sscmdReset_4");
    click("sscmdStrtStop_4");
    EXPECT_TRUE(find<QPushButton>("sscmdLap_0")->isVisibleTo(sw));
    advance(3);
    click("sscmdLap_0");
    advance(2, 250);
    click("sscmdLap_0");
    auto* laps = find<QListWidget>("lstLap");
    ASSERT_EQ(laps->count(), 2);
    EXPECT_EQ(laps->item(0)->text(), "Lap: 1  0:0:3.00 Diff  0:0:3.00");
    EXPECT_EQ(laps->item(1)->text(), "Lap: 2  0:0:5.25 Diff  0:0:2.25");
    advance(0, 30);
    sw->Timer1_Timer(4);
    EXPECT_EQ(label("lblTime_4"), "0:0:5.28") << "hundredths always with two digits";
    advance(0, 780);
    sw->Timer1_Timer(4);
    EXPECT_EQ(label("lblTime_4"), "0:0:6.06");
    EXPECT_EQ(laps->currentRow(), 1);

    // A countdown of 0:1:5 ends in "Complete" with three beeps, however often it
    // is paused and whatever the wall clock does; Reset clears its boxes.
    find<QComboBox>("cmbMinutes_2")->setCurrentText("1");
    find<QComboBox>("cmbSeconds_2")->setCurrentText("5");
    click("sscmdStart_2");
    clock.jumpWall(5 * 60000);
    for (int k = 0; k < 10; ++k) {
        advance(6, 400);
        click("sscmdStart_2");  // pause
        advance(30);
        click("sscmdStart_2");  // go on
    }
    advance(0, 999);
    sw->Timer2_Timer(2);
    EXPECT_EQ(label("lblCntDwn_2"), "0 : 0 : 1") << "64.999 s of 65 have run";
    // So the seconds tick no earlier than they pass.
    for (const char* timer : {"Timer1_0", "Timer2_2"})
        EXPECT_EQ(find<QTimer>(timer)->timerType(), Qt::PreciseTimer) << timer;
    advance(0, 1);
    sw->Timer2_Timer(2);
    EXPECT_EQ(label("lblCntDwn_2"), "Complete");
    EXPECT_EQ(find<QPushButton>("sscmdStart_2")->text(), "Start");
    QTest::qWait(20);
    EXPECT_EQ(fx.messages.beeps, 3);
    click("sscmdResetCntDwn_2");
    EXPECT_EQ(find<QComboBox>("cmbMinutes_2")->currentText(), "0");
    EXPECT_EQ(label("lblCntDwn_2"), "");

    // Closed after a move, it comes back where the user left it; the main window's end closes it.
    sw->setGeometry(300, 200, 700, 500);
    const QRect kept = sw->geometry();
    sw->close();
    QApplication::processEvents();
    w->mnuFile_ShowTimer->trigger();
    ASSERT_NE(vm::StopWatch(), nullptr);
    EXPECT_EQ(vm::StopWatch()->geometry(), kept);
    w->Form_Unload();
    QApplication::processEvents();
    EXPECT_EQ(vm::StopWatch(), nullptr);
}

TEST_F(StopWatchWindow, APausedCountdownShowsTheTimeItKeeps) {
    find<QComboBox>("cmbSeconds_0")->setCurrentText("10");
    click("sscmdStart_0");
    advance(3);
    sw->Timer2_Timer(0);
    EXPECT_EQ(label("lblCntDwn_0"), "0 : 0 : 7");
    advance(2, 500);
    click("sscmdStart_0");  // pause with 4.5 s left
    EXPECT_EQ(label("lblCntDwn_0"), "0 : 0 : 5");
    advance(60);
    click("sscmdStart_0");
    advance(4, 500);
    sw->Timer2_Timer(0);
    EXPECT_EQ(label("lblCntDwn_0"), "Complete");
}

TEST_F(StopWatchWindow, ADailyAlarmEnteredInTheGridRingsItsOwnWaveFileAtOnce) {
    Draw("December", " 2026");
    auto* grid = find<QTableView>("TDBGridAlarms");
    auto* model = qobject_cast<vm::RecordGridModel*>(grid->model());
    ASSERT_NE(model, nullptr);
    const int row = model->rowCount() - 1;
    ASSERT_TRUE(model->isNewRowLine(row));
    EXPECT_TRUE(model->setData(model->index(row, model->fieldIndex("Hour")), "9"));
    EXPECT_EQ(db::AsInt(Stored("SELECT [Disable] IS 0 FROM [Alarms] ORDER BY [ID] DESC")), 1) << "never Null";
    // A minute an alarm cannot hold is refused with a message; nothing is stored.
    EXPECT_FALSE(model->setData(model->index(row, model->fieldIndex("Minute")), "60"));
    EXPECT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(db::AsInt(Stored("SELECT count(*) FROM [Alarms]")), 1);
    for (auto [field, text] : {std::pair{"Minute", "30"}, std::pair{"AMPM", "amet"}, std::pair{"AlarmText", "Stretch"}})
        ASSERT_TRUE(model->setData(model->index(row, model->fieldIndex(field)), text)) << field;
    EXPECT_EQ(db::AsText(Stored("SELECT [AMPM] FROM [Alarms]")), "AMET") << "stored upper-cased";
    // A double click on the sound column picks a wave file; its path is kept.
    const std::string wave = vm::ResolveDataPath(vm::DefaultSoundFile(3));
    const QModelIndex cell = model->index(row, model->fieldIndex("SoundNum"));
    find<QTabWidget>("SSTab1")->setCurrentWidget(find<QWidget>("SSPanel4"));
    QApplication::processEvents();
    grid->scrollTo(cell);
    fx.messages.fileAnswers.push_back(wave);
    const QPoint at = grid->visualRect(cell).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, at);  // a double click's first press
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    ASSERT_EQ(fx.messages.dialogs.size(), 1u);
    EXPECT_EQ(db::AsText(Stored("SELECT [SoundNum] FROM [Alarms] ORDER BY [ID] DESC")), wave);

    // Every edit rebuilds the queue at once.
    EXPECT_FALSE(vm::Module1.AlarmsChanged);
    ASSERT_EQ(Texts(), Strings{"DAILY ALARM: Stretch"});
    At(9, 30, 5);
    Tick();
    EXPECT_EQ(sound.played, Strings{wave}) << "the alarm's own wave file";
    EXPECT_EQ(fx.messages.shown.size(), 1u) << "never an error box";

    // Delete on the alarm's whole row, after asking, takes it out of the
    // table and of the queue.
    grid->setFocus();
    grid->selectRow(0);
    fx.messages.answers.push_back(vm::MsgResult::Yes);
    QTest::keyClick(grid, Qt::Key_Delete);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[1].title, "Delete Rows");
    EXPECT_EQ(db::AsInt(Stored("SELECT count(*) FROM [Alarms]")), 0);
    EXPECT_TRUE(Texts().empty());
    EXPECT_TRUE(grid->isColumnHidden(model->fieldIndex("ID")));
}

TEST_F(StopWatchWindow, EventsInOneSecondOrderByDescriptionAndSortByHeader) {
    auto* grid = find<QTableView>("TDBGridEventLog");
    auto* model = qobject_cast<vm::RecordGridModel*>(grid->model());
    for (const char* text : {"second", "first"}) {
        find<QLineEdit>("txtEvent")->setText(text);
        click("sscmdPost");
    }
    EXPECT_EQ(find<QLineEdit>("txtEvent")->text(), "first") << "the box keeps its text";
    const int desc = model->fieldIndex("Description");
    auto column = [&] {
        QStringList out;
        for (int r = 0; r < model->recordCount(); ++r) out << model->data(model->index(r, desc)).toString();
        return out;
    };
    EXPECT_EQ(column(), (QStringList{"first", "second"}));
    EXPECT_EQ(model->data(model->index(0, model->fieldIndex("Date"))).toString(), "12/6/2026");
    EXPECT_EQ(model->data(model->index(0, model->fieldIndex("Time"))).toString(), "09:00:00");
    grid->setCurrentIndex(model->index(1, desc));  // "second"
    emit grid->horizontalHeader()->sectionClicked(desc);
    EXPECT_EQ(column(), (QStringList{"first", "second"}));
    emit grid->horizontalHeader()->sectionClicked(desc);
    EXPECT_EQ(column(), (QStringList{"second", "first"})) << "a second click sorts descending";
    EXPECT_EQ(model->data(model->index(grid->currentIndex().row(), desc)).toString(), "second") << "kept current";

    // Dates another tool wrote as M/D/YYYY sort by their day among the others.
    db::Database::Open(settingsPath)->exec(
        "INSERT INTO [EventLog] ([Date],[Time],[Description]) VALUES ('2025-01-01','09:00:00','a'),"
        "('12/7/2026','09:00:00','c'),('2026-06-01','09:00:00','b')");
    const int date = model->fieldIndex("Date");
    emit grid->horizontalHeader()->sectionClicked(date);
    QStringList days;
    for (int r = 0; r < model->recordCount(); ++r) days << model->data(model->index(r, date)).toString();
    EXPECT_EQ(days, (QStringList{"1/1/2025", "6/1/2026", "12/6/2026", "12/6/2026", "12/7/2026"}));

    // The program's Exit stores the cell still being edited.
    vmtest::OpenCellAndType(grid, model->index(0, desc), "second, edited");
    w->mnuFile_Exit->trigger();
    EXPECT_EQ(db::AsInt(Stored("SELECT COUNT(*) FROM [EventLog] WHERE [Description] = 'second, edited'")), 1);
}

}  // namespace
