// The entry window's controls, its opening and closing, the set-up with its
// value lists, and the date picker.
#include "records/frmenterrec.h"

#include <QAction>
#include <QCalendarWidget>
#include <QScreen>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/calendardocument.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/record.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/controls.h"
#include "platform/keyedbutton.h"
#include "records/combotext.h"

namespace vm {
namespace {

QPointer<frmEnterRec> g_enterRec;
constexpr int kCloseStepMs = 50;

QLineEdit* MakeBox(QWidget* parent, const char* name, const char* text, const char* tip) {
    auto* b = new QLineEdit(QString::fromUtf8(text), parent);
    b->setObjectName(name);
    if (tip) b->setToolTip(QString::fromUtf8(tip));
    return b;
}

}  // namespace

frmEnterRec::frmEnterRec(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmEnterRec");
    setWindowTitle("Add New / Edit Existing Day Record");
    buildControls();
    buildColorPanel();
    closeTimer_.setInterval(kCloseStepMs);
    connect(&closeTimer_, &QTimer::timeout, this, &frmEnterRec::closeStep);
    // Another calendar in use: the window steps through its records from now
    // on, and a record shown from the one before is saved into neither file.
    connect(&Document(), &CalendarDocument::calendarOpened, this, &frmEnterRec::TurnToCalendarInUse);
    connect(&Document(), &CalendarDocument::recordsChanged, this, [this] { FollowRecordsWritten(); });
}

void frmEnterRec::TurnToCalendarInUse() {
    sscmdSaveRecord->hide();  // until a record of this calendar is stepped to
    BindMonthRecords();
}

frmEnterRec::~frmEnterRec() {
    if (loaded_) Module1.EnterRecOpen = false;
}

void frmEnterRec::buildControls() {
    auto* outer = new QVBoxLayout(this);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    const struct {
        const char *caption, *key, *tip;
    } buttons[] = {{"Color", "color-wheel-16", " Select Colors "}, {"Font", "font-16", " Select Font "},
                   {"New", "New", " New Record "},                    {"Begin", "DoubleLeftArrow", " Beginning of Data "},
                   {"Prior", "LeftArrow", " Prior Record "},           {"Next", "RightArrow", " Next Record "},
                   {"End", "DoubleRightArrow", " End of Data "}};
    for (const auto& b : buttons) {
        QAction* a = AddKeyedButton(Toolbar1, QString::fromUtf8(b.caption), b.key, QString::fromUtf8(b.tip));
        const QString key = QString::fromUtf8(b.key);
        connect(a, &QAction::triggered, this, [this, key] { Toolbar1_ButtonClick(key); });
    }
    outer->addWidget(Toolbar1);

    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    txtDate = MakeBox(this, "txtDate", "Date", nullptr);
    cmbHour = MakeTextCombo(this, "cmbHour", "Hr", " Select Hour of Event ");
    cmbMinute = MakeTextCombo(this, "cmbMinute", "Min", " Select Minute of Event ");
    cmbAMPM = MakeTextCombo(this, "cmbAMPM", "AM/PM", " AM or PM ");
    grid->addWidget(new QLabel("Date:", this), 0, 0);
    grid->addWidget(txtDate, 0, 1);
    auto* time = new QHBoxLayout;
    time->addWidget(cmbHour);
    time->addWidget(cmbMinute);
    time->addWidget(cmbAMPM);
    grid->addLayout(time, 0, 2, 1, 2);

    txtDateText = new QPlainTextEdit(this);

    WrapInside(txtDateText);
    txtDateText->setObjectName("txtDateText");
    txtDateText->setToolTip(" Enter Event Text ");
    txtDateText->setTabChangesFocus(true);
    txtDateText->setFixedHeight(txtDateText->fontMetrics().lineSpacing() * 3 + 12);
    grid->addWidget(new QLabel("Event:", this), 1, 0);
    grid->addWidget(txtDateText, 1, 1, 1, 3);

    txtRepeatNo = MakeBox(this, "txtRepeatNo", "Repeat#", " #Times to Repeat ");
    cmbRepeatType = MakeTextCombo(this, "cmbRepeatType", "Repeat Type", "Repeat Type ");
    cmbDayType = MakeTextCombo(this, "cmbDayType", "Date Type", " Date Type ");
    grid->addWidget(new QLabel("Repeat:", this), 2, 0);
    grid->addWidget(txtRepeatNo, 2, 1);
    grid->addWidget(cmbRepeatType, 2, 2);
    grid->addWidget(cmbDayType, 2, 3);

    Check2 = new QCheckBox("Hide", this);
    Check2->setObjectName("Check2");
    Check2->setToolTip(" Hide or Show Record ");
    Check1 = new QCheckBox("Work Day", this);
    Check1->setObjectName("Check1");
    Check1->setToolTip(" Is Date a Work Day? ");
    txtAlrmMin = MakeBox(this, "txtAlrmMin", "Alarm Mins", " Minutes Before or After Time ");
    txtSndNo = MakeBox(this, "txtSndNo", "Sound", " Sound# to Play ");
    auto* checks = new QHBoxLayout;
    checks->addWidget(Check2);
    checks->addWidget(Check1);
    grid->addLayout(checks, 3, 1);
    grid->addWidget(txtAlrmMin, 3, 2);
    grid->addWidget(txtSndNo, 3, 3);

    Combo4 = MakeTextCombo(this, "Combo4", "Font", " Select Previous Font, Size, Bold, Italic  ");
    cmbColors = MakeTextCombo(this, "cmbColors", "Colors", " Select Previous Text FG/BG, Title FG/BG && Styles ");
    // Wide enough for a whole colour text such as "255;0;0;16777215;2;3".
    cmbColors->setMinimumContentsLength(24);
    cmbColors->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    sscmdColors = NamedButton(this, "sscmdColors", "Colors", nullptr);
    txtPriority = MakeBox(this, "txtPriority", "Priority", " 0-255 Larger = Higher Priority ");
    grid->addWidget(new QLabel("Look:", this), 4, 0);
    grid->addWidget(Combo4, 4, 1);
    auto* colors = new QHBoxLayout;
    colors->addWidget(cmbColors, 1);
    colors->addWidget(sscmdColors);
    grid->addLayout(colors, 4, 2);
    grid->addWidget(txtPriority, 4, 3);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 2);
    grid->setColumnStretch(3, 1);

