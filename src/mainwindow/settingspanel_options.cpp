// The settings panel's frame (opening, closing), the edited month and its
// picture, the calendar style and the options.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "core/appearance.h"
#include "core/calendarfiles.h"
#include "core/dates.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/numtext.h"
#include "core/settingsrules.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/pictures.h"
#include "mainwindow/settingspanel.h"
#include "mainwindow/settingspanel_boxes.h"
#include "mainwindow/settingspanel_hooks.h"
#include "mainwindow/shortcuts.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sound.h"
#include "platform/steps.h"

namespace vm {
namespace {

std::string Text(const QLineEdit* box) { return box->text().toStdString(); }
std::string Text(const QComboBox* list) { return list->currentText().toStdString(); }

int16_t MonthOf(const std::string& text) {
    int16_t m = 0;
    GetMonthNumber(text, m);
    return m;
}

// A file the month can show: a picture decodable at the size it is shown.
bool IsPicture(const std::string& path) { return ShowablePicture(path); }

}  // namespace

void SettingsPanel::LoadOptions() {
    OptionalStep([&] {
        std::string year = Module1.OptStartRepeatYear;
        if (year.empty()) year = MainState.txtBeginRepeatYear;
        if (year.empty()) year = "2019";
        txtBeginRepeatYear->setText(QString::fromStdString(year));
        MainState.txtBeginRepeatYear = year;
    });
    OptionalStep([&] { sschkYearsSince->setChecked(Module1.OptCalcYearsSince); });
    OptionalStep([&] { ssChkVoice->setChecked(Module1.OptVoice); });
    OptionalStep([&] { txtStrUpSnd->setText(QString::fromStdString(Module1.OptStartUpSound)); });
}

void SettingsPanel::mnuFile_Settings_Click() {
    OptionalStep([&] { pEditMon = static_cast<int16_t>(HookShownMonth()); });
    OptionalStep([&] {
        adjustSize();
        // Over the month picture: 100 twips below its top, 1000 right of the grid's left.
        if (MainHooks().placeSettingsPanel) MainHooks().placeSettingsPanel(this);
        else move(67, 40);
        show();
        raise();
    });
    OptionalStep([&] {
        if (MainHooks().showMonthBoxes) MainHooks().showMonthBoxes(false);
    });
    OptionalStep([&] { ShowMonthColors(); });
    OptionalStep([&] { txtDateData->setText(QString::fromStdString(Module1.CalendarFilePath)); });
    OptionalStep([&] { txtStrUpSnd->setText(QString::fromStdString(Module1.OptStartUpSound)); });
    OptionalStep([&] { sschkYearsSince->setChecked(Module1.OptCalcYearsSince); });
    OptionalStep([&] {
        if (auto text = CalendarStyleText(HookCalendarStyle())) cmbCalStyle->setEditText(QString::fromStdString(*text));
    });
    OptionalStep([&] {
        const std::string shown = HookMonthBoxText();
        cmbImgMon->setEditText(QString::fromStdString(shown));
        txtImageFN->setText(QString::fromStdString(Module1.MonthImageFile.at(static_cast<size_t>(MonthOf(shown)))));
    });
    OptionalStep([&] {
        if (MainWindow()) MainWindow()->EnableMainControls(true);
    });
    OptionalStep([&] {
        if (cmbSoundNumbr->count() == 0)
            for (int n = 1; n <= 30; ++n) cmbSoundNumbr->addItem(QString::fromStdString(Str(int64_t{n})));
        const int n = soundNumberForOpening();
        cmbSoundNumbr->setEditText(QString::fromStdString(Str(int64_t{n})));
        txtSoundFN->setText(QString::fromStdString(Module1.SoundFile.at(static_cast<size_t>(n))));
    });
    OptionalStep([&] { showFontCaptions(); });
}

int SettingsPanel::soundNumberForOpening() {
    const int64_t n = SoundNumber(Text(cmbSoundNumbr));
    return (n < 1 || n > 30) ? 1 : static_cast<int>(n);
}

void SettingsPanel::sscmdExitSettings_Click() {
    OptionalStep([&] { hide(); });
    OptionalStep([&] {
        if (MainHooks().showMonthBoxes) MainHooks().showMonthBoxes(true);
    });
    OptionalStep([&] { StoreMonthColors(); });
    OptionalStep([&] {
        if (MainHooks().setDayLabelFonts) MainHooks().setDayLabelFonts();
    });
    WriteStep("The month colours and fonts", [&] { saveAppearance(); });
    OptionalStep([&] {
        if (MainWindow()) MainWindow()->BuildCalendarNumbers();
    });
    OptionalStep([&] { SoundPlayer().stop(); });
}

void SettingsPanel::saveAppearance() {
    // A calendar that may only be read shows the new look but cannot keep
    // it: said as every write to it says it.
    if (FileExists(Module1.CalendarFilePath) && !CalendarIsWritable("Save Information")) return;
    SaveFonts2File(MainWindow() ? MainWindow()->DataSettings : ownSettings_);
}

void SettingsPanel::cmbCalStyle_Click() {
    OptionalStep([&] { HookSetCalendarStyle(CalendarStyleFromText(Text(cmbCalStyle))); });
    OptionalStep([&] {
        if (MainWindow()) MainWindow()->cmbmonth_Click();
    });
}

void SettingsPanel::cmbImgMon_Click() {
    OptionalStep([&] { StoreMonthColors(); });
    int16_t m = 0;
    OptionalStep([&] { m = MonthOf(Text(cmbImgMon)); });
    OptionalStep([&] {
        txtImageFN->setText(QString::fromStdString(Module1.MonthImageFile.at(static_cast<size_t>(m))));
        pEditMon = m;
    });
    OptionalStep([&] { showFontCaptions(); });
    OptionalStep([&] {
        if (pEditMon == HookShownMonth() && MainWindow()) MainWindow()->BuildCalendarNumbers();
    });
    OptionalStep([&] { ShowMonthColors(); });
}

void SettingsPanel::cmdBrowseImage_Click() {
    Operation op("BrowseImage_Error");
    std::string path;
    if (!op.step(1, [&] {
            if (ImageDialogFolder.empty()) ImageDialogFolder = JoinPath(DataFolder(), "Graphics");
        }))
        return;
    if (!op.step(2, [&] {
            FileDialogRequest r;
            r.title = "Select Background Image";
            r.filter = "All Files|*.*";
            r.initialDir = ImageDialogFolder;
            path = Messages().fileDialog(r);
        }))
        return;
    if (path.empty()) return;  // cancelled: nothing changes
    bool exists = false;
    if (!op.step(3, [&] {
            pImagePicture = path;
            exists = FileExists(path);
            if (exists) ImageDialogFolder = FolderPart(path);
        }))
        return;
    if (!exists) return;
    // A file that is no picture would leave the month without one.
    if (!IsPicture(path)) {
        Messages().message("This File Cannot Be Shown as a Picture:\n" + path, MsgButtons::Ok, MsgIcon::Exclamation,
                           "Select Background Image");
        return;
    }
    if (!op.step(4, [&] {
            const int style = HookCalendarStyle();
            if (Text(cmbImgMon) == HookMonthBoxText() && (style == 1 || style == 2) && MainHooks().loadMonthPicture)
                MainHooks().loadMonthPicture(path);
        }))
        return;
    if (!op.step(5, [&] { txtImageFN->setText(QString::fromStdString(path)); })) return;
    op.step(6, [&] { Module1.MonthImageFile.at(static_cast<size_t>(MonthOf(Text(cmbImgMon)))) = path; });
}

void SettingsPanel::txtImageFN_Change() {
    OptionalStep([&] {
        const std::string text = Text(txtImageFN);
        const std::string path = ResolveDataPath(text);
        if (FileExists(path) && IsPicture(path))
            Module1.MonthImageFile.at(static_cast<size_t>(MonthOf(Text(cmbImgMon)))) = text;
    });
}

void SettingsPanel::txtImageFN_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    OptionalStep([&] {
        const std::string text = Text(txtImageFN);
        const std::string path = ResolveDataPath(text);
        if (FileExists(path) && !IsPicture(path))
            Messages().message("This File Cannot Be Shown as a Picture:\n" + path, MsgButtons::Ok,
                               MsgIcon::Exclamation, "Select Background Image");
    });
    txtImageFN_Change();  // Enter is not consumed
}

