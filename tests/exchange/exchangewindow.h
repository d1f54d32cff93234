// The real main window, headless, showing February 2026 of a fresh calendar
// file, for the import and export tests: dialogs answered by the message
// fake, the desktop's open handler by its recording fake.
#pragma once
#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>

#include <memory>
#include <string>

#include "core/appearance.h"
#include "core/dates.h"
#include "core/module1.h"
#include "core/monthpictures.h"
#include "mainwindow/frmvelmora.h"
#include "platform/shell.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace vmtest {

class ExchangeWindow : public ::testing::Test {
protected:
    Fixture fx;
    vm::FakeDesktopOpener opener;
    std::string calendar = FreshCalendar();
    std::string dir = MakeTempDir("velmora-exchange");
    std::unique_ptr<vm::frmVelmora> w;

    // Rows put into the calendar file before the window opens.
    virtual void AddRecords() {}

    void SetUp() override {
        vm::SetDesktopOpener(&opener);
        vm::Module1.CalendarFilePath = calendar;
        vm::EnsureMonthPictures();
        AddRecords();
        w = std::make_unique<vm::frmVelmora>();
        vm::ReadCalValues(w->DataSettings);
        vm::SetDefaultCalValues();
        w->SetToday(vm::CivilDate{2026, 2, 14});
        w->show();
        w->cmbMonth->setCurrentText("February");
        w->cmbYear->setCurrentText(" 2026");
        w->cmbmonth_Click();
        fx.messages.clear();
    }
    void TearDown() override {
        w.reset();
        vm::SetDesktopOpener(nullptr);
    }
    template <class T>
    T* Find(const QString& name) {
        T* c = w->findChild<T*>(name);
        EXPECT_NE(c, nullptr) << name.toStdString();
        return c;
    }
    void Click(const char* name) { Find<QPushButton>(name)->click(); }
    const vm::FakeMessages::Shown* Box(const std::string& title) {
        for (const auto& s : fx.messages.shown)
            if (s.title == title) return &s;
        return nullptr;
    }
    // The first column of the first row a query gives.
    vm::db::Value Query(const std::string& sql) {
        auto st = vm::db::Database::Open(calendar)->prepare(sql);
        return st.step() ? st.column(0) : vm::db::Value{};
    }
};

}  // namespace vmtest
