// Dated status items of a contract database ([Project], [Project_Status])
// taken over as date records of type "Orvanta", coloured like their month.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/dates.h"
#include "platform/sqlstore.h"

namespace vm {

class Operation;
struct MonthAppearance;

struct ContractProject {
    int64_t number = 0;      // Proj_Num
    std::string description; // Proj_Desc
    std::string code;        // New_Proj
};

// Opens a contract database; refuses a file that is not one (no [Project] or
// no [Project_Status]) with a clear message, leaving it untouched.
std::shared_ptr<db::Database> OpenContractFile(const std::string& path);

// The projects in the order of their codes.
std::vector<ContractProject> ReadContractProjects(db::Database& contract);
// The status types, sorted, each once (types differing only in case are one).
std::vector<std::string> ReadStatusTypes(db::Database& contract);

// The date of a status item: ISO text ("2026-03-15", a time may follow),
// "M/D/YYYY" text, or a day number counted from 12/30/1899. Null, empty,
// zero, negative or unreadable gives nullopt.
std::optional<CivilDate> StatusDate(const db::Value& value);
// True when the value holds something that is meant as a date but cannot be read.
bool UnreadableStatusDate(const db::Value& value);

// "*" & New_Proj & " - " & Proj_Desc & " - " & Status_Item; "*" & Status_Item
// when the item's project is missing.
std::string ContractRecordText(const ContractProject* project, const std::string& statusItem);

struct ContractFilter {
    std::optional<int64_t> project;   // one project, or all
    std::optional<std::string> type;  // one status type (any case), or all
};

struct ContractImportResult {
    int added = 0;
    int unreadable = 0;  // items whose date could not be read, left out
    bool done = false;   // false: nothing was kept
};

// Adds one [Velmora] row per dated status item that passes both filters, all
// in one transaction, to the calendar file at targetPath. The colours are the
// day colours of the item's month in `months` (1..12). Failures go through
// `op` (1 reading, 2 per item, 3 the commit); Cancel keeps nothing.
ContractImportResult ImportContractItems(db::Database& contract, const std::string& targetPath,
                                         const ContractFilter& filter, const std::array<MonthAppearance, 13>& months,
                                         Operation& op);

}  // namespace vm