    sscmdAddRecord = NamedButton(this, "sscmdAddRecord", "Add Record", nullptr);
    sscmdSaveRecord = NamedButton(this, "sscmdSaveRecord", "Save Record", nullptr);
    auto* save = new QHBoxLayout;
    save->addStretch();
    save->addWidget(sscmdAddRecord);
    save->addWidget(sscmdSaveRecord);
    outer->addLayout(save);

    txtSearch = MakeBox(this, "txtSearch", "Search", " Search For This ");
    sscmdSrch2DoLst = NamedButton(this, "sscmdSrch2DoLst", "Search", " Search Event List ");
    sscmdClearSrch = NamedButton(this, "sscmdClearSrch", "Clear", nullptr);
    auto* search = new QHBoxLayout;
    search->addWidget(txtSearch, 1);
    search->addWidget(sscmdSrch2DoLst);
    search->addWidget(sscmdClearSrch);
    outer->addLayout(search);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        statusPanels_[i] = new QLabel(StatusBar1);
        statusPanels_[i]->setObjectName(QString("StatusBar1_%1").arg(i + 1));
        StatusBar1->addWidget(statusPanels_[i], i == 2 ? 2 : 1);
    }
    outer->addWidget(StatusBar1);

    // The date picker is a small window of its own that opens at the date
    // box, weeks from Sunday like every calendar of the program; Escape or
    // focus going elsewhere closes it.
    SSPanel2 = new QFrame(this, Qt::Tool | Qt::FramelessWindowHint);
    SSPanel2->setObjectName("SSPanel2");
    SSPanel2->setFrameShape(QFrame::Panel);
    SSPanel2->setAutoFillBackground(true);
    auto* pick = new QVBoxLayout(SSPanel2);
    MonthView1 = new QCalendarWidget(SSPanel2);
    MonthView1->setObjectName("MonthView1");
    MonthView1->setFirstDayOfWeek(Qt::Sunday);
    MonthView1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    pick->addWidget(MonthView1);
    SSPanel2->hide();

    connect(sscmdAddRecord, &QPushButton::clicked, this, &frmEnterRec::sscmdAddRecord_Click);
    connect(sscmdSaveRecord, &QPushButton::clicked, this, &frmEnterRec::sscmdSaveRecord_Click);
    connect(sscmdSrch2DoLst, &QPushButton::clicked, this, &frmEnterRec::sscmdSrch2DoLst_Click);
    connect(sscmdClearSrch, &QPushButton::clicked, this, &frmEnterRec::sscmdClearSrch_Click);
    connect(txtSearch, &QLineEdit::returnPressed, this, &frmEnterRec::sscmdSrch2DoLst_Click);
    connect(sscmdColors, &QPushButton::clicked, this, &frmEnterRec::sscmdColors_Click);
    connect(MonthView1, &QCalendarWidget::clicked, this, &frmEnterRec::MonthView1_DateClick);
    connect(MonthView1, &QCalendarWidget::activated, this, &frmEnterRec::MonthView1_DateClick);
    // Escape reaches the picker wherever its keyboard focus is: the picker
    // window itself or any part of the calendar.
    SSPanel2->installEventFilter(this);
    for (QWidget* part : SSPanel2->findChildren<QWidget*>()) part->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this,
            [picker = QPointer<QFrame>(SSPanel2), date = QPointer<QLineEdit>(txtDate)](QWidget*, QWidget* now) {
                if (now && picker && picker->isVisible() && now != date && !picker->isAncestorOf(now)) picker->hide();
            });
    for (QObject* o : {static_cast<QObject*>(txtDate), static_cast<QObject*>(txtPriority),
                       static_cast<QObject*>(txtRepeatNo), static_cast<QObject*>(txtSearch),
                       static_cast<QObject*>(Combo4), static_cast<QObject*>(Combo4->lineEdit())})
        o->installEventFilter(this);
    txtDateText->setFocus();
}

