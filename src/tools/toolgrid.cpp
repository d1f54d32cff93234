#include "tools/toolgrid.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>

#include <algorithm>
#include <vector>

#include "core/files.h"
#include "core/module1.h"
#include "platform/controls.h"
#include "platform/datagrid.h"
#include "platform/emptyonclick.h"
#include "platform/messages.h"
#include "platform/recordgrid.h"

namespace vm {
QTableView* MakeToolGrid(QWidget* parent, const char* name, RecordGridModel* model,
                         std::function<void(int)> headClick) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setModel(model);
    grid->setItemDelegate(new ValueListDelegate(grid));
    grid->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::SelectedClicked);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->horizontalHeader()->setSectionsClickable(true);
    HeaderClickKeepsCurrentRecord(grid);
    grid->horizontalHeader()->setMinimumHeight(2 * grid->fontMetrics().height() + 8);
    grid->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter | Qt::Alignment(Qt::TextWordWrap));
    QObject::connect(grid->horizontalHeader(), &QHeaderView::sectionClicked, grid,
                     [headClick](int column) { headClick(column); });
    return grid;
}

SearchPanel MakeSearchPanel(QWidget* parent, const char* searchName, const char* searchTip,
                            std::function<void()> onSearch, std::function<void()> onClear) {
    SearchPanel p;
    p.panel = new QFrame(parent);
    p.panel->setObjectName("SSPanel2");
    p.panel->setFrameShape(QFrame::StyledPanel);
    auto* row = new QHBoxLayout(p.panel);
    p.txtSearch = new QLineEdit("Search", p.panel);
    p.txtSearch->setObjectName("txtSearch");
    p.txtSearch->setToolTip(" Search For This ");
    EmptyOnClick(p.txtSearch);
    QObject::connect(p.txtSearch, &QLineEdit::returnPressed, p.panel, [onSearch] { onSearch(); });
    p.search = NamedButton(p.panel, searchName, "Search", searchTip);
    QObject::connect(p.search, &QPushButton::clicked, p.panel, [onSearch] { onSearch(); });
    p.clear = NamedButton(p.panel, "sscmdClearSrch", "Clear");
    QObject::connect(p.clear, &QPushButton::clicked, p.panel, [onClear] { onClear(); });
    row->addWidget(p.txtSearch, 1);
    row->addWidget(p.search);
    row->addWidget(p.clear);
    p.txtSearch->setFocus();  // the window opens with the keys here, not on a toolbar button
    return p;
}

}  // namespace vm
