// The layout of the calendar file and the settings database, defined once:
// the blank templates are generated from it and opened files are checked
// against it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/sqlstore.h"

namespace vm {

enum class ColKind { AutoNumber, YesNo, Long, Byte, Text, Memo, Date, Time, Currency, Double };

struct ColumnDef {
    std::string name;
    ColKind kind;
    int size = 0;  // characters, for Text
};

struct TableDef {
    std::string name;
    std::vector<ColumnDef> columns;
};

// Tables of a calendar file, in the order of their columns.
const std::vector<TableDef>& CalendarTables();
// Tables of the settings database.
const std::vector<TableDef>& SettingsTables();
const TableDef& FindTable(const std::vector<TableDef>& tables, const std::string& name);
// The width in characters of a text column (0 for memo and other columns,
// and for a column the tables do not have).
size_t TextWidth(const std::vector<TableDef>& tables, const std::string& table, const std::string& column);
// The same for a column of [Velmora].
size_t RecordTextWidth(const std::string& column);

// "[Name] INTEGER CHECK(...)": the column's declaration in SQLite.
std::string ColumnDecl(const ColumnDef& col);
std::string CreateTableSql(const TableDef& table);

// The index the date types are listed from (made by the upgrade in older files).
inline constexpr const char* kDateTypeIndexSql =
    "CREATE INDEX IF NOT EXISTS [VelmoraDateType] ON [Velmora] ([DateType])";
// The records' date types from that index, each once, spelled and ordered as
// first stored (as a DISTINCT reading the table gives them): the head, a
// WHERE of the caller's, then the tail.
inline constexpr const char* kDateTypesHead = "SELECT [DateType] FROM [Velmora]";
inline constexpr const char* kDateTypesTail = " GROUP BY [DateType] ORDER BY min(rowid)";

// Builds the blank templates at the given paths (refuses an existing file).
void CreateCalendarTemplate(const std::string& path);
void CreateSettingsTemplate(const std::string& path);
// A settings database of this program (it holds one of the tables only the
// settings database has) that lost [Settings] or [AlarmSounds] gets them back
// as a new one has them; nothing else in it changes. The tables made, none
// when the file is no such database or cannot be written.
std::vector<std::string> RestoreSettingsTables(const std::string& path);

enum class DbKind { Calendar, Settings };

// Opens a calendar file or the settings database; refuses (DbError) a file
// that is missing, is not a database, or lacks the tables of its kind, and
// leaves such a file untouched.
std::shared_ptr<db::Database> OpenStore(const std::string& path, DbKind kind);
// The same test without keeping the connection: "" when fine, else the reason.
// "" when the file is usable; else why not, and in `failure` the error number.
std::string CheckStore(const std::string& path, DbKind kind, int* failure = nullptr);

// Defaults written into the templates.
std::string DefaultMonthPicture(int month);   // "Graphics/Months/Jan.jpg"
std::string DefaultSoundFile(int number);     // "Sounds/..." for sound numbers 1..30

}  // namespace vm
