#include "core/sorting.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>

#include "core/fingerprint.h"
#include "core/numtext.h"
#include "core/weekmask.h"
#include "platform/sqltriggers.h"

namespace vm {
namespace {

std::string LastTwo(const std::string& s) { return s.size() <= 2 ? s : s.substr(s.size() - 2); }

// The number with a "0" put before it, its last two characters kept.
std::string TwoDigits(int64_t n) {
    std::string t = "0";
    t += std::to_string(n);
    return LastTwo(t);
}

bool SameName(std::string_view a, std::string_view b) { return ToLower(a) == ToLower(b); }

// The columns the month passes read.
constexpr const char* kSourceNames[] = {"Hide",     "Repeat",  "Hour",      "Minute", "AM_PM",
                                        "DateText", "Alarm",   "SoundNum",  "JulDate", "Date",
                                        "Font",     "DayColors", "Priority"};

// Positions of the columns the month passes read, -1 when missing.
struct SourceColumns {
    int Hide = -1, Repeat = -1, Hour = -1, Minute = -1, AM_PM = -1, DateText = -1, Alarm = -1, SoundNum = -1,
        JulDate = -1, Date = -1, Font = -1, DayColors = -1, Priority = -1;

    template <class NameAt>
    SourceColumns(int count, NameAt&& nameAt) {
        struct Slot { const char* name; int* at; };
        const Slot slots[] = {{"Hide", &Hide},         {"Repeat", &Repeat},     {"Hour", &Hour},
                              {"Minute", &Minute},     {"AM_PM", &AM_PM},       {"DateText", &DateText},
                              {"Alarm", &Alarm},       {"SoundNum", &SoundNum}, {"JulDate", &JulDate},
                              {"Date", &Date},         {"Font", &Font},         {"DayColors", &DayColors},
                              {"Priority", &Priority}};
        for (int i = 0; i < count; ++i) {
            const std::string name = nameAt(i);
            for (const auto& s : slots)
                if (*s.at < 0 && SameName(name, s.name)) *s.at = i;
        }
    }
};

// Fills a row from a getter of column values and one of column texts.
template <class Get, class GetText>
void FillRow(SortingRow& r, const SourceColumns& c, Get&& get, GetText&& getText, int32_t firstKey, int firstCell) {
    auto value = [&](int idx) { return idx < 0 ? db::Value{} : get(idx); };
    auto text = [&](int idx) { return idx < 0 ? std::string() : getText(idx); };
    r.JulDate = value(c.JulDate);
    r.DayNo = static_cast<int>(db::AsInt(r.JulDate) - firstKey + firstCell);
    r.Hour = text(c.Hour);
    r.Min = text(c.Minute);
    r.AMPM = text(c.AM_PM);
    r.DayMsg = text(c.DateText);
    r.Alarm = text(c.Alarm);
    r.SoundNum = value(c.SoundNum);
    r.Date = value(c.Date);
    r.Font = Trim(text(c.Font));
    r.DayColors = Trim(text(c.DayColors));
    r.Priority = value(c.Priority);
    r.TimeSort = TimeSortText(r.Hour, r.Min, r.AMPM);
    r.Hr24 = SortingHr24(r.Hour, r.AMPM);
}

// A byte column takes only 0..255; anything else is stored empty.
db::Value ByteOrNull(const db::Value& v) {
    if (db::IsNull(v)) return v;
    if (auto s = std::get_if<std::string>(&v)) {
        const auto n = PlainNumber(*s);
        if (!n) return db::Value{};
        const int64_t i = RoundHalfEven(*n);
        return i >= 0 && i <= 255 ? db::Int(i) : db::Value{};
    }
    const int64_t i = db::AsInt(v);
    return i >= 0 && i <= 255 ? db::Int(i) : db::Value{};
}

// A whole-number text as a number column keeps it ("05" reads back "5").
std::string AsNumberColumn(const std::string& text) {
    const auto n = PlainNumber(text);
    if (!n || *n != std::floor(*n) || std::abs(*n) > 1e15) return text;
    return std::to_string(static_cast<int64_t>(*n));
}

// How a number column orders its values: empty first, then numbers, then texts.
struct NumberKey {
    int kind = 0;  // 0 empty, 1 number, 2 text
    double number = 0;
    std::string_view text;
    static NumberKey Of(const db::Value& v) {
        NumberKey k;
        if (db::IsNull(v)) return k;
        if (auto s = std::get_if<std::string>(&v)) {
            k.kind = 2;
            k.text = *s;
            return k;
        }
        k.kind = 1;
        k.number = std::holds_alternative<double>(v) ? std::get<double>(v) : static_cast<double>(db::AsInt(v));
        return k;
    }
    static NumberKey Of(std::string_view t) {  // a text stored in a number column
        NumberKey k;
        if (auto n = PlainNumber(t)) {
            k.kind = 1;
            k.number = *n;
        } else {
            k.kind = 2;
            k.text = t;
        }
        return k;
    }
    int compare(const NumberKey& o) const {
        if (kind != o.kind) return kind < o.kind ? -1 : 1;
        if (kind == 1) return number < o.number ? -1 : (number > o.number ? 1 : 0);
        return text.compare(o.text) < 0 ? -1 : (text == o.text ? 0 : 1);
    }
};

// A text column's order: letter case of A..Z aside, byte by byte.
int CompareNoCase(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]) | ((a[i] >= 'A' && a[i] <= 'Z') ? 0x20 : 0);
        const unsigned char y = static_cast<unsigned char>(b[i]) | ((b[i] >= 'A' && b[i] <= 'Z') ? 0x20 : 0);
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace

void ArrangeForDisplay(std::vector<SortingRow>& rows) {
    for (SortingRow& r : rows) {
        r.Priority = ByteOrNull(r.Priority);
        if (r.Hr24 && (*r.Hr24 < 0 || *r.Hr24 > 255)) r.Hr24.reset();
        r.Hour = AsNumberColumn(r.Hour);
        r.Min = AsNumberColumn(r.Min);
    }
    // [DayNo], [Priority] DESC, [Hr24], [AMPM], [Hour], [Min]: the keys are
    // worked out once, the rows moved once.
    struct Key {
        SortingRow* row;
        NumberKey priority, hour, min;
    };
    std::vector<Key> keys;
    keys.reserve(rows.size());
    for (SortingRow& r : rows)
        keys.push_back({&r, NumberKey::Of(r.Priority), NumberKey::Of(std::string_view(r.Hour)),
                        NumberKey::Of(std::string_view(r.Min))});
    std::stable_sort(keys.begin(), keys.end(), [](const Key& x, const Key& y) {
        const SortingRow& a = *x.row;
        const SortingRow& b = *y.row;
        if (a.DayNo != b.DayNo) return a.DayNo < b.DayNo;
        if (int c = x.priority.compare(y.priority)) return c > 0;
        if (a.Hr24 != b.Hr24) return !a.Hr24 || (b.Hr24 && *a.Hr24 < *b.Hr24);
        if (int c = CompareNoCase(a.AMPM, b.AMPM)) return c < 0;
        if (int c = x.hour.compare(y.hour)) return c < 0;
        return x.min.compare(y.min) < 0;
    });
    // The rows move into their places along the permutation's cycles: no
    // second copy of the month is made.
    std::vector<size_t> from(rows.size());
    for (size_t i = 0; i < keys.size(); ++i) from[i] = static_cast<size_t>(keys[i].row - rows.data());
    keys = {};
    for (size_t start = 0; start < from.size(); ++start) {
        if (from[start] == start) continue;
        SortingRow held = std::move(rows[start]);
        size_t at = start;
        while (from[at] != start) {
            rows[at] = std::move(rows[from[at]]);
            const size_t next = from[at];
            from[at] = at;
            at = next;
        }
        rows[at] = std::move(held);
        from[at] = at;
    }
}

namespace {

// The fields of a [Sorting] row, in the order of their names.
enum Field { DayNo, Hour, Min, AMPM, DayMsg, Alarm, SoundNum, JulDate, Date, Font, DayColors, Priority, TimeSort, Hr24 };
constexpr const char* kFieldNames[] = {"DayNo", "Hour", "Min",       "AMPM",     "DayMsg",   "Alarm",    "SoundNum",
                                       "JulDate", "Date", "Font",    "DayColors", "Priority", "TimeSort", "Hr24"};

// The fields this file's [Sorting] has.
std::vector<int> PresentFields(db::Database& db) {
    const auto present = db.columns("Sorting");
    std::vector<int> fields;
    for (int f = 0; f < 14; ++f)
        for (const auto& p : present)
            if (SameName(p, kFieldNames[f])) {
                fields.push_back(f);
                break;
            }
    return fields;
}

// "[DayNo], [Hour], ..." for the fields.
std::string ColumnList(const std::vector<int>& fields) {
    std::string cols;
    for (int f : fields) cols += (cols.empty() ? "[" : ", [") + std::string(kFieldNames[f]) + "]";
    return cols;
}

// A value as it reads back as text from the table, null apart.
void AddValue(Fnv& h, const db::Value& v) {
    h.Add(int64_t{db::IsNull(v) ? 0 : 1});
    if (!db::IsNull(v)) h.Add(db::AsText(v));
}
void AddText(Fnv& h, std::string_view text) {
    h.Add(int64_t{1});
    h.Add(text);
}

}  // namespace

uint64_t SortingFingerprint(db::Database& db, const std::vector<SortingRow>& rows) {
    const std::vector<int> fields = PresentFields(db);
    Fnv h;
    for (const SortingRow& r : rows)
        for (int f : fields) switch (f) {
                case DayNo: AddText(h, std::to_string(r.DayNo)); break;
                case Hour: AddText(h, r.Hour); break;
                case Min: AddText(h, r.Min); break;
                case AMPM: AddText(h, r.AMPM); break;
                case DayMsg: AddText(h, r.DayMsg); break;
                case Alarm: AddText(h, r.Alarm); break;
                case SoundNum: AddValue(h, r.SoundNum); break;
                case JulDate: AddValue(h, r.JulDate); break;
                case Date: AddValue(h, r.Date); break;
                case Font: AddText(h, r.Font); break;
                case DayColors: AddText(h, r.DayColors); break;
                case Priority: AddValue(h, ByteOrNull(r.Priority)); break;
                case TimeSort: AddText(h, r.TimeSort); break;
                case Hr24: AddValue(h, r.Hr24 ? ByteOrNull(db::Int(*r.Hr24)) : db::Value{}); break;
            }
    h.Add(static_cast<int64_t>(rows.size()));
    return h.value();
}

uint64_t StoredSortingFingerprint(db::Database& db) {
    const std::vector<int> fields = PresentFields(db);
    if (fields.empty()) return 0;
    auto st = db.prepare("SELECT " + ColumnList(fields) + " FROM [Sorting] ORDER BY rowid");
    Fnv h;
    int64_t rows = 0;
    for (; st.step(); ++rows)
        for (int i = 0; i < st.columnCount(); ++i) AddValue(h, st.column(i));
    h.Add(rows);
    return h.value();
}

int64_t CountSortingRows(db::Database& db) {
    auto st = db.prepare("SELECT count(*) FROM [Sorting]");
    return st.step() ? db::AsInt(st.column(0)) : -1;
}

int SortingRow::PriorityValue() const {
    if (db::IsNull(Priority)) return 0;
    return static_cast<int>(db::AsInt(Priority));
}

std::string BuildTimeString(std::string_view hour, std::string_view min, std::string_view ampm) {
    const auto h = PlainNumber(hour);
    const bool hourOk = h && *h >= 0 && *h < 25;
    const auto m = PlainNumber(min);
    const bool minuteOk = m && *m >= 0 && *m <= 59;
    // AM/PM in any case; written upper-cased.
    const std::string head = ToUpper(ampm.substr(0, 2));
    const bool ampmOk = head == "AM" || head == "PM";
    if (!hourOk || !minuteOk || !ampmOk) return {};
    if (*h == 0 && *m == 0) return {};
    std::string minute = "0";
    minute.append(min);
    std::string out(hour);
    out.append(":").append(LastTwo(minute)).append(" ").append(ToUpper(ampm)).append(" ");
    return out;
}

std::string TimeSortText(std::string_view hour, std::string_view min, std::string_view ampm) {
    int64_t h = RoundHalfEven(Val(hour));
    if (ContainsNoCase(ampm, "PM") && h >= 1 && h <= 11) h += 12;
    const int64_t m = RoundHalfEven(Val(min));
    std::string out = TwoDigits(h);
    out += ':';
    out += TwoDigits(m);
    return out;
}

std::optional<int> SortingHr24(std::string_view hour, std::string_view ampm) {
    const int64_t h = RoundHalfEven(Val(hour));
    if (h < -1000 || h > 1000) return std::nullopt;
    return Hr24Rule(static_cast<int>(h), ampm, std::nullopt);
}

std::string MonthRangeSQL(std::string_view table, int32_t firstKey, int32_t lastKey) {
    return "SELECT * FROM [" + std::string(table) + "] WHERE [JulDate] > " + std::to_string(firstKey - 1) +
           " AND [JulDate] < " + std::to_string(lastKey + 1);
}

std::vector<SortingRow> ReadMonthOccurrences(db::Database& db, int32_t firstKey, int32_t lastKey, int firstCell,
                                             size_t room) {
    std::vector<SortingRow> rows;
    {  // counted on the index first, so the rows are placed once
        auto count = db.prepare("SELECT count(*) FROM [RepeatingData] WHERE [JulDate] BETWEEN ? AND ?");
        count.bind(1, db::Int(firstKey)).bind(2, db::Int(lastKey));
        if (count.step()) rows.reserve(static_cast<size_t>(std::max<int64_t>(0, db::AsInt(count.column(0)))) + room);
    }
    // Unsorted: ArrangeForDisplay orders them, rows alike keeping their numbers' order.
    // Only the columns the rows take are read (and converted).
    std::string names;
    for (const std::string& c : db.columns("RepeatingData"))
        for (const char* wanted : kSourceNames)
            if (SameName(c, wanted)) {
                names += (names.empty() ? "[" : ", [") + c + "]";
                break;
            }
    auto st = db.prepare("SELECT " + (names.empty() ? std::string("*") : names) +
                         " FROM [RepeatingData] WHERE [JulDate] BETWEEN ? AND ?");
    st.bind(1, db::Int(firstKey)).bind(2, db::Int(lastKey));
    const SourceColumns cols(st.columnCount(), [&](int i) { return st.columnName(i); });
    while (st.step())
        FillRow(rows.emplace_back(), cols, [&](int i) { return st.column(i); }, [&](int i) { return st.text(i); },
                firstKey, firstCell);
    return rows;
}

namespace {
// Walks the rows of a month's date records, leaving out those not shown in
// the cells. `field` reads a column of the current row, `record` the whole
// date record.
template <class Next, class Field, class Text, class Record>
std::vector<SortingRow> DateRecordRows(const SourceColumns& cols, Next&& next, Field&& field, Text&& text,
                                       Record&& record, int32_t firstKey, int firstCell) {
    std::vector<SortingRow> rows;
    while (next()) {
        if (cols.Hide >= 0 && db::AsBool(field(cols.Hide))) continue;
        if (cols.Repeat >= 0) {
            const std::string rule = db::AsText(field(cols.Repeat));
            if (rule.size() >= 8 && ToLower(rule.substr(0, 8)) == "weekmask" && WeekMaskExpands(record())) continue;
        }
        FillRow(rows.emplace_back(), cols, field, text, firstKey, firstCell);
    }
    return rows;
}
}  // namespace

std::vector<SortingRow> ReadMonthDateRecords(db::RecordSource& source, int32_t firstKey, int firstCell) {
    const SourceColumns cols(source.fieldCount(), [&](int i) { return source.fieldName(i); });
    bool started = false;
    auto next = [&] {
        if (started) source.moveNext();
        else source.moveFirst();
        started = true;
        return !source.eof();
    };
    return DateRecordRows(
        cols, next, [&](int i) { return source.field(i); }, [&](int i) { return db::AsText(source.field(i)); },
        [&] { return ReadDateRecord(source); }, firstKey, firstCell);
}

std::vector<SortingRow> ReadMonthDateRecords(db::Database& db, const std::string& sql, int32_t firstKey,
                                             int firstCell) {
    auto st = db.prepare(sql);
    const SourceColumns cols(st.columnCount(), [&](int i) { return st.columnName(i); });
    return DateRecordRows(
        cols, [&] { return st.step(); }, [&](int i) { return st.column(i); }, [&](int i) { return st.text(i); },
        [&] { return ReadDateRecord(st); }, firstKey, firstCell);
}

void EmptySorting(db::Database& db) { db.exec("DELETE FROM [Sorting]"); }

namespace {

// Any write to [Sorting] takes the kept stamp away; the month build's own
// write takes the triggers off and puts them back in its transaction.
constexpr db::TriggerText kStampTriggers[] = {
    {"SortingStamp_Insert",
     "CREATE TRIGGER [SortingStamp_Insert] AFTER INSERT ON [Sorting] BEGIN DELETE FROM [SortingStamp]; END"},
    {"SortingStamp_Update",
     "CREATE TRIGGER [SortingStamp_Update] AFTER UPDATE ON [Sorting] BEGIN DELETE FROM [SortingStamp]; END"},
    {"SortingStamp_Delete",
     "CREATE TRIGGER [SortingStamp_Delete] AFTER DELETE ON [Sorting] BEGIN DELETE FROM [SortingStamp]; END"},
};

// Inside the caller's transaction, with the triggers off.
void PutStamp(db::Database& db, uint64_t stamp) {
    db.exec("CREATE TABLE IF NOT EXISTS [SortingStamp] ([Stamp] INTEGER)");
    db.exec("DELETE FROM [SortingStamp]");
    auto put = db.prepare("INSERT INTO [SortingStamp] ([Stamp]) VALUES (?)");
    put.bind(1, db::Int(static_cast<int64_t>(stamp)));
    put.run();
    db::MakeTriggers(db, kStampTriggers);
}

}  // namespace

std::optional<uint64_t> KeptSortingStamp(db::Database& db) noexcept {
    try {
        if (db.readOnly() || !db.hasTable("SortingStamp")) return std::nullopt;
        if (!db::TriggersInPlace(db, "Sorting", kStampTriggers)) return std::nullopt;
        auto st = db.prepare("SELECT [Stamp] FROM [SortingStamp]");
        if (!st.step() || db::IsNull(st.column(0))) return std::nullopt;
        const auto stamp = static_cast<uint64_t>(db::AsInt(st.column(0)));
        if (st.step()) return std::nullopt;  // one row only
        return stamp;
    } catch (...) {
        return std::nullopt;
    }
}

void KeepSortingStamp(db::Database& db, uint64_t stamp, const SortedMonth* month) {
    if (db.readOnly()) return;
    db::Transaction tx(db);
    const int64_t layout = SchemaVersion(db);
    db::DropTriggers(db, kStampTriggers);
    PutStamp(db, stamp);
    if (month) PutKeptMonth(db, *month, layout);
    else ForgetKeptMonth(db);
    tx.commit();
}

void ReplaceSortingRows(db::Database& db, const std::vector<SortingRow>& rows, std::optional<uint64_t> stamp,
                        const SortedMonth* month) {
    // A calendar that may only be read gets the month's scratch table in the
    // connection's temporary store, where it hides the file's own.
    if (db.readOnly()) db.exec("CREATE TEMP TABLE IF NOT EXISTS [Sorting] AS SELECT * FROM main.[Sorting] WHERE 0");
    const std::vector<int> fields = PresentFields(db);
    const std::string cols = ColumnList(fields);
    std::string marks;
    for (size_t i = 0; i < fields.size(); ++i) marks += i ? ", ?" : "?";
    db::Transaction tx(db);
    const int64_t layout = SchemaVersion(db);
    if (stamp && !db.readOnly()) db::DropTriggers(db, kStampTriggers);
    else stamp.reset();  // the triggers, where there are any, take a kept stamp away
    EmptySorting(db);
    if (!fields.empty()) {
        auto ins = db.prepare("INSERT INTO [Sorting] (" + cols + ") VALUES (" + marks + ")");
        for (const auto& r : rows) {
            int k = 1;
            for (int f : fields) {
                // The texts are bound in place: the rows outlive each insert.
                auto text = [&](const std::string& t) { ins.bindTextRef(k++, t); };
                switch (f) {
                    case DayNo: ins.bind(k++, db::Int(r.DayNo)); break;
                    case Hour: text(r.Hour); break;
                    case Min: text(r.Min); break;
                    case AMPM: text(r.AMPM); break;
                    case DayMsg: text(r.DayMsg); break;
                    case Alarm: text(r.Alarm); break;
                    case SoundNum: ins.bind(k++, r.SoundNum); break;
                    case JulDate: ins.bind(k++, r.JulDate); break;
                    case Date: ins.bind(k++, r.Date); break;
                    case Font: text(r.Font); break;
                    case DayColors: text(r.DayColors); break;
                    case Priority: ins.bind(k++, ByteOrNull(r.Priority)); break;
                    case TimeSort: text(r.TimeSort); break;
                    case Hr24: ins.bind(k++, r.Hr24 ? ByteOrNull(db::Int(*r.Hr24)) : db::Value{}); break;
                }
            }
            ins.run();
        }
    }
    if (stamp) PutStamp(db, *stamp);
    if (stamp && month) PutKeptMonth(db, *month, layout);
    else ForgetKeptMonth(db);
    tx.commit();
}

namespace {

// The given fields of the statement's current row of [Sorting], selected in
// that order, into r.
void ReadFields(const db::Statement& st, const std::vector<int>& fields, SortingRow& r) {
    for (int i = 0; i < static_cast<int>(fields.size()); ++i) switch (fields[static_cast<size_t>(i)]) {
            case DayNo: r.DayNo = static_cast<int>(st.integer(i, -1)); break;
            case Hour: st.textInto(i, r.Hour); break;
            case Min: st.textInto(i, r.Min); break;
            case AMPM: st.textInto(i, r.AMPM); break;
            case DayMsg: st.textInto(i, r.DayMsg); break;
            case Alarm: st.textInto(i, r.Alarm); break;
            case SoundNum: r.SoundNum = st.column(i); break;
            case JulDate: r.JulDate = st.column(i); break;
            case Date: r.Date = st.column(i); break;
            case Font: st.textInto(i, r.Font); break;
            case DayColors: st.textInto(i, r.DayColors); break;
            case Priority: r.Priority = st.column(i); break;
            case TimeSort: st.textInto(i, r.TimeSort); break;
            case Hr24: {
                const db::Value v = st.column(i);
                if (db::IsNull(v)) r.Hr24.reset();
                else r.Hr24 = static_cast<int>(db::AsInt(v));
                break;
            }
            default: break;
        }
}

}  // namespace

bool ForEachSortingRowForCells(db::Database& db, const std::function<void(const SortingRow&)>& take,
                               WholeCells* whole) {
    const std::vector<int> all = PresentFields(db);
    if (all.size() != std::size(kFieldNames)) return false;
    std::vector<int> fields = all;  // only what the cells show
    std::erase_if(fields, [](int f) { return f == SoundNum || f == JulDate || f == Date || f == TimeSort || f == Hr24; });
    const int rowidAt = static_cast<int>(fields.size());
    auto st = db.prepare("SELECT " + ColumnList(fields) + ", rowid FROM [Sorting] ORDER BY rowid");
    int64_t firstWhole = 0, lastWhole = -1;  // the row numbers of the whole cells' rows
    SortingRow r;  // its texts keep their room from row to row
    while (st.step()) {
        ReadFields(st, fields, r);
        if (whole && r.DayNo >= whole->from && r.DayNo <= whole->to) {
            const int64_t rowid = st.integer(rowidAt);
            if (lastWhole < firstWhole) firstWhole = rowid;
            lastWhole = rowid;
        }
        take(r);
    }
    if (whole) {
        whole->rows.clear();
        whole->read = false;
        try {
            if (lastWhole >= firstWhole) {  // stored by cell: they lie together
                auto rows = db.prepare("SELECT " + ColumnList(all) +
                                       " FROM [Sorting] WHERE rowid BETWEEN ? AND ? ORDER BY rowid");
                rows.bind(1, db::Int(firstWhole)).bind(2, db::Int(lastWhole));
                whole->rows.reserve(static_cast<size_t>(lastWhole - firstWhole + 1));
                while (rows.step()) ReadFields(rows, all, whole->rows.emplace_back());
            }
            whole->read = true;
        } catch (const db::DbError&) {
            whole->rows.clear();
        }
    }
    return true;
}

std::optional<std::vector<SortingRow>> ReadKeptDays(db::Database& db, int64_t changes, int32_t firstKey,
                                                  int32_t lastKey, int firstCell) noexcept {
    try {
        // The month [Sorting] was filled for, still the file's, and holding these days.
        const std::optional<SortedMonth> kept = KeptMonth(db);
        if (!kept || firstKey < kept->firstKey || lastKey > kept->lastKey) return std::nullopt;
        if (MonthNow(db, changes, kept->firstKey, kept->lastKey, kept->firstCell) != kept) return std::nullopt;
        if (!KeptSortingStamp(db)) return std::nullopt;
        const std::vector<int> fields = PresentFields(db);
        if (fields.size() != std::size(kFieldNames)) return std::nullopt;
        // Every row's cell was counted from the month's first day, and the
        // rows are stored by cell: those of these days lie together.
        const int64_t fromCell = firstKey - kept->firstKey + kept->firstCell;
        const int64_t toCell = lastKey - kept->firstKey + kept->firstCell;
        auto st = db.prepare("SELECT " + ColumnList(fields) + " FROM [Sorting] ORDER BY rowid");
        std::vector<SortingRow> rows;
        while (st.step()) {
            const int64_t cell = st.integer(0, -1);  // [DayNo], the first field
            if (cell < fromCell) continue;
            if (cell > toCell) break;
            SortingRow& r = rows.emplace_back();
            ReadFields(st, fields, r);
            // The cells counted from these days' first, as the readers of the records count them.
            r.DayNo = static_cast<int>(cell - fromCell + firstCell);
        }
        return rows;
    } catch (...) {
        return std::nullopt;
    }
}

std::vector<SortingRow> ReadSortingInDisplayOrder(db::Database& db) {
    auto st = db.prepare(kSortingDisplaySQL);
    int dayNo = -1, hour = -1, min = -1, ampm = -1, msg = -1, alarm = -1, font = -1, colors = -1, priority = -1;
    for (int i = 0; i < st.columnCount(); ++i) {
        const std::string n = ToLower(st.columnName(i));
        if (n == "dayno") dayNo = i;
        else if (n == "hour") hour = i;
        else if (n == "min") min = i;
        else if (n == "ampm") ampm = i;
        else if (n == "daymsg") msg = i;
        else if (n == "alarm") alarm = i;
        else if (n == "font") font = i;
        else if (n == "daycolors") colors = i;
        else if (n == "priority") priority = i;
    }
    auto text = [&](int i) { return i < 0 ? std::string() : db::AsText(st.column(i)); };
    std::vector<SortingRow> rows;
    while (st.step()) {
        SortingRow r;
        r.DayNo = dayNo < 0 ? -1 : static_cast<int>(db::AsInt(st.column(dayNo), -1));
        r.Hour = text(hour);
        r.Min = text(min);
        r.AMPM = text(ampm);
        r.DayMsg = text(msg);
        r.Alarm = text(alarm);
        r.Font = text(font);
        r.DayColors = text(colors);
        if (priority >= 0) r.Priority = st.column(priority);
        rows.push_back(std::move(r));
    }
    return rows;
}

}  // namespace vm
