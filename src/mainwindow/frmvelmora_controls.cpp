// The main window's controls, their names and their places as designed (in
// twips); the layout moves and sizes them from there.
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>

#include "alarms/alarmtimer.h"
#include "core/dates.h"
#include "core/numtext.h"
#include "mainwindow/celllabel.h"
#include "mainwindow/frmvelmora.h"
#include "platform/controls.h"
#include "platform/fitwidgets.h"
#include "platform/recordgrid.h"
#include "platform/sound.h"
#include "records/dategrid.h"

namespace vm {
namespace {

const char* kWeekdayNames[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Designed places (twips) of the controls the layout does not compute.
constexpr TwipsRect kPanel1{60, 0, 16000, 10000};
constexpr TwipsRect kSearchBar{100, 100, 2800, 420};
constexpr TwipsRect kFilter{3000, 100, 1800, 360};
constexpr TwipsRect kGrid{100, 700, 4800, 8000};
constexpr TwipsRect kSplitter{5000, 700, 100, 8000};
constexpr TwipsRect kPicture{5100, 700, 10000, 8000};
constexpr TwipsRect kMonthTitle{0, 0, frmVelmora::kMonthTitleWidth, 420};
constexpr double kHeadingTop = 420, kHeadingWidth = frmVelmora::kHeadingWidth, kHeadingHeight = 270;

// The date grid shows dates the way the user writes them.
QVariant DateGridText(const std::string& field, const db::Value& v) {
    if (db::IsNull(v)) return {};
    const std::string text = db::AsText(v);
    if (ToLower(field) == "date")
        if (auto d = ReadStoredDate(text)) return QString::fromStdString(FormatMDY(*d));
    return QString::fromStdString(text);
}

}  // namespace

void frmVelmora::CreateControls() {
    // Month and year boxes with their lists; the quick-countdown box.
    Toolbar1 = addToolBar("Toolbar1");
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setMovable(false);
    cmbMonth = new QComboBox(Toolbar1);
    cmbMonth->setObjectName("cmbMonth");
    cmbMonth->setEditable(true);  // both lists are filled by FillMonthCombos
    cmbMonth->setMinimumContentsLength(10);
    Toolbar1->addWidget(cmbMonth);
    cmbYear = new QComboBox(Toolbar1);
    cmbYear->setObjectName("cmbYear");
    cmbYear->setEditable(true);
    cmbYear->setMinimumContentsLength(6);
    Toolbar1->addWidget(cmbYear);
    Toolbar1->addSeparator();
    sspanelTimer = new QFrame(Toolbar1);
    sspanelTimer->setObjectName("sspanelTimer");
    sspanelTimer->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);  // the toolbar gives it no spare width
    auto* timerRow = new QHBoxLayout(sspanelTimer);
    timerRow->setContentsMargins(2, 0, 2, 0);
    txtDuration = new QLineEdit(sspanelTimer);
    txtDuration->setObjectName("txtDuration");
    txtDuration->setMaximumWidth(90);
    txtDuration->setToolTip("Quick countdown: seconds, m:s or h:m:s");
    timerRow->addWidget(txtDuration);
    cmdGo = new QPushButton("Go", sspanelTimer);
    cmdGo->setObjectName("cmdGo");
    timerRow->addWidget(cmdGo);
    lblRemaining = new QLabel(sspanelTimer);
    lblRemaining->setObjectName("lblRemaining");
    timerRow->addWidget(lblRemaining);
    Toolbar1->addWidget(sspanelTimer);

    auto* central = new QWidget(this);
    central->setObjectName("centralArea");
    setCentralWidget(central);

    SSPanel1 = new QFrame(central);
    SSPanel1->setObjectName("SSPanel1");
    SSPanel1->setFrameShape(QFrame::StyledPanel);
    SSPanel1->installEventFilter(this);
    SetTwips(SSPanel1, kPanel1);

    SSPanel2 = new QFrame(SSPanel1);
    SSPanel2->setObjectName("SSPanel2");
    SSPanel2->setFrameShape(QFrame::StyledPanel);
    SetTwips(SSPanel2, kSearchBar);

    Combo3 = new QComboBox(SSPanel1);
    Combo3->setObjectName("Combo3");
    Combo3->setEditable(true);
    SetTwips(Combo3, kFilter);

    TDBGridDates = new QTableView(SSPanel1);
    TDBGridDates->setObjectName("TDBGridDates");
    TDBGridDates->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TDBGridDates->setSelectionBehavior(QAbstractItemView::SelectRows);
    TDBGridDates->verticalHeader()->setDefaultSectionSize(22);
    DateGrid::Hooks hooks;
    hooks.statusText = [this](int panel, const std::string& text) { SetStatusText(panel, text); };
    hooks.showListedButtons = [this](bool show) { SetSearchButtonsVisible(show); };
    hooks.shownMonth = [this] { return int(pCurMon); };
    hooks.calendarStyle = [this] { return int(pCalendarStyle); };
    dateGrid = std::make_unique<DateGrid>(DataDates, TDBGridDates, std::move(hooks), this);
    DataDatesModel = dateGrid->model;
    DataDatesModel->setFormatter(DateGridText);
    TDBGridDates->viewport()->installEventFilter(this);
    SetTwips(TDBGridDates, kGrid);

