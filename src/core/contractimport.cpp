#include "core/contractimport.h"

#include <map>
#include <memory>

#include "core/module1.h"
#include "core/numtext.h"
#include "core/schema.h"
#include "platform/steps.h"

namespace vm {
namespace {

// Day numbers of dates stored as numbers count from 12/30/1899.
constexpr int64_t kDay1970 = 25569;

std::optional<CivilDate> FromDayNumber(double days) {
    if (!(days >= 1.0) || days > 2958465.0) return std::nullopt;  // up to 12/31/9999
    return CivilFromDays(static_cast<int64_t>(days) - kDay1970);
}

std::optional<CivilDate> FromText(const std::string& text) {
    if (const auto n = PlainNumber(text)) return FromDayNumber(*n);
    if (text.size() >= 10 && text[4] == '-') return ParseIso(std::string_view(text).substr(0, 10));
    const size_t blank = text.find(' ');
    return ParseMDY(std::string_view(text).substr(0, blank));
}

}  // namespace

std::shared_ptr<db::Database> OpenContractFile(const std::string& path) {
    auto con = db::Database::Open(path);
    for (const char* table : {"Project", "Project_Status"})
        if (!con->hasTable(table))
            throw db::DbError(db::kWrongKind, "\"" + path + "\" is not a contract database: it has no [" + table + "] table.");
    return con;
}

std::vector<ContractProject> ReadContractProjects(db::Database& contract) {
    std::vector<ContractProject> out;
    auto st = contract.prepare("SELECT [Proj_Num], [Proj_Desc], [New_Proj] FROM [Project] ORDER BY FOLD([New_Proj]), [New_Proj]");
    while (st.step()) out.push_back({db::AsInt(st.column(0)), db::AsText(st.column(1)), db::AsText(st.column(2))});
    return out;
}

std::vector<std::string> ReadStatusTypes(db::Database& contract) {
    std::vector<std::string> out;
    std::map<std::string, bool> seen;
    auto st = contract.prepare(
        "SELECT DISTINCT [Status_Item] FROM [Project_Status] WHERE [Status_Item] IS NOT NULL ORDER BY FOLD([Status_Item]), [Status_Item]");
    while (st.step()) {
        const std::string item = db::AsText(st.column(0));
        if (Trim(item).empty() || !seen.emplace(db::FoldCase(item), true).second) continue;
        out.push_back(item);
    }
    return out;
}

std::optional<CivilDate> StatusDate(const db::Value& value) {
    if (db::IsNull(value)) return std::nullopt;
    if (const auto* text = std::get_if<std::string>(&value)) return FromText(Trim(*text));
    return FromDayNumber(db::AsDouble(value));
}

bool UnreadableStatusDate(const db::Value& value) {
    const auto* text = std::get_if<std::string>(&value);
    if (!text) return false;
    const std::string t = Trim(*text);
    if (t.empty() || PlainNumber(t)) return false;
    return !FromText(t);
}

std::string ContractRecordText(const ContractProject* project, const std::string& statusItem) {
    if (!project) return "*" + statusItem;
    return "*" + project->code + " - " + project->description + " - " + statusItem;
}

ContractImportResult ImportContractItems(db::Database& contract, const std::string& targetPath,
                                         const ContractFilter& filter, const std::array<MonthAppearance, 13>& months,
                                         Operation& op) {
    ContractImportResult result;
    std::map<int64_t, ContractProject> projects;
    std::shared_ptr<db::Database> target;
    std::optional<db::Statement> read, insert;
    std::unique_ptr<db::Transaction> tx;

    const bool opened = op.step(1, [&] {
        for (ContractProject& p : ReadContractProjects(contract)) projects.emplace(p.number, std::move(p));
        std::string where;
        std::vector<db::Value> values;
        if (filter.project) {
            where = " WHERE [Proj_Num] = ?";
            values.push_back(db::Int(*filter.project));
        }
        if (filter.type) {
            where += where.empty() ? " WHERE " : " AND ";
            where += "FOLD([Status_Item]) = FOLD(?)";
            values.push_back(db::Text(*filter.type));
        }
        read.emplace(contract.prepare("SELECT [Proj_Num], [Status_Item], [Status_Date] FROM [Project_Status]" + where));
        read->bindAll(values);
        target = OpenStore(targetPath, DbKind::Calendar);
        insert.emplace(target->prepare(
            "INSERT INTO [Velmora] ([Hide], [Date], [Hour], [Minute], [DateText], [Duration], [BGColor], [FGColor], "
            "[DateType], [WorkDay], [JulDate]) VALUES (0, ?, 0, 0, ?, 0, ?, ?, 'Orvanta', 0, ?)"));
        tx = std::make_unique<db::Transaction>(*target);
    });
    if (!opened || !tx) return result;

    for (;;) {
        bool more = false, readFailed = true;
        op.step(1, [&] {
            more = read->step();
            readFailed = false;
        });
        if (readFailed || op.ended()) return ContractImportResult{};
        if (!more) break;
        op.step(2, [&] {
            const db::Value when = read->column(2);
            const auto date = StatusDate(when);
            if (!date) {
                if (UnreadableStatusDate(when)) ++result.unreadable;
                return;
            }
            const db::Value number = read->column(0);
            const auto found = db::IsNull(number) ? projects.end() : projects.find(db::AsInt(number));
            const ContractProject* project = found == projects.end() ? nullptr : &found->second;
            const MonthAppearance& look = months[static_cast<size_t>(date->m)];
            insert->reset();
            insert->bindAll({db::Text(FormatIso(*date)), db::Text(ContractRecordText(project, db::AsText(read->column(1)))),
                             db::Int(look.DayBG), db::Int(look.DayFG), db::Int(Date2Julian(*date))});
            insert->run();
            ++result.added;
        });
        if (op.ended()) return ContractImportResult{};
    }
    read.reset();
    bool committed = false;
    op.step(3, [&] {
        tx->commit();
        committed = true;
    });
    if (!committed) return ContractImportResult{};
    result.done = true;
    return result;
}

}  // namespace vm
