// The main window's layout: the client panel, the columns from the splitter
// bar, the rows of day cells, enabling the main controls, dragging the bar
// and the floating panels, and the small mouse handlers of the panel, the
// grid and the cells. The numbers come from core/monthlayout; this file only
// reads and writes the controls' twips rectangles.
#include <QApplication>
#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTableView>

#include <cmath>
#include <functional>
#include <optional>

#include "core/datewords.h"
#include "core/module1.h"
#include "core/monthlayout.h"
#include "core/numtext.h"
#include "mainwindow/celllabel.h"
#include "mainwindow/frmvelmora.h"
#include "platform/fitwidgets.h"
#include "platform/messages.h"
#include "platform/sound.h"
#include "records/colorpanel.h"
#include "records/dategrid.h"

namespace vm {
namespace {

// The search bar's least width and its gap to the filter list (twips); the
// bar gives up to `kSearchBarSlack` of that least width to a long filter
// text. The filter list's least width.
constexpr double kSearchBarWidth = 3400, kSearchBarGap = 100, kSearchBarSlack = 700;
constexpr double kFilterLeastWidth = 1300;
constexpr double kPanelGap = 60;  // between floating panels kept apart

using namespace layout;

// The layout formulas take the window's outer size, caption, menu bar and
// borders included, as the old desktop measured it. We reckon that size from
// the central area, so that the client panel fills it whatever frame and
// tool bars this desktop adds: 60 twips on each side, 60 above the status bar.
constexpr double kFrameWidthAllowance = 280;
constexpr double kFrameHeightAllowance = 1290;

// Panels that are disabled with the main controls when they exist.
const char* kPopupPanels[] = {"SSPanelExport", "SSPanelImport", "SSPanelSettings"};
// The floating panels, kept inside the client panel when the window shrinks.
const char* kFloatingPanels[] = {"SSPanelSettings", "SSPanelExport", "SSPanelImport", "ssPanlCopyRecs",
                                 "sspanelOrvanta"};

// Reports a press on a watched floating panel and swallows it.
class PanelPressHook : public QObject {
public:
    PanelPressHook(QObject* parent, std::function<void(QWidget*)> fn) : QObject(parent), fn_(std::move(fn)) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseButtonPress) return false;
        fn_(static_cast<QWidget*>(watched));
        return true;
    }

private:
    std::function<void(QWidget*)> fn_;
};

}  // namespace

// ---------------------------------------------------------------- twips

TwipsRect MainWindowControls::TwipsOf(const QWidget* w) const {
    if (!w) return {};
    if (auto it = twips_.find(w); it != twips_.end()) return it->second;
    const QRect g = w->geometry();
    return TwipsRect{double(TwipsFromPixels(g.x())), double(TwipsFromPixels(g.y())),
                     double(TwipsFromPixels(g.width())), double(TwipsFromPixels(g.height()))};
}

void MainWindowControls::SetTwips(QWidget* w, const TwipsRect& r) {
    if (!w) return;
    twips_[w] = r;
    Place(w, r);
}

void MainWindowControls::Place(QWidget* w) { Place(w, TwipsOf(w)); }

void MainWindowControls::Place(QWidget* w, const TwipsRect& r) {
    const int x0 = PixelsFromTwips(r.left), y0 = PixelsFromTwips(r.top);
    const int x1 = PixelsFromTwips(r.left + r.width), y1 = PixelsFromTwips(r.top + r.height);
    w->setGeometry(x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0));
}

double frmVelmora::FormWidthTwips() const { return FormWidthTwipsFor(centralWidget()->width()); }

double frmVelmora::FormWidthTwipsFor(int widthPixels) { return TwipsFromPixels(widthPixels) + kFrameWidthAllowance; }

double frmVelmora::FormHeightTwips() const {
    return TwipsFromPixels(centralWidget()->height() + StatusBar1->height()) + kFrameHeightAllowance;
}

void frmVelmora::DoEvents() {
    // Never inside a resize, never inside another pump.
    if (pumping_ || inResize_) return;
    pumping_ = true;
    QCoreApplication::processEvents();
    pumping_ = false;
}

