#include "repeat/repeatwrite.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "core/numtext.h"
#include "repeat/repeatstate.h"

namespace vm {
namespace {

enum class Col {
    Hide, Date, Hour, Minute, AM_PM, DateText, Duration, Repeat, BGColor, FGColor, DateType,
    WorkDay, JulDate, Alarm, SoundNum, Font, Priority, DayColors, Hr24, None,
};

constexpr const char* kColNames[] = {
    "Hide", "Date", "Hour", "Minute", "AM_PM", "DateText", "Duration", "Repeat", "BGColor", "FGColor",
    "DateType", "WorkDay", "JulDate", "Alarm", "SoundNum", "Font", "Priority", "DayColors", "Hr24"};

bool SameName(std::string_view a, std::string_view b) { return a.size() == b.size() && ToLower(a) == ToLower(b); }

Col ColOf(std::string_view name) {
    for (int i = 0; i < static_cast<int>(Col::None); ++i)
        if (SameName(name, kColNames[i])) return static_cast<Col>(i);
    return Col::None;
}

// Columns every generated row sets itself.
bool SetByPass(Col c) {
    return c == Col::Date || c == Col::JulDate || c == Col::DateText || c == Col::WorkDay || c == Col::Font ||
           c == Col::DayColors;
}

db::Value Optional(const std::optional<int64_t>& v) { return v ? db::Int(*v) : db::Value{}; }

db::Value ColumnValue(Col c, const Expansion& e, const DateRecord& r, const OccurrenceRow& row) {
    // An observed copy keeps its holiday's Priority and Hr24: the month puts
    // it in the holiday's place, with the holiday's colours.
    switch (c) {
        case Col::Hide: return db::Bool(r.Hide);
        case Col::Date: return db::Text(FormatIso(row.Date));
        case Col::Hour: return db::Int(r.Hour);
        case Col::Minute: return db::Int(r.Minute);
        case Col::AM_PM: return db::Text(r.AM_PM);
        case Col::DateText: return db::Text(e.DateTextOf(row, r));
        case Col::Duration: return db::Int(r.Duration);
        case Col::Repeat: return db::Text(r.Repeat);
        case Col::BGColor: return Optional(r.BGColor);
        case Col::FGColor: return Optional(r.FGColor);
        case Col::DateType: return db::Text(r.DateType);
        case Col::WorkDay: return db::Bool(e.WorkDayOf(row, r));
        case Col::JulDate: return db::Int(row.JulDate);
        case Col::Alarm: return db::Text(r.Alarm);
        case Col::SoundNum: return db::Int(r.SoundNum);
        case Col::Font: return db::Text(e.FontOf(row, r));
        case Col::Priority: return db::Int(r.Priority);
        case Col::DayColors: return db::Text(e.DayColorsOf(row, r));
        case Col::Hr24: return !r.Hr24 ? db::Value{} : db::Int(*r.Hr24);
        case Col::None: break;
    }
    return {};
}

// One prepared INSERT that takes up to kSlots rows per run: each slot is a
// row of a VALUES list with an "in use" flag, and the last run switches its
// unused slots off. A slot binds its record's own columns only when its
// record (or kind of row) changes; each row then binds its date, its key and,
// for remembrance rows, its DateText.
class RowWriter {
public:
    static constexpr int kSlots = 32;

    RowWriter(db::Database& db, const std::vector<std::string>& sourceColumns)
        : insert_(Prepare(db, sourceColumns)) {}

    // The rows of one record's expansion follow: every slot binds its columns again.
    void NewRecord() {
        for (Slot& slot : slots_) slot.record = std::numeric_limits<uint32_t>::max();
    }

    void Write(const Expansion& e, const DateRecord& rec, const OccurrenceRow& row) {
        Slot& slot = slots_[static_cast<size_t>(filled_)];
        const int base = filled_ * width_;
        if (row.record != slot.record || row.kind != slot.kind) {
            for (size_t i = 0; i < cols_.size(); ++i)
                insert_.bind(base + static_cast<int>(i) + 1, ColumnValue(cols_[i], e, rec, row));
            slot.record = row.record;
            slot.kind = row.kind;
        }
        if (dateAt_) insert_.bind(base + dateAt_, db::Text(FormatIso(row.Date)));
        if (julAt_) insert_.bind(base + julAt_, db::Int(row.JulDate));
        if (textAt_ && row.years != kNoYears) insert_.bind(base + textAt_, db::Text(e.DateTextOf(row, rec)));
        if (!slot.inUse) {
            insert_.bind(base + width_, db::Int(1));
            slot.inUse = true;
        }
        if (++filled_ == kSlots) {
            insert_.run();
            filled_ = 0;
        }
    }

