// The entry window's colour panel, colour picks and font choice.
#include "entrytestutil.h"

#include "platform/messages.h"
#include "tools/frmredgreenblue.h"

namespace {

using entrytest::EntryWindow;

QColor Base(QLineEdit* b) { return b->palette().color(QPalette::Base); }
QColor TextColor(QLineEdit* b) { return b->palette().color(QPalette::Text); }

TEST_F(EntryWindow, ColourPanelOpensOnTheBoxAndOkComposesBlackOnWhite) {
    open();
    click("sscmdColors");
    EXPECT_TRUE(shown("SSPanel3"));
    EXPECT_EQ(text("txtColor_0"), "Select FG Colors") << "the placeholder holds no ';', so it all lands in box 0";
    EXPECT_EQ(text("txtColor_1"), "Text BG Color");
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

    // A blank colours box opens the panel as it was.
    type("cmbColors", "");
    click("sscmdColors");
    EXPECT_EQ(text("txtColor_0"), "-65280");

    // Typing a box's own placeholder name empties it.
    type("txtColor_2", "Title Text Color");
    EXPECT_EQ(text("txtColor_2"), "");
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

    QTest::mouseDClick(b0, Qt::LeftButton);  // Cancel
    EXPECT_EQ(b0->text(), " 0");

    click("sscmdColorOK");
    EXPECT_EQ(text("cmbColors"), "0;16777215;0;16777215;3;3");
}

TEST_F(EntryWindow, FontChoiceWritesTheFontTextOrRefusesAnIncompleteOne) {
    open();
    vm::FontChoice arial;
    arial.name = "Arial";
    arial.size = 10;
    arial.bold = true;
    pickers.nextFont = arial;
    tool("font-16");
    ASSERT_EQ(pickers.fontAsked.size(), 1u);
    EXPECT_EQ(pickers.fontAsked[0].name, "Arial") << "no current font: the window's default";
    EXPECT_EQ(pickers.fontAsked[0].size, 10);
    EXPECT_EQ(text("Combo4"), "Arial, 10,True,False");
    EXPECT_FALSE(shown("sscmdAddRecord"));

    type("Combo4", "Times New Roman, 8.5,False,True");
    tool("font-16");  // Cancel
    EXPECT_EQ(pickers.fontAsked[1].name, "Times New Roman");
    EXPECT_EQ(pickers.fontAsked[1].size, 8.5);
    EXPECT_TRUE(pickers.fontAsked[1].italic);
    EXPECT_EQ(text("Combo4"), "Times New Roman, 8.5,False,True");

    vm::FontChoice sizeless = arial;
    sizeless.size = 0;
    pickers.nextFont = sizeless;
    tool("font-16");
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "Font Name and Font Size Must Be Selected.");
    EXPECT_EQ(text("Combo4"), "Times New Roman, 8.5,False,True");
}

TEST_F(EntryWindow, APressOnTheWindowOpensTheFontDialogOnceTheFontBoxHadTheFocus) {
    open();
    w->resize(700, 500);
    // A spot of the window's own surface, outside every control.
    QPoint spot;
    for (int y = 0; y < w->height() && spot.isNull(); y += 3)
        for (int x = 0; x < w->width(); x += 3)
            if (!w->childAt(x, y)) {
                spot = QPoint(x, y);
                break;
            }
    ASSERT_FALSE(spot.isNull());
    QTest::mousePress(w, Qt::LeftButton, {}, spot);
    EXPECT_TRUE(pickers.fontAsked.empty());
    focusIn(combo("Combo4"));
    QTest::mousePress(w, Qt::LeftButton, {}, spot);
    EXPECT_EQ(pickers.fontAsked.size(), 1u);
    QTest::mousePress(box("txtSndNo"), Qt::LeftButton);
    EXPECT_EQ(pickers.fontAsked.size(), 1u) << "presses on controls do not count";
}

TEST_F(EntryWindow, TheRgbButtonOpensTheOneColourConverter) {
    open();
    click("sscmdColors");
    click("sscmdRGB");
    auto* rgb = vm::RedGreenBlue();
    ASSERT_NE(rgb, nullptr);
    EXPECT_TRUE(rgb->isVisible());
    EXPECT_TRUE(vm::Module1.RedGreenBlueOpen);
    click("sscmdRGB");
    EXPECT_EQ(vm::RedGreenBlue(), rgb);
    vm::UnloadRedGreenBlue();
    EXPECT_FALSE(vm::Module1.RedGreenBlueOpen);
}

}  // namespace
