// Printing a data grid: every window's grid prints through this one printer.
#pragma once
#include <cstdint>
#include <string>

class QPrinter;
class QTableView;

namespace vm {

// Prints `grid` (the grid handed in, never another window's) with a page
// header text. orientation: 1 portrait, 2 landscape.
void Print_Grid(QTableView* grid, int16_t orientation, const std::string& pageHeader);

// True when `printer` writes no file or may write the one it is aimed at
// (MayWriteFile, whose box titled `title` says why not). Every printout asks
// right before it paints: the print dialog may have named the file last.
bool MayPrintTo(const QPrinter& printer, const std::string& title);

}  // namespace vm
