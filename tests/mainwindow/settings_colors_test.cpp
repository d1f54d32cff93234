// The edited month's colour boxes, font buttons and copying between months.
#include <QFontDialog>
#include <QPalette>

#include "mainwindow/colorpanel.h"
#include "platform/qtpickers.h"
#include "settings_testutil.h"

namespace {

using vm::MainState;
using vm::Module1;
using vmtest::SettingsFixture;

long Base(QLineEdit* b) { return vm::NumberFromColor(b->palette().color(QPalette::Base)); }
long Fore(QLineEdit* b) { return vm::NumberFromColor(b->palette().color(QPalette::Text)); }

TEST(SettingsColors, TypedColoursAreReadByTheLeadingNumberRuleAndKeptInRange) {
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    ASSERT_EQ(fx.panel->pEditMon, 3);
    struct Case {
        const char* typed;
        int32_t before;
        int32_t after;
        const char* shown;
    };
    const Case cases[] = {
        {"abc", 4000, 0, " 0"},                 // no number reads as black
        {"&HFF", 0, 255, " 255"},               // hexadecimal
        {"  12abc", 0, 12, " 12"},              // the leading number
        {"1 2 3", 0, 123, " 123"},              // blanks inside the digits are skipped
        {"2.5", 0, 2, " 2"},                    // halves to the even neighbour
        {"3.5", 0, 4, " 4"},
        {"16777215", 0, 16777215, " 16777215"},
        {"16777216", 77, 77, " 77"},            // above white: kept out
        {"-1", 77, 77, " 77"},                  // below black: kept out
        {"1e9", 77, 77, " 77"},
    };
    for (const Case& c : cases) {
        MainState.Month[3].DayBG = c.before;
        fx.typeEnter("txtDayBG", c.typed);
        EXPECT_EQ(MainState.Month[3].DayBG, c.after) << c.typed;
        EXPECT_EQ(fx.text("txtDayBG"), c.shown) << c.typed;
    }
    // Leaving the box takes the text as Enter does, for each of the four boxes.
    MainState.Month[3].TitleFG = 77;
    fx.box("txtTitleFG")->setText("&H8000");  // a four-digit hex number is a 16-bit one: negative
    fx.panel->ColorBox_LostFocus(vm::SettingsPanel::Box::TitleFG);
    EXPECT_EQ(MainState.Month[3].TitleFG, 77);
    fx.box("txtTitleFG")->setText("65280");
    fx.panel->ColorBox_LostFocus(vm::SettingsPanel::Box::TitleFG);
    EXPECT_EQ(MainState.Month[3].TitleFG, 65280);
    EXPECT_EQ(Base(fx.box("txtTitleFG")), 65280);
    // Enter is consumed: it never reaches the box.
    int key = 13;
    fx.panel->ColorBox_KeyPress(vm::SettingsPanel::Box::TitleBG, key);
    EXPECT_EQ(key, 0);
}

TEST(SettingsColors, NegativeColoursKeepTheirSignAndTheBoxKeepsItsColour) {
    SettingsFixture fx;
    MainState.Month[3].DayBG = -5;
    MainState.Month[3].TitleBG = 255;
    fx.panel->mnuFile_Settings_Click();
    const long before = Base(fx.box("txtDayBG"));
    EXPECT_EQ(fx.text("txtDayBG"), "-5");
    EXPECT_EQ(fx.text("txtTitleBG"), " 255");
    EXPECT_EQ(Base(fx.box("txtTitleBG")), 255);
    // Storing and Enter leave the forced colour as it is.
    fx.panel->StoreMonthColors();
    EXPECT_EQ(MainState.Month[3].DayBG, -5);
    fx.typeEnter("txtDayBG", "-5");
    EXPECT_EQ(MainState.Month[3].DayBG, -5);
    EXPECT_EQ(Base(fx.box("txtDayBG")), before);
}

TEST(SettingsColors, TextColourBoxesAreSwatchesReadableOnlyOnBlackAndWhite) {
    SettingsFixture fx;
    struct Case {
        int32_t value;
        long fore;
    };
    for (const Case& c : {Case{0, 16777215}, Case{16777215, 0}, Case{65280, 65280}}) {
        MainState.Month[3].DayFG = c.value;
        MainState.Month[3].TitleFG = c.value;
        fx.panel->mnuFile_Settings_Click();
        for (const char* name : {"txtDayFG", "txtTitleFG"}) {
            EXPECT_EQ(Base(fx.box(name)), c.value) << name;
            EXPECT_EQ(Fore(fx.box(name)), c.fore) << name << " " << c.value;
        }
    }
}

TEST(SettingsColors, StoringTheBoxesTakesOnlyWholeNumbersInRange) {
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    const auto fileBefore = fx.stored(3, "DayBG");
    struct Case {
        const char* text;
        int32_t expect;
    };
    const Case cases[] = {{" 4000 ", 4000}, {"&HFF", 255}, {"2.5", 2}, {"12abc", 99}, {"", 99},
                          {"99999999", 99}, {"-3", 99}};
    for (const Case& c : cases) {
        MainState.Month[3].DayBG = 99;
        fx.box("txtDayBG")->setText(c.text);
        fx.panel->StoreMonthColors();
        EXPECT_EQ(MainState.Month[3].DayBG, c.expect) << c.text;
    }
    // Typed out of range and never confirmed: closing the panel stores nothing
    // out of range in the calendar file.
    fx.box("txtDayBG")->setText("99999999");
    MainState.Month[3].DayBG = 16777215;
    fx.panel->sscmdExitSettings_Click();
    EXPECT_EQ(vm::db::AsInt(fx.stored(3, "DayBG")), 16777215);
    EXPECT_EQ(vm::db::AsInt(fileBefore), 16777215);
}

TEST(SettingsColors, DoubleClickPicksAColourAndCancelChangesNothing) {
    SettingsFixture fx;
    MainState.Month[3].TitleBG = 4000;
    fx.panel->mnuFile_Settings_Click();

    fx.pickers.nextColor.reset();  // Cancel
    std::string during;
    fx.pickers.whileAsked = [&] { during = fx.statusPanel4(); };
    QTest::mouseDClick(fx.box("txtTitleBG"), Qt::LeftButton);
    EXPECT_EQ(MainState.Month[3].TitleBG, 4000);
    EXPECT_EQ(fx.text("txtTitleBG"), " 4000");
    ASSERT_EQ(fx.pickers.colorAsked.size(), 1u);
    EXPECT_EQ(fx.pickers.colorAsked[0], 4000);
    EXPECT_EQ(during, "Opening Color Selection Form");
    EXPECT_EQ(fx.statusPanel4(), "");

    fx.pickers.nextColor = 255;
    fx.panel->ColorBox_DblClick(vm::SettingsPanel::Box::TitleBG);
    EXPECT_EQ(MainState.Month[3].TitleBG, 255);
    EXPECT_EQ(fx.text("txtTitleBG"), " 255");
    EXPECT_EQ(Base(fx.box("txtTitleBG")), 255);
    EXPECT_TRUE(fx.messages.shown.empty());
}

TEST(SettingsColors, FontChoiceIsStoredAtOnceAndCancelLeavesEverything) {
    SettingsFixture fx;  // March shown
    fx.panel->mnuFile_Settings_Click();
    fx.choose("cmbImgMon", "May");  // another month than the shown one
    const QFont cellsBefore = fx.dayCellFont();
    ASSERT_EQ(fx.panel->pEditMon, 5);
    const std::string fileBefore = vmtest::ReadAll(Module1.CalendarFilePath);
    const std::string captionBefore = fx.text("lblDayFont");
    const auto monthBefore = MainState.Month[5].DayFntName;

    fx.click("sscmdDayFont");  // Cancel
    fx.click("sscmdTitleFont");
    EXPECT_EQ(vmtest::ReadAll(Module1.CalendarFilePath), fileBefore);
    EXPECT_EQ(fx.text("lblDayFont"), captionBefore);
    EXPECT_EQ(MainState.Month[5].DayFntName, monthBefore);
    EXPECT_EQ(fx.dayCellFont(), cellsBefore);
    ASSERT_EQ(fx.pickers.fontAsked.size(), 2u);
    EXPECT_EQ(fx.pickers.fontAsked[0].name, monthBefore);

    vm::FontChoice f;
    f.name = "DejaVu Serif";
    f.size = 10.55555;
    f.bold = true;
    f.underline = true;
    fx.pickers.nextFont = f;
    fx.click("sscmdDayFont");
    EXPECT_EQ(MainState.Month[5].DayFntName, "DejaVu Serif");
    EXPECT_EQ(MainState.Month[5].DayFntSiz.units, 105556);  // four decimals
    EXPECT_TRUE(MainState.Month[5].DayFntBold);
    EXPECT_TRUE(MainState.Month[5].DayFntUndrLn);
    EXPECT_EQ(fx.text("lblDayFont"), "DejaVu Serif, 10.5556, True, False, True, False");
    EXPECT_EQ(vm::db::AsText(fx.stored(5, "DayFntName")), "DejaVu Serif");
    // The shown (March) cells take the edited month's font until the next build.
    EXPECT_EQ(fx.dayCellFont().family(), "DejaVu Serif");
    EXPECT_NEAR(fx.dayCellFont().pointSizeF(), 10.5556, 0.01);
    EXPECT_TRUE(fx.dayCellFont().bold());
    EXPECT_TRUE(fx.dayCellFont().underline());
    EXPECT_NE(fx.window->lblMonth->font().family(), "DejaVu Serif") << "the day font leaves the headings";

    f.name = "DejaVu Sans Mono";
    f.size = 20;
    f.bold = false;
    f.underline = false;
    f.strikeout = true;
    fx.pickers.nextFont = f;
    fx.click("sscmdTitleFont");
    EXPECT_EQ(fx.text("lblTitleFont"), "DejaVu Sans Mono, 20, False, False, False, True");
    EXPECT_NE(vm::db::AsInt(fx.stored(5, "TitleFntStrkThr")), 0);
    EXPECT_EQ(fx.titleCellFont().family(), "DejaVu Sans Mono");
    EXPECT_TRUE(fx.titleCellFont().strikeOut());
    EXPECT_EQ(fx.window->lblMonth->font().family(), "DejaVu Sans Mono");
    EXPECT_EQ(fx.window->DOW[0]->font().family(), "DejaVu Sans Mono");
}

TEST(SettingsColors, CopyMarchToAllKeepsPicturesSavesAndReturnsToTheShownMonth) {
    SettingsFixture fx;
    fx.showMonth(7);
    fx.panel->mnuFile_Settings_Click();
    fx.choose("cmbImgMon", "March");
    fx.box("txtDayBG")->setText(" 255");  // typed, not confirmed: the copy stores it first
    MainState.Month[3].TitleFntName = "DejaVu Serif";
    const auto pictures = Module1.MonthImageFile;

    fx.choose("cmbCopyFrom", "March");
    fx.choose("cmbCopyTo", "All");
    fx.click("sscmdCopyJan2All");
    EXPECT_TRUE(fx.messages.shown.empty());
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(MainState.Month[m].DayBG, 255) << m;
        EXPECT_EQ(MainState.Month[m].TitleFntName, "DejaVu Serif") << m;
        EXPECT_EQ(vm::db::AsInt(fx.stored(m, "DayBG")), 255) << m;
    }
    EXPECT_EQ(Module1.MonthImageFile, pictures);
    EXPECT_EQ(fx.panel->pEditMon, 7);
    EXPECT_EQ(fx.text("cmbImgMon"), "July");
}

