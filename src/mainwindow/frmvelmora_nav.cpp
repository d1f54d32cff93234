// Moving through months: the month and year boxes with their typed names
// and years, the key handlers of the boxes and the window (arrows swallowed,
// Ctrl+M / Ctrl+Y show or hide the boxes), the main toolbar's sixteen
// buttons, the records a search listed and their deletion, and the double
// click on a day cell that opens the selected-day window.
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QWidgetAction>

#include <algorithm>
#include <functional>
#include <optional>

#include "core/calendarfiles.h"
#include "core/dates.h"
#include "core/module1.h"
#include "core/monthcells.h"
#include "core/numtext.h"
#include "core/sorting.h"
#include "mainwindow/celllabel.h"
#include "mainwindow/frmvelmora.h"
#include "platform/controls.h"
#include "records/dategrid.h"
#include "platform/keyedbutton.h"

#include "exchange/printgrid.h"
#include "platform/messages.h"
#include "platform/recordgrid.h"
#include "platform/sound.h"
#include "platform/sqlstore.h"
#include "platform/steps.h"
#include "records/frmselectedday.h"

namespace vm {
namespace {

// Month names by number; element 0 is what a month number of 0 writes.
const char* const kMonthNames[13] = {" ",    "January", "February",  "March",   "April",    "May",     "June",
                                     "July", "August",  "September", "October", "November", "December"};

constexpr int kFirstListedYear = 2018;
constexpr int kLastListedYear = 2040;
constexpr int kLowestYear = 1;
constexpr int kHighestYear = 9999;

// Key codes and shift bits the key handlers work with.
constexpr int16_t kKeyUp = 38, kKeyDown = 40, kKeyM = 77, kKeyY = 89;
constexpr int16_t kShiftBit = 1, kCtrlBit = 2, kAltBit = 4;

// Places of the toolbar's commands (twips).
constexpr double kCopyPanelTop = 1180, kCopyPanelLeft = 180;

// The toolbar's buttons in order; a null key is a separator. The buttons
// show short captions: the desktop's icon themes are not loaded for them.
struct ButtonDef {
    const char* key;
    const char* caption;
    const char* tip;
};
const ButtonDef kButtons[17] = {
    {nullptr, nullptr, nullptr},
    {"Print", "Print", " Print Grid "},
    {nullptr, nullptr, nullptr},
    {"Back", "Back", " Move Back One Month "},
    {nullptr, nullptr, nullptr},
    {"Forward", "Forward", " Move Ahead One Month "},
    {nullptr, nullptr, nullptr},
    {"Justify", "Grid", " Show Date Data Grid "},
    {nullptr, nullptr, nullptr},
    {"bottomArrow16Green", "Bottom", " Move to Bottom of Grid"},
    {nullptr, nullptr, nullptr},
    {nullptr, nullptr, nullptr},
    {"btn_cancel", "Delete", " Delete All Search Records "},
    {nullptr, nullptr, nullptr},
    {"CopyRec", "Copy", " Copy Search Records Shown "},
    {nullptr, nullptr, nullptr},
    {"Drawing", "Calendar", " Show  Calendar Display "},
};
// Buttons shown only while a search has listed records.
constexpr int kListedSeparator = 10, kDeleteListed = 12;

// The year text of the boxes: one blank, then the digits.
QString YearText(int year) { return QString::fromStdString(Str(static_cast<int64_t>(year))); }

// The year a text names, when it is one the month build can draw.
std::optional<int> YearOfText(const QString& text) {
    const double v = Val(text.toStdString());
    if (!(v >= kLowestYear - 0.5 && v < kHighestYear + 0.5)) return std::nullopt;
    return static_cast<int>(RoundHalfEven(v));
}

// The key code of a key press: letters and digits by their character code,
// the arrows by their own codes; other keys by Qt's code.
int16_t KeyCodeOf(const QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Up: return kKeyUp;
        case Qt::Key_Down: return kKeyDown;
        case Qt::Key_Left: return 37;
        case Qt::Key_Right: return 39;
        case Qt::Key_Return:
        case Qt::Key_Enter: return 13;
        case Qt::Key_Escape: return 27;
        default: break;
    }
    const int k = e->key();
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return static_cast<int16_t>(k);
    return static_cast<int16_t>(k & 0x7FFF);
}

int16_t ShiftOf(const QKeyEvent* e) {
    int16_t s = 0;
    if (e->modifiers() & Qt::ShiftModifier) s |= kShiftBit;
    if (e->modifiers() & Qt::ControlModifier) s |= kCtrlBit;
    if (e->modifiers() & Qt::AltModifier) s |= kAltBit;
    return s;
}

bool IsBoxToggleKey(int16_t code, int16_t shift) { return (code == kKeyM || code == kKeyY) && shift == kCtrlBit; }

// Keeps a flag set while a scope runs.
struct FlagScope {
    bool& flag;
    explicit FlagScope(bool& f) : flag(f) { flag = true; }
    ~FlagScope() { flag = false; }
};

}  // namespace

