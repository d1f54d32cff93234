// Opening and closing the settings panel, the edited month, its picture, the
// calendar style and the options.
#include <QAction>
#include <QImage>
#include <QImageReader>

#include <filesystem>

#include "core/files.h"
#include "mainwindow/pictures.h"
#include "settings_testutil.h"

namespace {

using vm::MainState;
using vm::Module1;
using vmtest::SettingsFixture;

TEST(SettingsPanel, OpeningShowsTheShownMonthAgainAndClosingStoresTheLook) {
    SettingsFixture fx;
    EXPECT_EQ(fx.window->findChild<vm::SettingsPanel*>("SSPanelSettings"), fx.panel);
    EXPECT_TRUE(fx.panel->isHidden());

    Module1.MonthImageFile[3] = "march.png";
    Module1.MonthImageFile[9] = "september.png";
    MainState.Month[3].DayBG = 111;
    MainState.Month[9].DayBG = 999;
    MainState.Month[3].DayFntName = "DejaVu Sans";
    ASSERT_TRUE(fx.monthBoxesShown());
    fx.window->mnuFile_Settings->trigger();
    EXPECT_FALSE(fx.panel->isHidden());
    EXPECT_FALSE(fx.monthBoxesShown()) << "the panel hides the month and year boxes";
    EXPECT_EQ(fx.text("txtDateData"), Module1.CalendarFilePath);

    fx.choose("cmbImgMon", "September");  // edit another month, then open again
    EXPECT_EQ(fx.text("txtImageFN"), "september.png");
    EXPECT_EQ(fx.text("txtDayBG"), " 999");
    fx.window->mnuFile_Settings->trigger();
    EXPECT_EQ(fx.window->findChildren<vm::SettingsPanel*>().size(), 1);
    EXPECT_EQ(fx.text("cmbImgMon"), "March");
    EXPECT_EQ(fx.text("txtImageFN"), "march.png");
    EXPECT_EQ(fx.text("txtDayBG"), " 111");
    EXPECT_EQ(fx.text("lblDayFont").rfind("DejaVu Sans, 11, ", 0), 0u) << fx.text("lblDayFont");
    EXPECT_EQ(fx.list("cmbSoundNumbr")->count(), 30);  // filled once

    fx.box("txtDayBG")->setText(" 4242");  // typed, not confirmed
    MainState.Month[3].DayFntName = "DejaVu Serif";
    fx.sound.play(vm::JoinPath(vm::ProgramFolder(), "Sounds/Alarm01.wav"));
    fx.click("sscmdExitSettings");
    EXPECT_TRUE(fx.panel->isHidden());
    EXPECT_TRUE(fx.monthBoxesShown()) << "closing shows them again";
    EXPECT_EQ(fx.dayCellFont().family(), "DejaVu Serif") << "the cells take the shown month's fonts";
    EXPECT_EQ(vm::db::AsInt(fx.stored(3, "DayBG")), 4242);
    EXPECT_EQ(fx.sound.playing, "");  // closing stops the sound
}

// The panel edits the calendar in use: another calendar opened while it is
// open takes nothing of it, and the edit goes into the calendar it was made for.
TEST(SettingsPanel, AnotherCalendarOpenedClosesThePanelIntoItsOwnCalendar) {
    SettingsFixture fx;
    const std::string first = Module1.CalendarFilePath;
    const std::string other = vmtest::MakeTempDir("velmora-other") + "/Other.mdb";
    std::filesystem::copy_file(vm::BlankCalendarTemplate(), other);
    const int32_t blank = MainState.Month[3].DayBG;
    ASSERT_NE(blank, 255);
    fx.window->mnuFile_Settings->trigger();
    fx.typeEnter("txtDayBG", "255");
    fx.messages.fileAnswers.push_back(other);
    fx.window->findChild<QAction*>("mnuFile_Open")->trigger();
    ASSERT_EQ(Module1.CalendarFilePath, other);
    EXPECT_TRUE(fx.panel->isHidden());
    EXPECT_EQ(MainState.Month[3].DayBG, blank) << "the opened calendar's own look";
    EXPECT_EQ(vm::db::AsInt(fx.stored(3, "DayBG")), blank);
    Module1.CalendarFilePath = first;
    EXPECT_EQ(vm::db::AsInt(fx.stored(3, "DayBG")), 255);
    Module1.CalendarFilePath = other;
}

// On a calendar that may only be read, closing the panel says the look was
// not kept, as every write to it says.
TEST(SettingsPanel, ClosingOnACalendarThatMayOnlyBeReadSaysSo) {
    SettingsFixture fx;
    const std::string bytes = vmtest::ReadAll(Module1.CalendarFilePath);
    MainState.CalendarReadOnly = true;
    fx.window->mnuFile_Settings->trigger();
    fx.typeEnter("txtDayBG", "255");
    fx.messages.clear();
    fx.click("sscmdExitSettings");
    MainState.CalendarReadOnly = false;
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "The file may only be read: Velmoras.mdb was not changed");
    EXPECT_EQ(vmtest::ReadAll(Module1.CalendarFilePath), bytes);
}

