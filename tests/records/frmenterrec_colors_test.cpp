// The entry window's colour panel, colour picks and font choice.
#include "entrytestutil.h"

#include "platform/messages.h"

namespace {

using entrytest::EntryWindow;

QColor Base(QLineEdit* b) { return b->palette().color(QPalette::Base); }
QColor TextColor(QLineEdit* b) { return b->palette().color(QPalette::Text); }

TEST_F(EntryWindow, ColourPanelOpensOnTheBoxAndOkComposesBlackOnWhite) {
    open();
    click("sscmdColors");
    EXPECT_TRUE(shown("SSPanel3"));
    EXPECT_EQ(text("txtColor_0"), "Select FG Colors") << "the placeholder holds no ';', so it all lands in box 0";
    click("sscmdColorOK");
    EXPECT_FALSE(shown("SSPanel3"));
    EXPECT_EQ(text("cmbColors"), "0;16777215;0;16777215;3;3");

    type("cmbColors", "255;0;0;0;2;3");
    click("sscmdColors");
    EXPECT_EQ(text("cmbDayBGStyle"), "Day is Transparent");
    EXPECT_EQ(text("cmbTitleBGStyle"), "Title is Opaque");
    EXPECT_EQ(Base(box("txtColor_0")), QColor(255, 0, 0));
    click("sscmdColorOK");
    EXPECT_EQ(text("cmbColors"), "255;0;0;16777215;2;3");

    // A negative colour shows its text and leaves the background.
    const QColor before = Base(box("txtColor_0"));
    type("cmbColors", "-65280;0;0;0;3;3");
    click("sscmdColors");
    EXPECT_EQ(text("txtColor_0"), "-65280");
    EXPECT_EQ(Base(box("txtColor_0")), before);
    click("sscmdExitColors");
    EXPECT_FALSE(shown("SSPanel3"));
    EXPECT_EQ(text("cmbColors"), "-65280;0;0;0;3;3") << "exit changes nothing";
}

TEST_F(EntryWindow, DoubleClickPickKeepsTheSignAndShowsTheColour) {
    open();
    click("sscmdColors");
    auto* b0 = box("txtColor_0");
    type("txtColor_0", "-65280");
    pickers.nextColor = 255;
    QTest::mouseDClick(b0, Qt::LeftButton);
    ASSERT_EQ(pickers.colorAsked.size(), 1u);
    EXPECT_EQ(pickers.colorAsked[0], 65280);
    EXPECT_EQ(b0->text(), "-255");
    EXPECT_EQ(Base(b0), QColor(255, 0, 0));
    EXPECT_EQ(TextColor(b0), QColor(0, 0, 0));

    pickers.nextColor = 0;  // black cannot stay forced
    QTest::mouseDClick(b0, Qt::LeftButton);
    EXPECT_EQ(b0->text(), " 0");
    EXPECT_EQ(TextColor(b0), QColor(255, 255, 255));

    click("sscmdColorOK");
    EXPECT_EQ(text("cmbColors"), "0;16777215;0;16777215;3;3");
}

TEST_F(EntryWindow, FontChoiceWritesTheFontTextOrRefusesAnIncompleteOne) {
    open();
    const vm::FontChoice arial{"Arial", 10, true};
    pickers.nextFont = arial;
    tool("font-16");
    ASSERT_EQ(pickers.fontAsked.size(), 1u);
    EXPECT_EQ(pickers.fontAsked[0].name, "Arial") << "no current font: the window's default";
    EXPECT_EQ(pickers.fontAsked[0].size, 10);
    EXPECT_EQ(text("Combo4"), "Arial, 10,True,False");

    type("Combo4", "Times New Roman, 8.5,False,True");
    tool("font-16");  // Cancel
    EXPECT_EQ(pickers.fontAsked[1].name, "Times New Roman");
    EXPECT_TRUE(pickers.fontAsked[1].italic);
    EXPECT_EQ(text("Combo4"), "Times New Roman, 8.5,False,True");

    pickers.nextFont = vm::FontChoice{"Arial", 0, true};
    tool("font-16");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "Font Name and Font Size Must Be Selected.");
    EXPECT_EQ(text("Combo4"), "Times New Roman, 8.5,False,True");
}

}  // namespace
