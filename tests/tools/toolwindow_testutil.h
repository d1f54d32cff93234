// Shared by the contact-list and to-do-list window tests: a fresh data folder
// with the settings database, the main window, and grid reading and typing
// by object name.
#pragma once
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "core/files.h"
#include "mainwindow/frmvelmora.h"
#include "platform/recordgrid.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace vmtest {

struct ToolWindowFixture {
    Fixture fx;
    vm::FakeMessages& messages = fx.messages;
    std::string dataDir = MakeTempDir("velmora-tool");
    std::unique_ptr<vm::frmVelmora> main;

    ToolWindowFixture() {
        setenv("VELMORA_DATA_DIR", dataDir.c_str(), 1);
        vm::EnsureDataFolder();
        main = std::make_unique<vm::frmVelmora>();
        main->setGeometry(150, 120, 900, 600);
    }
    std::string settings() const { return vm::SettingsDatabasePath(); }
    void exec(const std::string& sql, const std::vector<vm::db::Value>& values = {}) {
        auto d = vm::db::Database::Open(settings());
        auto st = d->prepare(sql);
        st.bindAll(values);
        st.run();
    }
    std::vector<std::string> column(const std::string& sql) {
        auto d = vm::db::Database::Open(settings());
        auto st = d->prepare(sql);
        std::vector<std::string> out;
        while (st.step()) out.push_back(vm::db::AsText(st.column(0)));
        return out;
    }
    void trigger(QObject* window, const char* action) {
        auto* a = window->findChild<QAction*>(action);
        ASSERT_NE(a, nullptr) << action;
        ASSERT_TRUE(a->isEnabled()) << action;
        a->trigger();
    }
};

inline vm::RecordGridModel* ModelOf(QTableView* grid) { return qobject_cast<vm::RecordGridModel*>(grid->model()); }

// The shown texts of one field, row by row (the new-row line left out).
inline std::vector<std::string> Shown(QTableView* grid, const std::string& field) {
    auto* m = ModelOf(grid);
    std::vector<std::string> out;
    const int c = m->fieldIndex(field);
    for (int r = 0; r < m->recordCount(); ++r) out.push_back(m->index(r, c).data().toString().toStdString());
    return out;
}

// Clicks a column header as the user does.
inline void ClickHeader(QTableView* grid, const std::string& field) {
    const int c = ModelOf(grid)->fieldIndex(field);
    grid->scrollTo(grid->model()->index(0, c));
    QHeaderView* h = grid->horizontalHeader();
    const QPoint at(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, h->height() / 2);
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
}

// Types into a cell's editor and presses Enter.
inline void TypeIntoCell(QTableView* grid, int row, const std::string& field, const QString& text) {
    const QModelIndex index = grid->model()->index(row, ModelOf(grid)->fieldIndex(field));
    grid->setCurrentIndex(index);
    grid->edit(index);
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents();  // the delegate commits on its next turn
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // and the editor goes
}

// A double-click as the desktop delivers it: press, release, double-click, release.
inline void DoubleClickCell(QTableView* grid, const QModelIndex& index) {
    const QPoint at = grid->visualRect(index).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
}

}  // namespace vmtest
