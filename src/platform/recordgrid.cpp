#include "platform/recordgrid.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QTimer>

#include "platform/messages.h"

namespace vm {

RecordGridModel::RecordGridModel(db::RecordSource& source, QObject* parent)
    : QAbstractTableModel(parent), source_(source) {
    // The source may outlive the model (a window's member, the model its child).
    source_.setBeforeChange([self = QPointer<RecordGridModel>(this)] {
        if (self) emit self->aboutToChange();
    });
}

void RecordGridModel::setEditable(bool editable, bool newRowLine) {
    beginResetModel();
    editable_ = editable;
    newRowLine_ = newRowLine;
    endResetModel();
}

void RecordGridModel::setColumnReadOnly(int column, bool readOnly) { readOnly_[column] = readOnly; }

void RecordGridModel::setCaption(int column, const QString& caption) {
    captions_[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void RecordGridModel::reload() {
    beginResetModel();
    names_.clear();
    const int n = source_.fieldCount();
    for (int i = 0; i < n; ++i) names_.push_back(source_.fieldName(i));
    rows_ = source_.recordCount();
    endResetModel();
}

int RecordGridModel::recordCount() const { return std::min(rows_, source_.recordCount()); }

int RecordGridModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    return recordCount() + ((editable_ && newRowLine_ && !names_.empty()) ? 1 : 0);
}

int RecordGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(names_.size());
}

int RecordGridModel::fieldIndex(const std::string& field) const {
    const QString want = QString::fromStdString(field);
    for (size_t i = 0; i < names_.size(); ++i)
        if (QString::fromStdString(names_[i]).compare(want, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

QString RecordGridModel::shownText(int column, const db::Value& v) const {
    QString text;
    if (formatter_) {
        text = formatter_(names_[size_t(column)], v).toString();
    } else if (!db::IsNull(v)) {
        text = QString::fromStdString(db::AsText(v));
    }
    const auto it = aliases_.find(column);
    if (it != aliases_.end())
        for (const auto& [stored, shown] : it->second)
            if (stored.compare(text, Qt::CaseInsensitive) == 0) return shown;
    return text;
}

QString RecordGridModel::storedText(int column, const QString& typed) const {
    const auto it = aliases_.find(column);
    if (it != aliases_.end())
        for (const auto& [stored, shown] : it->second)
            if (shown.compare(typed, Qt::CaseInsensitive) == 0) return stored;
    return typed;
}

QVariant RecordGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole) return {};
    const int r = index.row(), c = index.column();
    if (c < 0 || size_t(c) >= names_.size() || r < 0 || r >= recordCount()) return {};
    if (c >= source_.fieldCount()) return {};
    const db::Value& v = source_.valueAt(r, c);
    if (role == Qt::DisplayRole || role == Qt::EditRole) return shownText(c, v);
    return db::IsNull(v) ? QVariant() : QVariant(shownText(c, v));
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) {
        const auto it = captions_.find(section);
        if (it != captions_.end()) return it->second;
        if (section >= 0 && size_t(section) < names_.size()) return QString::fromStdString(names_[size_t(section)]);
        return {};
    }
    return isNewRowLine(section) ? QVariant(QStringLiteral("*")) : QVariant(section + 1);
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid() || !editable_ || !source_.editable()) return f;
    const auto it = readOnly_.find(index.column());
    if (it != readOnly_.end() && it->second) return f;
    return f | Qt::ItemIsEditable;
}

bool RecordGridModel::refuse(const std::string& text) {
    ++refusals_;
    Messages().message(text, MsgButtons::Ok, MsgIcon::Critical, refusalTitle_);
    return false;
}

bool RecordGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) return false;
    return storeCell(index.row(), index.column(), value.toString());
}

bool RecordGridModel::storeCell(int row, int column, const QString& typed) {
    if (!editable_ || column < 0 || size_t(column) >= names_.size()) return false;
    const bool adding = isNewRowLine(row);
    if (!adding && (row < 0 || row >= recordCount())) return false;
    // Nothing typed on the new-row line adds nothing.
    if (adding && typed.trimmed().isEmpty()) return false;
    const std::string& field = names_[size_t(column)];
    const QString text = storedText(column, typed);
    db::Value v;
    if (converter_) {
        const std::string why = converter_(field, text, v);
        if (!why.empty()) return refuse(why);
    } else if (!text.isEmpty()) {
        v = db::Text(text.toStdString());
    }
    try {
        if (adding) {
            source_.addNew();
            for (const auto& [name, value] : newRowDefaults_)
                if (source_.hasField(name)) source_.setField(name, value);
        } else {
            source_.setAbsolutePosition(row);
            source_.edit();
        }
        source_.setField(column, v);
        source_.update();
    } catch (const std::exception& e) {
        source_.cancelUpdate();
        return refuse(std::string("The value cannot be stored: ") + e.what());
    }
    if (adding) {
        // The new-row line now holds the record; a fresh one follows it.
        beginInsertRows(QModelIndex(), rows_ + 1, rows_ + 1);
        rows_ = source_.recordCount();
        endInsertRows();
        source_.setAbsolutePosition(row);
    }
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
    if (afterUpdate_) afterUpdate_(row, column);
    return true;
}