TEST(SettingsColors, CopyNeedsTwoDifferentMonthsAndSaysSoOnce) {
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    const auto before = MainState.Month;
    struct Case {
        const char* from;
        const char* to;
        const char* title;  // "" = no message
    };
    const Case cases[] = {
        {"Copy From", "April", "Set Both Values"},
        {"April", "Copy To", "Set Both Values"},
        {"April", "April", "Months are Same"},
        {"april", "April", ""},            // one month in two spellings: nothing to copy
        {"Aprill", "All", "Select Months"},  // no month: one message, not one per value
        {"April", "Someday", "Select Months"},
    };
    for (const Case& c : cases) {
        fx.messages.clear();
        fx.list("cmbCopyFrom")->setEditText(c.from);
        fx.list("cmbCopyTo")->setEditText(c.to);
        fx.panel->sscmdCopyJan2All_Click();
        if (*c.title) {
            ASSERT_EQ(fx.messages.shown.size(), 1u) << c.from << " " << c.to;
            EXPECT_EQ(fx.messages.shown[0].title, c.title);
        } else {
            EXPECT_TRUE(fx.messages.shown.empty()) << c.from << " " << c.to;
        }
    }
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(MainState.Month[m].DayFntName, before[m].DayFntName);
    EXPECT_EQ(fx.messages.shown.back().text.find("Copy From"), 0u);
}

