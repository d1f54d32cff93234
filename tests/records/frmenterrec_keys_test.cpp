// The entry window used from the keyboard alone: Tab reaches every control,
// the toolbar's buttons included, and Space presses a button.
#include "entrytestutil.h"
#include "keyboard.h"

namespace {

using entrytest::EntryWindow;
using vmtest::Press;
using vmtest::TabTo;
using vmtest::TypeKeys;

// Enters a date by the keyboard: Tab into the date box opens the date
// picker, Escape closes it, and the date is typed over the box's text.
void EnterDate(const QString& date) {
    ASSERT_TRUE(TabTo("txtDate"));
    Press(Qt::Key_Escape);
    ASSERT_TRUE(TabTo("txtDate")) << "Escape leaves the keys in the date box";
    Press(Qt::Key_A, Qt::ControlModifier);
    TypeKeys(date);
}

TEST_F(EntryWindow, TwoRecordsAddedByKeyboardOnlyAreBothStored) {
    open();
    ASSERT_TRUE(vmtest::ActivateForKeys(w));
    ASSERT_EQ(vmtest::FocusName(), "txtDateText") << "the window opens with the keys in the event text";

    EnterDate("3/15/2025");
    ASSERT_TRUE(TabTo("txtDateText"));
    TypeKeys("First by keys");
    ASSERT_TRUE(TabTo("sscmdAddRecord"));
    Press(Qt::Key_Space);
    ASSERT_EQ(rows().size(), 1u);
    ASSERT_TRUE(shown("sscmdSaveRecord")) << "the added record is the one shown";

    // New is on the toolbar: Tab goes on past the last control to it.
    ASSERT_TRUE(TabTo("New")) << "Tab never reaches the toolbar's New";
    Press(Qt::Key_Space);
    EXPECT_TRUE(shown("sscmdAddRecord"));
    EXPECT_FALSE(shown("sscmdSaveRecord"));
    EXPECT_EQ(text("txtDateText"), "");

    EnterDate("3/16/2025");
    ASSERT_TRUE(TabTo("txtDateText"));
    TypeKeys("Second by keys");
    ASSERT_TRUE(TabTo("sscmdAddRecord"));
    Press(Qt::Key_Space);

    const auto r = rows();
    ASSERT_EQ(r.size(), 2u) << "the second record did not overwrite the first";
    EXPECT_EQ(r[0].DateText, "First by keys");
    EXPECT_EQ(r[1].DateText, "Second by keys");
    EXPECT_TRUE(fx.messages.shown.empty());

    // Shift+Tab goes back through the toolbar the same way; a click on a
    // button leaves the keys where they were.
    ASSERT_TRUE(TabTo("DoubleLeftArrow", true));
    ASSERT_TRUE(TabTo("txtDateText"));
    QTest::mouseClick(vmtest::ToolButton(w, "New"), Qt::LeftButton);
    EXPECT_EQ(vmtest::FocusName(), "txtDateText");
}

// Enter on a focused button presses it as Space does, a toolbar's button too,
// and once only however long the key is held.
TEST_F(EntryWindow, EnterPressesTheFocusedButtonOnce) {
    open();
    ASSERT_TRUE(vmtest::ActivateForKeys(w));
    EnterDate("4/1/2025");
    ASSERT_TRUE(TabTo("txtDateText"));
    TypeKeys("Added by Enter");
    ASSERT_TRUE(TabTo("sscmdAddRecord"));
    QWidget* add = QApplication::focusWidget();
    Press(Qt::Key_Return);
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].DateText, "Added by Enter");
    EXPECT_TRUE(shown("sscmdSaveRecord"));

    ASSERT_TRUE(TabTo("New"));
    Press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(shown("sscmdAddRecord"));
    EXPECT_EQ(text("txtDateText"), "");

    EnterDate("4/2/2025");
    ASSERT_TRUE(TabTo("txtDateText"));
    TypeKeys("Held Enter");
    ASSERT_TRUE(TabTo("sscmdAddRecord"));
    ASSERT_EQ(QApplication::focusWidget(), add);
    QTest::keyPress(add, Qt::Key_Return);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString("\r"), true);
    QApplication::sendEvent(add, &repeat);
    QTest::keyRelease(add, Qt::Key_Return);
    EXPECT_EQ(rows().size(), 2u) << "a held Enter added the record more than once";
    EXPECT_TRUE(fx.messages.shown.empty());
}

}  // namespace
