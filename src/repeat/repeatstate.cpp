#include "repeat/repeatstate.h"

#include <QCryptographicHash>

#include <cstring>
#include <tuple>
#include <type_traits>
#include <vector>

#include "repeat/repeatpass.h"

namespace vm {
namespace {

// Values are written into a buffer, each with its kind and length, and the
// buffer is hashed in large pieces.
class Hasher {
public:
    Hasher() { buffer_.reserve(kPiece + 4096); }
    void Add(std::string_view bytes) {
        Add(static_cast<int64_t>(bytes.size()));
        buffer_.append(bytes);
        if (buffer_.size() >= kPiece) Flush();
    }
    void Add(int64_t n) {  // zigzag, seven bits a byte
        uint64_t u = (static_cast<uint64_t>(n) << 1) ^ static_cast<uint64_t>(n >> 63);
        while (u >= 0x80) {
            buffer_.push_back(static_cast<char>(u | 0x80));
            u >>= 7;
        }
        buffer_.push_back(static_cast<char>(u));
    }
    void Add(const db::Value& v) {
        std::visit(
            [this](const auto& x) {
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, std::monostate>) {
                    Tag('N');
                } else if constexpr (std::is_same_v<T, int64_t>) {
                    Tag('I');
                    Add(x);
                } else if constexpr (std::is_same_v<T, double>) {
                    Tag('R');
                    int64_t bits = 0;
                    std::memcpy(&bits, &x, sizeof bits);
                    Add(bits);
                } else {
                    Tag('T');
                    Add(std::string_view(x));
                }
            },
            v);
    }
    // Column names, then every row's values.
    void AddRows(db::RecordSource& rows) {
        Add(int64_t{rows.fieldCount()});
        for (int i = 0; i < rows.fieldCount(); ++i) Add(std::string_view(rows.fieldName(i)));
        for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
            Tag('|');
            for (int i = 0; i < rows.fieldCount(); ++i) Add(rows.field(i));
        }
        rows.moveFirst();
        Tag('$');
    }
    void AddRows(db::Database& db, const std::string& sql) {
        auto st = db.prepare(sql);
        const int n = st.columnCount();
        Add(int64_t{n});
        for (int i = 0; i < n; ++i) Add(std::string_view(st.columnName(i)));
        while (st.step()) {
            Tag('|');
            for (int i = 0; i < n; ++i) Add(st.column(i));
        }
        Tag('$');
    }
    void Tag(char c) { buffer_.push_back(c); }
    std::string Result() {
        Flush();
        return hash_.result().toHex().toStdString();
    }

private:
    static constexpr size_t kPiece = 1 << 16;
    void Flush() {
        hash_.addData(QByteArrayView(buffer_.data(), static_cast<qsizetype>(buffer_.size())));
        buffer_.clear();
    }
    std::string buffer_;
    // Only tells states apart, guards nothing: the quickest of Qt's digests.
    QCryptographicHash hash_{QCryptographicHash::Md5};
};

// How many rows [RepeatingData] holds, and its lowest and highest row
// numbers: new rows get new numbers, so a table written again by anyone else
// shows, even with as many rows as before.
std::tuple<int64_t, int64_t, int64_t> TableRows(db::Database& db) {
    auto st = db.prepare(
        "SELECT (SELECT count(*) FROM [RepeatingData]), (SELECT IFNULL(min(rowid), 0) FROM [RepeatingData]), "
        "(SELECT IFNULL(max(rowid), 0) FROM [RepeatingData])");
    if (!st.step()) return {-1, 0, 0};
    return {db::AsInt(st.column(0)), db::AsInt(st.column(1)), db::AsInt(st.column(2))};
}

}  // namespace

std::string RepeatFingerprint(db::Database& db, const RepeatInputs& inputs, db::RecordSource* passRows) {
    Hasher h;
    h.Add(int64_t{kRepeatRulesVersion});
    h.Add(int64_t{inputs.startYear});
    h.Add(int64_t{inputs.calcYearsSince});
    const auto columns = db.columns("RepeatingData");
    h.Add(static_cast<int64_t>(columns.size()));
    for (const std::string& c : columns) h.Add(std::string_view(c));
    // The records the pass expands, in its order, every column.
    const std::string query = std::string(kRepeatPassSQL) + kRepeatPassOrder;
    if (passRows && passRows->isOpen() && passRows->recordSource() == query && &passRows->database() == &db)
        h.AddRows(*passRows);
    else
        h.AddRows(db, query);
    // The remembrance texts look up birth dates among all records.
    if (inputs.calcYearsSince) h.AddRows(db, "SELECT [ID], [DateText], [Date] FROM [Velmora] ORDER BY [ID]");
    return h.Result();
}

std::optional<RepeatState> MatchingRepeatState(db::Database& db, const RepeatInputs& inputs,
                                               db::RecordSource* passRows) noexcept {
    try {
        if (!db.hasTable(kRepeatStateTable)) return std::nullopt;
        RepeatState kept;
        int64_t firstRow = 0, lastRow = 0;
        {
            auto st = db.prepare(
                "SELECT [Fingerprint], [RulesVersion], [RowCount], [Problems], [FirstRow], [LastRow] FROM [RepeatState]");
            if (!st.step()) return std::nullopt;
            if (db::AsInt(st.column(1), -1) != kRepeatRulesVersion) return std::nullopt;
            kept.fingerprint = db::AsText(st.column(0));
            kept.rows = db::AsInt(st.column(2), -1);
            kept.problems = db::AsBool(st.column(3), true);
            firstRow = db::AsInt(st.column(4), -1);
            lastRow = db::AsInt(st.column(5), -1);
            if (st.step()) return std::nullopt;  // one row only
        }
        if (kept.fingerprint.empty() || kept.rows < 0) return std::nullopt;
        if (RepeatFingerprint(db, inputs, passRows) != kept.fingerprint) return std::nullopt;
        // Counting a large table costs more than the fingerprint: last.
        if (TableRows(db) != std::tuple(kept.rows, firstRow, lastRow)) return std::nullopt;
        return kept;
    } catch (...) {
        return std::nullopt;
    }
}

void SaveRepeatState(db::Database& db, const RepeatInputs& inputs, bool problems) {
    // Made anew each time, so a damaged or older table never stops the pass.
    db.exec("DROP TABLE IF EXISTS [RepeatState]");
    db.exec(
        "CREATE TABLE [RepeatState] ([Fingerprint] TEXT, [RulesVersion] INTEGER, [RowCount] INTEGER, "
        "[Problems] INTEGER, [FirstRow] INTEGER, [LastRow] INTEGER)");
    auto insert = db.prepare(
        "INSERT INTO [RepeatState] ([Fingerprint], [RulesVersion], [RowCount], [Problems], [FirstRow], [LastRow]) "
        "VALUES (?, ?, ?, ?, ?, ?)");
    const auto [count, first, last] = TableRows(db);
    insert.bind(1, db::Text(RepeatFingerprint(db, inputs)))
        .bind(2, db::Int(kRepeatRulesVersion))
        .bind(3, db::Int(count))
        .bind(4, db::Bool(problems))
        .bind(5, db::Int(first))
        .bind(6, db::Int(last));
    insert.run();
}

}  // namespace vm