    void Finish() {
        if (filled_ == 0) return;
        for (int i = filled_; i < kSlots; ++i) insert_.bind((i + 1) * width_, db::Int(0));
        insert_.run();
        filled_ = 0;
    }

private:
    struct Slot {
        uint32_t record = std::numeric_limits<uint32_t>::max();
        RowKind kind = RowKind::Occurrence;
        bool inUse = false;
    };

    db::Statement Prepare(db::Database& db, const std::vector<std::string>& sourceColumns) {
        std::string names, picks;
        for (const std::string& name : db.columns("RepeatingData")) {
            const Col c = ColOf(name);
            if (c == Col::None) continue;
            bool inSource = false;
            for (const auto& s : sourceColumns) inSource = inSource || SameName(s, name);
            if (!inSource && !SetByPass(c)) continue;
            cols_.push_back(c);
            const int at = static_cast<int>(cols_.size());
            if (c == Col::Date) dateAt_ = at;
            if (c == Col::JulDate) julAt_ = at;
            if (c == Col::DateText) textAt_ = at;
            names += (names.empty() ? "[" : ", [") + name + "]";
            picks += (picks.empty() ? "column" : ", column") + std::to_string(at);
        }
        width_ = static_cast<int>(cols_.size()) + 1;
        std::string row = "(?";
        for (int i = 1; i < width_; ++i) row += ", ?";
        row += ")";
        std::string rows = row;
        for (int i = 1; i < kSlots; ++i) rows += ", " + row;
        return db.prepare("INSERT INTO [RepeatingData] (" + names + ") SELECT " + picks + " FROM (VALUES " + rows +
                          ") WHERE column" + std::to_string(width_) + " = 1");
    }

    std::vector<Col> cols_;
    int width_ = 1;                            // parameters per slot: the columns and the flag
    int dateAt_ = 0, julAt_ = 0, textAt_ = 0;  // within a slot, 0 when the table lacks the column
    db::Statement insert_;
    std::array<Slot, kSlots> slots_{};
    int filled_ = 0;
};

}  // namespace

struct ExpansionWriter::Impl {
    Impl(db::Database& db, const std::vector<std::string>& sourceColumns) : rows(db, sourceColumns) {}
    RowWriter rows;
};

ExpansionWriter::ExpansionWriter(db::Database& db, const std::vector<std::string>& sourceColumns)
    : db_(db), impl_(std::make_unique<Impl>(db, sourceColumns)) {
    // Rows are numbered one up from the highest number the table ever gave.
    int64_t highest = RepeatingBounds(db).second;
    if (db.hasTable("sqlite_sequence")) {
        auto st = db.prepare("SELECT [seq] FROM sqlite_sequence WHERE [name] = 'RepeatingData'");
        if (st.step()) highest = std::max(highest, db::AsInt(st.column(0)));
    }
    next_ = highest + 1;
}

ExpansionWriter::~ExpansionWriter() = default;

std::pair<int64_t, int64_t> ExpansionWriter::Write(const DateRecord& record, const Expansion& expansion) {
    impl_->rows.NewRecord();
    for (const OccurrenceRow& row : expansion.rows) impl_->rows.Write(expansion, record, row);
    const auto count = static_cast<int64_t>(expansion.rows.size());
    const int64_t first = count > 0 ? next_ : 0;
    next_ += count;
    written_ += count;
    return {first, count};
}

bool ExpansionWriter::Finish() {
    impl_->rows.Finish();
    // The newest rows are this pass's, numbered as counted.
    return written_ == 0 || RepeatingBounds(db_).second == next_ - 1;
}

RepeatingIndexes::RepeatingIndexes(db::Database& db) : db_(db) {
    auto st = db.prepare(
        "SELECT [name], [sql] FROM sqlite_master WHERE [type] = 'index' AND [tbl_name] = 'RepeatingData' "
        "COLLATE NOCASE AND [sql] IS NOT NULL");
    while (st.step()) indexes_.emplace_back(db::AsText(st.column(0)), db::AsText(st.column(1)));
    for (const auto& index : indexes_) db.exec("DROP INDEX [" + index.first + "]");
}

void RepeatingIndexes::Restore(const std::function<void(size_t done, size_t count)>& built) {
    for (size_t i = 0; i < indexes_.size(); ++i) {
        db_.exec(indexes_[i].second);
        if (built) built(i + 1, indexes_.size());
    }
    indexes_.clear();
}

PassCache::PassCache(db::Database& db, int64_t kib) : db_(db) {
    auto st = db.prepare("PRAGMA cache_size");
    if (st.step()) old_ = db::AsInt(st.column(0));
    set(kib);
}

void PassCache::set(int64_t kib) { db_.exec("PRAGMA cache_size = " + std::to_string(-kib)); }

PassCache::~PassCache() {
    try {
        db_.exec("PRAGMA cache_size = " + std::to_string(old_));
    } catch (...) {
    }
}

}  // namespace vm
