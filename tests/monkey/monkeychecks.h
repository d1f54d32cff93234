// What the random-action run checks after every action: files nobody asked
// to write stay byte for byte, the databases in use keep their tables, and
// every date record's Date and JulDate agree.
#pragma once
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vmtest {

// The files under some folders, by path: size, change time and a hash of
// the bytes (read again only when size or time moved).
class FolderSnapshot {
public:
    explicit FolderSnapshot(std::vector<std::string> roots) : roots_(std::move(roots)) {}
    // Looks again; returns the files whose bytes changed, appeared or went
    // (SQLite's rollback journals are passed over).
    std::vector<std::string> Refresh();
    std::vector<std::string> Files() const;

private:
    struct State { long long size = 0, time = 0; size_t hash = 0; };
    std::vector<std::string> roots_;
    std::map<std::string, State> files_;
};

// The tables of a SQLite file read without writing it; nothing when it
// cannot be read as a database.
std::optional<std::set<std::string>> TablesOf(const std::string& path);

// Rows of [Velmora] and [RepeatingData] whose JulDate is not their Date's
// day number ("table ID date juldate" each).
std::vector<std::string> DateMismatches(const std::string& path, int limit = 5);

}  // namespace vmtest
