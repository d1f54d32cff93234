#include "core/todolist.h"

#include "core/datesql.h"

namespace vm {

namespace {
bool IsDateField(const std::string& field) { return field == "DateCreated" || field == "DateFinished"; }
}  // namespace

std::string ToDoOrder() { return " ORDER BY [Priority]," + DateSortKeySql("[DateCreated]") + ",[ID]"; }

std::vector<std::string> ToDoSearchColumns() {
    return {"(CASE WHEN [Hide] <> 0 THEN 'True' ELSE 'False' END)", "TaskNo", "TaskDescription", "Priority",
            DateWrittenSql("[DateCreated]"), DateWrittenSql("[DateFinished]")};
}

void ToDoQuery::setShowHidden(bool show) {
    showHidden_ = show;
    searching_ = false;
}

void ToDoQuery::search(const std::string& text) {
    searching_ = true;
    searchText_ = text;
    order_ = ToDoOrder();
}

void ToDoQuery::clear() {
    searching_ = false;
    order_ = ToDoOrder();
}

void ToDoQuery::sortBy(const std::string& field, GridSortState& state) {
    order_ = FieldOrderSql(field, state.click(field), IsDateField(field));
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