TEST(SettingsPanel, CalendarStyleIsTakenAtOnceAndShownOnOpening) {
    SettingsFixture fx;
    int16_t& style = fx.window->pCalendarStyle;
    style = 2;
    fx.panel->mnuFile_Settings_Click();
    EXPECT_EQ(fx.text("cmbCalStyle"), "All Days Transparent");
    const std::pair<const char*, int> cases[] = {
        {"All Days Opaque", 3}, {"All Days Transparent", 2}, {"Mixed Transparent/Opaque", 1},
        {"all days opaque", 1}, {"Calendar Style", 1}};  // any other text is the mixed style
    for (const auto& [text, expect] : cases) {
        style = 0;
        fx.list("cmbCalStyle")->setEditText(text);
        emit fx.list("cmbCalStyle")->activated(0);
        EXPECT_EQ(style, expect) << text;
    }
}

TEST(SettingsPanel, StartYearTakesFourDigitYearsBoxesReachTheOptions) {
    SettingsFixture fx;
    Module1.OptStartRepeatYear = "2019";
    Module1.OptCalcYearsSince = true;
    Module1.OptVoice = false;
    fx.panel->LoadOptions();
    fx.panel->mnuFile_Settings_Click();
    struct Case {
        const char* typed;
        const char* kept;  // OptStartRepeatYear and the box afterwards
        bool beep;
    };
    const Case cases[] = {
        {"2024", "2024", false}, {" 2030 ", "2030", false}, {"24", "2030", true},   {"20245", "2030", true},
        {"0999", "2030", true},  {"", "2030", true},        {"2O31", "2030", true}, {"2031.5", "2030", true},
        {"1000", "1000", false}, {"9999", "9999", false},
    };
    for (const Case& c : cases) {
        fx.messages.clear();
        fx.typeEnter("txtBeginRepeatYear", c.typed);
        EXPECT_EQ(Module1.OptStartRepeatYear, c.kept) << c.typed;
        EXPECT_EQ(MainState.txtBeginRepeatYear, c.kept) << c.typed;
        EXPECT_EQ(fx.messages.beeps, c.beep ? 1 : 0) << c.typed;
    }
    // Typed without Enter: the next expansion reads it, shut-down does not save it.
    fx.box("txtBeginRepeatYear")->setText("2031");
    EXPECT_EQ(MainState.txtBeginRepeatYear, "2031");
    EXPECT_EQ(Module1.OptStartRepeatYear, "9999");

    // Years since and voice reach the options.
    auto* years = fx.find<QCheckBox>("sschkYearsSince");
    auto* voice = fx.find<QCheckBox>("ssChkVoice");
    EXPECT_TRUE(years->isChecked());
    EXPECT_TRUE(fx.messages.shown.empty());  // setting the box from the option is no user change

    QTest::mouseClick(years, Qt::LeftButton);
    EXPECT_FALSE(Module1.OptCalcYearsSince);
    QTest::mouseClick(years, Qt::LeftButton);
    EXPECT_TRUE(Module1.OptCalcYearsSince);
    ASSERT_EQ(fx.messages.shown.size(), 2u);  // each change asks for a rebuild
    EXPECT_EQ(fx.messages.shown[1].title, "Repeating Data");
    QTest::mouseClick(voice, Qt::LeftButton, {}, QPoint(6, voice->height() / 2));  // on the tick box
    EXPECT_TRUE(Module1.OptVoice);
}

// A PNG file whose header names a picture of width x height pixels (its
// pixels are not there: a reader that believes the header would need them).
std::string PngHeaderOnly(uint32_t width, uint32_t height) {
    auto crc = [](const std::string& bytes) {
        uint32_t c = 0xFFFFFFFFu;
        for (unsigned char b : bytes) {
            c ^= b;
            for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
        }
        return c ^ 0xFFFFFFFFu;
    };
    auto be32 = [](uint32_t v) {
        return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    };
    auto chunk = [&](const std::string& type, const std::string& data) {
        return be32(uint32_t(data.size())) + type + data + be32(crc(type + data));
    };
    const std::string header = be32(width) + be32(height) + std::string("\x08\x06\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1A\n", 8) + chunk("IHDR", header) +
           chunk("IDAT", std::string("\x78\x9C\x03\x00\x00\x00\x00\x01", 8)) + chunk("IEND", "");
}

class PictureTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = vmtest::MakeTempDir("velmora-pictures");
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::darkYellow);
        ASSERT_TRUE(img.save(QString::fromStdString(picture = folder + "/autumn.png")));
        img.fill(Qt::darkBlue);
        ASSERT_TRUE(img.save(QString::fromStdString(other = folder + "/winter.png")));
        vmtest::WriteAll(notPicture = folder + "/broken.jpg", "this is no picture");
    }
    std::string folder, picture, other, notPicture;
};

