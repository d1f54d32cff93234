#include "platform/sqlstore.h"
#include "platform/sqlstore_internal.h"
#include "platform/asciicase.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>

#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vm::db {

namespace {

// Leading decimal number of a stored text, "." as the point whatever the
// process locale; what cannot be read is 0.
double TextNumber(const std::string& s) {
    size_t i = 0;
    while (i < s.size() && IsAsciiSpace(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    double v = 0.0;
    const auto r = std::from_chars(s.data() + i, s.data() + s.size(), v, std::chars_format::general);
    if (r.ec == std::errc::result_out_of_range) v = HUGE_VAL;
    else if (r.ec != std::errc()) v = 0.0;
    return negative ? -v : v;
}

}  // namespace
namespace internal {

std::string Quote(const std::string& name) { return "[" + name + "]"; }

}  // namespace internal

using internal::kBlockRows;
using internal::kEagerRows;
using internal::kRowIdName;
using internal::Quote;

std::string AsText(const Value& v) {
    if (auto s = std::get_if<std::string>(&v)) return *s;
    if (auto i = std::get_if<int64_t>(&v)) return std::to_string(*i);
    if (auto d = std::get_if<double>(&v)) {
        char buf[64];
        const auto r = std::to_chars(buf, buf + sizeof buf, *d, std::chars_format::general, 15);
        return std::string(buf, r.ptr);
    }
    return {};
}

int64_t AsInt(const Value& v, int64_t ifNull) {
    if (auto i = std::get_if<int64_t>(&v)) return *i;
    if (auto d = std::get_if<double>(&v)) return std::isfinite(*d) ? static_cast<int64_t>(std::nearbyint(*d)) : 0;
    if (auto s = std::get_if<std::string>(&v)) return static_cast<int64_t>(std::nearbyint(TextNumber(*s)));
    return ifNull;
}

double AsDouble(const Value& v, double ifNull) {
    if (auto i = std::get_if<int64_t>(&v)) return static_cast<double>(*i);
    if (auto d = std::get_if<double>(&v)) return *d;
    if (auto s = std::get_if<std::string>(&v)) return TextNumber(*s);
    return ifNull;
}

bool AsBool(const Value& v, bool ifNull) {
    if (IsNull(v)) return ifNull;
    if (auto s = std::get_if<std::string>(&v)) {
        std::string t;
        for (char c : *s) t += AsciiLower(c);
        if (t == "true" || t == "yes") return true;
        if (t == "false" || t == "no" || t.empty()) return false;
    }
    return AsDouble(v) != 0.0;
}

namespace {

std::string FileOf(sqlite3* db) {
    const char* file = db ? sqlite3_db_filename(db, "main") : nullptr;
    return file ? file : "";
}

[[noreturn]] void Fail(sqlite3* db, int rc) {
    const int ext = db ? sqlite3_extended_errcode(db) : rc;
    throw DbError(ext ? ext : rc, db ? sqlite3_errmsg(db) : sqlite3_errstr(rc), FileOf(db));
}

}  // namespace

std::string FoldCase(const std::string& text) {
    std::string folded = text;
    internal::FoldInPlace(folded);
    return folded;
}

int CompareFolded(std::string_view a, std::string_view b) { return internal::CompareFoldedText(a, b); }

bool LooksLikeDatabase(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) < 100) return false;
    std::ifstream in(path, std::ios::binary);
    char head[16] = {};
    in.read(head, sizeof head);
    return in.gcount() == 16 && std::memcmp(head, "SQLite format 3", 16) == 0;
}

// ---------------------------------------------------------------- Database

namespace {

// FOLD(text): the text case-folded over all of Unicode (SQLite's own LIKE and
// NOCASE fold A-Z only). Null stays Null; numbers fold as their text.
void FoldFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (argc != 1 || sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int bytes = sqlite3_value_bytes(argv[0]);
    thread_local std::string folded;
    folded.assign(text ? text : "", text ? static_cast<size_t>(bytes) : 0);
    internal::FoldInPlace(folded);
    sqlite3_result_text(ctx, folded.data(), static_cast<int>(folded.size()), SQLITE_TRANSIENT);
}

void RegisterFunctions(sqlite3* db) {
    internal::RegisterSearchFunctions(db);
    sqlite3_create_function_v2(db, "FOLD", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, FoldFunction, nullptr,
                               nullptr, nullptr);
}

}  // namespace