void RecordGridModel::addToValueList(int column, const QString& item) { valueLists_[column].append(item); }

void RecordGridModel::clearValueList(int column) { valueLists_.erase(column); }

QStringList RecordGridModel::valueList(int column) const {
    const auto it = valueLists_.find(column);
    return it == valueLists_.end() ? QStringList() : it->second;
}

void RecordGridModel::setAlias(int column, const QString& stored, const QString& shown) {
    auto& list = aliases_[column];
    for (auto& [s, sh] : list)
        if (s == stored) {
            sh = shown;
            return;
        }
    list.emplace_back(stored, shown);
}

// ---------------------------------------------------------------- delegate

QWidget* ValueListDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
    const auto* model = qobject_cast<const RecordGridModel*>(index.model());
    const QStringList list = model ? model->valueList(index.column()) : QStringList();
    if (list.isEmpty()) return watchOpenEdit(QStyledItemDelegate::createEditor(parent, option, index), parent, index);
    auto* box = new QComboBox(parent);
    box->setObjectName("ValueList");
    box->setEditable(true);
    box->addItems(list);
    return watchOpenEdit(box, parent, index);
}

QWidget* ValueListDelegate::watchOpenEdit(QWidget* editor, QWidget* viewport, const QModelIndex& index) const {
    auto* view = viewport ? qobject_cast<QAbstractItemView*>(viewport->parentWidget()) : nullptr;
    auto* model = qobject_cast<const RecordGridModel*>(index.model());
    if (!editor || !view || !model) return editor;
    open_ = editor;
    connect(model, &RecordGridModel::aboutToChange, editor, [view, editor] { CommitOpenEdit(view, editor); });
    // Installing again moves the filter to the front; it is never doubled.
    view->window()->installEventFilter(const_cast<ValueListDelegate*>(this));
    return editor;
}

bool ValueListDelegate::eventFilter(QObject* watched, QEvent* event) {
    const bool closing = event->type() == QEvent::Close, hiding = event->type() == QEvent::Hide;
    if ((closing || hiding) && open_ && !open_->isHidden() && watched == open_->window() && watched != open_.data()) {
        auto* view = qobject_cast<QAbstractItemView*>(open_->parentWidget() ? open_->parentWidget()->parentWidget() : nullptr);
        if (view && !CommitOpenEdit(view, open_) && closing) {
            event->ignore();
            return true;
        }
        return false;
    }
    // The windows watched here are no editors: the base filter is for editors only.
    if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow()) return false;
    return QStyledItemDelegate::eventFilter(watched, event);
}

namespace {
QString EditorText(QWidget* editor) {
    if (auto* box = qobject_cast<QComboBox*>(editor)) return box->currentText();
    if (auto* line = qobject_cast<QLineEdit*>(editor)) return line->text();
    return {};
}
// The value last refused, still in its editor, until the command that met it
// is done: one command reading the rows twice (a new statement, then its
// refresh) says so once.
QPointer<QWidget> g_refused;
QString g_refusedText;
}  // namespace

bool CommitOpenEdit(QAbstractItemView* view, QWidget* editor) {
    // An editor the view has already closed is hidden and about to go; one
    // being stored now (its store may read the rows again) is left to that.
    static QWidget* storing = nullptr;
    if (!view || !editor || editor->isHidden() || editor == storing) return true;
    if (g_refused == editor && g_refusedText == EditorText(editor)) {
        editor->setFocus();
        return false;
    }
    auto* model = qobject_cast<RecordGridModel*>(view->model());
    const int before = model ? model->refusals() : 0;
    QPointer<QWidget> kept(editor);
    storing = editor;
    QMetaObject::invokeMethod(view, "commitData", Qt::DirectConnection, Q_ARG(QWidget*, editor));
    storing = nullptr;
    if (!kept || kept->isHidden()) return true;  // the store itself closed it
    if (model && model->refusals() != before) {
        g_refused = editor;
        g_refusedText = EditorText(editor);
        QTimer::singleShot(0, editor, [] { g_refused = nullptr; });
        editor->setFocus();
        return false;
    }
    QMetaObject::invokeMethod(view, "closeEditor", Qt::DirectConnection, Q_ARG(QWidget*, editor),
                              Q_ARG(QAbstractItemDelegate::EndEditHint, QAbstractItemDelegate::NoHint));
    return true;
}

void ValueListDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        box->setCurrentText(index.data(Qt::EditRole).toString());
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void ValueListDelegate::setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        // An unchanged cell stores nothing.
        if (box->currentText() != index.data(Qt::EditRole).toString()) model->setData(index, box->currentText());
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        if (line->text() != index.data(Qt::EditRole).toString()) model->setData(index, line->text());
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

}  // namespace vm
