// The settings panel's controls and how their events reach the handlers.
#include "mainwindow/settingspanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "core/dates.h"
#include "core/module1.h"
#include "core/settingsrules.h"
#include "mainwindow/frmvelmora.h"
#include "mainwindow/settingspanel_boxes.h"
#include "platform/controls.h"

namespace vm {
namespace {

QComboBox* ListBox(const char* name, const char* tip, const QString& text) {
    auto* c = Named(new QComboBox, name, tip);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setEditText(text);
    return c;
}

void AddMonths(QComboBox* c) {
    for (int m = 1; m <= 12; ++m) c->addItem(MonthName(m));
}

}  // namespace

SettingsPanel::SettingsPanel(QWidget* parent) : ScrollingPanel(parent) {
    setObjectName("SSPanelSettings");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    buildLayout();
    connectEvents();
    LoadOptions();
    hide();
}

void SettingsPanel::buildLayout() {
    auto* outer = new QVBoxLayout(Contents());

    // The month being edited and its look.
    ssPanelMonth = Named(new QFrame, "ssPanelMonth");
    ssPanelMonth->setFrameShape(QFrame::StyledPanel);
    auto* month = new QGridLayout(ssPanelMonth);
    auto* selectFrame = new QGroupBox("Select Month");
    auto* selectLayout = new QHBoxLayout(selectFrame);
    cmbImgMon = ListBox("cmbImgMon", " Select Month to Change Settings ", MonthName(QDate::currentDate().month()));
    AddMonths(cmbImgMon);
    cmbImgMon->setEditText(MonthName(QDate::currentDate().month()));
    selectLayout->addWidget(cmbImgMon);
    month->addWidget(selectFrame, 0, 0, 1, 4);

    txtImageFN = Named(new EventBox, "txtImageFN");
    cmdBrowseImage = Named(new QPushButton("Browse"), "cmdBrowseImage", " Select the Background Image File ");
    month->addWidget(txtImageFN, 1, 0, 1, 3);
    month->addWidget(cmdBrowseImage, 1, 3);

    month->addWidget(new QLabel("Background"), 2, 1);
    month->addWidget(new QLabel("Font Color"), 2, 2);
    txtTitleBG = Named(new EventBox, "txtTitleBG");
    txtTitleFG = Named(new EventBox, "txtTitleFG");
    txtDayBG = Named(new EventBox, "txtDayBG");
    txtDayFG = Named(new EventBox, "txtDayFG");
    month->addWidget(new QLabel("Default Title Colors"), 3, 0);
    month->addWidget(txtTitleBG, 3, 1);
    month->addWidget(txtTitleFG, 3, 2);
    month->addWidget(new QLabel("Default Day Colors"), 4, 0);
    month->addWidget(txtDayBG, 4, 1);
    month->addWidget(txtDayFG, 4, 2);
    month->addWidget(new QLabel("Double Click in Box  to Change"), 5, 1, 1, 2);

    sscmdDayFont = Named(new QPushButton("Day Font"), "sscmdDayFont", " Select Day Font ");
    sscmdTitleFont = Named(new QPushButton("Title Font"), "sscmdTitleFont", " Select Title Font ");
    const char* fontTip = " Font Name, Size, Bold, Italic, Underline, StrikeThru ";
    lblDayFont = Named(new QLabel, "lblDayFont", fontTip);
    lblTitleFont = Named(new QLabel, "lblTitleFont", fontTip);
    month->addWidget(sscmdDayFont, 6, 0);
    month->addWidget(lblDayFont, 6, 1, 1, 3);
    month->addWidget(sscmdTitleFont, 7, 0);
    month->addWidget(lblTitleFont, 7, 1, 1, 3);

    auto* copyFrame = new QGroupBox("Copy Colors and Fonts");
    auto* copyLayout = new QHBoxLayout(copyFrame);
    cmbCopyFrom = ListBox("cmbCopyFrom", " Copy Font From Month ", "Copy From");
    AddMonths(cmbCopyFrom);
    cmbCopyFrom->setEditText("Copy From");
    cmbCopyTo = ListBox("cmbCopyTo", "Copy Font to Month ", "Copy To");
    cmbCopyTo->addItem("All");
    AddMonths(cmbCopyTo);
    cmbCopyTo->setEditText("Copy To");
    sscmdCopyJan2All = Named(new QPushButton("Copy"), "sscmdCopyJan2All", " Copy a Months Values to Another Month ");
    copyLayout->addWidget(cmbCopyFrom);
    copyLayout->addWidget(cmbCopyTo);
    copyLayout->addWidget(sscmdCopyJan2All);
    month->addWidget(copyFrame, 8, 0, 1, 4);
    outer->addWidget(ssPanelMonth);

    // Options.
    auto* options = new QGridLayout;
    options->addWidget(new QLabel("Background Style"), 0, 0);
    cmbCalStyle = ListBox("cmbCalStyle", nullptr, "Calendar Style");
    for (const char* name : kCalStyleNames) cmbCalStyle->addItem(name);
    cmbCalStyle->setEditText("Calendar Style");
    options->addWidget(cmbCalStyle, 0, 1, 1, 2);
    sschkYearsSince = Named(new QCheckBox("Calc Years Since   "), "sschkYearsSince", "BirthDays, Anniversaries, Deaths");
    options->addWidget(sschkYearsSince, 1, 0);
    options->addWidget(new QLabel("Repeat Start Year"), 1, 1);
    txtBeginRepeatYear = Named(new EventBox("2019"), "txtBeginRepeatYear", " Year to Start  Repeating Dates Data ");
    txtBeginRepeatYear->setMaxLength(8);
    options->addWidget(txtBeginRepeatYear, 1, 2);
    sscmdNewShortCut = Named(new QPushButton("ShortCuts"), "sscmdNewShortCut", " Create Shortcut on Desktop ");
    options->addWidget(sscmdNewShortCut, 2, 0);
    outer->addLayout(options);

    // Sounds.
    auto* soundFrame = Named(new QGroupBox("Sound Files"), "SSFrame2");
    auto* sound = new QGridLayout(soundFrame);
    ssChkVoice = Named(new QCheckBox("Speak On or Off"), "ssChkVoice");
    sound->addWidget(ssChkVoice, 0, 0, 1, 2);
    cmbSoundNumbr = ListBox("cmbSoundNumbr", " Select Number to Tie Wave File to ", "");
    cmbSoundNumbr->setMaximumWidth(70);
    sound->addWidget(cmbSoundNumbr, 1, 0);
    sound->addWidget(new QLabel("Alarm Wav Sound File Name:  30 Total"), 1, 1, 1, 2);
    txtSoundFN = Named(new EventBox, "txtSoundFN");
    cmdBrowseSound = Named(new QPushButton("Browse"), "cmdBrowseSound", " Select the WAV Sound File ");
    sound->addWidget(txtSoundFN, 2, 0, 1, 2);
    sound->addWidget(cmdBrowseSound, 2, 2);
    sound->addWidget(new QLabel("Startup Wav Sound File Name:"), 3, 0, 1, 3);
    txtStrUpSnd = Named(new EventBox, "txtStrUpSnd", " Sound File Played During Startup ");
    cmdStrSndFile = Named(new QPushButton("Browse"), "cmdStrSndFile", " Select the Startup Sound File ");
    sound->addWidget(txtStrUpSnd, 4, 0, 1, 2);
    sound->addWidget(cmdStrSndFile, 4, 2);
    sscmdEndSound = Named(new QPushButton, "sscmdEndSound", " Stop Playing Sound File ");
    sscmdEndSound->setIcon(style()->standardIcon(QStyle::SP_MediaStop));
    sound->addWidget(sscmdEndSound, 5, 0);
    outer->addWidget(soundFrame);

    // The calendar file in use and the close button, in sight below the rest,
    // which scrolls on a small screen.
    QGridLayout* footer = MakeFooterGrid();
    footer->addWidget(new QLabel("Calendar Data File in Use:"), 0, 0);
    auto* bottom = new QHBoxLayout;
    txtDateData = Named(new QLineEdit, "txtDateData");
    txtDateData->setReadOnly(true);
    sscmdExitSettings = Named(new QPushButton, "sscmdExitSettings", " Save Information and Close ");
    sscmdExitSettings->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    bottom->addWidget(txtDateData, 1);
    bottom->addWidget(sscmdExitSettings);
    footer->addLayout(bottom, 1, 0);
}

void SettingsPanel::connectEvents() {
    connect(sscmdExitSettings, &QPushButton::clicked, this, [this] { sscmdExitSettings_Click(); });
    connect(cmbCalStyle, qOverload<int>(&QComboBox::activated), this, [this] { cmbCalStyle_Click(); });
    connect(cmbImgMon, qOverload<int>(&QComboBox::activated), this, [this] { cmbImgMon_Click(); });
    connect(cmdBrowseImage, &QPushButton::clicked, this, [this] { cmdBrowseImage_Click(); });
    connect(txtImageFN, &QLineEdit::textEdited, this, [this] { txtImageFN_Change(); });
    txtImageFN->keyPress = [this](int& k) { txtImageFN_KeyPress(k); };
    txtBeginRepeatYear->keyPress = [this](int& k) { txtBeginRepeatYear_KeyPress(k); };
    // The repeat expansion reads the box as it stands, Enter or not.
    connect(txtBeginRepeatYear, &QLineEdit::textChanged, this,
            [](const QString& text) { MainState.txtBeginRepeatYear = text.toStdString(); });
    connect(sschkYearsSince, &QCheckBox::clicked, this, [this](bool on) { sschkYearsSince_Click(on ? 1 : 0); });
    connect(ssChkVoice, &QCheckBox::clicked, this, [this] { ssChkVoice_Click(); });

    for (Box b : {Box::DayBG, Box::DayFG, Box::TitleBG, Box::TitleFG}) {
        EventBox* box = colorBox(b);
        box->keyPress = [this, b](int& k) { ColorBox_KeyPress(b, k); };
        box->lostFocus = [this, b] { ColorBox_LostFocus(b); };
        box->dblClick = [this, b] { ColorBox_DblClick(b); };
    }
    connect(sscmdDayFont, &QPushButton::clicked, this, [this] { sscmdDayFont_Click(); });
    connect(sscmdTitleFont, &QPushButton::clicked, this, [this] { sscmdTitleFont_Click(); });
    connect(sscmdCopyJan2All, &QPushButton::clicked, this, [this] { sscmdCopyJan2All_Click(); });

    connect(cmbSoundNumbr, qOverload<int>(&QComboBox::activated), this, [this] { cmbSoundNumbr_Click(); });
    connect(cmdBrowseSound, &QPushButton::clicked, this, [this] { cmdBrowseSound_Click(); });
    connect(cmdStrSndFile, &QPushButton::clicked, this, [this] { cmdStrSndFile_Click(); });
    connect(sscmdEndSound, &QPushButton::clicked, this, [this] { sscmdEndSound_Click(); });
    txtSoundFN->keyPress = [this](int& k) { txtSoundFN_KeyPress(k); };
    txtStrUpSnd->keyPress = [this](int& k) { txtStrUpSnd_KeyPress(k); };

    connect(sscmdNewShortCut, &QPushButton::clicked, this, [this] { sscmdNewShortCut_Click(); });
}

EventBox* SettingsPanel::colorBox(Box box) const {
    switch (box) {
        case Box::DayBG: return txtDayBG;
        case Box::DayFG: return txtDayFG;
        case Box::TitleBG: return txtTitleBG;
        case Box::TitleFG: return txtTitleFG;
    }
    return txtDayBG;
}

namespace {
QPointer<SettingsPanel> g_panel;
}

SettingsPanel* TheSettingsPanel() {
    if (!g_panel) {
        g_panel = new SettingsPanel(MainWindow());
        g_panel->LoadOptions();
    }
    return g_panel.data();
}

bool SettingsPanelMade() { return !g_panel.isNull(); }

void OpenSettingsPanel() { TheSettingsPanel()->mnuFile_Settings_Click(); }

}  // namespace vm
