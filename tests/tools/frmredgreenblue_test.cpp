// The colour converter driven headless.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>
#include <tuple>

#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/messages.h"
#include "platform/pickers.h"
#include "testsupport.h"
#include "tools/frmredgreenblue.h"

namespace {

class Converter : public ::testing::Test {
protected:
    void SetUp() override {
        vm::SetPickers(&pickers);
        main = std::make_unique<vm::frmVelmora>();
        main->move(120, 90);
        w = vm::ShowRedGreenBlue();
    }
    void TearDown() override {
        vm::UnloadRedGreenBlue();
        main.reset();
        vm::SetPickers(nullptr);
    }
    QLineEdit* box(int i) const { return w->findChild<QLineEdit*>(QString("Text1_%1").arg(i)); }
    QString text(int i) const { return box(i)->text(); }
    QString texts() const { return QStringList{text(0), text(1), text(2), text(3), text(4)}.join('|'); }
    void type(int i, const QString& value) {
        box(i)->clear();
        QTest::keyClicks(box(i), value);
    }
    void click(const char* name) {
        auto* b = w->findChild<QPushButton*>(name);
        ASSERT_NE(b, nullptr) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QWidget* part(const char* name) const { return w->findChild<QWidget*>(name); }
    static QString clipboard() { return QGuiApplication::clipboard()->text(); }

    vmtest::Fixture fx;
    vm::FakePickers pickers;
    std::unique_ptr<vm::frmVelmora> main;
    vm::frmRedGreenBlue* w = nullptr;
};

TEST_F(Converter, OpensTopMostBesideTheColourPanelWithItsExtrasHidden) {
    EXPECT_TRUE(w->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(vm::Module1.RedGreenBlueOpen);
    auto* panel = main->findChild<QWidget*>("SSPanelDayColor");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(w->pos(), main->pos() + panel->pos() + QPoint(33, 33)) << "500 twips below and right of the panel";
    EXPECT_TRUE(part("Text2")->isHidden());
    EXPECT_TRUE(part("txtColorSampl")->isHidden());
    EXPECT_EQ(vm::ShowRedGreenBlue(), w) << "one instance";
}

TEST_F(Converter, ConvertsEveryWayAndShowsTheSample) {
    type(3, "-65280");
    click("cmdConvert2RGB");
    EXPECT_EQ(texts(), "0|255|0|-65280|&H0000FF00&");
    EXPECT_FALSE(part("Text2")->isHidden());
    EXPECT_EQ(w->findChild<QPlainTextEdit*>("Text2")->toPlainText(), "VB6 Hex = &H0000FF00&");
    EXPECT_FALSE(part("txtColorSampl")->isHidden());
    EXPECT_EQ(part("txtColorSampl")->palette().color(QPalette::Base), QColor(0, 255, 0));

    type(3, "");
    type(4, "&HFF0000&");
    click("cmdConvHex2RGB");
    EXPECT_EQ(texts(), "0|0|255|16711680|&HFF0000&");

    type(0, "128");
    type(1, "0");
    type(2, "64");
    click("cmdConvRGB");
    EXPECT_EQ(texts(), "128|0|64| 4194432|&H00400080&");
    EXPECT_EQ(clipboard(), "4194432");
    EXPECT_EQ(part("txtColorSampl")->palette().color(QPalette::Base), QColor(128, 0, 64));
}

TEST_F(Converter, ABadValueChangesNoBox) {
    type(3, "255");
    click("cmdConvert2RGB");
    const QString before = texts();
    for (auto [box, typed, button] : {std::tuple{4, "&HZZ00&", "cmdConvHex2RGB"}, std::tuple{0, "300", "cmdConvRGB"},
                                      std::tuple{4, "&H8000000F&", "cmdConvHex2RGB"}}) {
        const QString kept = text(box);
        type(box, typed);
        click(button);
        type(box, kept);
        EXPECT_EQ(texts(), before) << typed;
    }
    ASSERT_EQ(fx.messages.shown.size(), 3u);
    EXPECT_EQ(fx.messages.shown[0].icon, vm::MsgIcon::Critical);
    EXPECT_EQ(fx.messages.shown[2].title, "System Color");
    EXPECT_EQ(fx.messages.shown[2].icon, vm::MsgIcon::None);
}

TEST_F(Converter, CopyLastCopiesTheLastClickedBox) {
    type(0, "255");
    type(1, "128");
    type(2, "0");
    click("sscmdCopyLast");  // the red box is selected from the start
    EXPECT_EQ(fx.messages.shown.size(), 1u) << "a question: all three?";
    EXPECT_EQ(clipboard(), "255, 128, 0");

    QTest::mouseClick(box(1), Qt::LeftButton);
    fx.messages.answers.push_back(vm::MsgResult::No);
    click("sscmdCopyLast");
    EXPECT_EQ(clipboard(), "128");

    type(3, "4242");
    QTest::mouseClick(box(3), Qt::LeftButton);
    click("sscmdCopyLast");
    EXPECT_EQ(clipboard(), "4242");
    EXPECT_EQ(fx.messages.shown.size(), 2u) << "no question for the decimal box";

    click("sscmdClear");
    EXPECT_EQ(texts(), "||||");
    EXPECT_TRUE(part("txtColorSampl")->isHidden());
}

TEST_F(Converter, ColourDialogFillsTheDecimalBox) {
    type(3, "-255");
    pickers.nextColor = 65280;
    click("sscmdColorSelect");
    ASSERT_EQ(pickers.colorAsked.size(), 1u);
    EXPECT_EQ(pickers.colorAsked[0], 255);
    EXPECT_EQ(text(3), "65280");
    click("sscmdColorSelect");  // Cancel
    EXPECT_EQ(text(3), "65280");
}

}  // namespace
