#include "tools/frmredgreenblue.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/colorconvert.h"
#include "core/module1.h"
#include "core/recordpanel.h"
#include "mainwindow/mainwindowdoor.h"
#include "platform/controls.h"
#include "platform/messages.h"
#include "platform/onewindow.h"
#include "platform/pickers.h"

namespace vm {
namespace {

OneWindow<frmRedGreenBlue> g_rgb;

}  // namespace

frmRedGreenBlue::frmRedGreenBlue(QWidget* parent) : QWidget(parent, Qt::Window | Qt::WindowStaysOnTopHint) {
    setObjectName("frmRedGreenBlue");
    setWindowTitle("Red Green Blue Color Calculator");
    auto* outer = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    outer->addLayout(grid);
    const char* labels[5] = {"Red:", "Green:", "Blue:", "Decimal:", "Hex:"};
    for (int i = 0; i < 5; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("Text1_%1").arg(i));
        box->installEventFilter(this);
        Text1[static_cast<size_t>(i)] = box;
        grid->addWidget(new QLabel(labels[i], this), i, 0);
        grid->addWidget(box, i, 1);
    }
    cmdConvRGB = NamedButton(this, "cmdConvRGB", "RGB 2 Dec", " Calculate Decimal Values");
    cmdConvert2RGB = NamedButton(this, "cmdConvert2RGB", "Dec 2 RGB", " Calculate Hex Value ");
    cmdConvHex2RGB = NamedButton(this, "cmdConvHex2RGB", "Hex 2 RGB", " Calculate Hex Values ");
    grid->addWidget(cmdConvRGB, 2, 2);
    grid->addWidget(cmdConvert2RGB, 3, 2);
    grid->addWidget(cmdConvHex2RGB, 4, 2);

    txtColorSampl = new QLineEdit(this);
    txtColorSampl->setObjectName("txtColorSampl");
    txtColorSampl->setReadOnly(true);
    txtColorSampl->setFocusPolicy(Qt::NoFocus);
    txtColorSampl->setAutoFillBackground(true);
    grid->addWidget(txtColorSampl, 0, 2, 2, 1);

    Text2 = new QPlainTextEdit(this);

    WrapInside(Text2);
    Text2->setObjectName("Text2");
    Text2->setTabChangesFocus(true);
    Text2->setFixedHeight(Text2->fontMetrics().lineSpacing() * 4 + 12);
    Text2->viewport()->installEventFilter(this);
    outer->addWidget(Text2);

    auto* buttons = new QHBoxLayout;
    sscmdClear = NamedButton(this, "sscmdClear", "Clear", " Clear All Values ");
    sscmdCopyLast = NamedButton(this, "sscmdCopyLast", "Copy Last", " Copy Last Selected Value ");
    sscmdColorSelect = NamedButton(this, "sscmdColorSelect", "Colors", " Display Color Selector ");
    sscmdInfo = NamedButton(this, "sscmdInfo", "?", " Show Information Message ");
    for (auto* b : {sscmdClear, sscmdCopyLast, sscmdColorSelect, sscmdInfo}) buttons->addWidget(b);
    outer->addLayout(buttons);

    connect(cmdConvert2RGB, &QPushButton::clicked, this, &frmRedGreenBlue::cmdConvert2RGB_Click);
    connect(cmdConvHex2RGB, &QPushButton::clicked, this, &frmRedGreenBlue::cmdConvHex2RGB_Click);
    connect(cmdConvRGB, &QPushButton::clicked, this, &frmRedGreenBlue::cmdConvRGB_Click);
    connect(sscmdClear, &QPushButton::clicked, this, &frmRedGreenBlue::sscmdClear_Click);
    connect(sscmdCopyLast, &QPushButton::clicked, this, &frmRedGreenBlue::sscmdCopyLast_Click);
    connect(sscmdColorSelect, &QPushButton::clicked, this, &frmRedGreenBlue::sscmdColorSelect_Click);
    connect(sscmdInfo, &QPushButton::clicked, this, &frmRedGreenBlue::sscmdInfo_Click);
}

frmRedGreenBlue::~frmRedGreenBlue() {
    if (loaded_) Module1.RedGreenBlueOpen = false;
}

void frmRedGreenBlue::Form_Load() {
    Text2->hide();
    txtColorSampl->hide();
    // Beside the main window's record colour panel, wherever it lies.
    PlaceBesideMain(this, 500, "SSPanelDayColor");
    Module1.RedGreenBlueOpen = true;
    loaded_ = true;
}

void frmRedGreenBlue::Form_Unload() {
    if (loaded_) Module1.RedGreenBlueOpen = false;
    loaded_ = false;
}

