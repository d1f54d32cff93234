// The real message box: Enter presses the button a question names as its
// default, so a question that must not act on a hasty Enter answers No.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>

#include "platform/qtmessages.h"

namespace {

vm::MsgResult AnswerWithEnter(vm::MsgButtons buttons) {
    vm::QtMessages messages;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(box, &enter);
    });
    return messages.message("Go on?", buttons, vm::MsgIcon::None, "Question");
}

TEST(QtMessageBox, EnterTakesTheQuestionsDefaultButton) {
    EXPECT_EQ(AnswerWithEnter(vm::MsgButtons::YesNoDefaultNo), vm::MsgResult::No);
    EXPECT_EQ(AnswerWithEnter(vm::MsgButtons::YesNo), vm::MsgResult::Yes);
    EXPECT_EQ(AnswerWithEnter(vm::MsgButtons::OkCancel), vm::MsgResult::Ok);
}

}  // namespace
