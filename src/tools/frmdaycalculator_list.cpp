// The day calculator's dated list: [CalculateDates] of the open calendar
// file, recalculated for a base date, filtered, searched and sorted.
#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>

#include "core/datesql.h"
#include "core/daycalc.h"
#include "core/gridcells.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "exchange/printgrid.h"
#include "platform/controls.h"
#include "platform/keyedbutton.h"
#include "platform/datagrid.h"
#include "platform/messages.h"
#include "platform/steps.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "tools/frmdaycalculator.h"
#include "tools/toolgrid.h"

namespace vm {
namespace {

const char* kBase = "SELECT * FROM [CalculateDates]";
// A row matches when its six columns, joined, hold the typed text; the date
// in its written form, so a search for "3/1/2025" finds it.
std::string SearchCondition() {
    return FoldSearchCondition({"Description", DateWrittenSql("[Date]"), "Years", "Months", "Days", "TDays"});
}
// The list's order by its rows' days.
std::string ByDate() { return " ORDER BY " + DateSortKeySql("[Date]") + " "; }

// The sort lasts for the run, across closing the window.
GridSortState g_sort;

}  // namespace

QWidget* frmDayCalculator::MakeListTab() {
    auto* panel = new QWidget;
    panel->setObjectName("SSPanel1");
    auto* grid = new QGridLayout(panel);
    Toolbar1 = addToolBar("Toolbar1");
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    for (auto [caption, key, tip] : {std::tuple{"Font +", "UpArrow", " Increase Grid Font Size "},
                                     std::tuple{"Font -", "DownArrow", " Decrease Grid Font Size "}}) {
        QAction* a = AddKeyedButton(Toolbar1, caption, key, tip);
        connect(a, &QAction::triggered, this, [this, k = QString(key)] { Toolbar1_ButtonClick(k); });
    }
    TextCalcDate = new QLineEdit(panel);
    TextCalcDate->setObjectName("TextCalcDate");
    TextCalcDate->setMinimumWidth(TextCalcDate->fontMetrics().horizontalAdvance("12/31/2000") + 16);
    sscmdCalc = NamedButton(panel, "sscmdCalc", "Calc");
    chkUpcoming = new QCheckBox("Upcoming Only", panel);
    chkUpcoming->setObjectName("chkUpcoming");
    chkUpcoming->setChecked(true);
    txtSearchDays = new QLineEdit(panel);
    txtSearchDays->setObjectName("txtSearchDays");
    txtSearchDays->setMinimumWidth(140);
    sscmdSrchDateData = NamedButton(panel, "sscmdSrchDateData", "Search", " Search for Text in Entire Database ");
    sscmdClearSrch = NamedButton(panel, "sscmdClearSrch", "Clear", " Clear Search - End Sound Playing ");
    sscmdHelp = NamedButton(panel, "sscmdHelp", "?");
    sscmdHelp->setMaximumWidth(sscmdHelp->fontMetrics().horizontalAdvance("?") + 24);
    // The base date and its buttons on the left, the search on the right.
    auto* row = new QHBoxLayout;
    row->addWidget(TextCalcDate);
    row->addWidget(sscmdCalc);
    row->addWidget(chkUpcoming);
    row->addStretch(1);
    row->addWidget(txtSearchDays, 2);
    row->addWidget(sscmdSrchDateData);
    row->addWidget(sscmdClearSrch);
    row->addWidget(sscmdHelp);
    grid->addLayout(row, 0, 0);

    DayCalcModel = new RecordGridModel(DataDayCalc, this);
    DayCalcModel->setObjectName("DataDayCalc");
    TDBGridCalcDays = MakeToolGrid(panel, "TDBGridCalcDays", DayCalcModel,
                                   [this](int column) { TDBGridCalcDays_HeadClick(column); });
    AllowRowDelete(TDBGridCalcDays, DayCalcModel, DataDayCalc, [this] { ApplyRecordSource(true); });
    grid->addWidget(TDBGridCalcDays, 1, 0);
    const auto& table = FindTable(CalendarTables(), "CalculateDates");
    DayCalcModel->setConverter(TableConverter(table));
    DayCalcModel->setFormatter(TableFormatter(table));
    DayCalcModel->setEditable(true);

    connect(sscmdCalc, &QPushButton::clicked, this, &frmDayCalculator::sscmdCalc_Click);
    connect(chkUpcoming, &QCheckBox::clicked, this, &frmDayCalculator::chkUpcoming_Click);
    connect(sscmdSrchDateData, &QPushButton::clicked, this, &frmDayCalculator::sscmdSrchDateData_Click);
    connect(sscmdClearSrch, &QPushButton::clicked, this, &frmDayCalculator::sscmdClearSrch_Click);
    connect(sscmdHelp, &QPushButton::clicked, this, &frmDayCalculator::sscmdHelp_Click);
    TextCalcDate->installEventFilter(this);
    txtSearchDays->installEventFilter(this);
    pSQL = kBase;
    pUpcoming = " WHERE [TDays]>0 ";
    pSQLOrder = ByDate();
    return panel;
}

// The record source: the base query, the search and the filter, the order.
void frmDayCalculator::ApplyRecordSource(bool keepRecord) {
    if (!FileExists(Module1.CalendarFilePath)) return;
    std::vector<std::string> conditions;
    std::vector<db::Value> params;
    if (pSearching) {
        conditions.push_back(SearchCondition());
        params.push_back(db::Text(pSearchText));
    }
    if (!pUpcoming.empty()) conditions.push_back("[TDays] > 0");
    std::string sql = kBase;
    for (size_t i = 0; i < conditions.size(); ++i) sql += (i ? " AND " : " WHERE ") + conditions[i];
    sql += pSQLOrder;
    try {
        DataDayCalc.setDatabaseName(Module1.CalendarFilePath);
        if (keepRecord) {
            RequeryKeepingRecord(TDBGridCalcDays, DayCalcModel, DataDayCalc, sql, std::move(params));
        } else {
            DataDayCalc.setRecordSource(sql);
            DataDayCalc.setParameters(std::move(params));
            DataDayCalc.refresh();
            DayCalcModel->reload();
        }
    } catch (const db::DbError& e) {
        if (pSearching)  // the search's own box
            Messages().message(std::to_string(e.number()) + " - " + e.what() + "\n" + pSQL + "\n" + pSQLOrder,
                               MsgButtons::OkCancel, MsgIcon::None, "Sub: - sscmdSrchDateData");
        else
            Messages().message(e.what(), MsgButtons::Ok, MsgIcon::Critical, "Day Calculator");
        return;
    }
    const char* captions[][2] = {{"Description", "Description"}, {"Date", "Date"}, {"Years", "Years"},
                                 {"Months", "Months"}, {"Days", "Days"}, {"TDays", "Total Days"}};
    for (auto& [field, caption] : captions) DayCalcModel->setCaption(DayCalcModel->fieldIndex(field), caption);
    for (const char* computed : {"Years", "Months", "Days", "TDays"})
        DayCalcModel->setColumnReadOnly(DayCalcModel->fieldIndex(computed));
    HideIdColumn(TDBGridCalcDays, DayCalcModel);
    // Description shows first, then the date and its computed columns.
    QHeaderView* header = TDBGridCalcDays->horizontalHeader();
    header->moveSection(header->visualIndex(DayCalcModel->fieldIndex("Description")), 1);
}

bool frmDayCalculator::SetBaseDateOrToday() {
    if (ReadTypedDate(TextCalcDate->text().toStdString())) return true;
    // Today's date goes in first: the box loses the focus to the message,
    // and must not be refused a second time.
    TextCalcDate->setText(QString::fromStdString(FormatMDY(Today())));
    Messages().message("Invalid Date Set  mm/dd/year format", MsgButtons::Ok, MsgIcon::None, "Velmora");
    return false;
}

void frmDayCalculator::sscmdCalc_Click() {
    if (!FileExists(Module1.CalendarFilePath)) return;
    SetBaseDateOrToday();
    const auto base = ReadTypedDate(TextCalcDate->text().toStdString());
    try {
        // The calendar in use now, never the one the list was opened on.
        DataDayCalc.setDatabaseName(Module1.CalendarFilePath);
        RecalculateDatedList(DataDayCalc.database(), *base);
    } catch (const db::DbError& e) {
        // A full disk or a read-only file: the plain sentence every write gives.
        if (!ShowPlainWriteFailure(std::current_exception()))
            Messages().message(e.what(), MsgButtons::Ok, MsgIcon::Critical, "Day Calculator");
        return;
    }
    ApplyRecordSource(true);
}

void frmDayCalculator::chkUpcoming_Click() {
    pUpcoming = chkUpcoming->isChecked() ? " WHERE [TDays]>0 " : "";
    ApplyRecordSource(true);
    sscmdCalc_Click();
}

void frmDayCalculator::sscmdSrchDateData_Click() {
    pSearchText = txtSearchDays->text().toStdString();
    pSearching = true;
    pSQL = std::string(kBase) + " WHERE " + SearchCondition();
    pSQLOrder = ByDate();
    ApplyRecordSource(false);
}

void frmDayCalculator::sscmdClearSrch_Click() {
    txtSearchDays->clear();
    pSearching = false;
    pSearchText.clear();
    pSQL = kBase;
    ApplyRecordSource(false);
}

void frmDayCalculator::TDBGridCalcDays_HeadClick(int ColIndex) {
    if (ColIndex < 0 || ColIndex >= DayCalcModel->columnCount()) return;
    const std::string field = DayCalcModel->fieldName(ColIndex);
    pSQLOrder = FieldOrderSql(field, g_sort.click(field), ToLower(field) == "date");
    ApplyRecordSource(true);
}

void frmDayCalculator::TextCalcDate_KeyPress(int KeyAscii) {
    if (KeyAscii != 13) return;
    if (SetBaseDateOrToday()) sscmdCalc_Click();
}

void frmDayCalculator::TextCalcDate_LostFocus() { SetBaseDateOrToday(); }

void frmDayCalculator::Toolbar1_ButtonClick(const QString& key) {
    if (key == "UpArrow") StepGridFont(TDBGridCalcDays, +2);
    if (key == "DownArrow") StepGridFont(TDBGridCalcDays, -2);
}

void frmDayCalculator::sscmdHelp_Click() {
    Messages().message("Start by Creating Rows of Descriptions and Dates. The Current Base Date is in the Top Left "
                       "Box. You May Change it, if you Wish. Clicking the Calc Button will Calculate Days from or "
                       "until the Row's date.\n\nThe Right Field is for Searching the Grid's List of Dates",
                       MsgButtons::Ok, MsgIcon::Information, "Calc Grid Dates");
}

void frmDayCalculator::mnuFile_Print_Click() { Print_Grid(TDBGridCalcDays, 2, "Velmora - Day Calculator "); }

}  // namespace vm