// ---------------------------------------------------------------- layout

void frmVelmora::Form_Resize() {
    if (isMinimized()) SoundPlayer().stop();
    TwipsRect panel = TwipsOf(SSPanel1);
    if (const double w = FormWidthTwips() - kPanelWidthMargin; w >= 0) {
        panel.width = w;
        SetTwips(SSPanel1, panel);
    }
    double pos = 0;
    LayoutBySplitter(pos);
    LayoutDayGrid();
    EnableMainControls(true);

    panel = TwipsOf(SSPanel1);
    TwipsRect bar = TwipsOf(SSCmdVert);
    if (const double h = panel.height - kSplitterHeightMargin; h >= 0) {
        bar.height = h;
        SetTwips(SSCmdVert, bar);
    }
    TwipsRect grid = TwipsOf(TDBGridDates);
    if (const double h = panel.height - kGridHeightMargin; h >= 0) grid.height = h;
    if (const double w = bar.left - kGridGap; w >= 0) grid.width = w;
    SetTwips(TDBGridDates, grid);
    TwipsRect picture = TwipsOf(Image1);
    picture.left = bar.left + kPictureGap;
    SetTwips(Image1, picture);
    for (const char* name : kFloatingPanels)
        if (auto* shown = findChild<QWidget*>(name); shown && shown->isVisible())
            PlaceFloatingPanel(shown, TwipsOf(shown));
}

double frmVelmora::BarLeftWithin(double left) const {
    return std::max(kCalendarSideLeft, std::min(left, FormWidthTwips() - kGridSideMargin));
}

void frmVelmora::LayoutBySplitter(double& pos) {
    const double b = TwipsOf(SSCmdVert).left;
    pos = b;
    const SplitterColumns cols = ColumnsFromSplitter(TwipsOf(SSPanel1).width, b);
    // With no room right of the bar the cells shrink to nothing: never left
    // lying over the grid.
    for (int i = 0; i < kCellCount; ++i) {
        const double left = cols.columnLeft[static_cast<size_t>(i % 7)];
        for (QWidget* w : {static_cast<QWidget*>(lblTitle[size_t(i)]), static_cast<QWidget*>(lblDay[size_t(i)])}) {
            TwipsRect r = TwipsOf(w);
            r.width = std::max(0, cols.columnWidth);
            r.left = left;
            SetTwips(w, r);
        }
    }
    SetDayNameFonts(pCurMon);
    TwipsRect grid = TwipsOf(TDBGridDates);
    if (cols.gridWidth >= 0) {
        grid.width = cols.gridWidth;
        SetTwips(TDBGridDates, grid);
    }
    TwipsRect picture = TwipsOf(Image1);
    picture.left = cols.pictureLeft;
    if (cols.pictureWidth >= 0) picture.width = cols.pictureWidth;
    SetTwips(Image1, picture);
    FitHeadings(cols);
    Combo3->setVisible(cols.searchBarShown);
    SSPanel2->setVisible(cols.searchBarShown);
    if (cols.searchBarShown && cols.gridWidth >= 0) {
        // A wider grid gives its room to the search bar; the filter list
        // stays at the grid's right edge, as wide as its longest text where
        // the grid has room for it beside the search bar's least width.
        TwipsRect bar = TwipsOf(SSPanel2), filter = TwipsOf(Combo3);
        const double right = grid.left + grid.width;
        const double room = right - bar.left - SearchBarLeastWidth() - kSearchBarGap;
        filter.width = std::max(kFilterLeastWidth, std::min(FilterWidthWanted(), room));
        filter.left = std::max(bar.left + SearchBarLeastWidth() + kSearchBarGap, right - filter.width);
        bar.width = filter.left - kSearchBarGap - bar.left;
        SetTwips(SSPanel2, bar);
        SetTwips(Combo3, filter);
        // A text cut short shows its beginning, and the open list its whole texts.
        Combo3->lineEdit()->setCursorPosition(0);
        Combo3->view()->setMinimumWidth(PixelsFromTwips(FilterWidthWanted()));
        for (auto* box : SSPanel2->findChildren<QLineEdit*>())
            if (!box->hasFocus()) box->setCursorPosition(0);
    }
}