// ---------------------------------------------------------------- set-up

void frmVelmora::InstallNavigation() {
    navContext_ = std::make_unique<QObject>();
    QObject* context = navContext_.get();
    // Typed text stays as typed: no completion, no new list items.
    for (QComboBox* box : {cmbMonth, cmbYear}) {
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setCompleter(nullptr);
    }
    FillMonthCombos();

    // The sixteen buttons, ahead of the boxes already on the toolbar.
    QAction* before = Toolbar1->actions().value(0, nullptr);
    for (int i = 1; i <= 16; ++i) {
        const ButtonDef& def = kButtons[i];
        QAction* a = nullptr;
        if (!def.key) {
            a = new QAction(Toolbar1);
            a->setSeparator(true);
            a->setObjectName(QString("sep_%1").arg(i));
        } else {
            const QString key = QString::fromUtf8(def.key);
            a = new QAction(QString::fromUtf8(def.caption), Toolbar1);
            a->setObjectName(key);
            a->setData(key);
            a->setToolTip(QString::fromUtf8(def.tip));
            connect(a, &QAction::triggered, context, [this, a] { Toolbar1_ButtonClick(a); });
        }
        Toolbar1->insertAction(before, a);
        toolbarButtons_[size_t(i)] = a;
    }
    KeepSeparatorsTidy(Toolbar1);
    // Tab reaches the buttons in their order on the bar, right after the
    // bar's boxes (the window still opens with the keys in the month box)
    // and ahead of the grid, whose cells take Tab one by one.
    QWidget* previous = cmdGo;
    for (QAction* a : toolbarButtons_)
        if (a && !a->isSeparator())
            if (QWidget* button = ReachByTab(Toolbar1, a)) {
                QWidget::setTabOrder(previous, button);
                previous = button;
            }
    SetSearchButtonsVisible(false);

    connect(cmbMonth->lineEdit(), &QLineEdit::textEdited, context, [this] { cmbMonth_Change(); });
    connect(cmbMonth, qOverload<int>(&QComboBox::activated), context, [this] {
        AcceptYearBox();
        cmbmonth_Click();
    });
    connect(cmbYear, qOverload<int>(&QComboBox::activated), context, [this] { cmbYear_Click(); });
    for (CellLabel* day : lblDay) connect(day, &CellLabel::doubleClicked, context, [this](int index) { lblDay_DblClick(index); });
    if (mnuFile) connect(mnuFile, &QMenu::aboutToShow, context, [this] { HideSearchButtons(); });
    // Whatever points the date grid at other rows ends the listing.
    connect(DataDatesModel, &QAbstractItemModel::modelReset, context, [this] {
        if (!dateGrid->ListingShown()) SetSearchButtonsVisible(false);
    });

    // The hook goes with navContext_, so the widgets' tear-down never reaches it.
    auto* hook = new EventHook(context, [this](QObject* watched, QEvent* event) {
        const QEvent::Type type = event->type();
        return (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) && NavKeyEvent(watched, event);
    });
    cmbMonth->installEventFilter(hook);
    cmbYear->installEventFilter(hook);
    installEventFilter(hook);
}

void frmVelmora::FillMonthCombos() {
    const CivilDate today = Today();
    cmbMonth->clear();
    for (int m = 1; m <= 12; ++m) cmbMonth->addItem(kMonthNames[m]);
    WriteMonthBox(kMonthNames[today.m >= 1 && today.m <= 12 ? today.m : 0]);
    cmbYear->clear();
    for (int y = kFirstListedYear; y <= kLastListedYear; ++y) cmbYear->addItem(YearText(y));
    const QString year = YearText(today.y);
    cmbYear->setCurrentIndex(cmbYear->findText(year));
    cmbYear->setEditText(year);
}

