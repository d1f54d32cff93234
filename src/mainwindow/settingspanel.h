// The settings panel SSPanelSettings of the main window: the look of each
// month (picture, colours, fonts, copying between months), the calendar
// style, the start year of the repeat expansion, the years-since and voice
// options, the alarm and start-up sounds, and the desktop shortcuts.
// Every change takes effect in memory at once; the month look is stored into
// the calendar file when a font is chosen, when months are copied and when
// the panel closes; the options and sounds are stored at shut-down.
#pragma once

#include <cstdint>
#include <string>

#include "platform/fitwidgets.h"
#include "platform/sqlstore.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vm {

class EventBox;

class SettingsPanel : public ScrollingPanel {
    Q_OBJECT
public:
    explicit SettingsPanel(QWidget* parent = nullptr);

    // Start-up: the boxes take the option mirrors (no message, no change of
    // an option): the start year, years-since, voice, the calendar style.
    void LoadOptions();

    // ---- frame, month, picture, options ----
    void mnuFile_Settings_Click();  // opens the panel, or refreshes it when open
    void sscmdExitSettings_Click();
    void cmbCalStyle_Click();
    void cmbImgMon_Click();
    void cmdBrowseImage_Click();
    void txtImageFN_Change();
    void txtImageFN_KeyPress(int& KeyAscii);
    void txtBeginRepeatYear_KeyPress(int& KeyAscii);
    void sschkYearsSince_Click(int Value);
    void ssChkVoice_Click();

    // ---- colours and fonts of the edited month ----
    enum class Box { DayBG, DayFG, TitleBG, TitleFG };
    void ShowMonthColors();
    void StoreMonthColors();
    void ColorBox_KeyPress(Box box, int& KeyAscii);  // txtDayBG_KeyPress ...
    void ColorBox_LostFocus(Box box);                // txtDayBG_LostFocus ...
    void ColorBox_DblClick(Box box);                 // txtDayBG_DblClick ...
    void sscmdDayFont_Click();
    void sscmdTitleFont_Click();
    void sscmdCopyJan2All_Click();

    // ---- sounds ----
    void cmbSoundNumbr_Click();
    void cmdBrowseSound_Click();
    void cmdStrSndFile_Click();
    void sscmdEndSound_Click();
    void txtSoundFN_KeyPress(int& KeyAscii);
    void txtStrUpSnd_KeyPress(int& KeyAscii);

    // ---- shortcuts ----
    void sscmdNewShortCut_Click();

    // State kept for the run.
    int16_t pEditMon = 0;             // the month being edited, 0 when its text names no month
    std::string pImagePicture;        // the picture last chosen in the dialog
    std::string ImageDialogFolder;    // where the picture dialog opens
    std::string SoundDialogFolder;    // where the sound-number dialog opens
    std::string StartUpSoundDialogFolder;

private:
    void buildLayout();
    void connectEvents();
    EventBox* colorBox(Box box) const;
    int32_t& monthColor(Box box);
    void takeTypedColor(Box box);
    void showFontCaptions();
    void saveAppearance();  // SaveFonts2File through the main window's DataSettings
    int soundNumberForOpening();

    // Controls, named as their objectName.
    QFrame* ssPanelMonth = nullptr;
    QComboBox* cmbImgMon = nullptr;
    EventBox* txtImageFN = nullptr;
    QPushButton* cmdBrowseImage = nullptr;
    EventBox *txtTitleBG = nullptr, *txtTitleFG = nullptr, *txtDayBG = nullptr, *txtDayFG = nullptr;
    QPushButton *sscmdDayFont = nullptr, *sscmdTitleFont = nullptr;
    QLabel *lblDayFont = nullptr, *lblTitleFont = nullptr;
    QComboBox *cmbCopyFrom = nullptr, *cmbCopyTo = nullptr;
    QPushButton* sscmdCopyJan2All = nullptr;
    QComboBox* cmbCalStyle = nullptr;
    QCheckBox* sschkYearsSince = nullptr;
    EventBox* txtBeginRepeatYear = nullptr;
    QPushButton* sscmdNewShortCut = nullptr;
    QCheckBox* ssChkVoice = nullptr;
    QComboBox* cmbSoundNumbr = nullptr;
    EventBox* txtSoundFN = nullptr;
    QPushButton* cmdBrowseSound = nullptr;
    EventBox* txtStrUpSnd = nullptr;
    QPushButton* cmdStrSndFile = nullptr;
    QPushButton* sscmdEndSound = nullptr;
    QLineEdit* txtDateData = nullptr;
    QPushButton* sscmdExitSettings = nullptr;

    db::RecordSource ownSettings_;  // used when there is no main window
};

// The main window's one settings panel (made on first use, as a child of the
// main window when there is one, its boxes taking the options then) and its
// opener, File > Preference Settings.
SettingsPanel* TheSettingsPanel();
bool SettingsPanelMade();
void OpenSettingsPanel();

}  // namespace vm