void frmRedGreenBlue::closeEvent(QCloseEvent* event) {
    Form_Unload();
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

bool frmRedGreenBlue::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < 5; ++i)
            if (watched == Text1[static_cast<size_t>(i)]) Text1_Click(i);
        if (watched == Text2->viewport()) Text2_Click();
    }
    return QWidget::eventFilter(watched, event);
}

void frmRedGreenBlue::Text1_Click(int index) { lastSelected_ = index; }
void frmRedGreenBlue::Text2_Click() { lastSelected_ = 5; }

void frmRedGreenBlue::setSample(long color) {
    QPalette p = txtColorSampl->palette();
    p.setColor(QPalette::Base, QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                                      static_cast<int>((color >> 16) & 0xFF)));
    txtColorSampl->setPalette(p);
}

// All the boxes of a conversion change together, or, on a refusal, none.
void frmRedGreenBlue::apply(const ConverterUpdate& u) {
    if (!u.ok()) {
        if (u.critical) CriticalBox(u.refusal, u.refusalTitle);
        else Messages().message(u.refusal, MsgButtons::Ok, MsgIcon::None, u.refusalTitle);
        return;
    }
    const std::optional<std::string>* boxes[5] = {&u.red, &u.green, &u.blue, &u.decimal, &u.hex};
    for (size_t i = 0; i < 5; ++i)
        if (*boxes[i]) Text1[i]->setText(QString::fromStdString(**boxes[i]));
    if (u.clipboard) {
        QClipboard* clip = QGuiApplication::clipboard();
        clip->clear();
        clip->setText(QString::fromStdString(*u.clipboard));
    }
    Text2->setPlainText(QString::fromStdString(u.message));
    Text2->show();
    setSample(u.sample);
    txtColorSampl->show();
}

void frmRedGreenBlue::cmdConvert2RGB_Click() { apply(ConvertDecimal(Text1[3]->text().toStdString())); }

void frmRedGreenBlue::cmdConvHex2RGB_Click() { apply(ConvertHex(Text1[4]->text().toStdString())); }

void frmRedGreenBlue::cmdConvRGB_Click() {
    apply(ConvertComponents(Text1[0]->text().toStdString(), Text1[1]->text().toStdString(),
                            Text1[2]->text().toStdString()));
}

void frmRedGreenBlue::sscmdClear_Click() {
    for (auto* box : Text1) box->clear();
    Text2->clear();
    setSample(0);
    txtColorSampl->setPalette(QPalette());
    txtColorSampl->hide();
    Text1[0]->setFocus();
}

void frmRedGreenBlue::sscmdCopyLast_Click() {
    QClipboard* clip = QGuiApplication::clipboard();
    clip->clear();
    QString text;
    if (lastSelected_ >= 0 && lastSelected_ <= 2) {
        const MsgResult answer = Messages().message("Would You like to copy 3 RGB Colors at one time?",
                                                    MsgButtons::YesNo, MsgIcon::None, "Copy 3 Colors");
        if (answer == MsgResult::Yes)
            text = Text1[0]->text() + ", " + Text1[1]->text() + ", " + Text1[2]->text();
        else
            text = Text1[static_cast<size_t>(lastSelected_)]->text();
    } else if (lastSelected_ <= 4) {
        text = Text1[static_cast<size_t>(lastSelected_)]->text();
    } else {
        text = Text2->toPlainText();
    }
    clip->setText(text);
}

void frmRedGreenBlue::Change_Color(long& color, bool& cancelled) { PickColor(color, cancelled, "Color"); }

void frmRedGreenBlue::sscmdColorSelect_Click() {
    long color = StartColorPick(Text1[3]->text().toStdString()).color;
    bool cancelled = false;
    Change_Color(color, cancelled);
    if (!cancelled) Text1[3]->setText(QString::number(color));
}

void frmRedGreenBlue::sscmdInfo_Click() {
    InfoBox("Use This Form to Enter RGB Color Values.\n"
            "You Can Capture a Screen Shot Using Alt-PrtScrn and then use GIMP to Import then Screen Shot. Use "
            "GIMP's Color Picker Tool to Capture a Pixel's Color. Open The Change Foreground Color Dialog to see the "
            "RGB. Insert the Decimal Value in the Date & Title Colors Form.\n\n"
            "Double Clicking in a Date or Title Color Will Display the Color Selection Form",
            "RGB Color to Hex/Decimal");
}

// Shown in front but not made active: the entry window that asked for it
// keeps the keyboard.
frmRedGreenBlue* ShowRedGreenBlue() {
    frmRedGreenBlue* w = g_rgb.load([] { return new frmRedGreenBlue(MainParent()); });
    w->show();
    w->raise();
    return w;
}

void UnloadRedGreenBlue() { g_rgb.unload(); }

}  // namespace vm