QAction* frmVelmora::Toolbar1Button(int index) const {
    return index >= 1 && index <= 16 ? toolbarButtons_[size_t(index)] : nullptr;
}

QAction* frmVelmora::Toolbar1Button(const QString& key) const {
    for (int i = 1; i <= 16; ++i)
        if (toolbarButtons_[size_t(i)] && !key.isEmpty() && toolbarButtons_[size_t(i)]->objectName() == key)
            return toolbarButtons_[size_t(i)];
    return nullptr;
}

// ---------------------------------------------------------------- month and year boxes

void frmVelmora::WriteMonthBox(const QString& name) {
    const int index = cmbMonth->findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index >= 0) cmbMonth->setCurrentIndex(index);
    cmbMonth->setEditText(name);
}

void frmVelmora::cmbMonth_Change() {
    if (inMonthChange_) return;  // our own write-back below
    SetSearchButtonsVisible(false);
    const QString text = cmbMonth->currentText();
    if (text.size() < 3) return;
    const QString lower = text.toLower();
    int m = 0;
    for (int i = 1; i <= 12 && m == 0; ++i)
        if (lower == QString::fromUtf8(kMonthNames[i]).toLower()) m = i;
    if (m == 0) return;
    {
        FlagScope scope(inMonthChange_);
        WriteMonthBox(lower.left(1).toUpper() + lower.mid(1));
    }
    AcceptYearBox();
    OptionalStep([&] { cmbmonth_Click(); });
    dateGrid->txtSearch->setFocus();
    dateGrid->lblRecCnt->clear();
}

void frmVelmora::cmbYear_Click() {
    OptionalStep([&] { BuildCalendarNumbers(); });
    OptionalStep([&] { LayoutDayGrid(); });
    OptionalStep([&] { EnableMainControls(true); });
    SetSearchButtonsVisible(false);
    dateGrid->lblRecCnt->clear();
}

void frmVelmora::cmbYear_KeyPress(int16_t& KeyAscii) {
    // The year's month may take another number of rows: drawn and laid out
    // as the month box does it.
    if (KeyAscii == 13 && AcceptYearBox())
        OptionalStep([&] { cmbmonth_Click(); });
    else
        OptionalStep([&] { EnableMainControls(true); });
}

int frmVelmora::ShownYear() const {
    // The drawn month's own days carry their day keys.
    for (int i = 0; i < kCellCount; ++i)
        if (!cells_.title[size_t(i)].tooltip.empty()) return KeyToCivil(CellJulDate[size_t(i)]).y;
    return Today().y;
}

bool frmVelmora::AcceptYearBox() {
    if (const std::optional<int> year = YearOfText(cmbYear->currentText())) {
        const QString text = YearText(*year);
        if (cmbYear->currentText() != text) {
            const int index = cmbYear->findText(text);
            if (index >= 0) cmbYear->setCurrentIndex(index);
            cmbYear->setEditText(text);
        }
        return true;
    }
    Messages().beep();
    const QString shown = YearText(ShownYear());
    const int index = cmbYear->findText(shown);
    if (index >= 0) cmbYear->setCurrentIndex(index);
    cmbYear->setEditText(shown);
    return false;
}

// ---------------------------------------------------------------- keys

// Each key's toggle starts from what is shown, so the first press hides the
// boxes that show, whichever key or box hid or showed them last.
bool frmVelmora::ToggleBoxes(int16_t& KeyCode, int16_t Shift) {
    if (!IsBoxToggleKey(KeyCode, Shift)) return false;
    SetMonthBoxesVisible(!MonthBoxesShown());
    DoEvents();
    KeyCode = 0;
    return true;
}

void frmVelmora::cmbMonth_KeyDown(int16_t& KeyCode, int16_t Shift) {
    if ((KeyCode == kKeyUp || KeyCode == kKeyDown) && Shift == 0) {
        KeyCode = 0;
        return;
    }
    OptionalStep([&] { ToggleBoxes(KeyCode, Shift); });
}

void frmVelmora::cmbYear_KeyDown(int16_t& KeyCode, int16_t Shift) {
    OptionalStep([&] { ToggleBoxes(KeyCode, Shift); });
}