// Over columns too narrow for the weekday names, their first three letters or
// their first letter, each within its own column; the month title stays over
// the picture and is left out where it does not fit there.
void frmVelmora::FitHeadings(const SplitterColumns& cols) {
    for (int i = 0; i < 7; ++i) {
        QLabel* heading = DOW[size_t(i)];
        const QFontMetrics metrics(heading->font());
        const QString full = QString::fromLatin1(WeekdayName(i));
        const int room = PixelsFromTwips(cols.columnWidth) - 2;
        QString text;
        for (const QString& t : {full, full.left(3), full.left(1)})
            if (metrics.horizontalAdvance(t) <= room) {
                text = t;
                break;
            }
        heading->setText(text);
        TwipsRect r = TwipsOf(heading);
        r.width = std::clamp<double>(cols.columnWidth, 0, kHeadingWidth);
        r.left = CentredLeft(cols.columnLeft[size_t(i)], cols.columnWidth, r.width);
        SetTwips(heading, r);
    }
    TwipsRect title = TwipsOf(lblMonth);
    const double pictureRight = cols.pictureLeft + std::max(0, cols.pictureWidth);
    title.left = std::max<double>(TwipsOf(DOW[3]).left - kMonthTitleOffset, cols.pictureLeft);
    title.width = std::max(0.0, std::min(kMonthTitleWidth, pictureRight - title.left));
    SetTwips(lblMonth, title);
    lblMonth->setVisible(lblMonth->fontMetrics().horizontalAdvance(lblMonth->text()) <= lblMonth->width());
}

double frmVelmora::SearchBarLeastWidth() const {
    return std::max<double>(kSearchBarWidth - kSearchBarSlack, TwipsFromPixels(SSPanel2->minimumSizeHint().width()));
}

double frmVelmora::FilterWidthWanted() const {
    // The longest of the list and the shown text, with the style's arrow and frame.
    const QFontMetrics metrics(Combo3->font());
    int widest = metrics.horizontalAdvance(Combo3->currentText());
    for (int i = 0; i < Combo3->count(); ++i) widest = std::max(widest, metrics.horizontalAdvance(Combo3->itemText(i)));
    QStyleOptionComboBox option;
    option.initFrom(Combo3);
    option.editable = true;
    const QSize size = Combo3->style()->sizeFromContents(QStyle::CT_ComboBox, &option,
                                                         QSize(widest + 8, metrics.height()), Combo3);
    return TwipsFromPixels(size.width());
}

void frmVelmora::LayoutDayGrid() {
    PaintHold hold(*this);  // the cells are painted once, in their new places
    DoEvents();
    const double pictureTop = TwipsOf(Image1).top;
    TwipsRect panel = TwipsOf(SSPanel1);
    const int panelHeight = PanelHeightFromWindow(FormHeightTwips(), pictureTop, TwipsFromPixels(StatusBar1->height()));
    if (panelHeight >= 0) {
        panel.height = panelHeight;
        SetTwips(SSPanel1, panel);
    }
    DoEvents();
    TwipsRect picture = TwipsOf(Image1);
    if (const double h = panel.height - kPictureHeightMargin; h >= 0) {
        picture.height = h;
        SetTwips(Image1, picture);
    }
    const double titleSize = pCurMon >= 1 && pCurMon <= 12 ? MainState.Month[size_t(pCurMon)].TitleFntSiz.toDouble() : 0;
    const int T = TitleHeightFromFontSize(titleSize);
    const DayGridRows rows =
        RowsFromHeights(static_cast<int>(panel.height), static_cast<int>(pictureTop), T, pCalendarRows);
    for (int r = 0; r < 6; ++r)
        for (int i = 7 * r; i < 7 * r + 7; ++i) {
            TwipsRect title = TwipsOf(lblTitle[size_t(i)]);
            title.height = T;
            title.top = rows.titleTop[size_t(r)];
            SetTwips(lblTitle[size_t(i)], title);
            TwipsRect day = TwipsOf(lblDay[size_t(i)]);
            if (rows.cellHeight >= 0) day.height = rows.cellHeight;
            day.top = rows.dayTop[size_t(r)];
            SetTwips(lblDay[size_t(i)], day);
        }
}

