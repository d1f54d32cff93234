// The main window's import panel and the import command: File > Import/Export
// > Import Date Data asks for a file and goes by its extension (a text file
// opens this panel; a calendar file and a contract database go to their own
// imports). In the panel the user gives, for each of thirteen fields, the
// position of its value in a line; "Import Fields" checks every line, stores
// the readable ones together and reports the others once.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/calendartext.h"
#include "platform/fitwidgets.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vm {

class MainWindowDoor;

class ImportPanel : public ScrollingPanel {
    Q_OBJECT
public:
    ImportPanel(MainWindowDoor& owner, QWidget* parent);

    QLabel* lblImport = nullptr;  // "Import Data"
    std::array<QLabel*, kImportFieldCount> lblField{};   // "lblField_0".."lblField_12"
    std::array<QComboBox*, kImportFieldCount> Combo1{};  // "Combo1_0".."Combo1_12"
    QPushButton* sscmdSetAll = nullptr;
    QPushButton* sscmdCancelImport = nullptr;
    QPushButton* sscmdImportHelp = nullptr;
    QPushButton* sscmdImport = nullptr;

    std::string ImportFolder;  // the folder the dialog offers; empty until the first import
    std::string pImpNewFile;   // the chosen file
    int64_t ImportedRecordCount = 0;

    // The import command: the file dialog and the dispatch by extension.
    void mnuFile_Import_Click();
    // Every field box back to the order of a full export (" 1" .. " 13").
    void sscmdSetAll_Click();
    void sscmdCancelImport_Click();
    void sscmdImportHelp_Click();
    void sscmdImport_Click();

    FieldPositions Positions() const;

private:
    void FillFieldBoxes();
    MainWindowDoor& owner_;
};

}  // namespace vm
