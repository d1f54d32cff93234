#include "core/calendarimport.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "core/dates.h"
#include "core/record.h"
#include "core/schema.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"

namespace vm {
namespace {

constexpr int kConstraintFailed = 19;  // the store's primary code for a refused value

bool SameName(const std::string& a, const std::string& b) { return db::FoldCase(a) == db::FoldCase(b); }

// Where each written column comes from: a source column, or a rule.
enum class From { Source, Hr24Rule, DayColorsRule, JulDateRule };

struct ColumnPlan {
    std::string name;
    From from = From::Source;
    int source = -1;
};

struct CopyPlan {
    std::vector<ColumnPlan> columns;
    int date = -1, hour = -1, ampm = -1, text = -1, fg = -1, bg = -1, jul = -1, hr24 = -1;  // source indexes
};

int Find(const std::vector<std::string>& names, const std::string& name) {
    for (size_t i = 0; i < names.size(); ++i)
        if (SameName(names[i], name)) return static_cast<int>(i);
    return -1;
}

CopyPlan MakePlan(const std::vector<std::string>& sourceNames, const std::vector<std::string>& targetNames) {
    CopyPlan p;
    p.date = Find(sourceNames, "Date");
    p.hour = Find(sourceNames, "Hour");
    p.ampm = Find(sourceNames, "AM_PM");
    p.text = Find(sourceNames, "DateText");
    p.fg = Find(sourceNames, "FGColor");
    p.bg = Find(sourceNames, "BGColor");
    p.jul = Find(sourceNames, "JulDate");
    p.hr24 = Find(sourceNames, "Hr24");
    for (const std::string& t : targetNames) {
        if (SameName(t, "ID")) continue;
        ColumnPlan c{t, From::Source, Find(sourceNames, t)};
        // Hr24, the day key and the colours: the source's value when it has one.
        if (SameName(t, "Hr24")) c.from = From::Hr24Rule;
        else if (SameName(t, "JulDate")) c.from = From::JulDateRule;
        else if (SameName(t, "DayColors")) c.from = From::DayColorsRule;
        else if (c.source >= 0) c.from = From::Source;
        else continue;  // a column the source lacks keeps the table's default
        p.columns.push_back(c);
    }
    return p;
}

std::string Bracketed(const std::string& name) { return "[" + name + "]"; }

db::Value At(const db::Statement& st, int index) { return index >= 0 ? st.column(index) : db::Value{}; }

// The day key of the row: from its Date when that is a day, else its own.
db::Value DayKey(const db::Statement& st, const CopyPlan& p) {
    if (const auto d = ReadStoredDate(db::AsText(At(st, p.date)))) return db::Int(Date2Julian(*d));
    return At(st, p.jul);
}

db::Value Value(const db::Statement& st, const CopyPlan& p, const ColumnPlan& c) {
    switch (c.from) {
        case From::Source: return st.column(c.source);
        case From::Hr24Rule: {
            const db::Value own = At(st, c.source);
            if (!db::IsNull(own)) return own;
            const auto h = Hr24Rule(static_cast<int>(db::AsInt(At(st, p.hour))), db::AsText(At(st, p.ampm)), std::nullopt);
            return h ? db::Int(*h) : db::Value{};
        }
        case From::DayColorsRule: {
            const db::Value own = At(st, c.source);
            if (!db::IsNull(own)) return own;
            // Black on white for colours that are not there.
            const db::Value f = At(st, p.fg), b = At(st, p.bg);
            const std::string fg = db::IsNull(f) ? "0" : db::AsText(f), bg = db::IsNull(b) ? "16777215" : db::AsText(b);
            return db::Text(fg + ";" + bg + ";" + fg + ";" + bg + ";3;3");
        }
        case From::JulDateRule: return DayKey(st, p);
    }
    return {};
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec);
}

}  // namespace

std::string RefusedRowsMessage(const CalendarImportResult& result) {
    if (result.refusedCount == 0) return {};
    std::string text = std::to_string(result.refusedCount) +
                       (result.refusedCount == 1 ? " record was" : " records were") +
                       " not imported: the open calendar cannot hold their values.";
    for (const RefusedRow& r : result.refused) {
        std::string date = r.date.substr(0, 10);
        if (const auto d = ParseIso(date)) date = FormatMDY(*d);
        std::string shown = r.text.substr(0, 60);
        for (char& c : shown)
            if (c == '\r' || c == '\n') c = ' ';
        if (shown.size() < r.text.size()) {
            while (!shown.empty() && (static_cast<unsigned char>(shown.back()) & 0xC0) == 0x80) shown.pop_back();
            if (!shown.empty() && static_cast<unsigned char>(shown.back()) >= 0xC0) shown.pop_back();
            shown += "...";
        }
        text += "\r\n" + date + ": " + shown;
    }
    const int listed = static_cast<int>(result.refused.size());
    if (result.refusedCount > listed) text += "\r\nand " + std::to_string(result.refusedCount - listed) + " more";
    return text;
}

