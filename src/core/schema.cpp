#include "core/schema.h"

#include <algorithm>

#include "core/dates.h"

namespace vm {
namespace {

using K = ColKind;

std::vector<ColumnDef> DateRecordColumns() {
    return {{"ID", K::AutoNumber},     {"Hide", K::YesNo},       {"Date", K::Date},
            {"Hour", K::Long},         {"Minute", K::Long},      {"AM_PM", K::Text, 10},
            {"DateText", K::Memo},     {"Duration", K::Long},    {"Repeat", K::Text, 50},
            {"BGColor", K::Long},      {"FGColor", K::Long},     {"DateType", K::Text, 50},
            {"WorkDay", K::YesNo},     {"JulDate", K::Long},     {"Alarm", K::Memo},
            {"SoundNum", K::Long},     {"Font", K::Text, 100},   {"Priority", K::Byte},
            {"DayColors", K::Text, 100}, {"Hr24", K::Byte}};
}

std::vector<ColumnDef> AppearanceColumns() {
    return {{"ImageFileName", K::Text, 255}, {"DayFG", K::Long},          {"DayBG", K::Long},
            {"TitleFG", K::Long},            {"TitleBG", K::Long},        {"DayFntName", K::Text, 50},
            {"DayFntSiz", K::Currency},      {"DayFntBold", K::YesNo},    {"DayFntItalic", K::YesNo},
            {"DayFntUndrLn", K::YesNo},      {"DayFntStrkThr", K::YesNo}, {"TitleFntName", K::Text, 50},
            {"TitleFntSiz", K::Currency},    {"TitleFntBold", K::YesNo},  {"TitleFntItalic", K::YesNo},
            {"TitleFntUndrLn", K::YesNo},    {"TitleFntStrkThr", K::YesNo}};
}

const char* kMonthAbbrev[] = {"", "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::vector<std::string> RequiredTables(DbKind kind) {
    if (kind == DbKind::Calendar) return {"Velmora", "RepeatingData", "Sorting", "Backgrounds"};
    return {"Settings", "AlarmSounds"};
}

}  // namespace

const std::vector<TableDef>& CalendarTables() {
    static const std::vector<TableDef> tables = {
        {"Velmora", DateRecordColumns()},
        {"RepeatingData", DateRecordColumns()},
        {"Sorting",
         {{"DayNo", K::Long}, {"Hour", K::Long}, {"Min", K::Long}, {"AMPM", K::Text, 10}, {"DayMsg", K::Memo},
          {"Alarm", K::Memo}, {"SoundNum", K::Long}, {"JulDate", K::Long}, {"Date", K::Date},
          {"Font", K::Text, 100}, {"DayColors", K::Text, 100}, {"Priority", K::Byte}, {"TimeSort", K::Long},
          {"Hr24", K::Byte}}},
        {"Backgrounds", AppearanceColumns()},
        {"CalculateDates",
         {{"ID", K::AutoNumber}, {"Date", K::Date}, {"Description", K::Text, 255}, {"Years", K::Long},
          {"Months", K::Long}, {"Days", K::Long}, {"TDays", K::Long}}},
    };
    return tables;
}

const std::vector<TableDef>& SettingsTables() {
    static const std::vector<TableDef> tables = {
        {"Settings",
         {{"Top", K::Long}, {"Left", K::Long}, {"Height", K::Long}, {"Width", K::Long}, {"VBarLeft", K::Long},
          {"LastVelmoraFN", K::Text, 255}, {"CalendarStyle", K::Long}, {"Prev1", K::Text, 255},
          {"Prev2", K::Text, 255}, {"Prev3", K::Text, 255}, {"Prev4", K::Text, 255},
          {"StartRepeatYear", K::Text, 4}, {"StartUpSound", K::Text, 255}, {"CalcYearsSince", K::YesNo},
          {"Voice", K::YesNo}}},
        {"AlarmSounds", {{"SoundNum", K::Long}, {"SoundFileName", K::Text, 255}}},
        {"Alarms",
         {{"ID", K::AutoNumber}, {"Disable", K::YesNo}, {"Hour", K::Long}, {"Minute", K::Long},
          {"AMPM", K::Text, 10}, {"AlarmText", K::Text, 255}, {"SoundNum", K::Long}}},
        {"EventLog", {{"ID", K::AutoNumber}, {"Date", K::Date}, {"Time", K::Time}, {"Description", K::Memo}}},
        {"ToDoList",
         {{"ID", K::AutoNumber}, {"Hide", K::YesNo}, {"TaskNo", K::Long}, {"TaskDescription", K::Memo},
          {"Priority", K::Long}, {"DateCreated", K::Date}, {"DateFinished", K::Date}}},
        {"People",
         {{"ID", K::AutoNumber}, {"Relationship", K::Text, 50}, {"FirstName", K::Text, 50}, {"MI", K::Text, 5},
          {"LastName", K::Text, 50}, {"Address1", K::Text, 100}, {"Address2", K::Text, 100},
          {"City", K::Text, 50}, {"State", K::Text, 50}, {"ZipCode", K::Text, 20}, {"Country", K::Text, 50},
          {"Phone1", K::Text, 30}, {"Type1", K::Text, 20}, {"Phone2", K::Text, 30}, {"Type2", K::Text, 20},
          {"E-mail", K::Text, 100}, {"OtherInfo", K::Memo}}},
        {"Backgrounds", AppearanceColumns()},
    };
    return tables;
}

const TableDef& FindTable(const std::vector<TableDef>& tables, const std::string& name) {
    for (const auto& t : tables)
        if (t.name == name) return t;
    throw db::DbError(db::kNoField, "No table definition for [" + name + "]");
}

size_t TextWidth(const std::vector<TableDef>& tables, const std::string& table, const std::string& column) {
    for (const auto& t : tables)
        if (t.name == table)
            for (const auto& c : t.columns)
                if (c.name == column && c.kind == ColKind::Text) return static_cast<size_t>(c.size);
    return 0;
}

size_t RecordTextWidth(const std::string& column) { return TextWidth(CalendarTables(), "Velmora", column); }

std::string ColumnDecl(const ColumnDef& col) {
    const std::string q = "[" + col.name + "]";
    switch (col.kind) {
        case K::AutoNumber: return q + " INTEGER PRIMARY KEY AUTOINCREMENT";
        case K::YesNo: return q + " INTEGER";
        case K::Long: return q + " INTEGER";
        case K::Byte: return q + " INTEGER CHECK(" + q + " BETWEEN 0 AND 255)";
        case K::Text:
            return q + " TEXT COLLATE NOCASE CHECK(length(" + q + ") <= " + std::to_string(col.size) + ")";
        case K::Memo: return q + " TEXT COLLATE NOCASE";
        case K::Date: return q + " TEXT";
        case K::Time: return q + " TEXT";
        case K::Currency: return q + " NUMERIC";
        case K::Double: return q + " REAL";
    }
    return q;
}

std::string CreateTableSql(const TableDef& table) {
    std::string sql = "CREATE TABLE [" + table.name + "] (";
    for (size_t i = 0; i < table.columns.size(); ++i) sql += (i ? ", " : "") + ColumnDecl(table.columns[i]);
    return sql + ")";
}

std::string DefaultMonthPicture(int month) {
    return std::string("Graphics/Months/") + kMonthAbbrev[month < 1 || month > 12 ? 1 : month] + ".jpg";
}

std::string DefaultSoundFile(int number) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "Sounds/Alarm%02d.wav", number);
    return buf;
}

