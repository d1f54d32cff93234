#include "platform/datagrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <vector>

#include "platform/messages.h"
#include "platform/recordgrid.h"
#include "platform/steps.h"

namespace vm {
namespace {

std::vector<int> SelectedRecordRows(const QTableView* grid, int recordCount) {
    // A row is selected when every cell of it that shows is: a row picked
    // from the keyboard (Home, Shift+End) leaves the hidden ID cell out, and
    // one cell picked is not its row.
    const QItemSelectionModel* selection = grid->selectionModel();
    const QAbstractItemModel* model = grid->model();
    std::vector<int> rows;
    for (const QModelIndex& i : selection->selectedIndexes())
        if (i.row() < recordCount && !grid->isRowHidden(i.row())) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::erase_if(rows, [&](int row) {
        for (int c = 0; c < model->columnCount(); ++c)
            if (!grid->isColumnHidden(c) && !selection->isSelected(model->index(row, c))) return true;
        return false;
    });
    return rows;
}

// Delete on selected rows removes their records.
class RowDeleter : public QObject {
public:
    RowDeleter(QTableView* grid, RecordGridModel* model, db::RecordSource& source, std::function<void()> after)
        : QObject(grid), grid_(grid), model_(model), source_(source), after_(std::move(after)) {}
    bool eventFilter(QObject*, QEvent* event) override {
        // (A cell being edited has its own editor, which takes its keys.)
        if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Delete)
            return false;
        std::vector<int> rows = SelectedRecordRows(grid_, model_->recordCount());
        if (rows.empty()) return false;
        const std::string what = rows.size() == 1 ? "the selected row" : std::to_string(rows.size()) + " selected rows";
        if (Messages().message("Delete " + what + "?", MsgButtons::YesNo, MsgIcon::Question, "Delete Rows") !=
            MsgResult::Yes)
            return true;
        std::sort(rows.rbegin(), rows.rend());  // from the bottom, so the rows above keep their places
        // All in one write: quick for thousands of rows, and all or none.
        try {
            db::Transaction tx(source_.database());
            for (int row : rows) {
                source_.setAbsolutePosition(row);
                source_.deleteRow();
            }
            tx.commit();
        } catch (const db::DbError&) {
            const std::exception_ptr failure = std::current_exception();
            try {
                source_.refresh();  // none went: the rows as the file still has them
            } catch (const db::DbError&) {
            }
            // Which file, and why (held by another program, full, read-only).
            if (!ShowPlainWriteFailure(failure))
                Messages().message("No rows were deleted.\r\n" + DescribeError(failure).second, MsgButtons::Ok,
                                   MsgIcon::Critical, "Delete Rows");
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

void HideIdColumn(QTableView* grid, const RecordGridModel* model) {
    for (int c = 0; c < model->columnCount(); ++c) grid->setColumnHidden(c, model->fieldName(c) == "ID");
}

std::optional<int64_t> CurrentRecordId(const QTableView* grid, const RecordGridModel* model) {
    if (!grid || !model) return std::nullopt;
    const int row = grid->currentIndex().row();
    const int id = model->fieldIndex("ID");
    if (row < 0 || id < 0 || row >= model->recordCount()) return std::nullopt;
    const db::Value& v = model->value(row, id);
    if (db::IsNull(v)) return std::nullopt;
    return db::AsInt(v);
}

bool SelectRecord(QTableView* grid, RecordGridModel* model, int64_t id) {
    const int col = model->fieldIndex("ID");
    if (col < 0) return false;
    for (int r = 0; r < model->recordCount(); ++r) {
        const db::Value& v = model->value(r, col);
        if (!db::IsNull(v) && db::AsInt(v) == id) {
            const int keep = std::max(0, grid->currentIndex().column());
            grid->setCurrentIndex(model->index(r, keep));
            grid->scrollTo(model->index(r, keep));
            return true;
        }
    }
    return false;
}

void RequeryKeepingRecord(QTableView* grid, RecordGridModel* model, db::RecordSource& source,
                          const std::string& recordSource, std::vector<db::Value> parameters) {
    const std::optional<int64_t> id = CurrentRecordId(grid, model);
    const int leftmost = grid->columnAt(0);
    const int scrollX = grid->horizontalScrollBar()->value();
    source.setRecordSource(recordSource);
    source.setParameters(std::move(parameters));
    source.refresh();
    model->reload();
    if (id) SelectRecord(grid, model, *id);
    // Same column widths, same scroll position: the same column is leftmost.
    if (leftmost >= 0) grid->horizontalScrollBar()->setValue(scrollX);
}

void FillValueList(RecordGridModel& model, int column, const std::string& dbPath, const std::string& query,
                   bool clear) {
    if (clear) model.clearValueList(column);
    auto db = db::Database::Open(dbPath);
    auto st = db->prepare(query);
    while (st.step()) {
        const QString value = QString::fromStdString(db::AsText(st.column(0))).trimmed();
        if (!value.isEmpty()) model.addToValueList(column, QString::fromStdString(db::AsText(st.column(0))));
    }
}

void HeaderClickKeepsCurrentRecord(QTableView* grid) {
    QHeaderView* header = grid->horizontalHeader();
    QObject::disconnect(header, &QHeaderView::sectionPressed, grid, nullptr);
    QObject::disconnect(header, &QHeaderView::sectionEntered, grid, nullptr);
}

void StepGridFont(QTableView* grid, int delta) {
    QFont f = grid->font();
    const double size = f.pointSizeF() > 0 ? f.pointSizeF() : 8.0;
    f.setPointSizeF(std::max(kSmallestGridFont, size + delta));
    grid->setFont(f);
    grid->horizontalHeader()->setFont(f);
    grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 6);
}

}  // namespace vm