void frmVelmora::Form_KeyDown(int16_t& KeyCode, int16_t Shift) {
    Operation op("Form_KeyDown_Error");
    if ((KeyCode == kKeyUp || KeyCode == kKeyDown) && Shift == 0) {
        KeyCode = 0;
        return;
    }
    if (!IsBoxToggleKey(KeyCode, Shift)) return;
    bool show = false;
    if (!op.step(1, [&] { show = !MonthBoxesShown(); })) return;
    if (!op.step(2, [&] { SetMonthBoxesVisible(show); })) return;
    if (!op.step(3, [&] { DoEvents(); })) return;
    KeyCode = 0;
}

bool frmVelmora::MonthBoxesShown() const {
    for (QAction* a : Toolbar1->actions())
        if (auto* wa = qobject_cast<QWidgetAction*>(a))
            if (wa->defaultWidget() == cmbMonth) return wa->isVisible();
    return cmbMonth->isVisible();
}

void frmVelmora::SetMonthBoxesVisible(bool visible) {
    // Widgets on a tool bar show and hide through their actions.
    for (QAction* a : Toolbar1->actions())
        if (auto* wa = qobject_cast<QWidgetAction*>(a))
            if (wa->defaultWidget() == cmbMonth || wa->defaultWidget() == cmbYear) wa->setVisible(visible);
}