void frmVelmora::EnableMainControls(bool enable) {
    std::optional<PaintHold> hold;  // controls coming back are painted once, after
    if (enable) hold.emplace(*this);
    Image1->setEnabled(enable);
    for (const char* name : kPopupPanels)
        if (auto* panel = findChild<QWidget*>(name)) panel->setEnabled(enable);
    SSPanel2->setEnabled(enable);
    SSCmdVert->setEnabled(enable);
    for (int i = 0; i < kCellCount; ++i) {
        lblTitle[size_t(i)]->setEnabled(enable);
        lblDay[size_t(i)]->setEnabled(enable);
    }
    TDBGridDates->setEnabled(enable);
    Combo3->setEnabled(enable);
    DoEvents();
}

// A floating panel just opened moves off the other panels open on the
// client panel (the copy, export and import panels): to the right of them,
// or below where the width has no room, so no box of either is hidden.
void frmVelmora::KeepPanelClear(QWidget* opened) {
    if (!opened || !opened->isVisible()) return;
    for (const char* name : {"ssPanlCopyRecs", "SSPanelExport", "SSPanelImport"}) {
        auto* other = findChild<QWidget*>(name);
        if (!other || other == opened || !other->isVisible()) continue;
        if (!opened->geometry().intersects(other->geometry())) continue;
        TwipsRect r = TwipsOf(opened);
        const TwipsRect o = TwipsOf(other);
        if (o.left + o.width + kPanelGap + r.width <= TwipsOf(SSPanel1).width) {
            r.left = o.left + o.width + kPanelGap;
        } else {
            r.top = o.top + o.height + kPanelGap;
        }
        SetTwips(opened, r);
    }
    PlaceFloatingPanel(opened, TwipsOf(opened));
}

void frmVelmora::PlaceFloatingPanel(QWidget* panel, const TwipsRect& wanted) {
    QWidget* parent = panel ? panel->parentWidget() : nullptr;
    if (!parent || (parent != SSPanel1 && !parent->isAncestorOf(SSPanel1))) return SetTwips(panel, wanted);
    const QRect area(SSPanel1->mapTo(parent, QPoint(0, 0)), SSPanel1->size());
    const int x0 = PixelsFromTwips(wanted.left), y0 = PixelsFromTwips(wanted.top);
    const QRect asked(x0, y0, PixelsFromTwips(wanted.left + wanted.width) - x0,
                      PixelsFromTwips(wanted.top + wanted.height) - y0);
    const QRect r = FitPanelWithin(panel, asked, area);
    if (r == asked) return SetTwips(panel, wanted);
    SetTwips(panel, TwipsRect{double(TwipsFromPixels(r.x())), double(TwipsFromPixels(r.y())),
                              double(TwipsFromPixels(r.width())), double(TwipsFromPixels(r.height()))});
}

// ---------------------------------------------------------------- drags

void frmVelmora::SSCmdVert_MouseDown() {
    if (pDragActive || pDragColorActive) return;
    pDragActive = true;
    pButton = 1;
    EnableMainControls(false);
}

void frmVelmora::SSCmdVert_Click() {
    pButton = 1;
    EnableMainControls(false);
}

void frmVelmora::SSPanel1_DragDrop(QWidget* source, double x, double y) {
    if (source) {
        TwipsRect r = TwipsOf(source);
        switch (pButton) {
            case 1:
                x = BarLeftWithin(x);  // a bar dropped at the edge stays where it can be grabbed again
                r.left = x;
                r.top = kBarTopAfterDrop;
                SetTwips(source, r);
                LayoutBySplitter(x);
                break;
            case 2:
            case 3:
                r.left = x;
                r.top = y;
                SetTwips(source, r);
                break;
            default: break;
        }
    }
    EnableMainControls(true);
    pDragActive = false;
    pDragColorActive = false;
}

