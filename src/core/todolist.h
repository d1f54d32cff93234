// The to-do list's query without a window: the hidden-task filter, the text
// search and the order, as the window's menu, search, clear and header clicks
// change them.
#pragma once
#include <string>
#include <vector>

#include "platform/datagrid.h"
#include "platform/sqlstore.h"

namespace vm {

constexpr const char* kToDoSelect = "SELECT * FROM [ToDoList]";
constexpr const char* kToDoNotHidden = " WHERE IFNULL([Hide], 0) = 0";
// The normal order: Priority, the day created (whatever its text form), ID.
std::string ToDoOrder();

// The searched columns, each in the form the grid shows it.
std::vector<std::string> ToDoSearchColumns();

class ToDoQuery {
public:
    // Opening: hidden tasks left out, normal order, no search.
    ToDoQuery() = default;
    // "Show Hidden Records" now carries its mark or not; a search is dropped,
    // the order stays.
    void setShowHidden(bool show);
    bool showHidden() const { return showHidden_; }
    // A search for the text (literal, any case); back to the normal order.
    void search(const std::string& text);
    // The clear button: no search, normal order, the hidden-task choice kept.
    void clear();
    // A header click on `field`: the order changes, the filter stays.
    void sortBy(const std::string& field, GridSortState& state);

    bool searching() const { return searching_; }
    const std::string& order() const { return order_; }
    std::string where() const;
    std::string text() const { return kToDoSelect + where() + order_; }
    std::vector<db::Value> parameters() const;

private:
    bool showHidden_ = false;
    bool searching_ = false;
    std::string searchText_;
    std::string order_ = ToDoOrder();
};

}  // namespace vm