void SettingsPanel::txtBeginRepeatYear_KeyPress(int& KeyAscii) {
    if (KeyAscii != 13) return;
    KeyAscii = 0;
    OptionalStep([&] {
        if (auto year = ValidStartYear(Text(txtBeginRepeatYear))) {
            Module1.OptStartRepeatYear = *year;
            txtBeginRepeatYear->setText(QString::fromStdString(*year));
            return;
        }
        // Only a year of four digits can be stored; the stored year comes back.
        Messages().beep();
        std::string stored = Module1.OptStartRepeatYear;
        if (!ValidStartYear(stored)) stored = "2019";
        txtBeginRepeatYear->setText(QString::fromStdString(stored));
    });
}

void SettingsPanel::sschkYearsSince_Click(int Value) {
    OptionalStep([&] { Module1.OptCalcYearsSince = Value != 0; });
    OptionalStep([&] {
        Messages().message(
            "You Need to ReBuild Repeating Data and Change Month Shown.\nThis is a Function on File Menu.",
            MsgButtons::Ok, MsgIcon::Information, "Repeating Data");
    });
}

void SettingsPanel::ssChkVoice_Click() {
    OptionalStep([&] { Module1.OptVoice = ssChkVoice->isChecked(); });
}

void SettingsPanel::sscmdNewShortCut_Click() { NewShortCuts(); }

void SettingsPanel::showFontCaptions() {
    const auto& a = MainState.Month.at(static_cast<size_t>(pEditMon));
    lblDayFont->setText(QString::fromStdString(
        FontCaption(a.DayFntName, a.DayFntSiz, a.DayFntBold, a.DayFntItalic, a.DayFntUndrLn, a.DayFntStrkThr)));
    lblTitleFont->setText(QString::fromStdString(FontCaption(a.TitleFntName, a.TitleFntSiz, a.TitleFntBold,
                                                             a.TitleFntItalic, a.TitleFntUndrLn, a.TitleFntStrkThr)));
}

}  // namespace vm
