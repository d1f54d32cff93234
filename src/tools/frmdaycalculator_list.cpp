// The day calculator's dated list: [CalculateDates] of the open calendar
// file, recalculated for a base date, filtered, searched and sorted.
#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>

#include "core/daycalc.h"
#include "core/gridcells.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "exchange/printgrid.h"
#include "platform/datagrid.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/recordgrid.h"
#include "tools/frmdaycalculator.h"

namespace vm {
namespace {

const char* kBase = "SELECT * FROM [CalculateDates]";
// The row's date in its written form, so a search for "3/1/2025" finds it.
const char* kDateText =
    "(ltrim(strftime('%m', [Date]), '0') || '/' || ltrim(strftime('%d', [Date]), '0') || '/' || "
    "strftime('%Y', [Date]))";

// The sort lasts for the run, across closing the window.
GridSortState g_sort;

QPushButton* Button(QWidget* parent, const char* name, const char* caption, const char* tip = nullptr) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (tip) b->setToolTip(tip);
    return b;
}

}  // namespace

QWidget* frmDayCalculator::MakeListTab() {
    auto* panel = new QWidget;
    panel->setObjectName("SSPanel1");
    auto* grid = new QGridLayout(panel);
    Toolbar1 = new QToolBar(panel);
    Toolbar1->setObjectName("Toolbar1");
    for (auto [caption, key, tip] : {std::tuple{"Font +", "UpArrow", " Increase Grid Font Size "},
                                     std::tuple{"Font -", "DownArrow", " Decrease Grid Font Size "}}) {
        QAction* a = Toolbar1->addAction(caption);
        a->setObjectName(key);
        a->setToolTip(tip);
        connect(a, &QAction::triggered, this, [this, k = QString(key)] { Toolbar1_ButtonClick(k); });
    }
    TextCalcDate = new QLineEdit(panel);
    TextCalcDate->setObjectName("TextCalcDate");
    sscmdCalc = Button(panel, "sscmdCalc", "Calc");
    chkUpcoming = new QCheckBox("Upcoming Only", panel);
    chkUpcoming->setObjectName("chkUpcoming");
    chkUpcoming->setChecked(true);
    txtSearchDays = new QLineEdit(panel);
    txtSearchDays->setObjectName("txtSearchDays");
    sscmdSrchDateData = Button(panel, "sscmdSrchDateData", "Search", " Search for Text in Entire Database ");
    sscmdClearSrch = Button(panel, "sscmdClearSrch", "Clear", " Clear Search - End Sound Playing ");
    sscmdHelp = Button(panel, "sscmdHelp", "?");
    int col = 0;
    for (QWidget* w : {static_cast<QWidget*>(Toolbar1), static_cast<QWidget*>(TextCalcDate),
                       static_cast<QWidget*>(sscmdCalc), static_cast<QWidget*>(chkUpcoming),
                       static_cast<QWidget*>(txtSearchDays), static_cast<QWidget*>(sscmdSrchDateData),
                       static_cast<QWidget*>(sscmdClearSrch), static_cast<QWidget*>(sscmdHelp)})
        grid->addWidget(w, 0, col++);

    DayCalcModel = new RecordGridModel(DataDayCalc, this);
    DayCalcModel->setObjectName("DataDayCalc");
    TDBGridCalcDays = new QTableView(panel);
    TDBGridCalcDays->setObjectName("TDBGridCalcDays");
    TDBGridCalcDays->setModel(DayCalcModel);
    TDBGridCalcDays->setItemDelegate(new ValueListDelegate(TDBGridCalcDays));
    grid->addWidget(TDBGridCalcDays, 1, 0, 1, col);
    const auto& table = FindTable(CalendarTables(), "CalculateDates");
    DayCalcModel->setConverter(TableConverter(table));
    DayCalcModel->setFormatter(TableFormatter(table));
    DayCalcModel->setEditable(true);

    connect(sscmdCalc, &QPushButton::clicked, this, &frmDayCalculator::sscmdCalc_Click);
    connect(chkUpcoming, &QCheckBox::clicked, this, &frmDayCalculator::chkUpcoming_Click);
    connect(sscmdSrchDateData, &QPushButton::clicked, this, &frmDayCalculator::sscmdSrchDateData_Click);
    connect(sscmdClearSrch, &QPushButton::clicked, this, &frmDayCalculator::sscmdClearSrch_Click);
    connect(sscmdHelp, &QPushButton::clicked, this, &frmDayCalculator::sscmdHelp_Click);
    connect(TDBGridCalcDays->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &frmDayCalculator::TDBGridCalcDays_HeadClick);
    TextCalcDate->installEventFilter(this);
    txtSearchDays->installEventFilter(this);
    pSQL = kBase;
    pUpcoming = " WHERE [TDays]>0 ";
    pSQLOrder = " ORDER BY [Date] ";
    return panel;
}

// The record source: the base query, the search and the filter, the order.
void frmDayCalculator::ApplyRecordSource(bool keepRecord) {
    if (!FileExists(Module1.CalendarFilePath)) return;
    std::vector<std::string> conditions;
    std::vector<db::Value> params;
    if (pSearching) {
        conditions.push_back(FoldSearchCondition({"Description", kDateText, "Years", "Months", "Days", "TDays"}));
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
        Messages().message(e.what(), MsgButtons::Ok, MsgIcon::Critical, "Day Calculator");
        return;
    }
    const char* captions[][2] = {{"Description", "Description"}, {"Date", "Date"}, {"Years", "Years"},
                                 {"Months", "Months"}, {"Days", "Days"}, {"TDays", "Total Days"}};
    for (auto& [field, caption] : captions) DayCalcModel->setCaption(DayCalcModel->fieldIndex(field), caption);
    for (const char* computed : {"Years", "Months", "Days", "TDays"})
        DayCalcModel->setColumnReadOnly(DayCalcModel->fieldIndex(computed));
    TDBGridCalcDays->setColumnHidden(DayCalcModel->fieldIndex("ID"), true);
    // Description shows first, then the date and its computed columns.
    QHeaderView* header = TDBGridCalcDays->horizontalHeader();
    header->moveSection(header->visualIndex(DayCalcModel->fieldIndex("Description")), 1);
}

bool frmDayCalculator::SetBaseDateOrToday() {
    if (ParseMDY(Trim(TextCalcDate->text().toStdString()))) return true;
    Messages().message("Invalid Date Set  mm/dd/year format", MsgButtons::Ok, MsgIcon::None, "Velmora");
    TextCalcDate->setText(QString::fromStdString(FormatMDY(Today())));
    return false;
}

void frmDayCalculator::sscmdCalc_Click() {
    if (!FileExists(Module1.CalendarFilePath)) return;
    SetBaseDateOrToday();
    const auto base = ParseMDY(Trim(TextCalcDate->text().toStdString()));
    try {
        RecalculateDatedList(DataDayCalc.database(), *base);
    } catch (const db::DbError& e) {
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
    pSQL = std::string(kBase) + " WHERE (search)";
    pSQLOrder = " ORDER BY [Date]";
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
    pSQLOrder = " ORDER BY [" + field + "] " + g_sort.click(field) + ", [ID]";
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