bool IsReadOnlyFile(const std::string& path) {
    std::error_code ec;
    if (path.empty() || !fs::is_regular_file(path, ec)) return false;
    const fs::path folder = fs::absolute(path, ec).parent_path();
    // The permission bits count even for a user the system would let write.
    auto writable = [](const fs::path& p) {
        std::error_code e;
        const fs::perms bits = fs::status(p, e).permissions();
        if (e) return false;
        const fs::perms w = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        return (bits & w) != fs::perms::none && ::access(p.c_str(), W_OK) == 0;
    };
    return !writable(path) || !writable(folder);
}

bool Database::readOnly() const { return sqlite3_db_readonly(db_, "main") == 1; }

std::shared_ptr<Database> Database::Open(const std::string& path) {
    std::error_code ec;
    const bool there = !path.empty() && fs::exists(path, ec);
    if (ec == std::errc::permission_denied || (there && ::access(path.c_str(), R_OK) != 0))
        throw DbError(kNoAccess, "Permission to read \"" + path + "\" is denied.");
    if (!there) throw DbError(kNoFile, "There is no file at \"" + path + "\".");
    if (!LooksLikeDatabase(path))
        throw DbError(kNotDatabase, "\"" + path + "\" is not a Velmora database file.");
    sqlite3* db = nullptr;
    // Every connection lives on the user-interface thread: no locking of the
    // engine's own on each call.
    const int mode = IsReadOnlyFile(path) ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    const int rc = sqlite3_open_v2(path.c_str(), &db, mode | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw DbError(rc, "Cannot open \"" + path + "\": " + msg);
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, 2000);
    RegisterFunctions(db);
    auto out = std::shared_ptr<Database>(new Database(db, path));
    // Make sure the engine can read its schema before anyone relies on it.
    try {
        out->exec("SELECT count(*) FROM sqlite_master");
    } catch (const DbError& e) {
        // Locked by another program, or unreadable just now, is not damaged:
        // nothing may take such a file for a broken one.
        if (IsInUseError(e.number()))
            throw DbError(kInUse, "\"" + path + "\" is in use by another program, which holds it locked.");
        if (IsDamagedFileError(e.number()))
            throw DbError(kNotDatabase, "\"" + path + "\" is not a readable Velmora database file (" + e.what() + ").");
        throw DbError(e.number(), "\"" + path + "\" cannot be read just now (" + std::string(e.what()) + ").", path);
    }
    // Pages stay in memory between the grids' searches (32 MB at most).
    out->exec("PRAGMA cache_size = -32768");
    // Freed space is wiped only where that costs no extra writing: a library
    // built to wipe every freed page makes emptying the occurrences (millions
    // of rows) rewrite the whole file.
    out->exec("PRAGMA secure_delete = FAST");
    return out;
}

bool IsDamagedFileError(int number) {
    if (number == kNotDatabase || number == kWrongKind) return true;
    const int primary = number & 0xff;
    return number < kNoFile && (primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB);
}

bool IsInUseError(int number) {
    if (number == kInUse) return true;
    const int primary = number & 0xff;
    return number < kNoFile && (primary == SQLITE_BUSY || primary == SQLITE_LOCKED);
}

std::shared_ptr<Database> Database::Create(const std::string& path) {
    std::error_code ec;
    if (fs::exists(path, ec)) throw DbError(SQLITE_CANTOPEN, "A file already exists at \"" + path + "\".");
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const std::string msg = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        throw DbError(rc, "Cannot create \"" + path + "\": " + msg);
    }
    sqlite3_extended_result_codes(db, 1);
    RegisterFunctions(db);
    return std::shared_ptr<Database>(new Database(db, path));
}

Database::Database(sqlite3* db, std::string path) : db_(db), path_(std::move(path)) {
    struct stat st {};
    if (::stat(path_.c_str(), &st) == 0) {
        device_ = static_cast<uint64_t>(st.st_dev);
        inode_ = static_cast<uint64_t>(st.st_ino);
    }
}

Database::~Database() { sqlite3_close_v2(db_); }

