#include "core/todolist.h"


namespace vm {

namespace {

// An ISO date column as the grid shows it, M/D/YYYY.
std::string ShownDate(const std::string& column) {
    const std::string c = "[" + column + "]";
    return "(CASE WHEN " + c + " IS NULL THEN NULL ELSE CAST(substr(" + c + ", 6, 2) AS INTEGER) || '/' || CAST(substr(" +
           c + ", 9, 2) AS INTEGER) || '/' || substr(" + c + ", 1, 4) END)";
}

}  // namespace

std::vector<std::string> ToDoSearchColumns() {
    return {"(CASE WHEN [Hide] <> 0 THEN 'True' ELSE 'False' END)", "TaskNo", "TaskDescription", "Priority",
            ShownDate("DateCreated"), ShownDate("DateFinished")};
}

void ToDoQuery::setShowHidden(bool show) {
    showHidden_ = show;
    searching_ = false;
}

void ToDoQuery::search(const std::string& text) {
    searching_ = true;
    searchText_ = text;
    order_ = kToDoOrder;
}

void ToDoQuery::clear() {
    searching_ = false;
    order_ = kToDoOrder;
}

void ToDoQuery::sortBy(const std::string& field, GridSortState& state) {
    order_ = HeaderOrder(field, state.click(field));
}

std::string ToDoQuery::where() const {
    if (!searching_) return showHidden_ ? "" : kToDoNotHidden;
    std::string w = " WHERE " + FoldSearchCondition(ToDoSearchColumns());
    if (!showHidden_) w += " AND IFNULL([Hide], 0) = 0";
    return w;
}

std::vector<db::Value> ToDoQuery::parameters() const {
    if (!searching_) return {};
    return {db::Text(searchText_)};
}

}  // namespace vm
