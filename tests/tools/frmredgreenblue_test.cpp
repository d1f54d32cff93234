// The colour converter driven headless.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "core/module1.h"
#include "mainwindow/frmvelmora.h"
#include "platform/messages.h"
#include "platform/pickers.h"
#include "keyboard.h"
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

TEST_F(Converter, ConvertsEveryWayShowsTheSampleAndRefusesBadValues) {
    EXPECT_TRUE(part("txtColorSampl")->isHidden());
    EXPECT_EQ(vm::ShowRedGreenBlue(), w) << "one instance";
    type(3, "-65280");
    click("cmdConvert2RGB");
    EXPECT_EQ(texts(), "0|255|0|-65280|&H0000FF00&");
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

    // A value out of range is refused with a box and changes no other box.
    type(0, "300");
    click("cmdConvRGB");
    EXPECT_EQ(texts(), "300|0|64| 4194432|&H00400080&");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].icon, vm::MsgIcon::Critical);
}

TEST_F(Converter, CopyLastCopiesTheLastClickedBox) {
    type(0, "255");
    type(1, "128");
    type(2, "0");
    click("sscmdCopyLast");  // the red box is selected from the start; Yes copies all three
    EXPECT_EQ(clipboard(), "255, 128, 0");
    QTest::mouseClick(box(1), Qt::LeftButton);
    fx.messages.answers.push_back(vm::MsgResult::No);
    click("sscmdCopyLast");
    EXPECT_EQ(clipboard(), "128");

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

// The message box below the values: Tab moves on to the buttons, it types
// no tab into the message.
TEST_F(Converter, TabLeavesTheMessageBoxWithoutTypingIntoIt) {
    type(3, "65280");
    click("cmdConvert2RGB");
    auto* message = w->findChild<QPlainTextEdit*>("Text2");
    ASSERT_TRUE(message->isVisible());
    const QString said = message->toPlainText();
    ASSERT_TRUE(vmtest::ActivateForKeys(w));
    ASSERT_TRUE(vmtest::TabTo("Text2"));
    vmtest::Press(Qt::Key_Tab);
    EXPECT_EQ(vmtest::FocusName(), "sscmdClear");
    EXPECT_EQ(message->toPlainText(), said);
}

}  // namespace
