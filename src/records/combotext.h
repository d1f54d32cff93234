// Combo boxes whose text is free, as the record windows use them: the text is
// what the box shows, appending items leaves it alone, and emptying the list
// empties it.
#pragma once
#include <QComboBox>
#include <QLineEdit>

#include <string>
#include <vector>

namespace vm {

inline QComboBox* MakeTextCombo(QWidget* parent, const char* name, const char* text, const char* tip) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCompleter(nullptr);  // no silent completion of what the user types
    c->setEditText(QString::fromUtf8(text));
    if (tip) c->setToolTip(QString::fromUtf8(tip));
    return c;
}

inline std::string ComboText(const QComboBox* c) { return c->currentText().toStdString(); }
inline void SetComboText(QComboBox* c, const std::string& text) { c->setEditText(QString::fromStdString(text)); }

inline void AppendItems(QComboBox* c, const std::vector<std::string>& items) {
    const QString keep = c->currentText();
    for (const auto& item : items) c->addItem(QString::fromStdString(item));
    c->setEditText(keep);
}

inline void ClearList(QComboBox* c) {
    c->clear();
    c->setEditText(QString());
}

}  // namespace vm
