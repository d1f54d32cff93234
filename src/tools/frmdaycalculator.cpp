#include "tools/frmdaycalculator.h"

#include <QAction>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableView>

#include "core/calendardocument.h"
#include "core/daycalc.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/controls.h"
#include "platform/onewindow.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/recordgrid.h"

namespace vm {
namespace {

OneWindow<frmDayCalculator> g_window;

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }

QString CalendarDateText(const QCalendarWidget* cal) {
    const QDate d = cal->selectedDate();
    return QString::fromStdString(FormatMDY(CivilDate{d.year(), d.month(), d.day()}));
}

void SetDateTip(QLineEdit* box) {
    const std::string t = Trim(box->text().toStdString());
    if (t.empty()) {
        box->clear();
        box->setToolTip("Date");
        return;
    }
    if (const auto d = ReadTypedDate(t)) box->setToolTip(QString::fromStdString(" " + LongDateText(*d) + " "));
}

}  // namespace

frmDayCalculator::frmDayCalculator(QWidget* parent) : QMainWindow(parent) {
    setObjectName("frmDayCalculator");
    setWindowTitle("Day Calculator");
    auto* file = menuBar()->addMenu("&File");
    file->setObjectName("mnuDayCalc_File");
    mnuFile_Print = file->addAction("Print");
    mnuFile_Print->setObjectName("mnuFile_Print");
    mnuDayCalc_Exit = file->addAction("&Exit");
    mnuDayCalc_Exit->setObjectName("mnuDayCalc_Exit");
    connect(mnuFile_Print, &QAction::triggered, this, &frmDayCalculator::mnuFile_Print_Click);
    connect(mnuDayCalc_Exit, &QAction::triggered, this, &QWidget::close);
    statusBar()->setObjectName("StatusBar1");

    SSTab1 = Named(new QTabWidget(this), "SSTab1");
    setCentralWidget(SSTab1);
    SSTab1->addTab(MakeListTab(), "Day Calculator Grid");
    SSTab1->addTab(MakeCalculatorTab(), "Single Day Calculator");
    resize(760, 500);
    // Another calendar in use: the list shows its rows, recalculated.
    connect(&Document(), &CalendarDocument::calendarOpened, this, [this] {
        if (!loaded()) return;
        ApplyRecordSource(false);
        sscmdCalc_Click();
    });
}

frmDayCalculator::~frmDayCalculator() = default;

QWidget* frmDayCalculator::MakeCalculatorTab() {
    auto* panel = Named(new QWidget, "SSPanel2");
    auto* grid = new QGridLayout(panel);
    txtDate1 = Named(new QLineEdit(panel), "txtDate1", " Start Date ");
    txtdateDif = Named(new QLineEdit(panel), "txtdateDif", " Days Between Dates ");
    txtDate2 = Named(new QLineEdit(panel), "txtDate2", " End Date ");
    grid->addWidget(Named(new QLabel("Date", panel), "Label1"), 0, 0);
    grid->addWidget(Named(new QLabel("Days", panel), "Label3"), 0, 1);
    grid->addWidget(Named(new QLabel("Date", panel), "Label2"), 0, 2);
    grid->addWidget(txtDate1, 1, 0);
    grid->addWidget(txtdateDif, 1, 1);
    grid->addWidget(txtDate2, 1, 2);
    sscmdCalc2 = Named(new QPushButton("Calculate", panel), "sscmdCalc2", " Using Two Text Boxes Calculate the Remaining ");
    sscmdInfo = Named(new QPushButton("?", panel), "sscmdInfo", " Show Information Message ");
    optClrDates = Named(new QRadioButton("Clear", panel), "optClrDates", " Clear Three Text Boxes ");
    grid->addWidget(sscmdCalc2, 2, 0);
    grid->addWidget(optClrDates, 2, 1);
    grid->addWidget(sscmdInfo, 2, 2);
    lblYrMnDayCalc = Named(new QLabel("YrMnDay", panel), "lblYrMnDayCalc");
    grid->addWidget(lblYrMnDayCalc, 3, 0, 1, 3);
    MonthView1 = Named(new QCalendarWidget(panel), "MonthView1", "Select Date to Transfer to Calculate ");
    MonthView1->setFirstDayOfWeek(Qt::Sunday);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    grid->addWidget(MonthView1, 4, 0, 1, 3);
    connect(sscmdCalc2, &QPushButton::clicked, this, &frmDayCalculator::sscmdCalc2_Click);
    connect(sscmdInfo, &QPushButton::clicked, this, &frmDayCalculator::sscmdInfo_Click);
    connect(MonthView1, &QCalendarWidget::clicked, this, &frmDayCalculator::MonthView1_DateClick);
    // From the keyboard (Space, arrow keys) the button is selected: it clears
    // as a mouse press does.
    connect(optClrDates, &QRadioButton::toggled, this, [this](bool on) {
        if (on) optClrDates_MouseDown();
    });
    for (QObject* o : {static_cast<QObject*>(txtDate1), static_cast<QObject*>(txtDate2),
                       static_cast<QObject*>(optClrDates)})
        o->installEventFilter(this);
    return panel;
}