bool frmVelmora::NavKeyEvent(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::ShortcutOverride) return false;
    const bool month = watched == cmbMonth, year = watched == cmbYear, form = watched == this;
    if (!month && !year && !form) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    int16_t code = KeyCodeOf(key);
    const int16_t shift = ShiftOf(key);
    if (type == QEvent::ShortcutOverride) {
        // The boxes' own keys come to them even when a shortcut uses them.
        if ((month || year) && IsBoxToggleKey(code, shift)) {
            event->accept();
            return true;
        }
        return false;
    }
    if (month) cmbMonth_KeyDown(code, shift);
    else if (year) cmbYear_KeyDown(code, shift);
    else Form_KeyDown(code, shift);
    if (code == 0) {
        event->accept();
        return true;
    }
    if (year && (code == kKeyUp || code == kKeyDown)) {
        // The arrows step from the year the box holds, listed or typed.
        const int next = YearOfText(cmbYear->currentText()).value_or(ShownYear()) + (code == kKeyUp ? -1 : 1);
        if (next < kLowestYear || next > kHighestYear) {
            Messages().beep();
        } else {
            const QString text = YearText(next);
            const int index = cmbYear->findText(text);
            if (index >= 0) cmbYear->setCurrentIndex(index);
            cmbYear->setEditText(text);
            cmbYear_Click();
        }
        event->accept();
        return true;
    }
    if (month || year) {
        // A key that steps through the list steps from the entry the box shows.
        if (code == kKeyUp || code == kKeyDown) {
            auto* box = static_cast<QComboBox*>(watched);
            const int shown = box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
            if (shown >= 0 && shown != box->currentIndex()) box->setCurrentIndex(shown);
        }
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (year && !key->text().isEmpty()) {
            int16_t ascii = enter ? 13 : static_cast<int16_t>(key->text().at(0).unicode() & 0x7FFF);
            cmbYear_KeyPress(ascii);
        }
        // Enter never picks a list item: typed names draw as they complete,
        // typed years on the key press above.
        if (enter) {
            event->accept();
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- listed records

void frmVelmora::SetSearchButtonsVisible(bool visible) {
    for (int i : {kListedSeparator, kDeleteListed})
        if (QAction* a = toolbarButtons_[size_t(i)]) a->setVisible(visible);
}

void frmVelmora::HideSearchButtons() { SetSearchButtonsVisible(false); }

// ---------------------------------------------------------------- toolbar

void frmVelmora::Toolbar1_ButtonClick(QAction* Button) {
    if (!Button) return;
    const QString key = Button->objectName();
    OptionalStep([&] { EnableMainControls(false); });
    SetSearchButtonsVisible(false);
    int16_t m = 0;
    GetMonthNumber(cmbMonth->currentText().toStdString(), m);
    OptionalStep([&] { SoundPlayer().stop(); });
    Button->setEnabled(false);

    auto moveSplitter = [&](double left) {
        TwipsRect bar = TwipsOf(SSCmdVert);
        bar.left = left;
        SetTwips(SSCmdVert, bar);
    };
    auto stepYear = [&](int by, int16_t newMonth) {
        AcceptYearBox();
        const std::optional<int> year = YearOfText(cmbYear->currentText());
        const int next = year.value_or(ShownYear()) + by;
        if (next < kLowestYear || next > kHighestYear) {
            Messages().beep();
            return;
        }
        const QString text = YearText(next);
        const int index = cmbYear->findText(text);
        if (index >= 0) cmbYear->setCurrentIndex(index);
        cmbYear->setEditText(text);
        m = newMonth;
    };

    if (key == "CopyRec") {
        OptionalStep([&] {
            if (PanelMadeWhenShown* panel = dateGrid ? dateGrid->ssPanlCopyRecs : nullptr) {
                panel->MakeControls();  // sized by its boxes before it is placed
                TwipsRect r = TwipsOf(panel);
                r.top = kCopyPanelTop;
                r.left = kCopyPanelLeft;
                SetTwips(panel, r);
                panel->show();
                panel->raise();
                KeepPanelClear(panel);
            }
        });
    } else if (key == "btn_cancel") {
        if (CalendarIsWritable("Delete Records")) WriteStep("The deletion", [&] { dateGrid->DeleteListedRecords(); });
    } else if (key == "bottomArrow16Green") {
        OptionalStep([&] { moveSplitter(FormWidthTwips() - kGridSideMargin); });
        OptionalStep([&] { Form_Resize(); });
        OptionalStep([&] { DoEvents(); });
        OptionalStep([&] {
            DataDates.moveLast();
            const int last = DataDatesModel->recordCount() - 1;
            if (last >= 0) {
                const QModelIndex at = DataDatesModel->index(last, 0);
                TDBGridDates->setCurrentIndex(at);
                TDBGridDates->scrollTo(at);
            }
        });
    } else if (key == "Drawing") {
        if (MainState.pRebuildRepeating) WriteStep("The repeating data", [&] { mnuFile_Build_Repeating_Click(); });
        OptionalStep([&] { moveSplitter(kCalendarSideLeft); });
        OptionalStep([&] { cmbmonth_Click(); });
        OptionalStep([&] { Form_Resize(); });
        for (const char* name : {"SSPanelDayColor", "SSPanelExport", "SSPanelImport", "sspanelOrvanta"})
            if (auto* panel = findChild<QWidget*>(name)) panel->hide();
    } else if (key == "Justify") {
        if (MainState.pRebuildRepeating) WriteStep("The repeating data", [&] { mnuFile_Build_Repeating_Click(); });
        OptionalStep([&] { moveSplitter(FormWidthTwips() - kGridSideMargin); });
        OptionalStep([&] { cmbmonth_Click(); });
        OptionalStep([&] { Form_Resize(); });
    } else if (key == "Print") {
        OptionalStep([&] { Print_Grid(TDBGridDates, 2, "Halvex Systems - Velmora Grid Printout  "); });
    } else if (key == "Back") {
        if (m != 1) m = static_cast<int16_t>(m - 1);
        else stepYear(-1, 12);
    } else if (key == "Forward") {
        if (m != 12) m = static_cast<int16_t>(m + 1);
        else stepYear(+1, 1);
    }

    // A new name in the month box draws that month (Back and Forward).
    OptionalStep([&] { DoEvents(); });
    if (m >= 0 && m <= 12) {
        const QString name = QString::fromUtf8(kMonthNames[m]);
        if (cmbMonth->currentText() != name) {
            WriteMonthBox(name);
            cmbMonth_Change();
        }
    }
    OptionalStep([&] { EnableMainControls(true); });
    OptionalStep([&] { DoEvents(); });
    Button->setEnabled(true);
}

// ---------------------------------------------------------------- day cells

void frmVelmora::lblDay_DblClick(int Index) {
    if (Index < 0 || Index >= kCellCount) return;
    // Only a day of the shown month: its number strip carries the date.
    const QLabel* title = lblTitle[size_t(Index)];
    if (title->text().isEmpty() || cells_.title[size_t(Index)].tooltip.empty()) return;
    if (Module1.SelectedDayOpen) UnloadSelectedDay();
    Module1.SelDayTitle = cmbMonth->currentText().toStdString();
    Module1.SelDayDayNo = title->text().toStdString();
    Module1.SelDayYear = cmbYear->currentText().toStdString();
    Module1.SelDayText = lblDay[size_t(Index)]->text().replace("&&", "&").toStdString();
    Module1.SelDayIndex = static_cast<int16_t>(Index);
    ShowSelectedDay();
}

}  // namespace vm