    Image1 = new QLabel(SSPanel1);
    Image1->setObjectName("Image1");
    Image1->setScaledContents(true);
    Image1->setAttribute(Qt::WA_TransparentForMouseEvents);
    SetTwips(Image1, kPicture);

    SSCmdVert = new QPushButton(SSPanel1);
    SSCmdVert->setObjectName("SSCmdVert");
    SSCmdVert->setCursor(Qt::SplitHCursor);
    SSCmdVert->setFocusPolicy(Qt::NoFocus);
    SSCmdVert->installEventFilter(this);
    SetTwips(SSCmdVert, kSplitter);

    lblMonth = new QLabel(SSPanel1);
    lblMonth->setObjectName("lblMonth");
    QFont monthFont = lblMonth->font();
    monthFont.setPointSize(16);
    lblMonth->setFont(monthFont);
    SetTwips(lblMonth, kMonthTitle);

    for (int i = 0; i < 7; ++i) {
        auto* heading = new QLabel(kWeekdayNames[i], SSPanel1);
        heading->setObjectName(QString("DOW_%1").arg(i));
        heading->setAlignment(Qt::AlignCenter);
        QFont f = heading->font();
        f.setPointSize(10);
        heading->setFont(f);
        DOW[static_cast<size_t>(i)] = heading;
        SetTwips(heading, TwipsRect{kPicture.left + i * kHeadingWidth, kHeadingTop, kHeadingWidth, kHeadingHeight});
    }

    // The 42 cells: the entry text below, its number strip above it.
    for (int i = 0; i < kCellCount; ++i) {
        auto* day = new CellLabel(i, SSPanel1);
        day->setObjectName(QString("lblDay_%1").arg(i));
        day->setTextFormat(Qt::PlainText);
        day->setWordWrap(true);
        day->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        lblDay[static_cast<size_t>(i)] = day;
        connect(day, &CellLabel::clicked, this, &frmVelmora::lblDay_Click);
        connect(day, &CellLabel::pressed, this, [this](int index) { lblDay_MouseDown(index); });

        auto* title = new CellLabel(i, SSPanel1);
        title->setObjectName(QString("lblTitle_%1").arg(i));
        title->setTextFormat(Qt::PlainText);
        title->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        lblTitle[static_cast<size_t>(i)] = title;
    }
    SSCmdVert->raise();

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    setStatusBar(StatusBar1);
    // The panels and the notice cut their texts short rather than widen the
    // window past a small screen (800 by 600 at half as large again as
    // usual); the whole text is in their tool tips.
    constexpr int kStatusPanelLeastWidth = 60;
    for (int p = 0; p < 4; ++p) {
        auto* panel = new ElidedLabel(StatusBar1);
        panel->setObjectName(QString("StatusBar1_Panel%1").arg(p + 1));
        panel->setMinimumWidth(kStatusPanelLeastWidth);
        StatusBar1->addWidget(panel, p == 3 ? 3 : 1);
        StatusPanels[static_cast<size_t>(p)] = panel;
    }
    // A machine without sound output says so once, the first time a sound is
    // wanted, in a place of the status line of its own that no later status
    // text takes: the notice stays until the user clicks it away.
    lblNotice = new ElidedLabel(StatusBar1);
    lblNotice->setObjectName("lblNotice");
    lblNotice->setToolTip("Click to close this notice");
    lblNotice->setCursor(Qt::PointingHandCursor);
    lblNotice->hide();
    StatusBar1->addPermanentWidget(lblNotice);
    lblNotice->installEventFilter(new EventHook(lblNotice, [](QObject* watched, QEvent* event) {
        if (event->type() != QEvent::MouseButtonPress) return false;
        static_cast<QWidget*>(watched)->hide();
        return true;
    }));
    SetNoSoundDeviceNotice([this](const std::string& text) {
        lblNotice->setText(QString::fromStdString(text));
        lblNotice->show();
    });

    tmrWait = new QTimer(this);
    tmrWait->setObjectName("tmrWait");
    tmrWait->setInterval(15000);
    alarmTimer = new AlarmTimer(tmrWait, txtDuration, cmdGo, lblRemaining, this);
    connect(alarmTimer, &AlarmTimer::rebuildWanted, this, &frmVelmora::DayChanged);

    // Resizes lay the window out from now on.
    central->installEventFilter(this);
    InstallNavigation();
}

}  // namespace vm