void frmEnterRec::Form_Load() {
    PlaceBesideMain(this, 750);
    Module1.EnterRecOpen = true;
    loaded_ = true;
    MonthView1->setSelectedDate(QDate::currentDate());
    InitEntryForm();
}

void frmEnterRec::InitEntryForm() {
    sscmdAddRecord->show();
    sscmdSaveRecord->hide();

    txtDate->setText(entry::kDate);
    txtPriority->setText(entry::kPriority);
    txtDateText->setPlainText(QString());
    txtRepeatNo->setText(entry::kRepeatNo);
    txtSndNo->setText(entry::kSound);
    txtAlrmMin->setText(entry::kAlarm);

    SSPanel2->hide();
    SSPanel3->hide();

    ClearList(cmbHour);
    std::vector<std::string> items;
    for (int h = 0; h <= 12; ++h) items.push_back(std::to_string(h));
    AppendItems(cmbHour, items);
    SetComboText(cmbHour, entry::kHour);

    ClearList(cmbMinute);
    items.clear();
    for (int m = 0; m <= 59; ++m) items.push_back(std::to_string(m));
    AppendItems(cmbMinute, items);
    SetComboText(cmbMinute, entry::kMinuteUnset);

    FillComboDistinct("cmbAMPM", "AM_PM");
    if (ComboText(cmbAMPM).empty()) {
        AppendItems(cmbAMPM, AmPmValues());
        SetComboText(cmbAMPM, "AM");
    }

    ClearList(cmbDayBGStyle);
    SetComboText(cmbDayBGStyle, "Day BG Style");
    AppendItems(cmbDayBGStyle, {"Day is Transparent", "Day is Opaque"});
    ClearList(cmbTitleBGStyle);
    SetComboText(cmbTitleBGStyle, "Title BG Style");
    AppendItems(cmbTitleBGStyle, {"Title is Transparent", "Title is Opaque"});

    // The repeat rule keeps its text: only the list is renewed.
    const std::string repeat = ComboText(cmbRepeatType);
    cmbRepeatType->clear();
    SetComboText(cmbRepeatType, repeat);
    FillRepeatTypes();

    FillComboDistinct("cmbDayType", "DateType");
    if (Trim(ComboText(cmbDayType)).empty()) SetComboText(cmbDayType, entry::kDayType);
    FillComboDistinct("Combo4", "Font");
    if (ComboText(Combo4).empty()) SetComboText(Combo4, entry::kFont);
    FillComboDistinct("cmbColors", "DayColors");
    if (ComboText(cmbColors).empty()) SetComboText(cmbColors, entry::kColors);

    BindMonthRecords();
}