TEST(ColorPanel, StyleListsExitAndInformation) {
    vmtest::Fixture fx;
    vm::ColorPanel panel;
    auto* day = panel.findChild<QComboBox*>("cmbDayBGStyle");
    auto* title = panel.findChild<QComboBox*>("cmbTitleBGStyle");
    ASSERT_TRUE(day && title);
    EXPECT_EQ(day->currentText(), "Day BG Style");
    EXPECT_EQ(title->currentText(), "Title BG Style");
    ASSERT_EQ(day->count(), 2);
    for (int i = 0; i < 4; ++i) EXPECT_NE(panel.findChild<QLineEdit*>(QString("Text1_%1").arg(i)), nullptr);

    struct Case {
        QComboBox* list;
        const char* text;
        int day, title;
    };
    for (const Case& c : {Case{day, "Day is Transparent", 2, 3}, Case{day, "Day is Opaque", 3, 3},
                          Case{title, "Title is Transparent", 3, 2}, Case{day, "Day BG Style", 3, 2},
                          Case{title, "Title BG Style", 3, 3}}) {
        c.list->setEditText(c.text);
        emit c.list->activated(0);
        EXPECT_EQ(panel.pDayStyle, c.day) << c.text;
        EXPECT_EQ(panel.pTitleStyle, c.title) << c.text;
    }

    panel.show();
    QTest::mouseClick(panel.findChild<QPushButton*>("sscmdInfo"), Qt::LeftButton);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Selecting Colors");
    EXPECT_EQ(fx.messages.shown[0].text,
              "Double-Click in one of the Color Value Text Boxes to Display The Color Selection Form. Set the "
              "Grid's 'Priority' value (0-255) to Force this Day's Color's Priority. Negative Color Values also "
              "Force Priority.");
    QTest::mouseClick(panel.findChild<QPushButton*>("sscmdExitColors"), Qt::LeftButton);
    EXPECT_TRUE(panel.isHidden());
}

