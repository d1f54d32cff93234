// A date column in SQL, whatever form its text has: the ISO text the program
// writes ("2026-12-08") or the written M/D/YYYY form other tools and the to-do
// list store ("12/8/2026"). Every order and search over a date column reads it
// through these, so both forms sort and are found as the same day.
#pragma once
#include <string>

namespace vm {

// The column's day as ISO text "YYYY-MM-DD", which orders as the days do
// (Null stays Null). `column` is a bracketed name, e.g. "[Date]".
std::string DateSortKeySql(const std::string& column);
// The column's day in the written form M/D/YYYY, as the grids show it (Null
// stays Null): what a search looks through.
std::string DateWrittenSql(const std::string& column);
// A header click's order: the field (a bare name) in the direction ("ASC" or
// "DESC"), then [ID]; a date column by its day.
std::string FieldOrderSql(const std::string& field, const std::string& direction, bool dateColumn);

}  // namespace vm
