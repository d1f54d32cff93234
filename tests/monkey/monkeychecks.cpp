#include "monkeychecks.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>

#include "core/dates.h"
#include "testsupport.h"

namespace fs = std::filesystem;

namespace vmtest {

static bool Passed(const std::string& path) {
    return path.size() > 8 && path.compare(path.size() - 8, 8, "-journal") == 0;
}

std::vector<std::string> FolderSnapshot::Refresh() {
    std::map<std::string, State> now;
    std::vector<std::string> changed;
    for (const auto& root : roots_) {
        std::error_code ec;
        for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
             it.increment(ec)) {
            const std::string p = it->path().string();
            struct stat st {};
            if (Passed(p) || ::lstat(p.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
            State s{st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec, 0};
            const auto was = files_.find(p);
            if (was != files_.end() && was->second.size == s.size && was->second.time == s.time) {
                s.hash = was->second.hash;
            } else {
                s.hash = std::hash<std::string>{}(ReadAll(p));
                if (was == files_.end() || was->second.hash != s.hash || was->second.size != s.size)
                    changed.push_back(p);
            }
            now[p] = s;
        }
    }
    for (const auto& [p, s] : files_)
        if (!now.count(p)) changed.push_back(p);
    files_ = std::move(now);
    return changed;
}

std::vector<std::string> FolderSnapshot::Files() const {
    std::vector<std::string> out;
    for (const auto& [p, s] : files_) out.push_back(p);
    return out;
}

namespace {

struct ReadOnlyDb {
    sqlite3* db = nullptr;
    explicit ReadOnlyDb(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
            sqlite3_close(db);
            db = nullptr;
        }
    }
    ~ReadOnlyDb() { sqlite3_close(db); }
    // Runs sql, calling row for each row; false when it cannot run.
    bool each(const std::string& sql, const std::function<void(sqlite3_stmt*)>& row) {
        if (!db) return false;
        sqlite3_stmt* st = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) {
            sqlite3_finalize(st);
            return false;
        }
        int rc;
        while ((rc = sqlite3_step(st)) == SQLITE_ROW) row(st);
        sqlite3_finalize(st);
        return rc == SQLITE_DONE;
    }
};

std::string Text(sqlite3_stmt* st, int i) {
    const auto* t = sqlite3_column_text(st, i);
    return t ? reinterpret_cast<const char*>(t) : "";
}

}  // namespace

std::optional<std::set<std::string>> TablesOf(const std::string& path) {
    if (!fs::is_regular_file(path)) return std::nullopt;
    ReadOnlyDb db(path);
    std::set<std::string> tables;
    if (!db.each("SELECT name FROM sqlite_master WHERE type = 'table'",
                 [&](sqlite3_stmt* st) { tables.insert(Text(st, 0)); }))
        return std::nullopt;
    return tables;
}

std::vector<std::string> DateMismatches(const std::string& path, int limit) {
    std::vector<std::string> out;
    if (!fs::is_regular_file(path)) return out;
    ReadOnlyDb db(path);
    for (const char* table : {"Velmora", "RepeatingData"}) {
        db.each(std::string("SELECT [ID], [Date], [JulDate] FROM [") + table +
                    "] WHERE [Date] IS NOT NULL OR [JulDate] IS NOT NULL",
                [&](sqlite3_stmt* st) {
                    if (int(out.size()) >= limit) return;
                    const std::string date = Text(st, 1);
                    const auto day = vm::ParseIso(date);
                    const bool agree = day && sqlite3_column_type(st, 2) == SQLITE_INTEGER &&
                                       sqlite3_column_int64(st, 2) == vm::Date2Julian(*day);
                    auto shown = [st](int i) {
                        return sqlite3_column_type(st, i) == SQLITE_NULL ? std::string("Null") : "\"" + Text(st, i) + "\"";
                    };
                    if (!agree)
                        out.push_back(std::string(table) + " ID " + Text(st, 0) + ": Date " + shown(1) + ", JulDate " +
                                      shown(2));
                });
    }
    return out;
}

}  // namespace vmtest
