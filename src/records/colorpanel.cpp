#include "records/colorpanel.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/recordstyle.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/messages.h"
#include "platform/pickers.h"
#include "platform/steps.h"

namespace vm {

void Change_Color(long& colour, bool& cancelled) {
    MainWindowDoor* main = MainDoor();
    if (main) main->SetStatusText(4, "Opening Color Selection Form");
    PickColor(colour, cancelled);
    if (main) main->SetStatusText(4, "");
}

int DayStyleFromText(const QString& text) { return text == kDayTransparent ? kStyleTransparent : kStyleOpaque; }
int TitleStyleFromText(const QString& text) { return text == kTitleTransparent ? kStyleTransparent : kStyleOpaque; }

ColorPanel::ColorPanel(QWidget* parent) : PanelMadeWhenShown(parent, [this] { MakeOwnControls(); }) {
    setObjectName("SSPanelDayColor");
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
}

void ColorPanel::MakeOwnControls() {
    auto* outer = new QVBoxLayout(this);

    SSTab1 = new QTabWidget;
    SSTab1->setObjectName("SSTab1");
    static const char* const kBoxText[4] = {"Text Color", "Text BG Color", "Title Text Color", "Title BG Color"};
    static const char* const kBoxLabel[4] = {"Date Text Color", "Date Background Color", "Title Text Color",
                                             "Title Background Color"};
    for (int i = 0; i < 4; ++i) {
        Text1[i] = new QLineEdit(kBoxText[i]);
        Text1[i]->setObjectName(QString("Text1_%1").arg(i));
    }
    auto list = [](const char* name, const char* text, const char* first, const char* second) {
        auto* c = new QComboBox;
        c->setObjectName(name);
        c->setEditable(true);
        c->setInsertPolicy(QComboBox::NoInsert);
        c->addItem(first);
        c->addItem(second);
        c->setEditText(text);
        return c;
    };
    cmbDayBGStyle = list("cmbDayBGStyle", "Day BG Style", kDayTransparent, kDayOpaque);
    cmbTitleBGStyle = list("cmbTitleBGStyle", "Title BG Style", kTitleTransparent, kTitleOpaque);

    auto* dayTab = new QWidget;
    auto* dayForm = new QFormLayout(dayTab);
    dayForm->addRow(kBoxLabel[0], Text1[0]);
    dayForm->addRow(kBoxLabel[1], Text1[1]);
    dayForm->addRow("Day BG Style", cmbDayBGStyle);
    auto* titleTab = new QWidget;
    auto* titleForm = new QFormLayout(titleTab);
    titleForm->addRow(kBoxLabel[2], Text1[2]);
    titleForm->addRow(kBoxLabel[3], Text1[3]);
    titleForm->addRow("Title BG Style", cmbTitleBGStyle);
    SSTab1->addTab(dayTab, "Day Text");
    SSTab1->addTab(titleTab, "Title Text");
    outer->addWidget(SSTab1);

    buttons_ = new QHBoxLayout;
    sscmdExitColors = new QPushButton;
    sscmdExitColors->setObjectName("sscmdExitColors");
    sscmdExitColors->setToolTip(" Exit without Changing ");
    sscmdExitColors->setIcon(style()->standardIcon(QStyle::SP_DialogCloseButton));
    sscmdInfo = new QPushButton;
    sscmdInfo->setObjectName("sscmdInfo");
    sscmdInfo->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
    buttons_->addStretch(1);
    buttons_->addWidget(sscmdInfo);
    buttons_->addWidget(sscmdExitColors);
    outer->addLayout(buttons_);

    connect(cmbDayBGStyle, qOverload<int>(&QComboBox::activated), this, [this] { cmbDayBGStyle_Click(); });
    connect(cmbTitleBGStyle, qOverload<int>(&QComboBox::activated), this, [this] { cmbTitleBGStyle_Click(); });
    connect(sscmdExitColors, &QPushButton::clicked, this, [this] { sscmdExitColors_Click(); });
    connect(sscmdInfo, &QPushButton::clicked, this, [this] { sscmdInfo_Click(); });
    emit controlsMade();
}

void ColorPanel::cmbDayBGStyle_Click() { pDayStyle = DayStyleFromText(cmbDayBGStyle->currentText()); }

void ColorPanel::cmbTitleBGStyle_Click() { pTitleStyle = TitleStyleFromText(cmbTitleBGStyle->currentText()); }

void ColorPanel::sscmdExitColors_Click() { hide(); }

void ColorPanel::sscmdInfo_Click() {
    InfoBox("Double-Click in one of the Color Value Text Boxes to Display The Color Selection Form. Set the Grid's "
            "'Priority' value (0-255) to Force this Day's Color's Priority. Negative Color Values also Force "
            "Priority.",
            "Selecting Colors");
}

}  // namespace vm
