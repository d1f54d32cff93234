// The stopwatch window opened by Show Timers of the real main window and driven
// headless by its controls' names, with the clock moved by hand and a fresh
// settings database in the data folder.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <filesystem>
#include <memory>

#include "alarms/frmstopwatch.h"
#include "core/files.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/clock.h"
#include "platform/recordgrid.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

class StopWatchWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy_file(vmtest::FreshSettings(), vm::SettingsDatabasePath(),
                                   std::filesystem::copy_options::overwrite_existing);
        vm::SetClock(&clock);
        vm::Module1.CalendarFilePath = vmtest::FreshCalendar();
        main = std::make_unique<vm::frmVelmora>();
        main->unloadWaitMs = 0;
        main->move(100, 80);
        main->mnuFile_ShowTimer->trigger();
        w = vm::StopWatch();
        ASSERT_NE(w, nullptr);
        w->beepGapMs = 0;
    }
    void TearDown() override {
        vm::UnloadStopWatch();
        main.reset();
        QApplication::processEvents();
        vm::SetClock(nullptr);
    }
    template <class T>
    T* find(const QString& name) {
        auto* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    QString label(const QString& name) { return find<QLabel>(name)->text(); }
    void click(const QString& name) { QTest::mouseClick(find<QPushButton>(name), Qt::LeftButton); }
    void advance(int seconds, int ms = 0) {
        int64_t t = vm::ClockMillis(clock.time) + seconds * 1000LL + ms;
        const vm::CivilDate d = vm::CivilFromDays(t / 86400000);
        t %= 86400000;
        clock.time = {d.y, d.m, d.d, int(t / 3600000), int(t / 60000 % 60), int(t / 1000 % 60), int(t % 1000)};
    }
    db::Value Stored(const std::string& sql) {
        auto st = db::Database::Open(vm::SettingsDatabasePath())->prepare(sql);
        return st.step() ? st.column(0) : db::Value{};
    }

    vmtest::Fixture fixture;
    vm::FakeClock clock{{2026, 12, 6, 9, 0, 0, 0}};
    std::unique_ptr<vm::frmVelmora> main;
    vm::frmStopWatch* w = nullptr;
};

TEST_F(StopWatchWindow, StopwatchesAndCountdownsCountAgainstTheClockInAWindowThatKeepsItsPlace) {
    // The first opening of the run: 750 twips below and right of the main window.
    EXPECT_TRUE(w->isVisible() && vm::Module1.StopWatchOpen);
    EXPECT_EQ(w->pos(), QPoint(150, 130));
    click("sscmdStrtStop_0");
    EXPECT_EQ(find<QPushButton>("sscmdStrtStop_0")->text(), "Stop");
    for (int k = 0; k < 600; ++k) {
        advance(1);
        if (k % 7 == 0) w->Timer1_Timer(0);  // a busy window misses most ticks
    }
    w->Timer1_Timer(0);
    EXPECT_EQ(label("lblTime_0"), "0:10:0") << "exactly ten minutes";
    // Stopping stops the display only; Reset empties it.
    click("sscmdStrtStop_0");
    EXPECT_EQ(find<QPushButton>("sscmdStrtStop_0")->text(), "Start");
    click("sscmdReset_0");
    EXPECT_EQ(label("lblTime_0"), "");

    EXPECT_FALSE(find<QPushButton>("sscmdLap_0")->isVisibleTo(w));
    click("sscmdReset_4");
    click("sscmdStrtStop_4");
    EXPECT_TRUE(find<QPushButton>("sscmdLap_0")->isVisibleTo(w));
    advance(3);
    click("sscmdLap_0");
    advance(2, 250);
    click("sscmdLap_0");
    auto* laps = find<QListWidget>("lstLap");
    ASSERT_EQ(laps->count(), 2);
    EXPECT_EQ(laps->item(0)->text(), "Lap: 1  0:0:3.0 Diff  0:0:3.0");
    EXPECT_EQ(laps->item(1)->text(), "Lap: 2  0:0:5.25 Diff  0:0:2.25");
    EXPECT_EQ(laps->currentRow(), 1);

    // A countdown of 0:1:5 ends in "Complete" with three beeps; Reset clears its boxes.
    find<QComboBox>("cmbMinutes_2")->setCurrentText("1");
    find<QComboBox>("cmbSeconds_2")->setCurrentText("5");
    click("sscmdStart_2");
    advance(1);
    w->Timer2_Timer(2);
    EXPECT_EQ(label("lblCntDwn_2"), "0 : 1 : 4");
    advance(64);
    w->Timer2_Timer(2);
    EXPECT_EQ(label("lblCntDwn_2"), "Complete");
    EXPECT_EQ(find<QPushButton>("sscmdStart_2")->text(), "Start");
    QTest::qWait(20);
    EXPECT_EQ(fixture.messages.beeps, 3);
    click("sscmdResetCntDwn_2");
    EXPECT_EQ(find<QComboBox>("cmbMinutes_2")->currentText(), "0");
    EXPECT_EQ(label("lblCntDwn_2"), "");

    // Closed after a move, it comes back where the user left it; the main window's end closes it.
    w->setGeometry(300, 200, 700, 500);
    const QRect kept = w->geometry();
    w->close();
    QApplication::processEvents();
    main->mnuFile_ShowTimer->trigger();
    ASSERT_NE(vm::StopWatch(), nullptr);
    EXPECT_EQ(vm::StopWatch()->geometry(), kept);
    main->Form_Unload();
    QApplication::processEvents();
    EXPECT_EQ(vm::StopWatch(), nullptr);
}

TEST_F(StopWatchWindow, TheDailyAlarmAndEventLogGridsStoreWhatIsEntered) {
    auto* grid = find<QTableView>("TDBGridAlarms");
    auto* model = qobject_cast<vm::RecordGridModel*>(grid->model());
    ASSERT_NE(model, nullptr);
    const int newLine = model->rowCount() - 1;
    ASSERT_TRUE(model->isNewRowLine(newLine));
    EXPECT_TRUE(model->setData(model->index(newLine, model->fieldIndex("Hour")), "7"));
    EXPECT_EQ(db::AsInt(Stored("SELECT [Hour] FROM [Alarms] ORDER BY [ID] DESC")), 7);
    EXPECT_EQ(db::AsInt(Stored("SELECT [Disable] IS 0 FROM [Alarms] ORDER BY [ID] DESC")), 1) << "never Null";
    // A minute an alarm cannot hold is refused with a message; nothing is stored.
    EXPECT_FALSE(model->setData(model->index(newLine, model->fieldIndex("Minute")), "60"));
    EXPECT_EQ(fixture.messages.shown.size(), 1u);
    EXPECT_EQ(db::AsInt(Stored("SELECT count(*) FROM [Alarms]")), 1);
    // A double click on the sound column picks a wave file; its path is kept.
    grid->setCurrentIndex(model->index(newLine, model->fieldIndex("SoundNum")));
    fixture.messages.fileAnswers.push_back("/home/user/ring.wav");
    w->TDBGridAlarms_DblClick();
    ASSERT_EQ(fixture.messages.dialogs.size(), 1u);
    EXPECT_EQ(db::AsText(Stored("SELECT [SoundNum] FROM [Alarms] ORDER BY [ID] DESC")), "/home/user/ring.wav");

    // Events posted in one second are ordered by description; the header sorts keep the current record.
    grid = find<QTableView>("TDBGridEventLog");
    model = qobject_cast<vm::RecordGridModel*>(grid->model());
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
    EXPECT_EQ(model->data(model->index(grid->currentIndex().row(), desc)).toString(), "second");
}

}  // namespace
