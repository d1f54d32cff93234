// A failure no handler expected: the application's box instead of an end.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include <stdexcept>

#include "platform/guardedapp.h"
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

}  // namespace
