// Imports from another calendar file and from a contract database, reached
// from the import command's dispatch by the chosen file's extension.
#pragma once
#include <string>

namespace vm {

// Tells the calendar document of the records an import added and settles it
// at once, inside the import's progress dialog (the caller keeps its
// ProgressScope open): the repeat pass then shows there and moves with it, so
// the window never hangs without a word.
void SettleImportInDialog();

// The one box of an import the user cancelled: nothing was written.
void SayImportCancelled();

// Copies the date records of another calendar file into the open one.
void ImportVelmoraFile(std::string& fileName);

// Fills and shows the contract import panel for the chosen contract database.
void ShowOrvanta_Import(const std::string& contractFile);

}  // namespace vm
