#include "repeat/repeatstate.h"

#include <cstring>
#include <type_traits>
#include <variant>

#include "core/fingerprint.h"
#include "core/numtext.h"
#include "repeat/remembrance.h"

namespace vm {
namespace {

constexpr std::string_view kYearsSinceMark = "; years since ";

void Create(db::Database& db) {
    db.exec("CREATE TABLE IF NOT EXISTS [RepeatState] ([RulesVersion] INTEGER, [Inputs] TEXT, [Births] TEXT, "
            "[FirstRow] INTEGER, [LastRow] INTEGER)");
    db.exec("CREATE TABLE IF NOT EXISTS [RepeatRecords] ([ID] INTEGER PRIMARY KEY, [Fingerprint] INTEGER, "
            "[FirstRow] INTEGER, [RowCount] INTEGER, [Flags] INTEGER, [Birth] INTEGER)");
    // The few records with rule problems, found at start-up without reading the others.
    db.exec("CREATE INDEX IF NOT EXISTS [RepeatRecordsProblems] ON [RepeatRecords] ([ID]) WHERE [Flags] & 1");
}

}  // namespace

std::string InputsFingerprint(db::Database& db, const RepeatInputs& inputs,
                              const std::vector<std::string>& sourceColumns) {
    std::string text = "rules " + std::to_string(kRepeatRulesVersion) + "; start " +
                       std::to_string(inputs.startYear) + "; rows";
    for (const std::string& c : db.columns("RepeatingData")) text += " [" + c + "]";
    text += "; records";
    for (const std::string& c : sourceColumns) text += " [" + c + "]";
    return text + std::string(kYearsSinceMark) + std::to_string(int{inputs.calcYearsSince});
}

std::string_view EveryRecordsInputs(std::string_view inputs) {
    return inputs.substr(0, inputs.rfind(kYearsSinceMark));
}

bool RecordFingerprinter::Remembers(const std::string& dateType, const std::string& dateText) {
    return RemembersYears(dateType, dateText);
}

RecordFingerprinter::RecordFingerprinter(const std::vector<std::string>& columnNames, bool yearsSince)
    : yearsSince_(yearsSince) {
    const auto& names = DateRecordColumns();
    for (size_t i = 0; i < names.size(); ++i) {
        int at = -1;
        for (size_t f = 0; f < columnNames.size() && at < 0; ++f)
            if (ToLower(columnNames[f]) == ToLower(names[i])) at = static_cast<int>(f);
        columns_.push_back(at);
        if (std::string_view(names[i]) == "Alarm") alarmAt_ = at;
        if (std::string_view(names[i]) == "ID") idAt_ = at;
        if (std::string_view(names[i]) == "DateType") typeAt_ = at;
        if (std::string_view(names[i]) == "DateText") textAt_ = at;
    }
}

uint64_t RecordFingerprinter::Mix(uint64_t seed, const db::Value& v, bool missing) {
    Fnv h(seed);
    if (missing) {
        h.Add(int64_t{-1});
        return h.value();
    }
    std::visit(
        [&h](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::monostate>) {
                h.Add(int64_t{0});
            } else if constexpr (std::is_same_v<T, int64_t>) {
                h.Add(int64_t{1});
                h.Add(x);
            } else if constexpr (std::is_same_v<T, double>) {
                int64_t bits = 0;
                std::memcpy(&bits, &x, sizeof bits);
                h.Add(int64_t{2});
                h.Add(bits);
            } else {
                h.Add(int64_t{3});
                h.Add(std::string_view(x));
            }
        },
        v);
    return h.value();
}

std::pair<int64_t, int64_t> RepeatingBounds(db::Database& db) {
    // Each is one step down the table's tree.
    auto st = db.prepare("SELECT IFNULL((SELECT min(rowid) FROM [RepeatingData]), 0), "
                         "IFNULL((SELECT max(rowid) FROM [RepeatingData]), 0)");
    if (!st.step()) return {-1, -1};
    return {db::AsInt(st.column(0)), db::AsInt(st.column(1))};
}

