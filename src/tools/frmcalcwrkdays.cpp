#include "tools/frmcalcwrkdays.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>

#include "core/calendarfiles.h"
#include "core/daycalc.h"
#include "core/gridcells.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/controls.h"
#include "platform/onewindow.h"
#include "platform/messages.h"
#include "platform/recordgrid.h"

namespace vm {
namespace {

OneWindow<frmCalcWrkDays> g_window;
const char* kColumns = "SELECT [Date], [DateText], [DateType], [WorkDay] FROM [RepeatingData] WHERE ";

std::string CountLabel(int rows) {
    return "Unique Holiday Record Count: " + std::to_string(rows) + " The Grid is Read Only";
}

// A box that still shows its name, or nothing, is free for a clicked date.
bool FreeBox(const QLineEdit* box, const char* name) {
    const QString t = box->text().trimmed();
    return t.isEmpty() || t.compare(name, Qt::CaseInsensitive) == 0;
}

}  // namespace

frmCalcWrkDays::frmCalcWrkDays(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmCalcWrkDays");
    setWindowTitle("Calculate Work Days");
    auto* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuFile");
    mnuFile_Exit = file->addAction("&Exit");
    mnuFile_Exit->setObjectName("mnuFile_Exit");
    connect(mnuFile_Exit, &QAction::triggered, this, &QWidget::close);
    statusBar()->setObjectName("StatusBar1");

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);
    txtBeginDate = Named(new QLineEdit("Begin Date", central), "txtBeginDate", " Enter Begin Date mm/dd/yyyy ");
    txtEndDate = Named(new QLineEdit("End Date", central), "txtEndDate", " Enter End Date mm/dd/yyyy ");
    sscmdCalculate = Named(new QPushButton("Calculate", central), "sscmdCalculate", " Calculate Work Days ");
    sscmdClearDateCalc = Named(new QPushButton("Clear", central), "sscmdClearDateCalc", " Clear Work Day Calculator ");
    MonthView1 = Named(new QCalendarWidget(central), "MonthView1");
    MonthView1->setFirstDayOfWeek(Qt::Sunday);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    Label1 = Named(new QLabel("Single Click a Day in the calendar to move value into date boxes", central), "Label1");
    lblCalcDaysResult = Named(new QLabel("Result", central), "lblCalcDaysResult",
                              " Display Calculation, Also Copied to Clipboard ");
    lblHolidayCount = Named(new QLabel("Holiday Count", central), "lblHolidayCount");
    lblCalcDaysResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblCalcDaysResult->setFrameShape(QFrame::StyledPanel);
    lblCalcDaysResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblCalcDaysResult->setWordWrap(true);
    lblCalcDaysResult->setMinimumWidth(360);
    grid->addWidget(txtBeginDate, 0, 0);
    grid->addWidget(txtEndDate, 0, 1);
    grid->addWidget(sscmdCalculate, 0, 2);
    grid->addWidget(sscmdClearDateCalc, 0, 3);
    grid->addWidget(MonthView1, 1, 0, 1, 2);
    grid->addWidget(lblCalcDaysResult, 1, 2, 1, 2);
    grid->addWidget(Label1, 2, 0, 1, 4);
    SSTab1 = Named(new QTabWidget(central), "SSTab1");
    HolidaysModel = new RecordGridModel(Data1, this);
    HolidaysModel->setObjectName("Data1");
    HolidaysModel->setFormatter(TableFormatter(FindTable(CalendarTables(), "RepeatingData")));
    TDBGridHolidays = Named(new QTableView(SSTab1), "TDBGridHolidays");
    TDBGridHolidays->setModel(HolidaysModel);
    TDBGridHolidays->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBGridHolidays->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    SSTab1->addTab(TDBGridHolidays, "Holidays");
    grid->addWidget(SSTab1, 3, 0, 1, 4);
    grid->addWidget(lblHolidayCount, 4, 0, 1, 4);

    connect(sscmdCalculate, &QPushButton::clicked, this, &frmCalcWrkDays::sscmdCalculate_Click);
    connect(sscmdClearDateCalc, &QPushButton::clicked, this, &frmCalcWrkDays::sscmdClearDateCalc_Click);
    connect(MonthView1, &QCalendarWidget::clicked, this, &frmCalcWrkDays::MonthView1_DateClick);
    txtBeginDate->installEventFilter(this);
    txtEndDate->installEventFilter(this);
    resize(760, 560);
}

frmCalcWrkDays::~frmCalcWrkDays() = default;

