// Shared by the contact-list and to-do-list window tests: a fresh data folder,
// the main window, and grid reading and typing by object name.
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
#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/recordgrid.h"
#include "platform/sqlstore.h"
#include "testsupport.h"

namespace vmtest {

struct ToolWindowFixture {
    Fixture fx;
    vm::FakeMessages& messages = fx.messages;
    std::string dataDir = MakeTempDir("velmora-tool");
    // The settings database start-up chose lies outside the data folder, so a
    // window opening any other file shows nothing a test stored.
    std::string settings = FreshSettings();
    std::unique_ptr<vm::frmVelmora> main;

    ToolWindowFixture() {
        setenv("VELMORA_DATA_DIR", dataDir.c_str(), 1);
        vm::EnsureDataFolder();
        vm::MainState.pSettingsFile = settings;
        main = std::make_unique<vm::frmVelmora>();
        main->setGeometry(150, 120, 900, 600);
    }
    void exec(const std::string& sql, const std::vector<vm::db::Value>& values = {}) {
        vm::db::Database::Open(settings)->prepare(sql).bindAll(values).run();
    }
    std::vector<std::string> column(const std::string& sql) {
        auto st = vm::db::Database::Open(settings)->prepare(sql);
        std::vector<std::string> out;
        while (st.step()) out.push_back(vm::db::AsText(st.column(0)));
        return out;
    }
    void trigger(QObject* window, const char* action) {
        auto* a = window->findChild<QAction*>(action);
        ASSERT_TRUE(a && a->isEnabled()) << action;
        a->trigger();
    }
};

inline vm::RecordGridModel* ModelOf(QTableView* grid) { return qobject_cast<vm::RecordGridModel*>(grid->model()); }

// The shown texts of one field, row by row (the new-row line left out).
inline std::vector<std::string> Shown(QTableView* grid, const std::string& field) {
    auto* m = ModelOf(grid);
    std::vector<std::string> out;
    for (int r = 0; r < m->recordCount(); ++r)
        out.push_back(m->index(r, m->fieldIndex(field)).data().toString().toStdString());
    return out;
}

// Clicks a column header as the user does.
inline void ClickHeader(QTableView* grid, const std::string& field) {
    const int c = ModelOf(grid)->fieldIndex(field);
    grid->scrollTo(grid->model()->index(0, c));
    QHeaderView* h = grid->horizontalHeader();
    QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, QPoint(h->sectionViewportPosition(c) + h->sectionSize(c) / 2, 5));
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

}  // namespace vmtest
