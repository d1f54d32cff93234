// Writing an expansion into [RepeatingData] and the Alarm fields of
// [Velmora], as one transaction.
#pragma once
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/sqlstore.h"
#include "repeat/expand.h"

namespace vm {

// Empties [RepeatingData], inserts every row and writes the alarm lists, in one
// transaction: on any failure (thrown on) the old table and Alarm fields stay.
// Columns are matched by name: [RepeatingData] columns that [Velmora] has
// (`sourceColumns`) are copied from the record, and the columns a generated
// row sets itself are written whether or not [Velmora] has them. `point` is
// set to the step under way, for the error box. `beforeCommit` runs last
// inside the transaction, for the pass's own bookkeeping.
void WriteExpansion(db::Database& db, const std::vector<std::string>& sourceColumns,
                    std::span<const DateRecord> records, const Expansion& expansion, int& point,
                    const std::function<void(db::Database&)>& beforeCommit = {});

}  // namespace vm
