// The to-do list "To Do List": the tasks of [ToDoList] in an editable grid,
// ordered by priority and creation date, hidden tasks left out unless "Show
// Hidden Records" is checked, with search, header sort and font buttons. A
// task gets today's date as its creation date at its first stored edit.
#pragma once
#include <QMainWindow>

#include "core/todolist.h"
#include "platform/datagrid.h"
#include "platform/sqlstore.h"

class QAction;
class QLineEdit;
class QStatusBar;
class QTableView;
class QToolBar;

namespace vm {

class RecordGridModel;

class frm2DoList : public QMainWindow {
    Q_OBJECT
public:
    explicit frm2DoList(QWidget* parent = nullptr);
    ~frm2DoList() override;

    // The opening query, then the place beside the main window.
    void Form_Load();
    // Clears ToDoListOpen.
    void Form_Unload();
    bool loaded() const { return loaded_; }

    void Toolbar1_ButtonClick(const QString& key);
    void mnuFile_ShowHidden_Click();
    void mnuFile_Exit_Click();
    void sscmdSrch2DoLst_Click();
    void sscmdClearSrch_Click();
    void TDBGrid2DoList_HeadClick(int column);  // model column
    // After a stored cell edit of `row`: an empty creation date becomes today.
    void TDBGrid2DoList_AfterColUpdate(int row);

    db::RecordSource Data2DoList;
    RecordGridModel* Data2DoListModel = nullptr;
    QTableView* TDBGrid2DoList = nullptr;
    QLineEdit* txtSearch = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QAction* mnuFile_ShowHidden = nullptr;
    ToDoQuery query;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Requery(bool keepRecord);
    bool loaded_ = false;
};

// Shows the to-do list, creating and loading it on first use.
frm2DoList* Show2DoList();
// The loaded to-do list, or nullptr.
frm2DoList* ToDoList();
// Unloads it when loaded (shut-down).
void Unload2DoList();
// The header-sort state kept for the run.
GridSortState& ToDoSortState();

}  // namespace vm
