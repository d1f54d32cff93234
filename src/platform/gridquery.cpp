// The window-free half of the grid helper: the sort state and the search
// condition, usable by the rules in src/core.
#include "platform/datagrid.h"

namespace vm {

std::string GridSortState::click(const std::string& column) {
    if (!column_.empty() && column_ == column) {
        descending_ = !descending_;
    } else {
        column_ = column;
        descending_ = false;
    }
    return descending_ ? "DESC" : "ASC";
}

std::string HeaderOrder(const std::string& field, const std::string& direction) {
    return " ORDER BY [" + field + "] COLLATE FOLDED " + direction + ", [ID]";
}

std::string FoldSearchCondition(const std::vector<std::string>& columns) {
    std::string list;
    for (const auto& c : columns) {
        // A bracketed name or a parenthesised expression is taken as it is.
        list += ", " + ((c.front() == '[' || c.front() == '(') ? c : "[" + c + "]");
    }
    return "FOLDHAS(?" + list + ") = 1";
}

}  // namespace vm
