// The edited month's colour boxes, font buttons and copying between months.
#include <QFontDialog>
#include <QPalette>

#include "platform/qtpickers.h"
#include "settings_testutil.h"

namespace {

using vm::MainState;
using vm::Module1;
using vmtest::SettingsFixture;

long Base(QLineEdit* b) { return vm::NumberFromColor(b->palette().color(QPalette::Base)); }

TEST(SettingsColors, EnterTakesTheLeadingNumberInRange) {
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    ASSERT_EQ(fx.panel->pEditMon, 3);
    struct Case { const char* typed; int32_t before, after; const char* shown; };
    const Case cases[] = {
        {"abc", 4000, 0, " 0"},      {"&HFF", 0, 255, " 255"}, {"  12abc", 0, 12, " 12"}, {"1 2 3", 0, 123, " 123"},
        {"2.5", 0, 2, " 2"},         {"3.5", 0, 4, " 4"},      {"16777216", 77, 77, " 77"}, {"-1", 77, 77, " 77"},
        {"&H8000", 77, 77, " 77"},  // four hex digits are a 16-bit number: negative
    };
    for (const Case& c : cases) {
        MainState.Month[3].DayBG = c.before;
        fx.typeEnter("txtDayBG", c.typed);
        EXPECT_EQ(MainState.Month[3].DayBG, c.after) << c.typed;
        EXPECT_EQ(fx.text("txtDayBG"), c.shown) << c.typed;
    }
}

TEST(SettingsColors, StoringTheBoxesTakesOnlyAWholeNumberInRange) {
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    struct Case {
        const char* text;
        int32_t expect;  // 99: refused
    };
    const Case cases[] = {{" 4000 ", 4000}, {"&hff&", 255}, {"&O17", 15}, {"1e3", 1000}, {"12abc", 99},
                          {"", 99},         {"&HFFFF", 99}, {"99999999", 99}, {"-3", 99}};
    for (const Case& c : cases) {
        MainState.Month[3].DayBG = 99;
        fx.box("txtDayBG")->setText(c.text);
        fx.choose("cmbImgMon", "March");  // changing the edited month stores the boxes
        EXPECT_EQ(MainState.Month[3].DayBG, c.expect) << c.text;
    }
    // Typed out of range and never confirmed: closing stores nothing out of range in the file.
    fx.box("txtDayBG")->setText("99999999");
    MainState.Month[3].DayBG = 16777215;
    fx.panel->sscmdExitSettings_Click();
    EXPECT_EQ(vm::db::AsInt(fx.stored(3, "DayBG")), 16777215);
}

TEST(SettingsColors, DoubleClickPicksAColourAndCancelChangesNothing) {
    SettingsFixture fx;
    MainState.Month[3].TitleBG = 4000;
    fx.panel->mnuFile_Settings_Click();
    std::string during;
    fx.pickers.whileAsked = [&] { during = fx.statusPanel4(); };
    QTest::mouseDClick(fx.box("txtTitleBG"), Qt::LeftButton);  // Cancel
    EXPECT_EQ(MainState.Month[3].TitleBG, 4000);
    ASSERT_EQ(fx.pickers.colorAsked.size(), 1u);
    EXPECT_EQ(fx.pickers.colorAsked[0], 4000);
    EXPECT_EQ(during, "Opening Color Selection Form");
    EXPECT_EQ(fx.statusPanel4(), "");

    fx.pickers.nextColor = 255;
    QTest::mouseDClick(fx.box("txtTitleBG"), Qt::LeftButton);
    EXPECT_EQ(MainState.Month[3].TitleBG, 255);
    EXPECT_EQ(Base(fx.box("txtTitleBG")), 255);
    EXPECT_TRUE(fx.messages.shown.empty());
}

TEST(SettingsColors, AFontChoiceIsStoredAtOnceAndReachesTheShownCells) {
    SettingsFixture fx;  // March shown
    fx.panel->mnuFile_Settings_Click();
    fx.choose("cmbImgMon", "May");  // another month than the shown one
    const std::string fileBefore = vmtest::ReadAll(Module1.CalendarFilePath);
    fx.click("sscmdDayFont");  // Cancel
    EXPECT_EQ(vmtest::ReadAll(Module1.CalendarFilePath), fileBefore);
    ASSERT_EQ(fx.pickers.fontAsked.size(), 1u);
    EXPECT_EQ(fx.pickers.fontAsked[0].name, MainState.Month[5].DayFntName);

    vm::FontChoice f;
    f.name = "DejaVu Serif";
    f.size = 10.55555;
    f.bold = f.underline = true;
    fx.pickers.nextFont = f;
    fx.click("sscmdDayFont");
    EXPECT_EQ(MainState.Month[5].DayFntSiz.units, 105556);  // four decimals
    EXPECT_EQ(fx.text("lblDayFont"), "DejaVu Serif, 10.5556, True, False, True, False");
    EXPECT_EQ(vm::db::AsText(fx.stored(5, "DayFntName")), "DejaVu Serif");
    // The shown (March) cells take the edited month's font until the next build.
    EXPECT_EQ(fx.dayCellFont().family(), "DejaVu Serif");
    EXPECT_NEAR(fx.dayCellFont().pointSizeF(), 10.5556, 0.01);
    EXPECT_TRUE(fx.dayCellFont().bold() && fx.dayCellFont().underline());
    EXPECT_NE(fx.window->lblMonth->font().family(), "DejaVu Serif") << "the day font leaves the headings";

}

// The real font dialog opens on the chosen font's own style (never a
// narrower face of the same weight): choosing only a size keeps a regular
// font regular.
TEST(SettingsColors, TheFontDialogOpensOnTheFontsOwnStyle) {
    for (const char* family : {"DejaVu Sans", "DejaVu Serif"}) {
        for (int style = 0; style < 4; ++style) {
            vm::FontChoice choice;
            choice.name = family;
            choice.size = 12;
            choice.bold = style & 1;
            choice.italic = style & 2;
            QFontDialog dialog(vm::FontDialogStartFont(choice));
            const QFont shown = dialog.currentFont();
            EXPECT_EQ(shown.family(), family);
            EXPECT_EQ(shown.bold(), choice.bold) << family << " " << style;
            EXPECT_EQ(shown.italic(), choice.italic) << family << " " << style;
            EXPECT_EQ(shown.pointSize(), 12);
            EXPECT_FALSE(shown.styleName().contains("Condensed")) << family << " " << style;
        }
    }
}

TEST(SettingsColors, CopyMarchToAllKeepsPicturesAndNeedsTwoMonths) {
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
        EXPECT_EQ(MainState.Month[m].TitleFntName, "DejaVu Serif") << m;
        EXPECT_EQ(vm::db::AsInt(fx.stored(m, "DayBG")), 255) << m;
    }
    EXPECT_EQ(Module1.MonthImageFile, pictures);
    EXPECT_EQ(fx.text("cmbImgMon"), "July");

    // The copy needs two different months and says so once.
    const auto before = MainState.Month;
    struct Case {
        const char *from, *to;
        const char* title;  // "" = no message
    };
    const Case cases[] = {
        {"Copy From", "April", "Set Both Values"}, {"April", "Copy To", "Set Both Values"},
        {"April", "April", "Months are Same"},     {"april", "April", ""},  // one month in two spellings
        {"Aprill", "All", "Select Months"},        {"April", "Someday", "Select Months"},
    };
    for (const Case& c : cases) {
        fx.messages.clear();
        fx.list("cmbCopyFrom")->setEditText(c.from);
        fx.list("cmbCopyTo")->setEditText(c.to);
        fx.click("sscmdCopyJan2All");
        ASSERT_EQ(fx.messages.shown.size(), *c.title ? 1u : 0u) << c.from << " " << c.to;
        if (*c.title) {
            EXPECT_EQ(fx.messages.shown[0].title, c.title);
        }
    }
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(MainState.Month[m].DayFntName, before[m].DayFntName);
}

}  // namespace