bool Database::stale() const {
    if (path_.empty() || path_ == ":memory:" || sqlite3_get_autocommit(db_) == 0) return false;
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) return true;
    if (static_cast<uint64_t>(st.st_dev) != device_ || static_cast<uint64_t>(st.st_ino) != inode_) return true;
    return readOnly() && !IsReadOnlyFile(path_);
}

void Database::exec(const std::string& sql) {
    char* err = nullptr;
    const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
    if (rc != SQLITE_OK) {
        const std::string msg = err ? err : sqlite3_errstr(rc);
        sqlite3_free(err);
        throw DbError(sqlite3_extended_errcode(db_), msg, FileOf(db_));
    }
}

Statement Database::prepare(const std::string& sql) { return Statement(db_, sql); }

bool Database::hasTable(const std::string& table) {
    auto st = prepare("SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE");
    st.bind(1, Text(table));
    return st.step();
}

std::vector<std::string> Database::columns(const std::string& table) {
    std::vector<std::string> out;
    auto st = prepare("SELECT name FROM pragma_table_info(?) ORDER BY cid");
    st.bind(1, Text(table));
    while (st.step()) out.push_back(AsText(st.column(0)));
    return out;
}

int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }
int Database::changes() const { return sqlite3_changes(db_); }

// ---------------------------------------------------------------- Statement

Statement::Statement(sqlite3* db, const std::string& sql) : db_(db), st_(nullptr) {
    const int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &st_, nullptr);
    if (rc != SQLITE_OK) Fail(db, rc);
}

Statement::~Statement() { sqlite3_finalize(st_); }

Statement::Statement(Statement&& other) noexcept : db_(other.db_), st_(other.st_) { other.st_ = nullptr; }

Statement& Statement::bind(int index, const Value& v) {
    int rc = SQLITE_OK;
    if (auto i = std::get_if<int64_t>(&v)) rc = sqlite3_bind_int64(st_, index, *i);
    else if (auto d = std::get_if<double>(&v)) rc = sqlite3_bind_double(st_, index, *d);
    else if (auto s = std::get_if<std::string>(&v)) rc = sqlite3_bind_text(st_, index, s->data(), static_cast<int>(s->size()), SQLITE_TRANSIENT);
    else rc = sqlite3_bind_null(st_, index);
    if (rc != SQLITE_OK) Fail(db_, rc);
    return *this;
}

Statement& Statement::bindTextRef(int index, std::string_view text) {
    const int rc = sqlite3_bind_text(st_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
    if (rc != SQLITE_OK) Fail(db_, rc);
    return *this;
}

Statement& Statement::bindAll(const std::vector<Value>& values) {
    for (size_t i = 0; i < values.size(); ++i) bind(static_cast<int>(i) + 1, values[i]);
    return *this;
}

bool Statement::step() {
    const int rc = sqlite3_step(st_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const int ext = sqlite3_extended_errcode(db_);
    const std::string msg = sqlite3_errmsg(db_);
    sqlite3_reset(st_);
    throw DbError(ext, msg, FileOf(db_));
}

void Statement::run() {
    while (step()) {
    }
    sqlite3_reset(st_);
}

void Statement::reset() { sqlite3_reset(st_); }
int Statement::columnCount() const { return sqlite3_column_count(st_); }
std::string Statement::columnName(int i) const { return sqlite3_column_name(st_, i); }

std::string Statement::text(int i) const {
    const int type = sqlite3_column_type(st_, i);
    if (type != SQLITE_TEXT && type != SQLITE_BLOB) return AsText(column(i));
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
    return std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st_, i)));
}

int64_t Statement::integer(int i, int64_t ifNull) const {
    if (sqlite3_column_type(st_, i) == SQLITE_INTEGER) return sqlite3_column_int64(st_, i);
    return AsInt(column(i), ifNull);
}

void Statement::textInto(int i, std::string& into) const {
    // The column's value as it stands: no conversion of a number by the
    // engine, and no lock taken per call (the connection has one thread).
    sqlite3_value* v = sqlite3_column_value(st_, i);
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER: {  // as AsText writes it
            char buf[24];
            const auto r = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(sqlite3_value_int64(v)));
            into.assign(buf, r.ptr);
            return;
        }
        case SQLITE_NULL: into.clear(); return;
        case SQLITE_FLOAT: into = AsText(Value{sqlite3_value_double(v)}); return;
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_value_text(v));
            into.assign(p ? p : "", static_cast<size_t>(sqlite3_value_bytes(v)));
        }
    }
}

