// A grid's rows laid out on printed pages and drawn as text: every column
// wide enough for its heading and its numbers, the rest of the page width to
// the columns with longer text, the page header at the
// top, the column headings on every page, rows as tall as their wrapped
// text, and the footer "Print Date: ..." at the left with the page number at
// the right.
#pragma once
#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QPagedPaintDevice;
class QTableView;

namespace vm {

struct GridCell {
    QString text;
    QColor back, fore;  // invalid: the grid's own
};

// What is printed of a grid: its shown columns in their shown order.
struct GridPrintout {
    std::vector<QString> headings;
    std::vector<std::vector<GridCell>> rows;
    QFont font;
    QColor headBack = Qt::white, headFore = Qt::black, back = Qt::white, fore = Qt::black;
};

// Takes the grid's shown columns and rows. Without colour every background
// is white and every text black.
GridPrintout TakeGrid(const QTableView& grid, bool colour);

// Draws the printout on the device's pages; returns the number of pages.
// progress(rowsDone, rowsInAll) answering false ends the printout there.
int PaintGridPages(QPagedPaintDevice& device, const GridPrintout& grid, const QString& header, const QString& printDate,
                   const std::function<bool(int64_t, int64_t)>& progress = {});

}  // namespace vm
