// Printing a data grid: every window's grid prints through this one printer.
#pragma once
#include <cstdint>
#include <string>

class QTableView;

namespace vm {

// Prints `grid` (the grid handed in, never another window's) with a page
// header text. orientation: 1 portrait, 2 landscape.
void Print_Grid(QTableView* grid, int16_t orientation, const std::string& pageHeader);

}  // namespace vm
