#include "platform/recordgrid.h"

namespace vm {

RecordGridModel::RecordGridModel(db::RecordSource& source, QObject* parent)
    : QAbstractTableModel(parent), source_(source) {}

void RecordGridModel::reload() {
    beginResetModel();
    names_.clear();
    rows_.clear();
    const int n = source_.fieldCount();
    for (int i = 0; i < n; ++i) names_.push_back(source_.fieldName(i));
    const int at = source_.absolutePosition();
    if (source_.recordCount() > 0) {
        rows_.reserve(size_t(source_.recordCount()));
        for (source_.moveFirst(); !source_.eof(); source_.moveNext()) {
            std::vector<db::Value> row;
            row.reserve(size_t(n));
            for (int i = 0; i < n; ++i) row.push_back(source_.field(i));
            rows_.push_back(std::move(row));
        }
        // Back to the row that was current.
        source_.moveFirst();
        for (int k = 0; k < at && !source_.eof(); ++k) source_.moveNext();
        if (at < 0) source_.movePrevious();
    }
    endResetModel();
}

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
    const size_t r = size_t(index.row()), c = size_t(index.column());
    if (r >= rows_.size() || c >= names_.size()) return {};
    const db::Value& v = rows_[r][c];
    if (formatter_) return formatter_(names_[c], v);
    if (db::IsNull(v)) return {};
    return QString::fromStdString(db::AsText(v));
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        if (section >= 0 && size_t(section) < names_.size()) return QString::fromStdString(names_[size_t(section)]);
        return {};
    }
    return section + 1;
}

void RecordGridModel::addToValueList(int column, const QString& item) { valueLists_[column].append(item); }

void RecordGridModel::clearValueList(int column) { valueLists_.erase(column); }

QStringList RecordGridModel::valueList(int column) const {
    const auto it = valueLists_.find(column);
    return it == valueLists_.end() ? QStringList() : it->second;
}

}  // namespace vm