void CreateCalendarTemplate(const std::string& path) {
    auto db = db::Database::Create(path);
    db::Transaction tx(*db);
    for (const auto& t : CalendarTables()) db->exec(CreateTableSql(t));
    db->exec("CREATE INDEX [VelmoraJulDate] ON [Velmora] ([JulDate])");
    db->exec(kDateTypeIndexSql);
    db->exec("CREATE INDEX [RepeatingDataJulDate] ON [RepeatingData] ([JulDate])");
    auto ins = db->prepare(
        "INSERT INTO [Backgrounds] ([ImageFileName], [DayFG], [DayBG], [TitleFG], [TitleBG], [DayFntName], "
        "[DayFntSiz], [DayFntBold], [DayFntItalic], [DayFntUndrLn], [DayFntStrkThr], [TitleFntName], "
        "[TitleFntSiz], [TitleFntBold], [TitleFntItalic], [TitleFntUndrLn], [TitleFntStrkThr]) "
        "VALUES (?, 0, 16777215, 0, 16777215, 'DejaVu Sans', 11, 0, 0, 0, 0, 'DejaVu Sans', 14, -1, 0, 0, 0)");
    for (int m = 1; m <= 12; ++m) {
        ins.bind(1, db::Text(DefaultMonthPicture(m)));
        ins.run();
    }
    tx.commit();
}