// A press on the surface of the copy panel or the colour panel starts moving
// it; the drop on the client area places it there.
void frmVelmora::InstallPanelDrags() {
    auto* hook = new PanelPressHook(navContext_.get(), [this](QWidget* panel) {
        if (pDragActive || pDragColorActive) return;
        pDragColorActive = true;
        pButton = panel == dateGrid->ssPanlCopyRecs ? 3 : 2;
        EnableMainControls(false);
        StartControlDrag(panel);
    });
    dateGrid->ssPanlCopyRecs->installEventFilter(hook);
    SSPanelDayColor->installEventFilter(hook);
}

void frmVelmora::StartControlDrag(QWidget* source) {
    dragSource_ = source;
    dragMoved_ = false;
    dragStart_ = source ? source->pos() : QPoint();
    SSPanel1->grabMouse();
}

void frmVelmora::DragMove(QPoint at) {
    if (!dragSource_) return;
    dragMoved_ = true;
    // The control follows the mouse until it is dropped.
    if (dragSource_ == SSCmdVert)
        dragSource_->move(at.x(), dragSource_->y());
    else
        dragSource_->move(at);
}

void frmVelmora::DragRelease(QPoint at) {
    QWidget* source = dragSource_;
    dragSource_ = nullptr;
    SSPanel1->releaseMouse();
    if (!source) return;
    if (dragMoved_ && SSPanel1->rect().contains(at)) {
        SSPanel1_DragDrop(source, TwipsFromPixels(at.x()), TwipsFromPixels(at.y()));
    } else {
        Place(source);  // back where it was
        if (source == SSCmdVert && !dragMoved_) SSCmdVert_Click();
        if (source != SSCmdVert) {  // a floating panel only clicked: the controls come back
            EnableMainControls(true);
            pDragColorActive = false;
        }
    }
}

// ---------------------------------------------------------------- mouse

void frmVelmora::SSPanel1_DblClick() {
    const TwipsRect picture = TwipsOf(Image1);
    const TwipsRect panel = TwipsOf(SSPanel1);
    if (auto text = RatioBoxText(picture.width, panel.top - picture.top + picture.height))
        InfoBox(*text, "Width to Height Ratios");
}

void frmVelmora::TDBGridDates_MouseDown() {
    if (auto* splash = findChild<QWidget*>("ssPnlSplash1")) splash->hide();
}

void frmVelmora::lblDay_MouseDown(int) {
    if (auto* splash = findChild<QWidget*>("ssPnlSplash1")) splash->hide();
}

void frmVelmora::lblDay_Click(int) {
    const double statusTop = TwipsFromPixels(StatusBar1->y() - centralWidget()->y());
    const TwipsRect panel = TwipsOf(SSPanel1);
    const int64_t gap = RoundHalfEven(statusTop - (panel.top + panel.height));
    if (gap < 0 || gap > 200) Form_Resize();
}

bool frmVelmora::eventFilter(QObject* watched, QEvent* event) {
    if (watched == centralWidget() && event->type() == QEvent::Resize) {
        // A narrower window keeps the bar, and so the grid, inside it.
        if (TwipsRect bar = TwipsOf(SSCmdVert); isVisible() && bar.left > BarLeftWithin(bar.left)) {
            bar.left = BarLeftWithin(bar.left);
            SetTwips(SSCmdVert, bar);
        }
        inResize_ = true;
        Form_Resize();
        inResize_ = false;
    } else if (watched == SSCmdVert && event->type() == QEvent::MouseButtonPress) {
        SSCmdVert_MouseDown();
        StartControlDrag(SSCmdVert);
        return true;
    } else if (watched == SSPanel1) {
        auto* mouse = dynamic_cast<QMouseEvent*>(event);
        if (mouse && dragSource_ && event->type() == QEvent::MouseMove) {
            DragMove(mouse->position().toPoint());
            return true;
        }
        if (mouse && dragSource_ && event->type() == QEvent::MouseButtonRelease) {
            DragRelease(mouse->position().toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseButtonDblClick) {
            SSPanel1_DblClick();
            return true;
        }
    } else if (TDBGridDates && watched == TDBGridDates->viewport() && event->type() == QEvent::MouseButtonPress) {
        TDBGridDates_MouseDown();
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace vm
