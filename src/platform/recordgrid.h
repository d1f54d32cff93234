// A read-only table model over a record source: one column per field, one
// row per row of the source's last refresh. The grid shows what the source
// held when reload() was last called.
#pragma once
#include <QAbstractTableModel>

#include <QStringList>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sqlstore.h"

namespace vm {

class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // How a field's value is shown; the default writes it as text.
    using Formatter = std::function<QVariant(const std::string& field, const db::Value& value)>;

    explicit RecordGridModel(db::RecordSource& source, QObject* parent = nullptr);
    void setFormatter(Formatter formatter) { formatter_ = std::move(formatter); }

    // Takes the source's rows again (after a refresh or a change of its
    // record source). The source's current row stays where it was; call it
    // when no add or edit is pending on the source.
    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    const db::Value& value(int row, int column) const { return rows_.at(size_t(row)).at(size_t(column)); }

    // The values a column's cells offer to choose from (a drop-down list).
    void addToValueList(int column, const QString& item);
    void clearValueList(int column);
    QStringList valueList(int column) const;

private:
    db::RecordSource& source_;
    Formatter formatter_;
    std::vector<std::string> names_;
    std::vector<std::vector<db::Value>> rows_;
    std::map<int, QStringList> valueLists_;
};

}  // namespace vm