void frmEnterRec::BindMonthRecords() {
    try {
        Data1.setDatabaseName(Module1.CalendarFilePath);
        Data1.setRecordSource(EntryMonthSource());
        Data1.refresh();
        goneAt_ = -1;  // another set of rows
    } catch (const std::exception&) {
        Data1.close();  // no calendar to read: no current record
    }
}

void frmEnterRec::FillComboDistinct(const std::string& boxName, const std::string& column) {
    auto* box = findChild<QComboBox*>(QString::fromStdString(boxName));
    if (!box) return;
    std::vector<std::string> values;
    try {
        Data1.setDatabaseName(Module1.CalendarFilePath);
        values = DistinctColumnValues(Data1.database(), column);
    } catch (const std::exception&) {
        values.clear();
    }
    ClearList(box);
    AppendItems(box, values);
}

void frmEnterRec::FillRepeatTypes() { AppendItems(cmbRepeatType, RepeatValues()); }

// ---- the date picker and the placeholders ----

void frmEnterRec::showPanel(QFrame* panel, QWidget* below) {
    panel->adjustSize();
    QPoint at = below ? below->mapTo(this, QPoint(0, below->height())) : QPoint(0, 0);
    if (!below) at = QPoint((width() - panel->width()) / 2, (height() - panel->height()) / 3);
    at.setX(std::max(0, std::min(at.x(), width() - panel->width())));
    at.setY(std::max(0, std::min(at.y(), height() - panel->height())));
    panel->move(at);
    panel->show();
    panel->raise();
}

// Just below the date box, or above it on a screen without room below;
// moved sideways as far as it must to stay on the screen.
void frmEnterRec::showDatePicker() {
    SSPanel2->adjustSize();
    const QSize size = SSPanel2->size();
    const QPoint boxTop = txtDate->mapToGlobal(QPoint(0, 0));
    const QRect room = screen() ? screen()->availableGeometry() : QRect(boxTop, QSize(1 << 14, 1 << 14));
    QPoint at(boxTop.x(), boxTop.y() + txtDate->height());
    if (at.y() + size.height() > room.bottom() + 1 && boxTop.y() - size.height() >= room.top())
        at.setY(boxTop.y() - size.height());
    at.setX(std::max(room.left(), std::min(at.x(), room.right() + 1 - size.width())));
    SSPanel2->move(at);
    SSPanel2->show();
    SSPanel2->raise();
}

void frmEnterRec::txtDate_DblClick() { showDatePicker(); }

void frmEnterRec::txtDate_GotFocus() {
    const std::string t = txtDate->text().toStdString();
    if (Trim(t).empty() || t == entry::kDate) showDatePicker();
}