namespace {

// The first rows of a table of the settings database, as a new one has them.
void FillSettingsTable(db::Database& db, const std::string& table) {
    if (table == "Settings") {
        db.exec(
            "INSERT INTO [Settings] ([Top], [Left], [Height], [Width], [VBarLeft], [LastVelmoraFN], [CalendarStyle], "
            "[Prev1], [Prev2], [Prev3], [Prev4], [StartRepeatYear], [StartUpSound], [CalcYearsSince], [Voice]) "
            "VALUES (600, 600, 12000, 19200, 7000, '', 1, '', '', '', '', '2019', 'Sounds/opensound.wav', -1, 0)");
    } else if (table == "AlarmSounds") {
        auto ins = db.prepare("INSERT INTO [AlarmSounds] ([SoundNum], [SoundFileName]) VALUES (?, ?)");
        for (int n = 1; n <= 30; ++n) {
            ins.bind(1, db::Int(n)).bind(2, db::Text(DefaultSoundFile(n)));
            ins.run();
        }
    }
}

}  // namespace

void CreateSettingsTemplate(const std::string& path) {
    auto db = db::Database::Create(path);
    db::Transaction tx(*db);
    for (const auto& t : SettingsTables()) db->exec(CreateTableSql(t));
    for (const char* table : {"Settings", "AlarmSounds"}) FillSettingsTable(*db, table);
    tx.commit();
}

std::vector<std::string> RestoreSettingsTables(const std::string& path) {
    std::vector<std::string> made;
    try {
        auto db = db::Database::Open(path);
        if (db->readOnly()) return made;
        // A table only the settings database has makes the file ours.
        bool ours = false;
        for (const auto& t : SettingsTables()) {
            const auto& calendar = CalendarTables();
            const bool shared = std::any_of(calendar.begin(), calendar.end(),
                                            [&](const TableDef& c) { return c.name == t.name; });
            ours = ours || (!shared && db->hasTable(t.name));
        }
        if (!ours) return made;
        db::Transaction tx(*db);
        for (const auto& table : RequiredTables(DbKind::Settings)) {
            if (db->hasTable(table)) continue;
            db->exec(CreateTableSql(FindTable(SettingsTables(), table)));
            FillSettingsTable(*db, table);
            made.push_back(table);
        }
        tx.commit();
    } catch (const db::DbError&) {
        made.clear();  // damaged after all, or not to be written: nothing was changed
    }
    return made;
}

std::shared_ptr<db::Database> OpenStore(const std::string& path, DbKind kind) {
    auto db = db::Database::Open(path);
    std::string missing;
    int count = 0;
    for (const auto& t : RequiredTables(kind))
        if (!db->hasTable(t)) missing += (count++ == 0 ? "[" : ", [") + t + "]";
    if (count > 0) {
        const char* what = kind == DbKind::Calendar ? "a Velmora calendar file" : "the Velmora settings database";
        throw db::DbError(db::kWrongKind, "\"" + path + "\" is not " + what + ": it has no " + missing +
                                              (count == 1 ? " table." : " tables."));
    }
    return db;
}

std::string CheckStore(const std::string& path, DbKind kind, int* failure) {
    if (failure) *failure = 0;
    try {
        OpenStore(path, kind);
        return {};
    } catch (const db::DbError& e) {
        if (failure) *failure = e.number();
        return e.what();
    }
}

}  // namespace vm
