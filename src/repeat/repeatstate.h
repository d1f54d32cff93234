// The expansion pass's bookkeeping, kept in the calendar file beside
// [RepeatingData] and written in the same transaction as its rows:
//   [RepeatState]    one row: the rules version, the inputs every record's
//                    rows depend on (settings, both tables' columns), the
//                    birth records the remembrance texts look up, and the
//                    lowest and highest row numbers of [RepeatingData];
//   [RepeatRecords]  one row per expanded record: the fingerprint of what the
//                    pass read from it and the row numbers of its rows.
// Rows are numbered upwards and never reused ([ID] is AUTOINCREMENT), and one
// record's rows are written together, so each record owns one run of row
// numbers. Another writer of [RepeatingData] moves its bounds, and then the
// pass starts afresh. Rows taken from or put into the middle keep the
// bounds: File > Build Repeating Data counts each record's rows to find them.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/record.h"
#include "platform/sqlstore.h"

namespace vm {

// The version of the expansion rules. Bump it whenever a rule changes the rows
// or alarm lists it gives, so every calendar file is expanded again.
inline constexpr int kRepeatRulesVersion = 4;

// The bookkeeping tables, made by the pass itself when a file lacks them.
inline constexpr const char* kRepeatStateTable = "RepeatState";
inline constexpr const char* kRepeatRecordsTable = "RepeatRecords";

// The settings the pass uses.
struct RepeatInputs {
    int startYear = 0;
    bool calcYearsSince = false;
};

// What the pass keeps of one expanded record.
struct RecordState {
    uint64_t fingerprint = 0;
    int64_t firstRow = 0;     // its rows are firstRow .. firstRow + rows - 1
    int64_t rows = 0;
    bool problems = false;    // its rule problems are shown again (RepeatPassHooks::reportKept)
    bool usesBirths = false;  // its texts looked up a birth date
    int32_t birth = 0;        // the day number of the birth date found, 0 for none
    bool seen = false;        // (not stored) met again by the present pass
    bool damaged = false;     // (not stored) its rows in the table are not the ones counted
};

struct RepeatState {
    std::string inputs;                 // InputsFingerprint
    std::string births;                 // BirthBook::fingerprint, "" when no text looks one up
    int64_t firstRow = 0, lastRow = 0;  // bounds of [RepeatingData]
    bool problems = false;              // some record's rule problems are shown again
    std::unordered_map<int64_t, RecordState> records;
};

// Everything the records' rows depend on, as one text. The years-since
// option comes last: only the records that remember years depend on it, and
// their fingerprints carry it (RecordFingerprinter).
std::string InputsFingerprint(db::Database& db, const RepeatInputs& inputs,
                              const std::vector<std::string>& sourceColumns);
// The part of an inputs text that every record's rows depend on: when it
// moves, every record is expanded again.
std::string_view EveryRecordsInputs(std::string_view inputs);
// The fingerprint of the columns of a row that the pass reads (those of a
// date record), as stored: equal values give equal records. The columns are
// looked up once, from the names of the row's columns. With `yearsSince`, a
// record whose texts remember years has another fingerprint than without.
class RecordFingerprinter {
public:
    explicit RecordFingerprinter(const std::vector<std::string>& columnNames, bool yearsSince = false);
    // `field(i)` gives column i of the row; with `alarm`, that text stands in
    // for the row's Alarm.
    template <class Field>
    uint64_t Of(Field&& field, const std::string* alarm = nullptr) const {
        uint64_t h = kSeed;
        for (const int at : columns_) h = Mix(h, at < 0 ? db::Value{} : at == alarmAt_ && alarm ? db::Text(*alarm) : field(at), at < 0);
        if (yearsSince_ && Remembers(TextAt(field, typeAt_), TextAt(field, textAt_))) h = Mix(h, db::Int(kYearsSince), false);
        return h;
    }
    template <class Field>
    int64_t IdOf(Field&& field) const {
        return idAt_ < 0 ? 0 : db::AsInt(field(idAt_));
    }

private:
    static constexpr uint64_t kSeed = 0xcbf29ce484222325ULL;
    static constexpr int64_t kYearsSince = 0x79656172;
    static uint64_t Mix(uint64_t h, const db::Value& v, bool missing);
    static bool Remembers(const std::string& dateType, const std::string& dateText);
    template <class Field>
    static std::string TextAt(Field&& field, int at) {
        return at < 0 ? std::string() : db::AsText(field(at));
    }
    std::vector<int> columns_;  // per date-record column, -1 when the row lacks it
    int alarmAt_ = -1, idAt_ = -1, typeAt_ = -1, textAt_ = -1;
    bool yearsSince_ = false;
};

// The lowest and highest row numbers of [RepeatingData] (0, 0 when empty).
std::pair<int64_t, int64_t> RepeatingBounds(db::Database& db);

// The stored bookkeeping, or nothing when it is missing, unreadable or of
// other rules. Without `records`, only the one [RepeatState] row and whether
// a record has problems are read.
std::optional<RepeatState> LoadRepeatState(db::Database& db, bool records = true) noexcept;

// Writes the bookkeeping inside the caller's transaction.
class RepeatBook {
public:
    // `fresh`: the tables are made anew and empty (a whole pass).
    RepeatBook(db::Database& db, bool fresh);
    void Put(int64_t id, const RecordState& state);
    void Remove(int64_t id);
    // The one [RepeatState] row, with the bounds [RepeatingData] now has.
    void Finish(const std::string& inputs, const std::string& births);
    // Leaves no bookkeeping, so the next pass is a whole one.
    static void Forget(db::Database& db);

private:
    static bool Setup(db::Database& db, bool fresh);
    db::Database& db_;
    bool ready_;
    db::Statement put_, remove_;
};

}  // namespace vm
