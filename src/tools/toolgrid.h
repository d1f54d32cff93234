// What the tool windows' lists share: the editable grid (contact list, to-do
// list, the day calculator's dated list), the search box with its buttons and
// the font buttons of their toolbars.
#pragma once
#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "core/files.h"
#include "platform/keyedbutton.h"
#include "platform/sqlstore.h"

class QAction;
class QFrame;
class QLineEdit;
class QPushButton;
class QTableView;
class QToolBar;
class QWidget;

namespace vm {

class RecordGridModel;

// An editable grid over `model`: editing starts by typing (a double-click is
// left to the window), value lists show as drop-downs, headers are two lines
// high and a header click calls `headClick` with the model column.
QTableView* MakeToolGrid(QWidget* parent, const char* name, RecordGridModel* model,
                         std::function<void(int)> headClick);

// Lets Delete remove the records whose whole rows are selected (a click on a
// row's header selects it), after asking; other keys are left to the grid.
// The grid is read again, then `afterDelete` runs.
void AllowRowDelete(QTableView* grid, RecordGridModel* model, db::RecordSource& source,
                    std::function<void()> afterDelete = {});

// Hides the ID column (again after each reload of the model).
void HideIdColumn(QTableView* grid, const RecordGridModel* model);

// The search panel "SSPanel2": the box "txtSearch" showing "Search", which
// empties itself on a click and searches on Enter, and the search and clear
// buttons.
struct SearchPanel {
    QFrame* panel = nullptr;
    QLineEdit* txtSearch = nullptr;
    QPushButton* search = nullptr;
    QPushButton* clear = nullptr;
};
SearchPanel MakeSearchPanel(QWidget* parent, const char* searchName, const char* searchTip,
                            std::function<void()> onSearch, std::function<void()> onClear);

}  // namespace vm
