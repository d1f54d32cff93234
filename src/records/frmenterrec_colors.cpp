// The entry window's colour panel and font choice.
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/recordpanel.h"
#include "core/recordstyle.h"
#include "platform/messages.h"
#include "platform/pickers.h"
#include "records/combotext.h"
#include "records/frmenterrec.h"
#include "mainwindow/mainwindowdoor.h"

namespace vm {
namespace {

QColor FromNumber(long n) {
    return QColor(static_cast<int>(n & 0xFF), static_cast<int>((n >> 8) & 0xFF), static_cast<int>((n >> 16) & 0xFF));
}

void SetBoxColors(QLineEdit* box, std::optional<long> background, std::optional<long> text) {
    QPalette p = box->palette();
    if (background) p.setColor(QPalette::Base, FromNumber(*background));
    if (text) p.setColor(QPalette::Text, FromNumber(*text));
    box->setPalette(p);
}

}  // namespace

void frmEnterRec::buildColorPanel() {
    SSPanel3 = new QFrame(this);
    SSPanel3->setObjectName("SSPanel3");
    SSPanel3->setFrameShape(QFrame::Panel);
    SSPanel3->setFrameShadow(QFrame::Raised);
    SSPanel3->setAutoFillBackground(true);
    auto* v = new QVBoxLayout(SSPanel3);
    SSTab1 = new QTabWidget(SSPanel3);
    SSTab1->setObjectName("SSTab1");
    v->addWidget(SSTab1);

    const struct {
        const char *text, *tip, *label;
    } boxes[] = {{"Text FG Color", " Date Text Foreground Color ", "Text Color:"},
                 {"Text BG Color", " Date Text Background Color ", "Text Background:"},
                 {"Title Text Color", " Title Foreground Color ", "Title Color:"},
                 {"Title BG Color", " Title Background Color ", "Title Background:"}};
    QWidget* tabs[2] = {new QWidget(SSTab1), new QWidget(SSTab1)};
    QGridLayout* grids[2] = {new QGridLayout(tabs[0]), new QGridLayout(tabs[1])};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(QString::fromUtf8(boxes[i].text), tabs[i / 2]);
        box->setObjectName(QString("txtColor_%1").arg(i));
        box->setToolTip(QString::fromUtf8(boxes[i].tip));
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, i] { txtColor_Change(i); });
        txtColor[static_cast<size_t>(i)] = box;
        grids[i / 2]->addWidget(new QLabel(QString::fromUtf8(boxes[i].label), tabs[i / 2]), i % 2, 0);
        grids[i / 2]->addWidget(box, i % 2, 1);
    }
    cmbDayBGStyle = MakeTextCombo(tabs[0], "cmbDayBGStyle", "Day BG Style", nullptr);
    cmbTitleBGStyle = MakeTextCombo(tabs[1], "cmbTitleBGStyle", "Title BG Style", nullptr);
    grids[0]->addWidget(new QLabel("Day BG Style:", tabs[0]), 2, 0);
    grids[0]->addWidget(cmbDayBGStyle, 2, 1);
    grids[1]->addWidget(new QLabel("Title BG Style:", tabs[1]), 2, 0);
    grids[1]->addWidget(cmbTitleBGStyle, 2, 1);
    SSTab1->addTab(tabs[0], "Text");
    SSTab1->addTab(tabs[1], "Title");

    auto* buttons = new QHBoxLayout;
    sscmdColorOK = new QPushButton("&OK", SSPanel3);
    sscmdColorOK->setObjectName("sscmdColorOK");
    sscmdExitColors = new QPushButton("Exit", SSPanel3);
    sscmdExitColors->setObjectName("sscmdExitColors");
    sscmdExitColors->setToolTip(" Exit without Changing ");
    sscmdRGB = new QPushButton("RGB", SSPanel3);
    sscmdRGB->setObjectName("sscmdRGB");
    sscmdInfo = new QPushButton("?", SSPanel3);
    sscmdInfo->setObjectName("sscmdInfo");
    for (auto* b : {sscmdColorOK, sscmdExitColors, sscmdRGB, sscmdInfo}) buttons->addWidget(b);
    v->addLayout(buttons);
    auto* hint = new QLabel("Double - Click Text Boxes to Display Color Selector", SSPanel3);
    v->addWidget(hint);
    SSPanel3->hide();

    connect(sscmdColorOK, &QPushButton::clicked, this, &frmEnterRec::sscmdColorOK_Click);
    connect(sscmdExitColors, &QPushButton::clicked, this, &frmEnterRec::sscmdExitColors_Click);
    connect(sscmdRGB, &QPushButton::clicked, this, &frmEnterRec::sscmdRGB_Click);
    connect(sscmdInfo, &QPushButton::clicked, this, &frmEnterRec::sscmdInfo_Click);
}

