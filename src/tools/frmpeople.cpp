#include "tools/frmpeople.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/gridcells.h"
#include "core/module1.h"
#include "core/schema.h"
#include "exchange/printgrid.h"
#include "core/monthlayout.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/messages.h"
#include "platform/onewindow.h"
#include "platform/recordgrid.h"
#include "records/frmselectedday.h"
#include "tools/toolgrid.h"

namespace vm {
namespace {

OneWindow<frmPeople> g_people;

constexpr const char* kCopiedNote = "This Record Has Been Copied to Windows Clipboard. Use Edit Paste or Control+V";

}  // namespace

PeopleRunState& PeopleRun() {
    static PeopleRunState state;
    return state;
}

void ResetPeopleRunState() { PeopleRun() = PeopleRunState{}; }

frmPeople::frmPeople(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName("frmPeople");
    setWindowTitle("People You Know");
    resize(900, 520);

    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    auto item = [&](const char* name, const char* caption, void (frmPeople::*slot)()) {
        QAction* a = file->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
    };
    item("mnuFile_Print_Graph", "Print Graphical Contact list", &frmPeople::mnuFile_Print_Graph_Click);
    item("mnuFile_PrintList", "Print List to Txt", &frmPeople::mnuFile_PrintList_Click);
    item("mnuFile_Export", "Export Contact List Records as Text", &frmPeople::mnuFile_Export_Click);
    item("mnuFile_Import", "Import Contact List Text Records", &frmPeople::mnuFile_Import_Click);
    item("mnuFile_Exit", "Exit", &frmPeople::mnuFile_Exit_Click);

    Toolbar1 = addToolBar("Toolbar1");
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    AddKeyedButton(Toolbar1, "Font +", "UpArrow", " Increase Font Size ");
    AddKeyedButton(Toolbar1, "Font -", "DownArrow", " Reduce Font Size ");
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* a) { Toolbar1_ButtonClick(a->data().toString()); });

    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    const SearchPanel search = MakeSearchPanel(
        central, "sscmdSrchPeople", " Search 2do List For Text ", [this] { sscmdSrchPeople_Click(); },
        [this] { sscmdClearSrch_Click(); });
    txtSearch = search.txtSearch;
    outer->addWidget(search.panel);

    DataPeopleModel = new RecordGridModel(DataPeople, this);
    DataPeopleModel->setObjectName("DataPeople");
    const TableDef& table = FindTable(SettingsTables(), "People");
    DataPeopleModel->setConverter(TableConverter(table));
    DataPeopleModel->setFormatter(TableFormatter(table));
    DataPeopleModel->setEditable(true);
    tdbgridPeople = MakeToolGrid(central, "tdbgridPeople", DataPeopleModel,
                                 [this](int column) { tdbgridPeople_HeadClick(column); });
    AllowRowDelete(tdbgridPeople, DataPeopleModel, DataPeople, [this] { DataPeople_Reposition(); });
    connect(tdbgridPeople, &QTableView::doubleClicked, this, [this] { tdbgridPeople_DblClick(); });
    connect(tdbgridPeople->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { DataPeople_Reposition(); });
    outer->addWidget(tdbgridPeople, 1);
    setCentralWidget(central);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel1->setObjectName("StatusBar1_Panel1");
    StatusBar1->addWidget(StatusPanel1, 1);
}

frmPeople::~frmPeople() = default;

void frmPeople::Form_Load() {
    const Module1State& m = Module1;
    constexpr int t = layout::kTwipsPerPixel;
    if (m.PeopleWidth != 0) {
        setGeometry(m.PeopleLeft / t, m.PeopleTop / t, m.PeopleWidth / t, m.PeopleHeight / t);
    } else {
        CentreOnMain(this);
    }
    pSQL = kPeopleSelect;
    pSQLOrder = kPeopleOrder;
    pParameters.clear();
    try {
        DataPeople.setDatabaseName(SettingsDatabaseInUse());
        Requery(false);
        FillValueLists();
    } catch (const std::exception&) {
        // No settings database: the list stays empty.
    }
    for (int i = 0; i < kContactFields; ++i)
        DataPeopleModel->setCaption(DataPeopleModel->fieldIndex(kPeopleColumns[size_t(i)]), kPeopleCaptions[size_t(i)]);
    loaded_ = true;
}

void frmPeople::FillValueLists() {
    const std::string path = SettingsDatabaseInUse();
    for (const char* field : {"Relationship", "Country"})
        FillValueList(*DataPeopleModel, DataPeopleModel->fieldIndex(field), path,
                      std::string("SELECT DISTINCT [") + field + "] FROM [People]");
    for (const char* field : {"Type1", "Type2"}) {
        const int c = DataPeopleModel->fieldIndex(field);
        DataPeopleModel->clearValueList(c);
        for (const char* type : kTypeValueList) DataPeopleModel->addToValueList(c, type);
    }
}

