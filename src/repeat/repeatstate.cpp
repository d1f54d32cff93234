#include "repeat/repeatstate.h"

#include <QCryptographicHash>

#include <cstring>
#include <type_traits>

#include "repeat/repeatpass.h"

namespace vm {
namespace {

class Hasher {
public:
    void Add(std::string_view bytes) {
        Add(static_cast<int64_t>(bytes.size()));
        hash_.addData(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    void Add(int64_t n) { hash_.addData(QByteArrayView(reinterpret_cast<const char*>(&n), sizeof n)); }
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
    // Every row of a query, every column, with the column count as a separator.
    void AddRows(db::Database& db, const std::string& sql) {
        auto st = db.prepare(sql);
        const int n = st.columnCount();
        Add(int64_t{n});
        while (st.step()) {
            Tag('|');
            for (int i = 0; i < n; ++i) Add(st.column(i));
        }
        Tag('$');
    }
    void Tag(char c) { hash_.addData(QByteArrayView(&c, 1)); }
    std::string Result() { return hash_.result().toHex().toStdString(); }

private:
    QCryptographicHash hash_{QCryptographicHash::Sha256};
};

}  // namespace

std::string RepeatFingerprint(db::Database& db, const RepeatInputs& inputs) {
    Hasher h;
    h.Add(int64_t{kRepeatRulesVersion});
    h.Add(int64_t{inputs.startYear});
    h.Add(int64_t{inputs.calcYearsSince});
    for (const char* table : {"Velmora", "RepeatingData"}) {
        const auto columns = db.columns(table);
        h.Add(static_cast<int64_t>(columns.size()));
        for (const std::string& c : columns) h.Add(std::string_view(c));
    }
    // The records the pass expands; their order follows from their columns.
    h.AddRows(db, std::string(kRepeatPassSQL) + " ORDER BY [ID]");
    // The remembrance texts look up birth dates among all records.
    if (inputs.calcYearsSince) h.AddRows(db, "SELECT [ID], [DateText], [Date] FROM [Velmora] ORDER BY [ID]");
    return h.Result();
}

std::optional<RepeatState> MatchingRepeatState(db::Database& db, const RepeatInputs& inputs) noexcept {
    try {
        if (!db.hasTable(kRepeatStateTable)) return std::nullopt;
        RepeatState kept;
        {
            auto st = db.prepare("SELECT [Fingerprint], [RulesVersion], [RowCount], [Problems] FROM [RepeatState]");
            if (!st.step()) return std::nullopt;
            if (db::AsInt(st.column(1), -1) != kRepeatRulesVersion) return std::nullopt;
            kept.fingerprint = db::AsText(st.column(0));
            kept.rows = db::AsInt(st.column(2), -1);
            kept.problems = db::AsBool(st.column(3), true);
            if (st.step()) return std::nullopt;  // one row only
        }
        if (kept.fingerprint.empty() || kept.rows < 0) return std::nullopt;
        if (RepeatFingerprint(db, inputs) != kept.fingerprint) return std::nullopt;
        // Counting a large table costs more than the fingerprint: last.
        auto count = db.prepare("SELECT count(*) FROM [RepeatingData]");
        if (!count.step() || db::AsInt(count.column(0), -1) != kept.rows) return std::nullopt;
        return kept;
    } catch (...) {
        return std::nullopt;
    }
}

void SaveRepeatState(db::Database& db, const RepeatInputs& inputs, int64_t rows, bool problems) {
    // Made anew each time, so a damaged or older table never stops the pass.
    db.exec("DROP TABLE IF EXISTS [RepeatState]");
    db.exec(
        "CREATE TABLE [RepeatState] ([Fingerprint] TEXT, [RulesVersion] INTEGER, [RowCount] INTEGER, "
        "[Problems] INTEGER)");
    auto insert = db.prepare(
        "INSERT INTO [RepeatState] ([Fingerprint], [RulesVersion], [RowCount], [Problems]) VALUES (?, ?, ?, ?)");
    insert.bind(1, db::Text(RepeatFingerprint(db, inputs)))
        .bind(2, db::Int(kRepeatRulesVersion))
        .bind(3, db::Int(rows))
        .bind(4, db::Bool(problems));
    insert.run();
}

}  // namespace vm
