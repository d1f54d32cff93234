// A failure no handler expected: the application's box instead of an end.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <stdexcept>

#include "platform/guardedapp.h"
#include "platform/steps.h"
#include "testsupport.h"

namespace {

TEST(Uncaught, AFailureEscapingAHandlerShowsOneBoxAndTheProgramGoesOn) {
    vmtest::Fixture fx;
    QPushButton button("Fail");
    int clicks = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        ++clicks;
        throw std::out_of_range("vector::_M_range_check");
    });
    button.show();
    const int before = vm::UncaughtErrorCount();
    for (int i = 0; i < 2; ++i) QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(vm::UncaughtErrorCount(), before + 2);
    ASSERT_EQ(fx.messages.shown.size(), 2u);
    EXPECT_EQ(fx.messages.shown[0].text, "5 - vector::_M_range_check");
    EXPECT_EQ(fx.messages.shown[0].icon, vm::MsgIcon::Critical);
}

// Enter on a focused button presses it; a write failure said by one press is
// said again at the next, as it is for a click or Space: Enter is the
// user's next command too.
TEST(EnterKey, PressesTheFocusedButtonAndCountsAsTheNextCommand) {
    vmtest::Fixture fx;
    QWidget window;
    auto* button = new QPushButton("Save", &window);
    auto* other = new QPushButton("Other", &window);
    int presses = 0;
    QObject::connect(button, &QPushButton::clicked, [&] {
        ++presses;
        vm::ShowWriteFailure("The disk is full: Velmoras.mdb was not changed");
    });
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    button->setFocus();
    // As the desktop delivers keys: to the window first, then to its control.
    QTest::keyClick(window.windowHandle(), Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(presses, 2);
    EXPECT_EQ(fx.messages.shown.size(), 2u) << "the second failure is said as well";
    // Held down, it presses once, when it comes up: the key's repeats never
    // reach what the press opens.
    QTest::keyPress(button, Qt::Key_Return);
    EXPECT_TRUE(button->isDown());
    for (int i = 0; i < 3; ++i) {
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QString("\r"), true);
        QApplication::sendEvent(button, &up);
        QKeyEvent again(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString("\r"), true);
        QApplication::sendEvent(button, &again);
    }
    EXPECT_EQ(presses, 2) << "not pressed while the key is held";
    QTest::keyRelease(button, Qt::Key_Return);
    EXPECT_EQ(presses, 3);
    EXPECT_FALSE(button->isDown());
    // Down on one button and up on another (the focus moved): neither is pressed.
    QTest::keyPress(button, Qt::Key_Return);
    other->setFocus();
    QTest::keyRelease(other, Qt::Key_Return);
    EXPECT_EQ(presses, 3);
    EXPECT_FALSE(button->isDown());
    // Down, then the focus away and back before it comes up: no press either.
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Return);
    other->setFocus();
    button->setFocus();
    QTest::keyRelease(button, Qt::Key_Return);
    EXPECT_EQ(presses, 3);
    QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(presses, 3) << "Ctrl+Enter is no press";
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Return);
    EXPECT_EQ(presses, 3) << "only the focused button";
}

}  // namespace
