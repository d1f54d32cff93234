// The entry window shown over a main window on a fresh calendar, with the
// dialogs answered by fakes.
#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "core/dates.h"
#include "core/module1.h"
#include "core/record.h"
#include "mainwindow/frmvelmora.h"
#include "platform/pickers.h"
#include "platform/sqlstore.h"
#include "records/frmenterrec.h"
#include "testsupport.h"

namespace entrytest {

namespace db = vm::db;

class EntryWindow : public ::testing::Test {
protected:
    void SetUp() override {
        vm::SetPickers(&pickers);
        vm::Module1.CalendarFilePath = vmtest::FreshCalendar();
        main = std::make_unique<vm::frmVelmora>();
        main->move(100, 80);
    }
    void TearDown() override {
        vm::UnloadEnterRec();
        main.reset();
        vm::SetPickers(nullptr);
    }

    vm::frmEnterRec* open() {
        w = vm::ShowEnterRec();
        return w;
    }

    template <class T>
    T* find(const char* name) const { return vmtest::Child<T>(w, name); }
    QLineEdit* box(const char* name) const { return find<QLineEdit>(name); }
    QComboBox* combo(const char* name) const { return find<QComboBox>(name); }
    QString text(const char* name) const {
        if (auto* l = w->findChild<QLineEdit*>(name)) return l->text();
        if (auto* c = w->findChild<QComboBox*>(name)) return c->currentText();
        if (auto* p = w->findChild<QPlainTextEdit*>(name)) return p->toPlainText();
        ADD_FAILURE() << "no box " << name;
        return {};
    }
    // Replaces a box's text by typing, as a user would.
    void type(const char* name, const QString& value) {
        QWidget* target = nullptr;
        if (auto* l = w->findChild<QLineEdit*>(name)) {
            l->selectAll();
            target = l;
        } else if (auto* c = w->findChild<QComboBox*>(name)) {
            c->lineEdit()->selectAll();
            target = c->lineEdit();
        } else if (auto* p = w->findChild<QPlainTextEdit*>(name)) {
            p->selectAll();
            target = p;
        }
        ASSERT_NE(target, nullptr) << name;
        if (value.isEmpty()) QTest::keyClick(target, Qt::Key_Delete);
        else QTest::keyClicks(target, value);
    }
    void click(const char* name) {
        auto* b = find<QPushButton>(name);
        ASSERT_TRUE(b->isVisible()) << name << " is hidden";
        QTest::mouseClick(b, Qt::LeftButton);
    }
    void tool(const char* key) {
        auto* a = w->findChild<QAction*>(key);
        ASSERT_NE(a, nullptr) << key;
        a->trigger();
    }
    static void focusIn(QWidget* target) {
        QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
        QApplication::sendEvent(target, &in);
    }
    bool shown(const char* name) const { return !find<QWidget>(name)->isHidden(); }

    // The rows of [Velmora] in ID order.
    std::vector<vm::DateRecord> rows() const {
        db::RecordSource rs;
        rs.setDatabaseName(vm::Module1.CalendarFilePath);
        rs.setRecordSource("SELECT * FROM [Velmora] ORDER BY [ID]");
        rs.refresh();
        std::vector<vm::DateRecord> out;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext()) out.push_back(vm::ReadDateRecord(rs));
        return out;
    }
    db::Value column(int64_t id, const std::string& name) const {
        auto database = db::Database::Open(vm::Module1.CalendarFilePath);
        auto st = database->prepare("SELECT [" + name + "] FROM [Velmora] WHERE [ID] = ?");
        st.bind(1, db::Int(id));
        EXPECT_TRUE(st.step());
        return st.column(0);
    }
    // Stores a record directly, as another window would have.
    int64_t store(const std::string& iso, const std::string& text, int priority = 0) {
        auto database = db::Database::Open(vm::Module1.CalendarFilePath);
        auto st = database->prepare("INSERT INTO [Velmora] ([Date], [JulDate], [DateText], [Priority], [AM_PM], [Hour], "
                                    "[Hr24]) VALUES (?, ?, ?, ?, 'AM', 9, 9)");
        st.bindAll({db::Text(iso), db::Int(vm::Date2Julian(*vm::ParseIso(iso))), db::Text(text), db::Int(priority)});
        st.run();
        return database->lastInsertId();
    }

    vmtest::Fixture fx;
    vm::FakePickers pickers;
    std::unique_ptr<vm::frmVelmora> main;
    vm::frmEnterRec* w = nullptr;
};

}  // namespace entrytest
