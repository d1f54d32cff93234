// The contract import panel `sspanelOrvanta` of the main window: one project
// or all and one status type or all, then "Import Records". A chosen project
// takes every type of its items; the type applies among all projects.
#pragma once
#include <QFrame>

#include <string>

class QComboBox;
class QPushButton;

namespace vm {

class OrvantaPanel : public QFrame {
    Q_OBJECT
public:
    explicit OrvantaPanel(QWidget* parent);

    QComboBox* cmbSelProj = nullptr;         // "Select All Projects", then each project (its number as item data)
    QComboBox* cmbSelStatusItems = nullptr;  // "Select All Types", then each status type
    QPushButton* sscmdStartOrvantaImport = nullptr;
    QPushButton* sscmdCloseOrvantaPnl = nullptr;

    // The contract database the panel imports from.
    std::string pOrvantaImportFN;

    // Places the panel over the month picture, beside the date grid, shows it
    // and fills both lists from the contract database.
    void ShowFor(const std::string& contractFile);
    void sscmdStartOrvantaImport_Click();
    void sscmdCloseOrvantaPnl_Click();
};

// The main window's panel, made on first use.
OrvantaPanel* OrvantaImportPanel();

}  // namespace vm