void frmCalcWrkDays::ShowHolidays(const std::string& condition, std::vector<db::Value> params) {
    Data1.setDatabaseName(Module1.CalendarFilePath);
    Data1.setRecordSource(std::string(kColumns) + condition + " ORDER BY [Date], [DateText]");
    Data1.setParameters(std::move(params));
    Data1.refresh();
    HolidaysModel->reload();
    for (auto [field, caption] : {std::pair{"Date", "Date"}, std::pair{"DateText", "Date Text"},
                                  std::pair{"DateType", "Date Type"}, std::pair{"WorkDay", "Work Day"}})
        HolidaysModel->setCaption(HolidaysModel->fieldIndex(field), caption);
}

void frmCalcWrkDays::Form_Load() {
    Module1.CalcWrkDaysOpen = true;
    SSTab1->setCurrentIndex(0);
    try {
        ShowHolidays("0", {});  // no rows until a calculation
        lblHolidayCount->setText(QString::fromStdString(CountLabel(Data1.recordCount())));
    } catch (const db::DbError& e) {
        Messages().message(std::to_string(e.number()) + " - " + e.what(), MsgButtons::OkCancel, MsgIcon::None,
                           "frmCalcWrkDays Error");
    }
    lblCalcDaysResult->clear();
    const CivilDate t = Today();
    MonthView1->setSelectedDate(QDate(t.y, t.m, t.d));
    PlaceBesideMain(this, 750);
}

void frmCalcWrkDays::MonthView1_DateClick() {
    const QDate d = MonthView1->selectedDate();
    const QString text = QString::fromStdString(FormatMDY(CivilDate{d.year(), d.month(), d.day()}));
    if (FreeBox(txtBeginDate, "begin date")) {
        txtBeginDate->setText(text);
    } else if (FreeBox(txtEndDate, "end date")) {
        txtEndDate->setText(text);
    }
}

void frmCalcWrkDays::sscmdClearDateCalc_Click() {
    txtBeginDate->setText("Begin Date");
    txtEndDate->setText("End Date");
    lblCalcDaysResult->setText("Result");
    const CivilDate t = Today();
    MonthView1->setSelectedDate(QDate(t.y, t.m, t.d));
}

void frmCalcWrkDays::sscmdCalculate_Click() {
    if (!CalendarIsOpen("Calculate Work Days")) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    int step = 1;  // where a failure happened, for the box
    try {
        auto calendar = db::Database::Open(Module1.CalendarFilePath);
        const std::string beginText = txtBeginDate->text().toStdString(), endText = txtEndDate->text().toStdString();
        const WorkDays r = CountWorkDays(*calendar, beginText, endText);
        step = 7;
        lblCalcDaysResult->setText(QString::fromStdString(r.text));
        if (!r.ok) {
            Messages().beep();
        } else {
            step = 4;
            const auto b = ReadTypedDate(beginText), e = ReadTypedDate(endText);
            ShowHolidays(HolidayCondition(SpansMostOccurrences(*calendar, *b, *e)),
                         {db::Int(Date2Julian(*b)), db::Int(Date2Julian(*e))});
            if (Data1.recordCount() > 0)
                lblHolidayCount->setText(QString::fromStdString(CountLabel(Data1.recordCount())));
            step = 8;
            QGuiApplication::clipboard()->clear();
            QGuiApplication::clipboard()->setText(QString::fromStdString(r.text));
        }
    } catch (const db::DbError& e) {
        Messages().message(std::to_string(e.number()) + " - " + e.what() + "\n@ Err Pnt: " + std::to_string(step),
                           MsgButtons::OkCancel, MsgIcon::None, "sscmdCalculate_Error");
    }
    QApplication::restoreOverrideCursor();
}

bool frmCalcWrkDays::eventFilter(QObject* watched, QEvent* event) {
    // A click in a date box empties it for typing.
    if (event->type() == QEvent::MouseButtonPress && (watched == txtBeginDate || watched == txtEndDate))
        static_cast<QLineEdit*>(watched)->clear();
    return QMainWindow::eventFilter(watched, event);
}

void frmCalcWrkDays::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    Data1.close();
    Module1.CalcWrkDaysOpen = false;
}

void frmCalcWrkDays::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    deleteLater();
}

frmCalcWrkDays* ShowCalcWrkDays() {
    return g_window.show([] { return new frmCalcWrkDays; });
}

frmCalcWrkDays* CalcWrkDays() { return g_window.get(); }

void UnloadCalcWrkDays() { g_window.unload(); }

}  // namespace vm
