// Imports from another calendar file and from a contract database, reached
// from the import command's dispatch by the chosen file's extension.
#pragma once
#include <string>

namespace vm {

// Copies the date records of another calendar file into the open one.
void ImportVelmoraFile(std::string& fileName);

// Fills and shows the contract import panel for the chosen contract database.
void ShowOrvanta_Import(const std::string& contractFile);

}  // namespace vm
