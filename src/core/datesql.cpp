#include "core/datesql.h"

#include "platform/datagrid.h"

namespace vm {
namespace {

// The month, day and year numbers of a column holding M/D/YYYY text: each
// part read as the whole number it begins with.
struct WrittenParts {
    std::string month, day, year;
};
WrittenParts PartsOf(const std::string& c) {
    const std::string afterMonth = "substr(" + c + ", instr(" + c + ", '/') + 1)";
    return {"CAST(trim(" + c + ") AS INTEGER)", "CAST(" + afterMonth + " AS INTEGER)",
            "CAST(substr(" + afterMonth + ", instr(" + afterMonth + ", '/') + 1) AS INTEGER)"};
}

}  // namespace

std::string DateSortKeySql(const std::string& c) {
    const WrittenParts p = PartsOf(c);
    return "(CASE WHEN instr(" + c + ", '/') > 0 THEN printf('%04d-%02d-%02d', " + p.year + ", " + p.month + ", " +
           p.day + ") ELSE " + c + " END)";
}

std::string DateWrittenSql(const std::string& c) {
    const WrittenParts p = PartsOf(c);
    // Text that is neither form is shown as it is, and so is found as it is.
    return "(CASE WHEN " + c + " IS NULL THEN NULL WHEN instr(" + c + ", '/') > 0 THEN printf('%d/%d/%04d', " +
           p.month + ", " + p.day + ", " + p.year + ") WHEN " + c +
           " GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]*' THEN printf('%d/%d/%s', CAST(substr(" + c +
           ", 6, 2) AS INTEGER), CAST(substr(" + c + ", 9, 2) AS INTEGER), substr(" + c + ", 1, 4)) ELSE " + c +
           " END)";
}

std::string FieldOrderSql(const std::string& field, const std::string& direction, bool dateColumn) {
    if (!dateColumn) return HeaderOrder(field, direction);
    return " ORDER BY " + DateSortKeySql("[" + field + "]") + " " + direction + ", [ID]";
}

}  // namespace vm
