// The month window on February 2026 for the import and export tests:
// dialogs answered by the message fake, the desktop's open handler by its
// recording fake.
#pragma once
#include <QPushButton>

#include <string>

#include "mainwindow/monthfixture.h"
#include "platform/shell.h"

namespace vmtest {

class ExchangeWindow : public MonthBuild {
protected:
    vm::FakeDesktopOpener opener;
    const std::string calendar = cal.path;
    std::string dir = MakeTempDir("velmora-exchange");

    // Rows put into the calendar file before the window opens.
    virtual void AddRecords() {}

    void SetUp() override {
        vm::SetDesktopOpener(&opener);
        AddRecords();
        MonthBuild::SetUp();
        Draw("February", " 2026");
        fx.messages.clear();
    }
    void TearDown() override {
        w.reset();
        vm::SetDesktopOpener(nullptr);
    }
    template <class T>
    T* Find(const QString& name) { return Child<T>(w.get(), name); }
    void Click(const char* name) { Find<QPushButton>(name)->click(); }
    const vm::FakeMessages::Shown* Box(const std::string& title) {
        for (const auto& s : fx.messages.shown)
            if (s.title == title) return &s;
        return nullptr;
    }
    // The first column of the first row a query gives.
    vm::db::Value Query(const std::string& sql) {
        auto st = cal.db->prepare(sql);
        return st.step() ? st.column(0) : vm::db::Value{};
    }
};

}  // namespace vmtest
