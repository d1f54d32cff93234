// Imports from another calendar file and from a contract database, reached
// from the import command's dispatch by the chosen file's extension.
#pragma once
#include <functional>
#include <string>

namespace vm {

// Runs the repeat pass after an import inside the import's progress dialog
// (the caller keeps its ProgressScope open): the dialog says what goes on and
// moves with the pass, so the window never hangs without a word.
void RepeatsInImportDialog(const std::function<void()>& pass);

// The one box of an import the user cancelled: nothing was written.
void SayImportCancelled();

// Copies the date records of another calendar file into the open one.
void ImportVelmoraFile(std::string& fileName);

// Fills and shows the contract import panel for the chosen contract database.
void ShowOrvanta_Import(const std::string& contractFile);

}  // namespace vm
