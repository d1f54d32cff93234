// Failures no handler expected: the application's box instead of an end, and
// a data grid whose table vanished under it, in the real main window.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <stdexcept>

#include "core/appearance.h"
#include "core/dates.h"
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/recordgrid.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace db = vm::db;

namespace {

TEST(Uncaught, AFailureEscapingAHandlerShowsOneBoxAndTheProgramGoesOn) {
    vmtest::Fixture fx;
    QPushButton button("Fail");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        ++clicks;
        throw std::out_of_range("vector::_M_range_check");
    });
    button.show();
    for (int i = 0; i < 2; ++i) QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].text, "5 - vector::_M_range_check");
    EXPECT_EQ(fx.messages.shown[0].icon, vm::MsgIcon::Critical);
}

TEST(Uncaught, ACellEditAfterTheCalendarTableVanishedIsRefusedWithABox) {
    vmtest::Fixture fx;
    const std::string path = vmtest::FreshCalendar();
    auto other = db::Database::Open(path);  // another program's connection
    other->exec("INSERT INTO [Velmora] ([Hide],[Date],[JulDate],[Hour],[Minute],[AM_PM],[DateText],[DateType]) "
                "VALUES (0,'2024-03-14'," + std::to_string(vm::Date2Julian(vm::CivilDate{2024, 3, 14})) + ",1,0,'AM','Dentist','Event')");
    vm::Module1.CalendarFilePath = path;
    auto w = std::make_unique<vm::frmVelmora>();
    vm::ReadCalValues(w->DataSettings);
    vm::SetDefaultCalValues();
    w->SetToday(vm::CivilDate{2024, 3, 14});
    w->resize(1600, 900);
    w->show();
    w->cmbMonth->setCurrentText("March");
    w->cmbYear->setCurrentText(" 2024");
    w->cmbmonth_Click();
    ASSERT_EQ(w->DataDatesModel->recordCount(), 1);

    other->exec("DROP TABLE [Velmora]");
    w->Toolbar1->findChild<QAction*>("Forward")->trigger();
    fx.messages.clear();
    const QModelIndex cell = w->DataDatesModel->index(0, w->DataDatesModel->fieldIndex("DateText"));
    w->TDBGridDates->setCurrentIndex(cell);
    w->TDBGridDates->edit(cell);
    auto* editor = w->TDBGridDates->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "x");
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_NE(fx.messages.shown[0].text.find("cannot be stored"), std::string::npos) << fx.messages.shown[0].text;

    // The window goes on: the next month draws, and nothing came back.
    w->Toolbar1->findChild<QAction*>("Back")->trigger();
    EXPECT_FALSE(other->hasTable("Velmora"));
    w.reset();
}

}  // namespace