Value Statement::column(int i) const {
    switch (sqlite3_column_type(st_, i)) {
        case SQLITE_INTEGER: return Value{static_cast<int64_t>(sqlite3_column_int64(st_, i))};
        case SQLITE_FLOAT: return Value{sqlite3_column_double(st_, i)};
        case SQLITE_NULL: return Value{};
        default: {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(st_, i));
            return Value{std::string(p ? p : "", static_cast<size_t>(sqlite3_column_bytes(st_, i)))};
        }
    }
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Database& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
    if (!done_) {
        try {
            db_.exec("ROLLBACK");
        } catch (...) {
        }
    }
}

void Transaction::commit() {
    db_.exec("COMMIT");
    done_ = true;
}

// ---------------------------------------------------------------- RecordSource

void RecordSource::setDatabaseName(const std::string& path) {
    if (path != path_) {
        close();
        path_ = path;
        return;
    }
    // The rows it lists are read again from the file now there; a file that
    // cannot be read leaves it with none.
    try {
        reopenIfStale();
    } catch (const DbError&) {
        close();
    }
}

void RecordSource::reopenIfStale() {
    if (!db_ || !db_->stale()) return;
    const bool listed = !names_.empty();
    std::optional<int64_t> id;
    if (listed && !bof() && !eof() && hasField("ID")) id = AsInt(field("ID"));
    retired_ = db_;
    close();
    if (!listed) return;
    refresh();
    // On the same record, or on none: never on another.
    if (!id || !findFirst(*id)) setAbsolutePosition(recordCount());
}

