// A small record-source layer over the SQLite C API: connections, prepared
// statements with bound parameters, transactions and the data-bound record
// source the windows use (bind, refresh, move, edit, update, delete, find).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace vm::db {

// A field value: Null, whole number, real number or text.
using Value = std::variant<std::monostate, int64_t, double, std::string>;

inline bool IsNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }
std::string AsText(const Value& v);         // Null gives ""; numbers as plain decimal text
int64_t AsInt(const Value& v, int64_t ifNull = 0);   // reals round half to even; text by its leading number
double AsDouble(const Value& v, double ifNull = 0.0);
bool AsBool(const Value& v, bool ifNull = false);    // any non-zero number is true
inline Value Bool(bool b) { return Value{int64_t{b ? -1 : 0}}; }  // Yes/No columns hold -1 / 0
inline Value Text(std::string s) { return Value{std::move(s)}; }
inline Value Int(int64_t i) { return Value{i}; }

// A failure of the store. `number` is the engine's extended result code (or
// one of the layer's own codes below); `what()` is the description.
class DbError : public std::runtime_error {
public:
    DbError(int number, const std::string& description, std::string file = {})
        : std::runtime_error(description), number_(number), file_(std::move(file)) {}
    int number() const { return number_; }
    // The database file the failing statement worked on ("" when unknown).
    const std::string& file() const { return file_; }
private:
    int number_;
    std::string file_;
};

// The layer's own failure codes (outside SQLite's range).
enum LayerError : int {
    kNoFile = 9001,        // no file at the path
    kNotDatabase = 9002,   // the file is not a database of this program's engine
    kNoCurrentRow = 9003,  // BOF or EOF, or no edit in progress
    kReadOnly = 9004,      // the record source cannot be edited
    kNoField = 9005,       // no such field in the record source
    kWrongKind = 9006,     // a database that lacks the tables of its kind
    kNoAccess = 9007,      // the file or its folder may not be read
    kRowDeleted = 9008,    // the row being edited was deleted meanwhile
    kInUse = 9009,         // another program holds the file so that it cannot even be read
};

// What a failure says of its file: the engine found it damaged, or it is no
// database of its kind (a layer's own verdict); or another program holds it
// locked just now.
bool IsDamagedFileError(int number);
bool IsInUseError(int number);

// True when a file at path may be read but not written: it or its folder
// (where the engine keeps its journal) lacks write permission. Such a file
// is opened read-only.
bool IsReadOnlyFile(const std::string& path);

class Statement;

// One connection. Opening never creates a file: a missing path, an empty file
// or a file that is not a SQLite database is refused and left untouched.
class Database {
public:
    static std::shared_ptr<Database> Open(const std::string& path);
    // Makes a new, empty database file; refuses when anything exists at path.
    static std::shared_ptr<Database> Create(const std::string& path);
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    void exec(const std::string& sql);
    Statement prepare(const std::string& sql);
    bool hasTable(const std::string& table);
    std::vector<std::string> columns(const std::string& table);
    int64_t lastInsertId() const;
    int changes() const;
    const std::string& path() const { return path_; }
    bool readOnly() const;
    sqlite3* handle() const { return db_; }
    // The connection no longer serves its path: another program replaced,
    // moved or deleted the file since it was opened, or the file was opened
    // read-only and may be written now. Never while a transaction is open.
    bool stale() const;

private:
    Database(sqlite3* db, std::string path);
    sqlite3* db_;
    std::string path_;
    uint64_t device_ = 0, inode_ = 0;  // the file opened
};

// Every connection carries the SQL function FOLD(text): the text case-folded
// over all of Unicode, an accented letter the same typed whole or with a
// combining mark, "ß" as "ss" and "İ" as "i". A case-insensitive literal search binds the typed text
// and compares `instr(FOLD(column), FOLD(?)) > 0`; an equality ignoring case
// is `FOLD(a) = FOLD(?)`. FoldCase is the same folding in C++. FOLDHAS(?, a,
// b, ...) is 1 when the fields joined into one text (each preceded by a blank,
// the whole ended by one, Null read as empty) contain the bound text, both
// folded; a search over many fields and rows runs fastest with it.
std::string FoldCase(const std::string& text);
// Every connection also carries the collation FOLDED, the order of lists a
// user reads (names, a grid sorted by a column): by the letters, folded and
// without accents, so "Émile" comes between "Emil" and "Eric" and not after
// "Zoe" as it does by NOCASE; then by the folded text, then as stored. It
// applies to text only: numbers order as numbers. CompareFolded is the same
// order in C++ (negative, 0 or positive).
int CompareFolded(std::string_view a, std::string_view b);

// Tells whether the file at path starts as a SQLite database does (reads only).
bool LooksLikeDatabase(const std::string& path);

class Statement {
public:
    Statement(sqlite3* db, const std::string& sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&&) = delete;
    Statement(const Statement&) = delete;

