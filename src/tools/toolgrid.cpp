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
namespace {

// Delete on whole selected rows removes their records.
class RowDeleter : public QObject {
public:
    RowDeleter(QTableView* grid, RecordGridModel* model, db::RecordSource& source, std::function<void()> after)
        : QObject(grid), grid_(grid), model_(model), source_(source), after_(std::move(after)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        // (A cell being edited has its own editor, which takes its keys.)
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Delete)
            return false;
        std::vector<int> rows;
        for (const QModelIndex& i : grid_->selectionModel()->selectedRows())
            if (i.row() < model_->recordCount()) rows.push_back(i.row());
        if (rows.empty()) return false;
        const std::string what = rows.size() == 1 ? "the selected row" : std::to_string(rows.size()) + " selected rows";
        if (Messages().message("Delete " + what + "?", MsgButtons::YesNo, MsgIcon::Question, "Delete Rows") !=
            MsgResult::Yes)
            return true;
        std::sort(rows.rbegin(), rows.rend());  // from the bottom, so the rows above keep their places
        try {
            for (int row : rows) {
                source_.setAbsolutePosition(row);
                source_.deleteRow();
            }
        } catch (const db::DbError& e) {
            Messages().message(e.what(), MsgButtons::Ok, MsgIcon::Critical, "Delete Rows");
        }
        model_->reload();
        HideIdColumn(grid_, model_);
        if (after_) after_();
        return true;
    }

private:
    QTableView* grid_;
    RecordGridModel* model_;
    db::RecordSource& source_;
    std::function<void()> after_;
};

}  // namespace

void AllowRowDelete(QTableView* grid, RecordGridModel* model, db::RecordSource& source,
                    std::function<void()> afterDelete) {
    grid->installEventFilter(new RowDeleter(grid, model, source, std::move(afterDelete)));
}

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

void HideIdColumn(QTableView* grid, const RecordGridModel* model) {
    for (int c = 0; c < model->columnCount(); ++c) grid->setColumnHidden(c, model->fieldName(c) == "ID");
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
    return p;
}

}  // namespace vm
