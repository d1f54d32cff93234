// The contact list "People You Know": the rows of [People] in an editable
// grid with search, header sort, font buttons, the contact card shown in the
// selected-day window and copied, printing, and the File menu's export and
// import. One instance, shown modeless; its rectangle is kept for the run.
#pragma once
#include <QMainWindow>

#include <string>
#include <vector>

#include "core/contacts.h"
#include "platform/datagrid.h"
#include "platform/sqlstore.h"

class QAction;
class QLabel;
class QLineEdit;
class QStatusBar;
class QTableView;
class QToolBar;

namespace vm {

class RecordGridModel;

class frmPeople : public QMainWindow {
    Q_OBJECT
public:
    explicit frmPeople(QWidget* parent = nullptr);
    ~frmPeople() override;

    // Placement (the kept rectangle, else centred on the main window), the
    // first query and the value lists.
    void Form_Load();
    // Unloads the selected-day window when open and keeps the rectangle.
    void Form_Unload();
    bool loaded() const { return loaded_; }

    void Toolbar1_ButtonClick(const QString& key);
    void DataPeople_Reposition();
    void sscmdSrchPeople_Click();
    void sscmdClearSrch_Click();
    void tdbgridPeople_HeadClick(int column);  // model column
    void tdbgridPeople_DblClick();
    // The current row's card into Module1.SelDayText; false with no current contact.
    bool BuildContactText();
    void mnuFile_Print_Graph_Click();
    void mnuFile_Export_Click();
    void mnuFile_PrintList_Click();
    void mnuFile_Import_Click();
    void mnuFile_Exit_Click();
    // Writes the listed contacts as pOutPutType says (1 records, 2 cards).
    void ExportContacts();

    // The listed contacts, in the listed order.
    std::vector<ContactRow> ListedContacts();

    db::RecordSource DataPeople;
    RecordGridModel* DataPeopleModel = nullptr;
    QTableView* tdbgridPeople = nullptr;
    QLineEdit* txtSearch = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel1 = nullptr;

    std::string pSQL, pSQLOrder;
    std::vector<db::Value> pParameters;  // the search text bound to pSQL
    bool pRepositionOff = false;
    int pOutPutType = 1;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Requery(bool keepRecord);
    void FillValueLists();

    bool loaded_ = false;
};

// Shows the contact list, creating and loading it on first use.
frmPeople* ShowPeople();
// The loaded contact list, or nullptr.
frmPeople* People();
// Unloads it when loaded (shut-down).
void UnloadPeople();
// The window's state kept for the run, also across closing it.
struct PeopleRunState {
    GridSortState sort;
    std::string ExportFolder, ImportFolder;
};
PeopleRunState& PeopleRun();
// The state kept for the run (sort state, export and import folders) back to
// that of a new run.
void ResetPeopleRunState();

}  // namespace vm
