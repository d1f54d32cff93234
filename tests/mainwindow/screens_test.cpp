// The main window on a 1366 x 768 laptop screen, also with large fonts: the
// floating panels keep every button within reach, the status line's notice
// leaves the window narrow enough for a small screen, and the splitter bar
// never leaves the grid covered or itself out of reach.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollArea>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/monthlayout.h"
#include <QScrollBar>
#include <QWheelEvent>
#include "mainwindow/settingspanel.h"
#include "monthfixture.h"
#include "platform/fitwidgets.h"
#include "platform/sound.h"

namespace {

using vm::layout::TwipsFromPixels;

class SmallScreen : public vmtest::MonthBuild {
protected:
    void SetUp() override {
        ASSERT_EQ(QGuiApplication::primaryScreen()->geometry().size(), QSize(1366, 768))
            << "run through ctest, which gives this test its 1366 x 768 screen";
        MonthBuild::SetUp();
        Draw("February", " 2026");
    }
    void TearDown() override { QApplication::setFont(font_); }

    // Fonts half as large again, as a desktop set to 144 dots an inch gives them.
    void LargeFonts() {
        QFont large = font_;
        large.setPointSizeF(font_.pointSizeF() * 1.5);
        QApplication::setFont(large);
    }
    void Resize(int width, int height) {
        w->resize(width, height);
        QApplication::processEvents();
    }
    // The widget's rectangle in the window, and the client panel's.
    QRect InWindow(const QWidget* x) { return QRect(x->mapTo(w.get(), QPoint(0, 0)), x->size()); }
    QRect Client() { return InWindow(w->SSPanel1); }

    // Every button of a shown panel lies inside the client panel, drawn at
    // the height it needs; the footer's without scrolling, the others once
    // scrolled to.
    void ExpectAllButtonsReachable(const char* name, const std::vector<const char*>& inSight) {
        auto* panel = w->findChild<vm::ScrollingPanel*>(name);
        ASSERT_NE(panel, nullptr) << name;
        ASSERT_TRUE(panel->isVisible()) << name;
        EXPECT_TRUE(Client().contains(InWindow(panel))) << name;
        for (const char* button : inSight) {
            auto* b = panel->findChild<QAbstractButton*>(button);
            ASSERT_NE(b, nullptr) << button;
            EXPECT_TRUE(Client().contains(InWindow(b))) << button;
            EXPECT_GE(b->height(), b->minimumSizeHint().height()) << button;
        }
        const QRect view = InWindow(panel->Scroller()->viewport());
        for (QAbstractButton* b : panel->Contents()->findChildren<QAbstractButton*>()) {
            if (!b->isVisibleTo(panel)) continue;
            panel->Scroller()->ensureWidgetVisible(b, 0, 0);
            EXPECT_TRUE(view.contains(InWindow(b))) << b->objectName().toStdString();
            EXPECT_TRUE(Client().contains(InWindow(b))) << b->objectName().toStdString();
            EXPECT_GE(b->height(), b->minimumSizeHint().height()) << b->objectName().toStdString();
        }
    }
    void OpenPanels() {
        w->findChild<QAction*>("mnuFile_Settings")->trigger();
        ExpectAllButtonsReachable("SSPanelSettings", {"sscmdExitSettings"});
        w->findChild<QAction*>("mnuFile_Export_Data")->trigger();
        ExpectAllButtonsReachable("SSPanelExport",
                                  {"sscmdExportFields", "sschxAll_None", "sscmdCancelExport", "sscmdExportHelp"});
        const std::string file = vmtest::MakeTempDir("velmora-screens") + "/in.txt";
        vmtest::WriteAll(file, "");
        fx.messages.fileAnswers.push_back(file);
        w->findChild<QAction*>("mnuFile_Import")->trigger();
        ExpectAllButtonsReachable("SSPanelImport",
                                  {"sscmdImport", "sscmdSetAll", "sscmdCancelImport", "sscmdImportHelp"});
        // The copy panel, small enough to need no scrolling, moved in all the same.
        w->Toolbar1->findChild<QAction*>("CopyRec")->trigger();
        for (const char* name : {"sscmdCopyRec", "sscmdCloseCopyPnl"})
            EXPECT_TRUE(Client().contains(InWindow(w->findChild<QWidget*>(name)))) << name;
    }

