// Cells of the data grids over the program's tables: a typed text is read
// into the value its column can hold (or refused with the reason), and a
// stored value is shown in its written form (dates as M/D/YYYY).
#pragma once
#include <QVariant>

#include <functional>
#include <string>

#include "core/schema.h"
#include "platform/sqlstore.h"

class QString;

namespace vm {

// Reads `text` for the column. Returns "" and sets `out` when the column can
// hold it (an empty text is Null; Yes/No columns are never Null), else the
// message saying why not.
std::string ConvertCellText(const ColumnDef& column, const std::string& text, db::Value& out);

// The stored value in its written form.
std::string CellDisplayText(const ColumnDef& column, const db::Value& value);

// A grid's converter and formatter for a table of this layout, by field name;
// a field the layout does not know is stored and shown as text.
std::function<std::string(const std::string&, const QString&, db::Value&)> TableConverter(const TableDef& table);
std::function<QVariant(const std::string&, const db::Value&)> TableFormatter(const TableDef& table);

}  // namespace vm
