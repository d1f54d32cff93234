// Writing expansions into [RepeatingData], one record at a time, inside the
// pass's transaction.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sqlstore.h"
#include "repeat/expand.h"

namespace vm {

// Appends rows to [RepeatingData]. Columns are matched by name:
// [RepeatingData] columns that [Velmora] has (`sourceColumns`) are copied from
// the record, and the columns a generated row sets itself are written whether
// or not [Velmora] has them. Rows go in batches; Finish writes the last one.
class ExpansionWriter {
public:
    ExpansionWriter(db::Database& db, const std::vector<std::string>& sourceColumns);
    ~ExpansionWriter();
    // The rows of one record's expansion (its only record); gives the number
    // of its first row (0 when none) and its row count.
    std::pair<int64_t, int64_t> Write(const DateRecord& record, const Expansion& expansion);
    // Writes what is pending; false when the rows did not get the numbers Write gave.
    bool Finish();
    int64_t written() const { return written_; }

private:
    struct Impl;
    db::Database& db_;
    std::unique_ptr<Impl> impl_;
    int64_t next_ = 1;
    int64_t written_ = 0;
};

// The indexes of [RepeatingData], dropped while a whole table is written
// (building them after the rows are in is much quicker), then made again.
class RepeatingIndexes {
public:
    explicit RepeatingIndexes(db::Database& db);
    // Makes them again; `built(done, count)` after each one.
    void Restore(const std::function<void(size_t done, size_t count)>& built = {});

private:
    db::Database& db_;
    std::vector<std::pair<std::string, std::string>> indexes_;
};

// The pass's own page cache size, put back afterwards. A small cache keeps
// the pass's memory low (a large one holds the whole table), but each time
// it fills with new rows they are written out: 8 MB while rows go in, 2 MB
// while the indexes are sorted (the sort takes as much again).
class PassCache {
public:
    PassCache(db::Database& db, int64_t kib);
    void set(int64_t kib);
    ~PassCache();

private:
    db::Database& db_;
    int64_t old_ = -2000;
};

}  // namespace vm
