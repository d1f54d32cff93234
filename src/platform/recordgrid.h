// A data-bound grid's table model: one column per field of a record source,
// one row per row of its last refresh, read straight from the source (never
// a copy). An editable grid ends with an empty new-row line, as a bound grid
// does: a value typed there adds a row. Every accepted cell edit is stored at
// once; a value the column cannot hold is refused with a message and nothing
// is stored. A cell edit still open is never dropped: it is stored (or
// refused) before the source reads its rows again or lets them go, and
// before its window closes or hides; a refusal keeps a window from closing.
#pragma once
#include <QAbstractTableModel>
#include <QPointer>
#include <QStyledItemDelegate>

#include <QStringList>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/sqlstore.h"

class QAbstractItemView;

namespace vm {

class RecordGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // How a field's value is shown; the default writes it as text.
    using Formatter = std::function<QVariant(const std::string& field, const db::Value& value)>;
    // Turns a typed text into the value to store in a field. Returns "" when
    // accepted, else the message saying why the column cannot hold it. The
    // default stores the text, an empty text as Null.
    using Converter = std::function<std::string(const std::string& field, const QString& text, db::Value& out)>;
    // Runs after a cell's value was stored (row and column of the model).
    using AfterUpdate = std::function<void(int row, int column)>;

    explicit RecordGridModel(db::RecordSource& source, QObject* parent = nullptr);
    void setFormatter(Formatter formatter) { formatter_ = std::move(formatter); }
    void setConverter(Converter converter) { converter_ = std::move(converter); }
    void setAfterUpdate(AfterUpdate after) { afterUpdate_ = std::move(after); }
    // Editable cells, with or without the new-row line.
    void setEditable(bool editable, bool newRowLine = true);
    bool editable() const { return editable_; }
    void setColumnReadOnly(int column, bool readOnly = true);
    // The caption shown over a column (the field name until set).
    void setCaption(int column, const QString& caption);
    // Values every row added on the new-row line starts with (field, value).
    void setNewRowDefaults(std::vector<std::pair<std::string, db::Value>> defaults) {
        newRowDefaults_ = std::move(defaults);
    }
    // Title of the box that refuses a value.
    void setRefusalTitle(const std::string& title) { refusalTitle_ = title; }

    // Takes the source's rows again (after a refresh or a change of its
    // record source). The source's current row stays where it was.
    void reload();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Rows holding records (the new-row line not counted).
    int recordCount() const;
    bool isNewRowLine(int row) const { return editable_ && newRowLine_ && row == recordCount(); }
    const db::Value& value(int row, int column) const { return source_.valueAt(row, column); }
    int fieldIndex(const std::string& field) const;
    const std::string& fieldName(int column) const { return names_.at(size_t(column)); }
    // Stores one value typed into a cell, as an edit would; false when refused.
    bool storeCell(int row, int column, const QString& text);

    // The values a column's cells offer to choose from (a drop-down list).
    void addToValueList(int column, const QString& item);
    void clearValueList(int column);
    QStringList valueList(int column) const;
    // A display alias: the stored value `stored` shows as `shown`, and a
    // `shown` chosen or typed is stored as `stored`.
    void setAlias(int column, const QString& stored, const QString& shown);

    // How many typed values were refused so far.
    int refusals() const { return refusals_; }

signals:
    // The source is about to read its rows again or let them go.
    void aboutToChange();

private:
    QString shownText(int column, const db::Value& v) const;
    QString storedText(int column, const QString& typed) const;
    bool refuse(const std::string& text);

    db::RecordSource& source_;
    Formatter formatter_;
    Converter converter_;
    AfterUpdate afterUpdate_;
    std::vector<std::string> names_;
    int rows_ = 0;
    bool editable_ = false;
    bool newRowLine_ = false;
    std::map<int, bool> readOnly_;
    std::map<int, QString> captions_;
    std::map<int, QStringList> valueLists_;
    std::map<int, std::vector<std::pair<QString, QString>>> aliases_;
    std::string refusalTitle_ = "Data Error";
    std::vector<std::pair<std::string, db::Value>> newRowDefaults_;
    int refusals_ = 0;
};

// Shows a drop-down of the column's value list in cells that have one, and
// a plain text box elsewhere. Its open editor is stored before the model's
// source changes and before the grid's window closes or hides.
class ValueListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* watchOpenEdit(QWidget* editor, QWidget* viewport, const QModelIndex& index) const;
    mutable QPointer<QWidget> open_;  // the editor now open, if any
};

// Stores the value in a grid's open cell editor and closes it; false (the
// editor stays open) when the column refused it.
bool CommitOpenEdit(QAbstractItemView* view, QWidget* editor);

}  // namespace vm