void frmDayCalculator::Form_Load() {
    // The calendar in use stays in use; without its file the list stays empty.
    if (!FileExists(Module1.CalendarFilePath))
        Messages().message("There is no calendar file at \"" + Module1.CalendarFilePath +
                               "\", so the list of dates stays empty. The calculator works without it.",
                           MsgButtons::Ok, MsgIcon::Exclamation, "Day Calculator");
    ApplyRecordSource(false);
    if (const int d = DayCalcModel->fieldIndex("Description"); d >= 0) TDBGridCalcDays->setColumnWidth(d, 220);
    TextCalcDate->setText(QString::fromStdString(FormatMDY(Today())));
    sscmdCalc_Click();
    CentreOnMain(this);
    Module1.DayCalculatorOpen = true;
    SSTab1->setCurrentIndex(0);
    const CivilDate t = Today();
    MonthView1->setSelectedDate(QDate(t.y, t.m, t.d));
    lblYrMnDayCalc->clear();
}

void frmDayCalculator::sscmdCalc2_Click() {
    const ThreeBoxResult r = CalcThirdBox({Text(txtDate1), Text(txtdateDif), Text(txtDate2)});
    switch (r.kind) {
        case ThreeBoxResult::Days: txtdateDif->setText(QString::fromStdString(r.text)); break;
        case ThreeBoxResult::Date2:
            txtDate2->setText(QString::fromStdString(r.text));
            txtDate2_LostFocus();
            break;
        case ThreeBoxResult::Date1:
            txtDate1->setText(QString::fromStdString(r.text));
            txtDate1_LostFocus();
            break;
        case ThreeBoxResult::Refused:
            Messages().message(r.text, MsgButtons::Ok, MsgIcon::Critical, "Date Calculator Error");
            break;
        case ThreeBoxResult::NotTwoFilled:
            Messages().message("The Date Calculator Consists of Three Fields.\nFill in Any Two Fields and Leave One "
                               "Field Blank.\nThe Blank Field Will be Calculated.\nTool Bar Delete Button Will Clear "
                               "All Date Calculator Fields.",
                               MsgButtons::Ok, MsgIcon::Information, "Date Calculator Error");
            break;
    }
    ShowYearsMonthsDays();
}

void frmDayCalculator::ShowYearsMonthsDays() {
    lblYrMnDayCalc->setText(QString::fromStdString(YearsMonthsDaysCaption(Text(txtDate1), Text(txtDate2))));
}

void frmDayCalculator::MonthView1_DateClick() {
    if (Trim(Text(txtDate1)).empty()) {
        txtDate1->setText(CalendarDateText(MonthView1));
        txtDate1_LostFocus();
    } else if (Trim(Text(txtDate2)).empty()) {
        txtDate2->setText(CalendarDateText(MonthView1));
        txtDate2_LostFocus();
    }
}

void frmDayCalculator::txtDate1_DblClick() {
    if (!Trim(Text(txtDate1)).empty()) return;
    txtDate1->setText(CalendarDateText(MonthView1));
    txtDate1_LostFocus();
}

void frmDayCalculator::txtDate2_DblClick() {
    txtDate2->setText(CalendarDateText(MonthView1));
    txtDate2_LostFocus();
}

void frmDayCalculator::txtDate1_LostFocus() { SetDateTip(txtDate1); }
void frmDayCalculator::txtDate2_LostFocus() { SetDateTip(txtDate2); }

void frmDayCalculator::optClrDates_MouseDown() {
    optClrDates->setAutoExclusive(false);
    optClrDates->setChecked(false);
    optClrDates->setAutoExclusive(true);
    txtDate1->clear();
    txtdateDif->clear();
    txtDate2->clear();
    lblYrMnDayCalc->clear();
}

void frmDayCalculator::sscmdInfo_Click() {
    Messages().message("Fill Any Two of the Three Fields. The Empty Field will be Calculated.\n\nClicking on a Date "
                       "in the Calendar will Transfer the Date to an Empty Field.",
                       MsgButtons::Ok, MsgIcon::Information, "Calculate Missing Field");
}

bool frmDayCalculator::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == txtDate1) txtDate1_DblClick();
        if (watched == txtDate2) txtDate2_DblClick();
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == txtDate1) txtDate1_LostFocus();
        if (watched == txtDate2) txtDate2_LostFocus();
        if (watched == TextCalcDate) TextCalcDate_LostFocus();
    } else if (event->type() == QEvent::MouseButtonPress && watched == optClrDates) {
        optClrDates_MouseDown();
        return true;
    } else if (event->type() == QEvent::KeyPress && watched == TextCalcDate) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            TextCalcDate_KeyPress(13);
            return true;
        }
    } else if (event->type() == QEvent::KeyPress && watched == txtSearchDays) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            sscmdSrchDateData_Click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmDayCalculator::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    DataDayCalc.close();
    Module1.DayCalculatorOpen = false;
}

void frmDayCalculator::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
    deleteLater();
}

frmDayCalculator* ShowDayCalculator() {
    return g_window.show([] { return new frmDayCalculator; });
}

frmDayCalculator* DayCalculator() { return g_window.get(); }

void UnloadDayCalculator() { g_window.unload(); }

}  // namespace vm