TEST(ColorPanel, ChangeColorReportsAFailingDialogWithOkOnly) {
    vmtest::Fixture fx;
    class Throwing : public vm::IPickers {
    public:
        std::optional<long> pickColor(long, const std::string&) override { throw std::runtime_error("no dialog"); }
        std::optional<vm::FontChoice> pickFont(const vm::FontChoice&, const std::string&) override { return {}; }
    } throwing;
    vm::SetPickers(&throwing);
    long colour = 42;
    bool cancelled = true;
    vm::Change_Color(colour, cancelled);
    vm::SetPickers(nullptr);
    EXPECT_EQ(colour, 42);
    EXPECT_FALSE(cancelled);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].title, "Change_Color_Error");
    EXPECT_EQ(fx.messages.shown[0].buttons, vm::MsgButtons::Ok);
    EXPECT_EQ(fx.messages.shown[0].text, "5 - no dialog");
}

}  // namespace

namespace {

// The real font dialog opens on the chosen font's own style: choosing only a
// size keeps a regular font regular.
TEST(FontDialog, OpensOnTheFontsOwnStyle) {
    const struct {
        const char* family;
        bool bold, italic;
    } cases[] = {{"DejaVu Sans", false, false}, {"DejaVu Sans", true, false}, {"DejaVu Sans", false, true},
                 {"DejaVu Sans", true, true},   {"DejaVu Serif", false, false}, {"DejaVu Serif", true, true}};
    for (const auto& c : cases) {
        vm::FontChoice choice;
        choice.name = c.family;
        choice.size = 12;
        choice.bold = c.bold;
        choice.italic = c.italic;
        QFontDialog dialog(vm::FontDialogStartFont(choice));
        const QFont shown = dialog.currentFont();
        EXPECT_EQ(shown.family(), c.family);
        EXPECT_EQ(shown.bold(), c.bold) << c.family << " " << c.bold << c.italic;
        EXPECT_EQ(shown.italic(), c.italic) << c.family << " " << c.bold << c.italic;
        EXPECT_EQ(shown.pointSize(), 12);
    }
}

}  // namespace
