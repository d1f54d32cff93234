// Typing into a data grid's cell as a user does, leaving the editor open.
#pragma once
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

namespace vmtest {

// Makes the cell current, opens its editor and types `text` over what it
// holds; the editor stays open. Returns the editor (nullptr when none opened).
inline QWidget* OpenCellAndType(QTableView* view, const QModelIndex& at, const QString& text) {
    view->setFocus();
    view->setCurrentIndex(at);
    view->edit(at);
    QWidget* editor = view->indexWidget(at);
    QLineEdit* line = qobject_cast<QLineEdit*>(editor);
    if (auto* box = qobject_cast<QComboBox*>(editor)) line = box->lineEdit();
    if (!line) return editor;
    line->selectAll();
    QTest::keyClicks(line, text);
    return editor;
}

}  // namespace vmtest