std::optional<RepeatState> LoadRepeatState(db::Database& db, bool records) noexcept {
    try {
        if (!db.hasTable(kRepeatStateTable) || !db.hasTable(kRepeatRecordsTable)) return std::nullopt;
        RepeatState state;
        {
            auto st = db.prepare("SELECT [RulesVersion], [Inputs], [Births], [FirstRow], [LastRow] FROM [RepeatState]");
            if (!st.step()) return std::nullopt;
            if (db::AsInt(st.column(0), -1) != kRepeatRulesVersion) return std::nullopt;
            state.inputs = db::AsText(st.column(1));
            state.births = db::AsText(st.column(2));
            state.firstRow = db::AsInt(st.column(3), -1);
            state.lastRow = db::AsInt(st.column(4), -1);
            if (st.step() || state.inputs.empty()) return std::nullopt;  // one row only
        }
        if (!records) {
            auto st = db.prepare("SELECT EXISTS (SELECT 1 FROM [RepeatRecords] WHERE [Flags] & 1)");
            state.problems = !st.step() || db::AsInt(st.column(0)) != 0;
            return state;
        }
        auto st = db.prepare("SELECT [ID], [Fingerprint], [FirstRow], [RowCount], [Flags], [Birth] FROM [RepeatRecords]");
        while (st.step()) {
            RecordState r;
            r.fingerprint = static_cast<uint64_t>(st.integer(1));
            r.firstRow = st.integer(2);
            r.rows = st.integer(3);
            const int64_t flags = st.integer(4);
            r.problems = (flags & 1) != 0;
            state.problems = state.problems || r.problems;
            r.usesBirths = (flags & 2) != 0;
            r.birth = static_cast<int32_t>(st.integer(5));
            state.records.emplace(st.integer(0), r);
        }
        return state;
    } catch (...) {
        return std::nullopt;
    }
}

bool RepeatBook::Setup(db::Database& db, bool fresh) {
    if (fresh) Forget(db);
    Create(db);
    return true;
}

RepeatBook::RepeatBook(db::Database& db, bool fresh)
    : db_(db),
      ready_(Setup(db, fresh)),
      put_(db.prepare("INSERT OR REPLACE INTO [RepeatRecords] ([ID], [Fingerprint], [FirstRow], [RowCount], [Flags], "
                      "[Birth]) VALUES (?, ?, ?, ?, ?, ?)")),
      remove_(db.prepare("DELETE FROM [RepeatRecords] WHERE [ID] = ?")) {}

void RepeatBook::Put(int64_t id, const RecordState& s) {
    put_.bind(1, db::Int(id))
        .bind(2, db::Int(static_cast<int64_t>(s.fingerprint)))
        .bind(3, db::Int(s.firstRow))
        .bind(4, db::Int(s.rows))
        .bind(5, db::Int((s.problems ? 1 : 0) | (s.usesBirths ? 2 : 0)))
        .bind(6, db::Int(s.birth));
    put_.run();
}

void RepeatBook::Remove(int64_t id) {
    remove_.bind(1, db::Int(id));
    remove_.run();
}

void RepeatBook::Finish(const std::string& inputs, const std::string& births) {
    db_.exec("DELETE FROM [RepeatState]");
    const auto [first, last] = RepeatingBounds(db_);
    auto insert = db_.prepare(
        "INSERT INTO [RepeatState] ([RulesVersion], [Inputs], [Births], [FirstRow], [LastRow]) VALUES (?, ?, ?, ?, ?)");
    insert.bind(1, db::Int(kRepeatRulesVersion))
        .bind(2, db::Text(inputs))
        .bind(3, db::Text(births))
        .bind(4, db::Int(first))
        .bind(5, db::Int(last));
    insert.run();
}

void RepeatBook::Forget(db::Database& db) {
    db.exec("DROP TABLE IF EXISTS [RepeatState]");
    db.exec("DROP TABLE IF EXISTS [RepeatRecords]");
}

}  // namespace vm