    QFont font_ = QApplication::font();
};

TEST_F(SmallScreen, PanelsKeepEveryButtonInReachOnALaptop) {
    Resize(1366, 705);
    OpenPanels();
    auto* settings = w->findChild<vm::ScrollingPanel*>("SSPanelSettings");
    const int width = settings->width();
    for (int height : {700, 690, 705}) Resize(1366, height);
    w->findChild<QAction*>("mnuFile_Settings")->trigger();
    EXPECT_EQ(settings->width(), width) << "the room for the scroll bar is given once";
    // Where the window has room the settings panel is whole, nothing scrolled.
    Resize(1366, 1000);
    EXPECT_GE(settings->height(), settings->sizeHint().height());
    // A window made smaller while they are open keeps them inside.
    Resize(1000, 500);
    for (const char* name : {"SSPanelSettings", "SSPanelExport", "SSPanelImport"})
        EXPECT_TRUE(Client().contains(InWindow(w->findChild<QWidget*>(name)))) << name;
    ExpectAllButtonsReachable("SSPanelSettings", {"sscmdExitSettings"});
}

// The wheel rolled over a scrolling panel scrolls it, also when a list comes
// under the pointer: a list the user has not entered keeps its choice.
TEST_F(SmallScreen, TheWheelOverAScrollingPanelChangesNoList) {
    Resize(900, 450);
    w->findChild<QAction*>("mnuFile_Settings")->trigger();
    auto* settings = w->findChild<vm::ScrollingPanel*>("SSPanelSettings");
    auto* style = settings->findChild<QComboBox*>("cmbCalStyle");
    ASSERT_NE(style, nullptr);
    QScrollBar* bar = settings->Scroller()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the panel scrolls";
    const QString chosen = style->currentText();
    const QPoint at = style->rect().center();
    QWheelEvent wheel(at, style->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(style, &wheel);
    EXPECT_EQ(style->currentText(), chosen);
    EXPECT_GT(bar->value(), 0) << "the panel scrolled instead";
}

TEST_F(SmallScreen, PanelsKeepEveryButtonInReachWithLargeFonts) {
    LargeFonts();
    Resize(1366, 705);
    OpenPanels();
}

// The same laptop at twice the scale: a window of 683 by 352 pixels.
TEST_F(SmallScreen, PanelsKeepEveryButtonInReachAtTwiceTheScale) {
    Resize(683, 352);
    OpenPanels();
}

// A panel at its place is grown to what its contents ask and kept in the area.
TEST(FitPanelWithin, GrowsToItsContentsThenKeepsInsideTheArea) {
    vm::ScrollingPanel panel;
    auto* column = new QVBoxLayout(panel.Contents());
    for (int i = 0; i < 20; ++i) column->addWidget(new QPushButton("Button"));
    (new QVBoxLayout(panel.Footer()))->addWidget(new QPushButton("Close"));
    const QSize whole = panel.sizeHint();
    const QRect roomy(0, 0, 2000, 2000), small(10, 20, 600, 300);
    EXPECT_EQ(vm::FitPanelWithin(&panel, QRect(50, 60, 10, 10), roomy), QRect(QPoint(50, 60), whole));
    const QRect cut = vm::FitPanelWithin(&panel, QRect(500, 200, 10, 10), small);
    EXPECT_TRUE(small.contains(cut));
    EXPECT_EQ(cut.height(), 300) << "as tall as the area, its rows scrolling";
    EXPECT_GT(cut.width(), whole.width()) << "room for the scroll bar";
    EXPECT_EQ(cut.bottom(), small.bottom());
    EXPECT_EQ(cut.right(), small.right()) << "moved left to stay whole";
}

// A long notice is cut short on the status line, its whole text in its tool
// tip, and never sets the window's least width.
TEST_F(SmallScreen, TheNoSoundNoticeLeavesTheWindowNarrow) {
    vm::ReportNoSoundDevice();  // as the first sound wanted on a machine without sound output
    for (bool large : {false, true}) {
        if (large) LargeFonts();
        ASSERT_TRUE(w->lblNotice->isVisible());
        // Narrower than an 800-pixel screen at half as large again as usual.
        EXPECT_LT(w->minimumSizeHint().width(), 800 * 2 / 3) << large;
        Resize(780, 560);
        EXPECT_EQ(w->width(), 780) << large;
        QLabel* saturday = w->DOW[6];
        EXPECT_FALSE(saturday->text().isEmpty()) << large;
        EXPECT_TRUE(w->rect().contains(InWindow(saturday))) << large;
        EXPECT_TRUE(Client().contains(InWindow(Day(6)))) << large;
        auto* notice = dynamic_cast<vm::ElidedLabel*>(w->lblNotice);
        ASSERT_NE(notice, nullptr);
        if (notice->ShownText() != notice->text()) {
            EXPECT_TRUE(notice->ShownText().endsWith(QChar(0x2026))) << large;
            EXPECT_TRUE(notice->TipText().startsWith(vm::kNoSoundDeviceText)) << large;
        }
        EXPECT_EQ(notice->text(), vm::kNoSoundDeviceText);
        Resize(1366, 705);
    }
}

TEST(ElidedLabel, CutsItsTextShortAndTellsItWholeInTheTip) {
    vm::ElidedLabel label("A notice far too long for the room this label gets on the status line");
    label.setToolTip("Click to close this notice");
    label.resize(1000, 20);
    EXPECT_EQ(label.ShownText(), label.text());
    EXPECT_EQ(label.TipText(), "Click to close this notice");
    label.resize(80, 20);
    EXPECT_TRUE(label.ShownText().endsWith(QChar(0x2026)));
    EXPECT_EQ(label.TipText(), label.text() + "\nClick to close this notice");
    EXPECT_LT(label.minimumSizeHint().width(), 80);
}

// The bar dropped at the client panel's right edge stops where it can be
// grabbed again and the day columns keep room; the cells never lie over the grid.
TEST_F(SmallScreen, ABarDroppedAtTheEdgeStaysGrabbableAndTheGridUncovered) {
    Resize(1280, 900);
    auto drag = [&](int x) {
        const QPoint inBar(1, 5), at(x, 100);
        QMouseEvent press(QEvent::MouseButtonPress, inBar, w->SSCmdVert->mapToGlobal(inBar), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(w->SSCmdVert, &press);
        QMouseEvent move(QEvent::MouseMove, at, w->SSPanel1->mapToGlobal(at), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(w->SSPanel1, &move);
        QMouseEvent release(QEvent::MouseButtonRelease, at, w->SSPanel1->mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(w->SSPanel1, &release);
    };
    auto gridUncovered = [&] {
        const QRect grid = w->TDBGridDates->geometry();
        for (int i = 0; i < vm::kCellCount; ++i) {
            EXPECT_FALSE(Day(i)->geometry().intersects(grid)) << i;
            EXPECT_FALSE(Title(i)->geometry().intersects(grid)) << i;
        }
        for (QLabel* heading : w->DOW) EXPECT_FALSE(heading->geometry().intersects(grid));
    };
    drag(w->SSPanel1->width() - 5);
    EXPECT_EQ(w->TwipsOf(w->SSCmdVert).left, w->FormWidthTwips() - vm::frmVelmora::kGridSideMargin);
    EXPECT_TRUE(w->SSPanel1->rect().contains(w->SSCmdVert->geometry()));
    EXPECT_GT(Day(6)->width(), 0);
    gridUncovered();
    drag(2);
    EXPECT_EQ(w->TwipsOf(w->SSCmdVert).left, vm::frmVelmora::kCalendarSideLeft);

    // A bar set past the panel's edge by other means: the cells take no room.
    vm::TwipsRect bar = w->TwipsOf(w->SSCmdVert);
    bar.left = w->TwipsOf(w->SSPanel1).width - 100;
    w->SetTwips(w->SSCmdVert, bar);
    double pos = 0;
    w->LayoutBySplitter(pos);
    gridUncovered();
}

// After the toolbar's Grid, a narrower window keeps the grid, its scroll bar
// and the filter list inside it.
TEST_F(SmallScreen, ANarrowerWindowAfterGridKeepsTheGridInside) {
    Resize(1280, 900);
    w->Toolbar1->findChild<QAction*>("bottomArrow16Green")->trigger();
    Resize(848, 700);
    const QRect client = w->SSPanel1->rect();
    EXPECT_TRUE(client.contains(w->TDBGridDates->geometry()));
    EXPECT_TRUE(client.contains(w->SSCmdVert->geometry()));
    EXPECT_TRUE(!w->Combo3->isVisible() || client.contains(w->Combo3->geometry()));
    EXPECT_EQ(w->TwipsOf(w->SSCmdVert).left, w->FormWidthTwips() - vm::frmVelmora::kGridSideMargin);
}

}  // namespace