void frmEnterRec::sscmdColors_Click() {
    showPanel(SSPanel3, nullptr);
    SSTab1->setCurrentIndex(0);
    const EntryPanelShown shown = OpenEntryPanel(ComboText(cmbColors));
    for (size_t i = 0; i < 4; ++i) {
        if (shown.boxes[i]) txtColor[i]->setText(QString::fromStdString(*shown.boxes[i]));
        if (shown.backgrounds[i]) SetBoxColors(txtColor[i], shown.backgrounds[i], std::nullopt);
    }
    if (shown.dayList) SetComboText(cmbDayBGStyle, *shown.dayList);
    if (shown.titleList) SetComboText(cmbTitleBGStyle, *shown.titleList);
}

void frmEnterRec::sscmdColorOK_Click() {
    std::array<std::string, 4> texts;
    for (size_t i = 0; i < 4; ++i) texts[i] = txtColor[i]->text().toStdString();
    // The panel stays open on a box no colour can be.
    if (const std::string refusal = DayColorsRefusal(texts); !refusal.empty()) {
        Messages().message(refusal, MsgButtons::Ok, MsgIcon::Exclamation, "Select Colors");
        return;
    }
    SSPanel3->hide();
    const std::string composed = EntryPanelOk(texts, ComboText(cmbDayBGStyle), ComboText(cmbTitleBGStyle));
    for (size_t i = 0; i < 4; ++i)
        if (txtColor[i]->text().toStdString() != texts[i]) txtColor[i]->setText(QString::fromStdString(texts[i]));
    SetComboText(cmbColors, composed);
}

void frmEnterRec::sscmdExitColors_Click() { SSPanel3->hide(); }

void frmEnterRec::sscmdInfo_Click() {
    InfoBox("Double-Click in one of the Color Value Text Boxes to Display The Color Selection Form. Set the Grid's "
            "'Priority' value (0-255) to Force this Day's Color's Priority. Negative Color Values also Force Priority.",
            "Selecting Colors");
}

void frmEnterRec::sscmdRGB_Click() { ShowColorConverter(); }

void frmEnterRec::txtColor_Change(int index) {
    QLineEdit* box = txtColor[static_cast<size_t>(index)];
    if (box->text() == QString::fromUtf8(ColorBoxPlaceholders()[static_cast<size_t>(index)])) box->clear();
}

void frmEnterRec::txtColor_DblClick(int index) {
    QLineEdit* box = txtColor[static_cast<size_t>(index)];
    const ColorPickStart start = StartColorPick(box->text().toStdString());
    long color = start.color;
    bool cancelled = false;
    Change_Color(color, cancelled);
    if (cancelled) return;
    const QString text = QString::fromStdString(PickedColorText(start, color));
    box->setText(text);
    box->setToolTip(" " + text + " ");
    const BoxColors shown = ShownBoxColors(color);
    SetBoxColors(box, shown.background, shown.text);
}

void frmEnterRec::Change_Color(long& color, bool& cancelled) {
    setStatusPanel(3, "Opening Color Selection Form");
    PickColor(color, cancelled, "Color");
    setStatusPanel(3, QString());
}

void frmEnterRec::SelectFont() {
    setStatusPanel(3, "Open Text Selection Form");
    std::string current = ComboText(Combo4);
    if (current == entry::kFont) current.clear();
    std::optional<FontChoice> chosen;
    try {
        chosen = Pickers().pickFont(FontDialogPreset(current, "Arial"), "Font");
    } catch (const std::exception&) {
        chosen.reset();
    }
    setStatusPanel(3, QString());
    if (!chosen) return;
    const auto text = FontChoiceText(*chosen);
    if (!text) {
        Messages().message(kFontChoiceError, MsgButtons::Ok, MsgIcon::None, kFontChoiceErrorTitle);
        return;
    }
    SetComboText(Combo4, *text);
}

}  // namespace vm