CalendarImportResult ImportCalendarRows(const std::string& sourcePath, const std::string& targetPath,
                                        bool importDuplicates, Operation& op,
                                        const std::function<bool(int64_t, int64_t)>& progress) {
    CalendarImportResult result;
    std::shared_ptr<db::Database> source, target;
    std::unique_ptr<db::Transaction> tx;
    std::optional<db::Statement> read, insert, duplicate;
    CopyPlan plan;

    const bool opened = op.step(1, [&] {
        if (SameFile(sourcePath, targetPath))
            throw OpError(75, "\"" + sourcePath + "\" is the open calendar file; choose another file to import from.");
        source = db::Database::Open(sourcePath);
        if (!source->hasTable("Velmora"))
            throw db::DbError(db::kWrongKind, "\"" + sourcePath + "\" is not a Velmora calendar file: it has no [Velmora] table.");
        target = OpenStore(targetPath, DbKind::Calendar);
        // Room for the whole import's changed pages, so they are not spilled before the commit.
        target->exec("PRAGMA cache_size = -131072");
        read.emplace(source->prepare("SELECT * FROM [Velmora]"));
        std::vector<std::string> sourceNames;
        for (int i = 0; i < read->columnCount(); ++i) sourceNames.push_back(read->columnName(i));
        plan = MakePlan(sourceNames, target->columns("Velmora"));

        std::string names, marks;
        for (const ColumnPlan& c : plan.columns) {
            names += (names.empty() ? "" : ", ") + Bracketed(c.name);
            marks += marks.empty() ? "?" : ", ?";
        }
        insert.emplace(target->prepare("INSERT INTO [Velmora] (" + names + ") VALUES (" + marks + ")"));
        // The day key narrows the search to one day through its index.
        duplicate.emplace(target->prepare(
            "SELECT 1 FROM [Velmora] WHERE [JulDate] IS ? AND [Date] IS ? AND [Hour] IS ? "
            "AND FOLD(IFNULL([DateText], '')) = FOLD(?) LIMIT 1"));
        tx = std::make_unique<db::Transaction>(*target);
    });
    if (!opened || !tx) return result;

    std::vector<db::Value> row(plan.columns.size());
    int64_t total = 0;
    if (progress) {
        auto count = source->prepare("SELECT COUNT(*) FROM [Velmora]");
        if (count.step()) total = db::AsInt(count.column(0));
    }
    for (int64_t seen = 0;; ++seen) {
        bool more = false, readFailed = true;
        op.step(2, [&] {
            more = read->step();
            readFailed = false;
        });
        if (readFailed || op.ended()) return CalendarImportResult{};  // a source that cannot be read keeps nothing
        if (!more) break;
        if (progress && seen % 256 == 0 && !progress(seen, total)) return CalendarImportResult{};
        op.step(2, [&] {
            if (!importDuplicates) {
                duplicate->reset();
                duplicate->bindAll({DayKey(*read, plan), At(*read, plan.date), At(*read, plan.hour),
                                    db::Text(db::AsText(At(*read, plan.text)))});
                const bool exists = duplicate->step();
                duplicate->reset();
                if (exists) {
                    ++result.skipped;
                    return;
                }
            }
            for (size_t i = 0; i < plan.columns.size(); ++i) row[i] = Value(*read, plan, plan.columns[i]);
            try {
                insert->reset();
                insert->bindAll(row);
                insert->run();
                ++result.added;
            } catch (const db::DbError& e) {
                // A value the open calendar cannot hold (a constraint of its
                // columns): the row is left out and named.
                if ((e.number() & 0xFF) != kConstraintFailed) throw;
                insert->reset();
                if (result.refused.size() < kListedRefused)
                    result.refused.push_back(
                        {db::AsText(At(*read, plan.date)), db::AsText(At(*read, plan.text)), e.what()});
                ++result.refusedCount;
            }
        });
        if (op.ended()) return CalendarImportResult{};
    }
    read.reset();
    bool committed = false;
    op.step(3, [&] {
        tx->commit();
        committed = true;
    });
    if (!committed) return CalendarImportResult{};
    result.done = true;
    return result;
}

}  // namespace vm
