// Filling a date grid column's drop-down list from the distinct values of a
// query, for the grids of the loaded windows.
#pragma once
#include <string>

namespace vm {

// Does nothing when no calendar file is open. Finds the loaded window by its
// name and its data source and grid among its own; with bindMode 1 points the
// data source at the open calendar file with `query` as its record source;
// with clear set empties the column's list first; then adds the field's value
// of every row whose trimmed value is not empty. The two list names name
// combo boxes of the window to clear as well ("" for none).
void BuildGridDropDown(int bindMode, bool clear, const std::string& dataSource, const std::string& window,
                       const std::string& grid, const std::string& field, int column, const std::string& list1,
                       const std::string& list2, const std::string& query);

}  // namespace vm
