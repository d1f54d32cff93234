#include "tools/frm2dolist.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/dates.h"
#include "core/gridcells.h"
#include "core/module1.h"
#include "core/schema.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/messages.h"
#include "platform/onewindow.h"
#include "platform/recordgrid.h"
#include "tools/toolgrid.h"

namespace vm {
namespace {

OneWindow<frm2DoList> g_todo;

const char* const kCaptions[][2] = {{"Hide", "Hide"},           {"TaskNo", "Task No"},
                                    {"TaskDescription", "Task Description"}, {"Priority", "Priority"},
                                    {"DateCreated", "Date Created"}, {"DateFinished", "Date Finished"}};

}  // namespace

GridSortState& ToDoSortState() {
    static GridSortState state;
    return state;
}

frm2DoList::frm2DoList(QWidget* parent) : QMainWindow(parent, Qt::Window) {
    setObjectName("frm2DoList");
    setWindowTitle("To Do List");
    resize(900, 460);

    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    mnuFile_ShowHidden = file->addAction("Show Hidden Records");
    mnuFile_ShowHidden->setObjectName("mnuFile_ShowHidden");
    mnuFile_ShowHidden->setCheckable(true);
    connect(mnuFile_ShowHidden, &QAction::triggered, this, &frm2DoList::mnuFile_ShowHidden_Click);
    QAction* exit = file->addAction("E&xit");
    exit->setObjectName("mnuFile_Exit");
    connect(exit, &QAction::triggered, this, &frm2DoList::mnuFile_Exit_Click);

    Toolbar1 = addToolBar("Toolbar1");
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    AddKeyedButton(Toolbar1, "Font -", "DownArrow1", " Reduce Font Size ");
    AddKeyedButton(Toolbar1, "Font +", "UpArrow1", " Increase Font Size ");
    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* a) { Toolbar1_ButtonClick(a->data().toString()); });

    auto* central = new QWidget(this);
    auto* outer = new QVBoxLayout(central);
    const SearchPanel search = MakeSearchPanel(
        central, "sscmdSrch2DoLst", " Search 2do List For Text ", [this] { sscmdSrch2DoLst_Click(); },
        [this] { sscmdClearSrch_Click(); });
    txtSearch = search.txtSearch;
    outer->addWidget(search.panel);

    Data2DoListModel = new RecordGridModel(Data2DoList, this);
    Data2DoListModel->setObjectName("Data2DoList");
    const TableDef& table = FindTable(SettingsTables(), "ToDoList");
    Data2DoListModel->setConverter(TableConverter(table));
    Data2DoListModel->setFormatter(TableFormatter(table));
    Data2DoListModel->setEditable(true);
    Data2DoListModel->setAfterUpdate([this](int row, int) { TDBGrid2DoList_AfterColUpdate(row); });
    TDBGrid2DoList = MakeToolGrid(central, "TDBGrid2DoList", Data2DoListModel,
                                  [this](int column) { TDBGrid2DoList_HeadClick(column); });
    AllowRowDelete(TDBGrid2DoList, Data2DoListModel, Data2DoList);
    outer->addWidget(TDBGrid2DoList, 1);
    setCentralWidget(central);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName("StatusBar1");
}

frm2DoList::~frm2DoList() = default;

void frm2DoList::Form_Load() {
    query = ToDoQuery{};
    try {
        Data2DoList.setDatabaseName(SettingsDatabaseInUse());
        Requery(false);
    } catch (const std::exception&) {
        // No settings database: the list stays empty.
    }
    for (const auto& [field, caption] : kCaptions)
        Data2DoListModel->setCaption(Data2DoListModel->fieldIndex(field), caption);
    if (const int d = Data2DoListModel->fieldIndex("TaskDescription"); d >= 0) TDBGrid2DoList->setColumnWidth(d, 300);
    PlaceBesideMain(this, 750);
    loaded_ = true;
}

void frm2DoList::Requery(bool keepRecord) {
    if (keepRecord) {
        RequeryKeepingRecord(TDBGrid2DoList, Data2DoListModel, Data2DoList, query.text(), query.parameters());
    } else {
        Data2DoList.setRecordSource(query.text());
        Data2DoList.setParameters(query.parameters());
        Data2DoList.refresh();
        Data2DoListModel->reload();
        if (Data2DoListModel->recordCount() > 0) TDBGrid2DoList->setCurrentIndex(Data2DoListModel->index(0, 1));
    }
    HideIdColumn(TDBGrid2DoList, Data2DoListModel);
}

void frm2DoList::Form_Unload() {
    if (!loaded_) return;
    loaded_ = false;
    Module1.ToDoListOpen = false;
}

void frm2DoList::closeEvent(QCloseEvent* event) {
    Form_Unload();
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

void frm2DoList::mnuFile_Exit_Click() { close(); }

void frm2DoList::Toolbar1_ButtonClick(const QString& key) {
    if (key == "UpArrow1") StepGridFont(TDBGrid2DoList, +2);
    if (key == "DownArrow1") StepGridFont(TDBGrid2DoList, -2);
}

void frm2DoList::mnuFile_ShowHidden_Click() {
    // The action's own check mark has already changed when triggered by the menu.
    query.setShowHidden(mnuFile_ShowHidden->isChecked());
    try {
        Requery(false);
    } catch (const std::exception&) {
    }
}

void frm2DoList::sscmdSrch2DoLst_Click() {
    query.search(txtSearch->text().toStdString());
    try {
        Requery(false);
    } catch (const std::exception& e) {
        const auto* d = dynamic_cast<const db::DbError*>(&e);
        Messages().message(std::to_string(d ? d->number() : 0) + " - " + e.what() + "\r\n\r\n" + kToDoSelect +
                               "\r\n" + query.order(),
                           MsgButtons::OkCancel, MsgIcon::None, "Sub: - sscmdSrch2DoLst_Error");
    }
}

void frm2DoList::sscmdClearSrch_Click() {
    txtSearch->clear();
    query.clear();
    try {
        Requery(false);
    } catch (const std::exception&) {
    }
    txtSearch->setFocus();
}

void frm2DoList::TDBGrid2DoList_HeadClick(int column) {
    if (column < 0 || column >= Data2DoListModel->columnCount()) return;
    query.sortBy(Data2DoListModel->fieldName(column), ToDoSortState());
    try {
        Requery(true);
    } catch (const std::exception&) {
    }
}

void frm2DoList::TDBGrid2DoList_AfterColUpdate(int row) {
    if (row < 0 || row >= Data2DoListModel->recordCount()) return;
    // A new task is not hidden, and it was created today (stored as a date).
    const int hide = Data2DoListModel->fieldIndex("Hide");
    if (hide >= 0 && db::IsNull(Data2DoListModel->value(row, hide))) Data2DoListModel->storeCell(row, hide, "False");
    const int created = Data2DoListModel->fieldIndex("DateCreated");
    if (created >= 0 && db::IsNull(Data2DoListModel->value(row, created)))
        Data2DoListModel->storeCell(row, created, QString::fromStdString(FormatMDY(Today())));
}

// ---------------------------------------------------------------- opener

frm2DoList* ToDoList() { return g_todo.get(); }

frm2DoList* Show2DoList() {
    return g_todo.show([] { return new frm2DoList(MainParent()); });
}

void Unload2DoList() { g_todo.unload(); }

}  // namespace vm
