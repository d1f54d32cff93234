#include "platform/datagrid.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>

#include "platform/recordgrid.h"

namespace vm {

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