void frmEnterRec::MonthView1_DateClick(const QDate& date) {
    txtDate->setText(QString::fromStdString(FormatMDY({date.year(), date.month(), date.day()})));
    SSPanel2->hide();
    txtDate->setFocus();
}

bool frmEnterRec::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool inPicker = widget && (widget == SSPanel2 || SSPanel2->isAncestorOf(widget));
    if (event->type() == QEvent::KeyPress && (watched == txtDate || inPicker) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && SSPanel2->isVisible()) {
        SSPanel2->hide();
        return true;
    }
    if (event->type() == QEvent::FocusIn) {
        // The window becoming active again (the picker just closed) is no
        // entering of the date box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (watched == txtDate) {
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) txtDate_GotFocus();
        } else if (watched == txtPriority && txtPriority->text() == entry::kPriority) txtPriority->clear();
        else if (watched == txtRepeatNo && txtRepeatNo->text() == entry::kRepeatNo) txtRepeatNo->clear();
        else if (watched == txtSearch && txtSearch->text() == entry::kSearch) txtSearch->clear();
        else if (watched == Combo4 || watched == Combo4->lineEdit()) fontMark_ = true;
    } else if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == txtDate) txtDate_DblClick();
        for (int i = 0; i < 4; ++i)
            if (watched == txtColor[static_cast<size_t>(i)]) {
                txtColor_DblClick(i);
                return true;
            }
    }
    return QWidget::eventFilter(watched, event);
}

void frmEnterRec::mousePressEvent(QMouseEvent* event) {
    // Only a press on the window's own surface, not on one of its controls.
    if (fontMark_ && !childAt(event->position().toPoint())) SelectFont();
    QWidget::mousePressEvent(event);
}

void frmEnterRec::setStatusPanel(int panel, const QString& text) {
    if (panel >= 1 && panel <= 3) statusPanels_[static_cast<size_t>(panel - 1)]->setText(text);
}

// ---- closing ----

void frmEnterRec::closeEvent(QCloseEvent* event) {
    if (closeDone_) {
        event->accept();
        return;
    }
    event->ignore();
    if (shrinking_) return;
    // The layout must not hold the window at its minimum size while it shrinks.
    if (layout()) layout()->setSizeConstraint(QLayout::SetNoConstraint);
    setMinimumSize(1, 1);
    shrinking_ = true;
    closeI_ = 100;
    closeStep();
    closeTimer_.setInterval(kCloseStepMs);
    closeTimer_.start();
}

void frmEnterRec::closeStep() {
    if (!shrinking_) return;
    if (closeI_ < 2) {
        finishClose();
        return;
    }
    // Height first, then width, each from the size the step before left.
    resize(width(), std::max(1, height() * closeI_ / 100));
    resize(std::max(1, width() * closeI_ / 100), height());
    closeI_ -= 2;
}

void frmEnterRec::finishClose() {
    closeTimer_.stop();
    shrinking_ = false;
    closeDone_ = true;
    if (loaded_) Module1.EnterRecOpen = false;
    loaded_ = false;
    setAttribute(Qt::WA_DeleteOnClose);
    close();
}

void frmEnterRec::unloadNow() {
    if (!closeDone_) finishClose();
}

// ---- the one instance ----

frmEnterRec* EnterRec() {
    return g_enterRec && !g_enterRec->closing() ? g_enterRec.data() : nullptr;
}

frmEnterRec* ShowEnterRec() {
    if (g_enterRec && g_enterRec->closing()) g_enterRec->unloadNow();
    if (!EnterRec()) {
        g_enterRec = new frmEnterRec(MainParent());
        g_enterRec->Form_Load();
    }
    g_enterRec->show();
    g_enterRec->raise();
    g_enterRec->activateWindow();
    return g_enterRec;
}

void UnloadEnterRec() {
    if (g_enterRec) g_enterRec->unloadNow();
}

}  // namespace vm
