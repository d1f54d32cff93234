// What the record-source layer's own files share (not for other code).
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

struct sqlite3;

namespace vm::db::internal {

std::string Quote(const std::string& name);  // [name]
inline constexpr const char* kRowIdName = "__rowid";
// Results up to this size are read whole at refresh; larger ones in blocks.
inline constexpr size_t kEagerRows = 2000;
inline constexpr int kBlockRows = 512;

// Folds a text in place over all of Unicode (plain ASCII eight letters at a
// time); FoldCase, FOLD and FOLDHAS use it (sqlstore_search.cpp).
void FoldInPlace(std::string& text);
// The order of the FOLDED collation (CompareFolded).
int CompareFoldedText(std::string_view a, std::string_view b);
// FOLDHAS and the FOLDED collation on a new connection.
void RegisterSearchFunctions(sqlite3* db);

}  // namespace vm::db::internal