    Statement& bind(int index, const Value& v);  // 1-based
    // Binds text without copying it: the text must outlive the next step.
    Statement& bindTextRef(int index, std::string_view text);
    Statement& bindAll(const std::vector<Value>& values);
    bool step();        // true while a row is ready
    void run();         // steps to the end, then resets
    void reset();       // ready to run again, bindings kept
    int columnCount() const;
    std::string columnName(int i) const;
    Value column(int i) const;
    std::string text(int i) const;  // AsText(column(i)) without the copy between
    int64_t integer(int i, int64_t ifNull = 0) const;  // AsInt(column(i), ifNull), a stored integer read as it is
    void textInto(int i, std::string& into) const;  // the same, into a string's own room

private:
    sqlite3* db_;
    sqlite3_stmt* st_;
};

// All-or-nothing: rolls back unless commit() was reached.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    void commit();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
private:
    Database& db_;
    bool done_ = false;
};

// A data-bound record source: bound to a database file and a record source
// text (a table name or a SELECT), it holds the rows of the last refresh and
// a current-row position; edits go back to the source table.
class RecordSource {
public:
    void setDatabaseName(const std::string& path);
    const std::string& databaseName() const { return path_; }
    void setRecordSource(const std::string& source);
    const std::string& recordSource() const { return source_; }
    // Values bound to the record source's "?" placeholders at each refresh;
    // a new record source text clears them
    // (typed search texts are bound, never pasted into the text).
    void setParameters(std::vector<Value> parameters) { params_ = std::move(parameters); }
    const std::vector<Value>& parameters() const { return params_; }
    void refresh();          // opens the database when needed and re-reads the rows
    // A connection that no longer serves the path (Database::stale) is
    // opened again and the rows read again, on the same record when it is
    // still there, else on none. Binding the source anew to the same path
    // does the same.
    void reopenIfStale();
    void close();
    bool isOpen() const { return db_ != nullptr; }

    bool bof() const { return pos_ < 0 || rows_.empty(); }
    bool eof() const { return pos_ >= static_cast<int>(rows_.size()) || rows_.empty(); }
    int recordCount() const { return static_cast<int>(rows_.size()); }
    int absolutePosition() const { return pos_; }
    void moveFirst();
    void moveNext();
    void movePrevious();
    void moveLast();
    void setAbsolutePosition(int row);  // -1 .. recordCount(); outside that, the end
    // Direct reads of the last refresh's rows, for grids. An index outside
    // them, as every field access by index, throws DbError.
    const Value& valueAt(int row, int column) const;

    int fieldCount() const { return static_cast<int>(names_.size()); }
    const std::string& fieldName(int i) const { return names_[static_cast<size_t>(requireIndex(i))]; }
    bool hasField(const std::string& name) const { return fieldIndex(name) >= 0; }
    Value field(const std::string& name) const;
    Value field(int index) const;

    void addNew();
    void edit();
    void setField(const std::string& name, const Value& v);
    void setField(int index, const Value& v);
    void update();           // writes the pending add or edit
    void cancelUpdate();
    void deleteRow();        // deletes the current row; the next row becomes current
    bool findFirst(int64_t id);  // [ID] = id, from the first row; false leaves the position
    // Reads the current row again from the file. False when another writer
    // deleted it: it leaves the set and no row is current (never another).
    bool rereadCurrent();
    bool editable() const { return !table_.empty(); }
    const std::string& table() const { return table_; }
    Database& database();
    std::shared_ptr<Database> databasePtr() const { return db_; }
    // Runs first whenever the rows are about to be read again or let go (a
    // refresh, a new record source, close), so that a grid over the source
    // can store a cell edit still open. Not run again while it runs.
    void setBeforeChange(std::function<void()> hook) { beforeChange_ = std::move(hook); }
    // Runs that hook now, rows and source left as they are: a writer that
    // reads the file itself first gets an open cell edit stored.
    void storeOpenEdit() { aboutToChange(); }

private:
    void aboutToChange();
    int fieldIndex(const std::string& name) const;
    int requireField(const std::string& name) const;
    int requireIndex(int index) const;  // a field's index, else DbError kNoField
    void requireRow() const;
    std::string selectText() const;
    std::vector<Value> readRow(int64_t rowid);
    // A large result keeps only its row identities at refresh and reads the
    // rows themselves in blocks when first asked for.
    const std::vector<Value>& rowAt(int row) const;
    void loadBlock(int from, int to) const;  // rows from..to-1 not read yet
    void findKeyColumn();
    void dropKeyValue(int row);  // a row left the set
    void forgetCurrentRow();     // the current row left the set: none is current

    enum class Mode { None, Adding, Editing };
    std::string path_, source_, table_;
    std::vector<Value> params_;
    std::shared_ptr<Database> db_;
    // A stale connection given up for a new one: kept while the source
    // lives, so that a caller still holding it is not left with nothing.
    std::shared_ptr<Database> retired_;
    std::vector<std::string> names_;
    mutable std::vector<std::vector<Value>> rows_;  // an empty row is not read yet
    std::vector<int64_t> rowids_;
    bool lazy_ = false;
    int keyColumn_ = -1;             // the column that is the table's row identity
    // Its values, known without reading the rows: made from rowids_ as far as
    // asked for, in room kept for them all at refresh (what was handed out
    // never moves).
    mutable std::vector<Value> keyValues_;
    int pos_ = -1;
    Mode mode_ = Mode::None;
    std::vector<Value> buffer_;
    std::vector<bool> dirty_;
    std::function<void()> beforeChange_;
    bool changing_ = false;
};

}  // namespace vm::db