void frmPeople::Requery(bool keepRecord) {
    const std::string text = pSQL + pSQLOrder;
    if (keepRecord) {
        RequeryKeepingRecord(tdbgridPeople, DataPeopleModel, DataPeople, text, pParameters);
    } else {
        DataPeople.setRecordSource(text);
        DataPeople.setParameters(pParameters);
        DataPeople.refresh();
        DataPeopleModel->reload();
        if (DataPeopleModel->recordCount() > 0) tdbgridPeople->setCurrentIndex(DataPeopleModel->index(0, 1));
    }
    HideIdColumn(tdbgridPeople, DataPeopleModel);
    DataPeople_Reposition();
}

void frmPeople::Form_Unload() {
    if (!loaded_) return;
    loaded_ = false;
    if (Module1.SelectedDayOpen) UnloadSelectedDay();
    const QRect g = geometry();
    constexpr int t = layout::kTwipsPerPixel;
    Module1.PeopleTop = g.top() * t;
    Module1.PeopleLeft = g.left() * t;
    Module1.PeopleWidth = g.width() * t;
    Module1.PeopleHeight = g.height() * t;
}

void frmPeople::closeEvent(QCloseEvent* event) {
    Form_Unload();
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

void frmPeople::mnuFile_Exit_Click() { close(); }

void frmPeople::Toolbar1_ButtonClick(const QString& key) {
    if (key == "UpArrow") StepGridFont(tdbgridPeople, +2);
    if (key == "DownArrow") StepGridFont(tdbgridPeople, -2);
}

void frmPeople::DataPeople_Reposition() {
    if (pRepositionOff) return;
    const int row = tdbgridPeople->currentIndex().row();
    std::string first, last;
    if (row >= 0 && row < DataPeopleModel->recordCount()) {
        first = db::AsText(DataPeopleModel->value(row, DataPeopleModel->fieldIndex("FirstName")));
        last = db::AsText(DataPeopleModel->value(row, DataPeopleModel->fieldIndex("LastName")));
    }
    StatusPanel1->setText(QString::fromStdString("   " + first + " " + last + "     Recs: " +
                                                 std::to_string(DataPeopleModel->recordCount()) +
                                                 "     Double-Click on Row to See Entire Row's Data"));
}

void frmPeople::sscmdSrchPeople_Click() {
    pSQL = std::string(kPeopleSelect) + PeopleSearchWhere();
    pSQLOrder = kPeopleSearchOrder;
    pParameters = {db::Text(txtSearch->text().toStdString())};
    try {
        Requery(false);
    } catch (const std::exception& e) {
        const int number = dynamic_cast<const db::DbError*>(&e) ? dynamic_cast<const db::DbError&>(e).number() : 0;
        Messages().message(std::to_string(number) + " - " + e.what() + "\r\n\r\n" + pSQL + "\r\n" + pSQLOrder,
                           MsgButtons::OkCancel, MsgIcon::None, "Sub: - sscmdSrchPeople_Error");
    }
}

void frmPeople::sscmdClearSrch_Click() {
    txtSearch->clear();
    pSQL = kPeopleSelect;
    pSQLOrder = kPeopleOrder;
    pParameters.clear();
    try {
        Requery(false);
    } catch (const std::exception&) {
    }
    txtSearch->setFocus();
}

void frmPeople::tdbgridPeople_HeadClick(int column) {
    if (column < 0 || column >= DataPeopleModel->columnCount()) return;
    const std::string field = DataPeopleModel->fieldName(column);
    pSQL = kPeopleSelect;  // a search in force is dropped; the box keeps its text
    pParameters.clear();
    pSQLOrder = HeaderOrder(field, PeopleRun().sort.click(field));
    try {
        Requery(true);
    } catch (const std::exception&) {
    }
}

bool frmPeople::BuildContactText() {
    const int row = tdbgridPeople->currentIndex().row();
    if (row < 0 || row >= DataPeopleModel->recordCount()) return false;
    ContactRow c;
    for (int i = 0; i < kContactFields; ++i)
        c[size_t(i)] = db::AsText(DataPeopleModel->value(row, DataPeopleModel->fieldIndex(kPeopleColumns[size_t(i)])));
    Module1.SelDayText = ContactCard(c);
    return true;
}

void frmPeople::tdbgridPeople_DblClick() {
    if (Module1.SelectedDayOpen) UnloadSelectedDay();
    Module1.SelDayTitle = "Contact Information";
    Module1.SelDayDayNo.clear();
    Module1.SelDayYear.clear();
    if (!BuildContactText()) return;
    const std::string card = Module1.SelDayText;
    Module1.SelDayText = card + "\r\n\r\n" + kCopiedNote;
    ShowSelectedDay();
    QGuiApplication::clipboard()->clear();
    QGuiApplication::clipboard()->setText(QString::fromStdString(card));
}

void frmPeople::mnuFile_Print_Graph_Click() { Print_Grid(tdbgridPeople, 2, "Contact Listing  "); }

// ---------------------------------------------------------------- opener

frmPeople* People() { return g_people.get(); }

frmPeople* ShowPeople() {
    return g_people.show([] { return new frmPeople(MainParent()); });
}

void UnloadPeople() { g_people.unload(); }

}  // namespace vm