TEST_F(PictureTest, BrowsedPictureIsStoredAndShownForItsMonthOnly) {
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();

    fx.messages.fileAnswers = {""};  // Cancel
    fx.click("cmdBrowseImage");
    ASSERT_EQ(fx.messages.dialogs.size(), 1u);
    EXPECT_EQ(fx.messages.dialogs[0].initialDir, vm::JoinPath(fx.data, "Graphics"));
    EXPECT_TRUE(fx.panel->pImagePicture.empty());

    fx.messages.fileAnswers = {picture};
    fx.click("cmdBrowseImage");
    EXPECT_EQ(Module1.MonthImageFile[3], picture);
    EXPECT_EQ(fx.text("txtImageFN"), picture);
    EXPECT_EQ(fx.shownPictureColour(), QColor(Qt::darkYellow)) << "the shown month's picture shows at once";

    fx.window->pCalendarStyle = 3;  // all days opaque: stored, not loaded
    fx.messages.fileAnswers = {other};
    fx.click("cmdBrowseImage");
    EXPECT_EQ(fx.messages.dialogs.back().initialDir, folder + "/") << "where the last picture was found";
    EXPECT_EQ(Module1.MonthImageFile[3], other);
    EXPECT_EQ(fx.shownPictureColour(), QColor(Qt::darkYellow));

    // A file that is no picture is refused; the month keeps its picture.
    fx.messages.clear();
    fx.messages.fileAnswers = {notPicture};
    fx.click("cmdBrowseImage");
    EXPECT_EQ(Module1.MonthImageFile[3], other);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_NE(fx.messages.shown[0].text.find(notPicture), std::string::npos);
}

// A picture whose header Qt reads but whose size it will not decode (beyond
// its allocation limit) is refused as any file that is no picture.
TEST_F(PictureTest, APictureTooLargeToDecodeIsRefused) {
    const std::string huge = folder + "/huge.png";
    vmtest::WriteAll(huge, PngHeaderOnly(20000, 20000));
    QImageReader reader(QString::fromStdString(huge));
    ASSERT_TRUE(reader.canRead());
    ASSERT_EQ(reader.size(), QSize(20000, 20000));
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    fx.messages.fileAnswers = {picture};
    fx.click("cmdBrowseImage");
    ASSERT_EQ(Module1.MonthImageFile[3], picture);

    fx.messages.clear();
    fx.messages.fileAnswers = {huge};
    fx.click("cmdBrowseImage");
    EXPECT_EQ(Module1.MonthImageFile[3], picture);
    ASSERT_EQ(fx.messages.shown.size(), 1u);
    EXPECT_EQ(fx.messages.shown[0].text, "This File Cannot Be Shown as a Picture:\n" + huge);
    EXPECT_EQ(fx.shownPictureColour(), QColor(Qt::darkYellow));
}

// A camera's 8000 x 6000 photo is far beyond the reader's allocation limit
// at full size: it is taken, and shown no larger than the screen, in the
// month it is chosen for and in every month that names it.
TEST_F(PictureTest, A48MegapixelPhotoIsTakenAndShownAtScreenSize) {
    const std::string photo = folder + "/Dec.jpg";
    vmtest::WritePhoto(photo, 8000, 6000);
    SettingsFixture fx;
    fx.panel->mnuFile_Settings_Click();
    fx.messages.fileAnswers = {photo};
    fx.click("cmdBrowseImage");
    EXPECT_TRUE(fx.messages.shown.empty()) << fx.messages.shown.at(0).text;
    EXPECT_EQ(Module1.MonthImageFile[3], photo);
    const QSize shown = fx.window->Image1->pixmap().size();
    EXPECT_FALSE(shown.isEmpty());
    EXPECT_EQ(shown, QSize(8000, 6000).boundedTo(vm::LargestScreenPixels()));
    EXPECT_TRUE(fx.shownPictureColour().isValid());

    Module1.MonthImageFile[5] = photo;
    fx.showMonth(4);
    fx.showMonth(5);
    EXPECT_TRUE(fx.shownPictureColour().isValid());
}

// A month whose picture file is there but cannot be read shows none, never
// the picture of the month shown before it.
TEST_F(PictureTest, AMonthWhosePictureCannotBeReadShowsNone) {
    const std::string huge = folder + "/huge.png";
    vmtest::WriteAll(huge, PngHeaderOnly(20000, 20000));
    SettingsFixture fx;
    Module1.MonthImageFile[3] = picture;
    Module1.MonthImageFile[4] = huge;
    Module1.MonthImageFile[5] = notPicture;
    for (int month : {4, 5}) {
        fx.showMonth(3);
        ASSERT_EQ(fx.shownPictureColour(), QColor(Qt::darkYellow)) << month;
        fx.showMonth(month);
        EXPECT_FALSE(fx.shownPictureColour().isValid()) << month;
    }
    fx.showMonth(3);
    EXPECT_EQ(fx.shownPictureColour(), QColor(Qt::darkYellow)) << "shown again once it can be";
}

}  // namespace