void RecordSource::aboutToChange() {
    if (!beforeChange_ || changing_) return;
    changing_ = true;
    try {
        beforeChange_();
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
}

void RecordSource::setRecordSource(const std::string& source) {
    aboutToChange();
    source_ = source;
    params_.clear();
}

void RecordSource::close() {
    aboutToChange();
    db_.reset();
    names_.clear();
    keyValues_.clear();
    lazy_ = false;
    keyColumn_ = -1;
    rows_.clear();
    rowids_.clear();
    table_.clear();
    pos_ = -1;
    mode_ = Mode::None;
}

Database& RecordSource::database() {
    if (!db_) db_ = Database::Open(path_);
    return *db_;
}

// Works out the table behind the record source and the text that reads it
// together with each row's identity, so the rows can be edited.
std::string RecordSource::selectText() const {
    static const std::regex bareName(R"(^\s*\[?([A-Za-z_][A-Za-z0-9_]*)\]?\s*$)");
    static const std::regex fromTable(R"(\bFROM\s+\[?([A-Za-z_][A-Za-z0-9_]*)\]?)", std::regex::icase);
    static const std::regex notEditable(R"(\b(DISTINCT|JOIN|GROUP\s+BY|UNION)\b|\bFROM\s+\S+\s*,)", std::regex::icase);
    static const std::regex selectHead(R"(^\s*SELECT\s+)", std::regex::icase);
    std::smatch m;
    auto* self = const_cast<RecordSource*>(this);
    if (std::regex_match(source_, m, bareName)) {
        self->table_ = m[1];
        return std::string("SELECT rowid AS ") + kRowIdName + ", * FROM " + Quote(table_) + " ORDER BY rowid";
    }
    self->table_.clear();
    if (std::regex_search(source_, m, fromTable) && !std::regex_search(source_, notEditable)) {
        self->table_ = m[1];
        return std::regex_replace(source_, selectHead, "SELECT " + Quote(table_) + ".rowid AS " + kRowIdName + ", ",
                                  std::regex_constants::format_first_only);
    }
    return source_;
}

void RecordSource::refresh() {
    aboutToChange();
    mode_ = Mode::None;
    auto& db = database();
    const std::string sql = selectText();
    names_.clear();
    rows_.clear();
    rowids_.clear();
    keyValues_.clear();
    lazy_ = false;
    keyColumn_ = -1;
    pos_ = -1;
    // A plain "SELECT *" of one table: the row identities first; a large
    // result reads its rows when they are asked for.
    const std::string star = std::string(" AS ") + kRowIdName + ", * ";
    const size_t at = table_.empty() ? std::string::npos : sql.find(star);
    if (at != std::string::npos && at < 64) {
        auto ids = db.prepare(sql.substr(0, at) + " AS " + kRowIdName + " " + sql.substr(at + star.size()));
        if (!params_.empty()) ids.bindAll(params_);
        while (ids.step()) rowids_.push_back(ids.integer(0));
        auto head = db.prepare(sql);
        for (int i = 1; i < head.columnCount(); ++i) names_.push_back(head.columnName(i));
        rows_.resize(rowids_.size());
        const int n = static_cast<int>(rows_.size());
        if (rowids_.size() > kEagerRows) {
            lazy_ = true;
            findKeyColumn();
        } else {
            for (int from = 0; from < n; from += kBlockRows) loadBlock(from, std::min(n, from + kBlockRows));
        }
        pos_ = n > 0 ? 0 : -1;
        return;
    }
    auto st = db.prepare(sql);
    if (!params_.empty()) st.bindAll(params_);
    const int n = st.columnCount();
    const int first = table_.empty() ? 0 : 1;
    for (int i = first; i < n; ++i) names_.push_back(st.columnName(i));
    while (st.step()) {
        std::vector<Value> row;
        row.reserve(static_cast<size_t>(n - first));
        for (int i = first; i < n; ++i) row.push_back(st.column(i));
        rows_.push_back(std::move(row));
        rowids_.push_back(first ? AsInt(st.column(0)) : 0);
    }
    pos_ = rows_.empty() ? -1 : 0;
}

void RecordSource::moveFirst() { pos_ = rows_.empty() ? -1 : 0; mode_ = Mode::None; }
void RecordSource::moveLast() { pos_ = rows_.empty() ? -1 : recordCount() - 1; mode_ = Mode::None; }
void RecordSource::moveNext() { if (pos_ < recordCount()) ++pos_; mode_ = Mode::None; }
void RecordSource::movePrevious() { if (pos_ >= 0) --pos_; mode_ = Mode::None; }
void RecordSource::setAbsolutePosition(int row) {
    pos_ = (row < -1 || row > recordCount()) ? recordCount() : row;
    mode_ = Mode::None;
}

int RecordSource::fieldIndex(const std::string& name) const {
    for (size_t i = 0; i < names_.size(); ++i)
        if (EqualsNoCase(names_[i], name)) return static_cast<int>(i);
    return -1;
}

int RecordSource::requireField(const std::string& name) const {
    const int i = fieldIndex(name);
    if (i < 0) throw DbError(kNoField, "Item not found in this collection: [" + name + "]");
    return i;
}

int RecordSource::requireIndex(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= names_.size())
        throw DbError(kNoField, "Item not found in this collection: field " + std::to_string(index + 1) + " of " +
                                    std::to_string(names_.size()) + ".");
    return index;
}

void RecordSource::requireRow() const {
    if (bof() || eof()) throw DbError(kNoCurrentRow, "No current record.");
}

Value RecordSource::field(const std::string& name) const { return field(requireField(name)); }

Value RecordSource::field(int index) const {
    requireIndex(index);
    if (mode_ != Mode::None) return buffer_[static_cast<size_t>(index)];
    requireRow();
    return rowAt(pos_)[static_cast<size_t>(index)];
}

void RecordSource::addNew() {
    if (!editable()) throw DbError(kReadOnly, "The record source \"" + source_ + "\" cannot be updated.");
    buffer_.assign(names_.size(), Value{});
    dirty_.assign(names_.size(), false);
    mode_ = Mode::Adding;
}

void RecordSource::edit() {
    if (!editable()) throw DbError(kReadOnly, "The record source \"" + source_ + "\" cannot be updated.");
    requireRow();
    buffer_ = rowAt(pos_);
    dirty_.assign(names_.size(), false);
    mode_ = Mode::Editing;
}

void RecordSource::setField(const std::string& name, const Value& v) { setField(requireField(name), v); }

void RecordSource::setField(int index, const Value& v) {
    if (mode_ == Mode::None) throw DbError(kNoCurrentRow, "Update or CancelUpdate without AddNew or Edit.");
    requireIndex(index);
    buffer_[static_cast<size_t>(index)] = v;
    dirty_[static_cast<size_t>(index)] = true;
}

