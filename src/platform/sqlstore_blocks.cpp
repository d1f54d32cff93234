// A record source over a large result: the row identities are read at
// refresh, the rows themselves in blocks when first asked for.
#include <algorithm>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/asciicase.h"
#include "platform/sqlstore.h"
#include "platform/sqlstore_internal.h"

namespace vm::db {

using internal::kBlockRows;
using internal::Quote;

void RecordSource::findKeyColumn() {
    auto info = database().prepare("PRAGMA table_info(" + Quote(table_) + ")");
    std::string key;
    int keys = 0;
    while (info.step())
        if (AsInt(info.column(5)) > 0) {
            ++keys;
            if (EqualsNoCase(AsText(info.column(2)), "INTEGER")) key = AsText(info.column(1));
        }
    if (keys != 1 || key.empty()) return;
    keyColumn_ = fieldIndex(key);
    if (keyColumn_ >= 0) keyValues_.reserve(rowids_.size() + kBlockRows);
}

void RecordSource::dropKeyValue(int row) {
    if (row >= 0 && size_t(row) < keyValues_.size()) keyValues_.erase(keyValues_.begin() + row);
}

const Value& RecordSource::valueAt(int row, int column) const {
    requireIndex(column);
    if (lazy_ && column == keyColumn_ && row >= 0 && size_t(row) < rowids_.size()) {
        if (size_t(row) >= keyValues_.size() && size_t(row) < keyValues_.capacity())
            while (keyValues_.size() <= size_t(row)) keyValues_.push_back(Int(rowids_[keyValues_.size()]));
        if (size_t(row) < keyValues_.size()) return keyValues_[size_t(row)];
    }
    return rowAt(row)[size_t(column)];
}

const std::vector<Value>& RecordSource::rowAt(int row) const {
    if (row < 0 || size_t(row) >= rows_.size())
        throw DbError(kNoCurrentRow, "No current record: row " + std::to_string(row) + " of " +
                                         std::to_string(rows_.size()) + ".");
    const std::vector<Value>& r = rows_[size_t(row)];
    if (r.empty() && !names_.empty()) {
        // The rows around the one asked for.
        const int from = std::max(0, row - kBlockRows / 8);
        loadBlock(from, std::min(static_cast<int>(rows_.size()), from + kBlockRows));
    }
    return rows_[size_t(row)];
}

void RecordSource::loadBlock(int from, int to) const {
    std::string cols, list;
    for (const auto& n : names_) cols += ", " + Quote(n);
    std::unordered_map<int64_t, std::vector<int>> wanted;
    for (int i = from; i < to; ++i)
        if (rows_[size_t(i)].empty()) {
            wanted[rowids_[size_t(i)]].push_back(i);
            list += (list.empty() ? "" : ",") + std::to_string(rowids_[size_t(i)]);
        }
    if (list.empty()) return;
    auto st = db_->prepare("SELECT rowid" + cols + " FROM " + Quote(table_) + " WHERE rowid IN (" + list + ")");
    while (st.step()) {
        std::vector<Value> values;
        values.reserve(names_.size());
        for (size_t c = 0; c < names_.size(); ++c) values.push_back(st.column(static_cast<int>(c) + 1));
        for (int i : wanted[AsInt(st.column(0))]) rows_[size_t(i)] = values;
    }
    // Rows gone from the table since the refresh read as empty fields.
    for (int i = from; i < to; ++i)
        if (rows_[size_t(i)].empty()) rows_[size_t(i)].assign(names_.size(), Value{});
}

}  // namespace vm::db
