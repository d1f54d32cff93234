// What the tool windows' lists share: the editable grid (contact list, to-do
// list, the day calculator's dated list), the search box with its buttons and
// the font buttons of their toolbars.
#pragma once
#include <QObject>
#include <QString>

#include <functional>
#include <string>

#include "core/files.h"
#include "platform/datagrid.h"
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


// The search panel "SSPanel2": the box "txtSearch" showing "Search", which
// empties itself on a click and searches on Enter, and the search and clear
// buttons. The window opens with the keyboard focus in the box.
struct SearchPanel {
    QFrame* panel = nullptr;
    QLineEdit* txtSearch = nullptr;
    QPushButton* search = nullptr;
    QPushButton* clear = nullptr;
};
SearchPanel MakeSearchPanel(QWidget* parent, const char* searchName, const char* searchTip,
                            std::function<void()> onSearch, std::function<void()> onClear);

}  // namespace vm
