// What every data grid of the program shares: header-click sorting that
// finds the current record again, the literal search that ignores case over
// all of Unicode, and the font buttons.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/sqlstore.h"

class QTableView;

namespace vm {

class RecordGridModel;

// The sort state of one grid. Keep it for the run (it outlives the window).
class GridSortState {
public:
    // A header click on `column`: "ASC" on the first click and on another
    // column, "DESC" on a second click of the same column, and so on.
    std::string click(const std::string& column);
    const std::string& column() const { return column_; }
    bool descending() const { return descending_; }
    void clear() { column_.clear(); descending_ = false; }

private:
    std::string column_;
    bool descending_ = false;
};

// A header click's order on a field, text by its letters whatever their
// case or accents: " ORDER BY [field] COLLATE FOLDED ASC, [ID]".
std::string HeaderOrder(const std::string& field, const std::string& direction);

// A condition (no "WHERE", the FOLDHAS function) that holds when the columns, joined into one text
// each preceded by a blank, contain the text bound to its one "?". Empty
// columns are read as empty text, so a row with a Null field still matches on
// its other fields. The match is literal and folds case over all of Unicode.
// A column is a field name, "[Name]", or an expression in parentheses
// (such as a value in its shown form).
std::string FoldSearchCondition(const std::vector<std::string>& columns);

// The [ID] of the grid's current record, if one is current.
std::optional<int64_t> CurrentRecordId(const QTableView* grid, const RecordGridModel* model);

// Makes the row of the record with this [ID] current; false when not listed.
bool SelectRecord(QTableView* grid, RecordGridModel* model, int64_t id);

// Runs the source anew with another text and bound values, then finds the
// record that was current again and scrolls back to the column that was
// leftmost.
void RequeryKeepingRecord(QTableView* grid, RecordGridModel* model, db::RecordSource& source,
                          const std::string& recordSource, std::vector<db::Value> parameters = {});

// Fills a column's value list with the first field of every row `query`
// gives on the database at dbPath, leaving out empty and blank values;
// `clear` empties the list first.
void FillValueList(RecordGridModel& model, int column, const std::string& dbPath, const std::string& query,
                   bool clear = true);

// A header click sorts: it no longer selects the column (which would move
// the current record to the top row before the sort runs).
void HeaderClickKeepsCurrentRecord(QTableView* grid);

// Lets Delete remove the records of the rows with a shown cell selected (a
// click on a row's header selects a row, so do Home then Shift+End), after
// asking; other keys are left to the grid. The grid is read again, then
// `afterDelete` runs.
void AllowRowDelete(QTableView* grid, RecordGridModel* model, db::RecordSource& source,
                    std::function<void()> afterDelete = {});

// Hides the ID column (again after each reload of the model).
void HideIdColumn(QTableView* grid, const RecordGridModel* model);

// The grid font buttons: 2 points larger or smaller, never below 6 points.
void StepGridFont(QTableView* grid, int delta);
constexpr double kSmallestGridFont = 6.0;

}  // namespace vm