std::vector<Value> RecordSource::readRow(int64_t rowid) {
    std::string cols;
    for (const auto& n : names_) cols += (cols.empty() ? "" : ", ") + Quote(n);
    auto st = database().prepare("SELECT " + cols + " FROM " + Quote(table_) + " WHERE rowid = ?");
    st.bind(1, Int(rowid));
    std::vector<Value> row;
    if (!st.step()) throw DbError(kRowDeleted, "The record was deleted meanwhile: the changes were not stored.");
    for (int i = 0; i < st.columnCount(); ++i) row.push_back(st.column(i));
    return row;
}

void RecordSource::update() {
    if (mode_ == Mode::None) throw DbError(kNoCurrentRow, "Update or CancelUpdate without AddNew or Edit.");
    auto& db = database();
    std::vector<Value> args;
    std::string sql;
    std::vector<std::string> cols;
    for (size_t i = 0; i < names_.size(); ++i)
        if (dirty_[i]) {
            cols.push_back(Quote(names_[i]));
            args.push_back(buffer_[i]);
        }
    if (mode_ == Mode::Adding) {
        if (cols.empty()) {
            sql = "INSERT INTO " + Quote(table_) + " DEFAULT VALUES";
        } else {
            std::string c, q;
            for (size_t i = 0; i < cols.size(); ++i) {
                c += (i ? ", " : "") + cols[i];
                q += i ? ", ?" : "?";
            }
            sql = "INSERT INTO " + Quote(table_) + " (" + c + ") VALUES (" + q + ")";
        }
        db.prepare(sql).bindAll(args).run();
        const int64_t rid = db.lastInsertId();
        rows_.push_back(readRow(rid));
        rowids_.push_back(rid);  // its key is made from it when asked for
        if (pos_ < 0) pos_ = 0;
    } else {
        if (!cols.empty()) {
            std::string set;
            for (size_t i = 0; i < cols.size(); ++i) set += (i ? ", " : "") + cols[i] + " = ?";
            args.push_back(Int(rowids_[static_cast<size_t>(pos_)]));
            db.prepare("UPDATE " + Quote(table_) + " SET " + set + " WHERE rowid = ?").bindAll(args).run();
        }
        try {
            rows_[static_cast<size_t>(pos_)] = readRow(rowids_[static_cast<size_t>(pos_)]);
        } catch (const DbError& e) {
            mode_ = Mode::None;
            // The row is gone: nothing was stored, and it leaves the set with
            // no row current, so that a second try edits no other row.
            if (e.number() == kRowDeleted) forgetCurrentRow();
            throw;
        }
    }
    mode_ = Mode::None;
}

bool RecordSource::rereadCurrent() {
    if (!editable()) throw DbError(kReadOnly, "The record source \"" + source_ + "\" cannot be updated.");
    requireRow();
    try {
        rows_[static_cast<size_t>(pos_)] = readRow(rowids_[static_cast<size_t>(pos_)]);
        return true;
    } catch (const DbError& e) {
        if (e.number() != kRowDeleted) throw;
        forgetCurrentRow();
        return false;
    }
}

void RecordSource::forgetCurrentRow() {
    rows_.erase(rows_.begin() + pos_);
    rowids_.erase(rowids_.begin() + pos_);
    dropKeyValue(pos_);
    pos_ = static_cast<int>(rows_.size());
}

void RecordSource::cancelUpdate() { mode_ = Mode::None; }

void RecordSource::deleteRow() {
    if (!editable()) throw DbError(kReadOnly, "The record source \"" + source_ + "\" cannot be updated.");
    requireRow();
    mode_ = Mode::None;
    auto st = database().prepare("DELETE FROM " + Quote(table_) + " WHERE rowid = ?");
    st.bind(1, Int(rowids_[static_cast<size_t>(pos_)]));
    st.run();
    rows_.erase(rows_.begin() + pos_);
    rowids_.erase(rowids_.begin() + pos_);
    dropKeyValue(pos_);
}

bool RecordSource::findFirst(int64_t id) {
    const int idx = fieldIndex("ID");
    if (idx < 0) return false;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const Value& v = valueAt(static_cast<int>(i), idx);
        if (!IsNull(v) && AsInt(v) == id) {
            pos_ = static_cast<int>(i);
            mode_ = Mode::None;
            return true;
        }
    }
    return false;
}

}  // namespace vm::db
