#include "records/frmselectedday.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>
#include <exception>

#include "core/monthlayout.h"
#include "core/datewords.h"
#include "core/module1.h"
#include "core/selectedday.h"
#include "mainwindow/mainwindowdoor.h"
#include "mainwindow/windowhelpers.h"
#include "platform/controls.h"
#include "platform/keyedbutton.h"
#include "platform/messages.h"
#include "platform/onewindow.h"
#include "platform/qtpickers.h"

namespace vm {
namespace {

OneWindow<frmSelectedDay> g_selDay;

// Kept for the whole run, across closing and reopening the window.
int g_keptFontSize = 0;  // points; 0 until first set
bool g_paused = false;
bool g_stopped = false;

constexpr int kDesignFontSize = 12;
constexpr int kLargestFontSize = 2160;
constexpr double kSelectedDayRate = -0.2;  // a little slower than normal

int ToPixels(int32_t twips) { return layout::PixelsFromTwips(twips); }
int32_t ToTwips(int pixels) { return layout::TwipsFromPixels(pixels); }

}  // namespace

frmSelectedDay::frmSelectedDay(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmSelectedDay");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    AddKeyedButton(Toolbar1, "Font +", "UpArrow", " Increase Font Size ");
    Toolbar1->addSeparator();
    AddKeyedButton(Toolbar1, "Font -", "DownArrow", " Reduce Font Size ");
    Toolbar1->addSeparator();
    AddKeyedButton(Toolbar1, "Copy", "Copy", " Copy Message to Clipboard ");
    Toolbar1->addSeparator();
    speechButtons_[0] = AddKeyedButton(Toolbar1, "Play", "RightArrow", " Play Again ");
    Toolbar1->addSeparator();
    speechButtons_[1] = AddKeyedButton(Toolbar1, "Pause", "pause", " Pause Playback ");
    Toolbar1->addSeparator();
    speechButtons_[2] = AddKeyedButton(Toolbar1, "Stop", "cancel-16", " Stop Playback ");
    KeepSeparatorsTidy(Toolbar1);
    outer->addWidget(Toolbar1);

    // The text sits 100 twips below the toolbar and leaves 450 twips of the
    // width free; it takes the height between the toolbar and the status bar.
    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(ToPixels(225), ToPixels(100), ToPixels(225), 0);
    txtDayText = new QPlainTextEdit(this);
    WrapInside(txtDayText);
    txtDayText->setObjectName("txtDayText");
    txtDayText->setTabChangesFocus(true);
    QFont font = txtDayText->font();
    font.setPointSize(kDesignFontSize);
    txtDayText->setFont(font);
    middle->addWidget(txtDayText);
    outer->addLayout(middle, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    for (int p = 0; p < 2; ++p) {
        auto* panel = new QLabel(StatusBar1);
        panel->setObjectName(QString("StatusBar1_Panel%1").arg(p + 1));
        StatusBar1->addWidget(panel, p == 1 ? 3 : 1);
        StatusPanels[static_cast<size_t>(p)] = panel;
    }
    outer->addWidget(StatusBar1);

    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* a) { Toolbar1_ButtonClick(a->data().toString()); });
    txtDayText->setFocus();  // not the first toolbar button
}

frmSelectedDay::~frmSelectedDay() { Form_Unload(); }

void frmSelectedDay::ApplyFontSize(int points) {
    if (points < 1 || points > kLargestFontSize) return;  // the text keeps its size
    QFont font = txtDayText->font();
    font.setPointSize(points);
    txtDayText->setFont(font);
}

namespace {
int CurrentPointSize(const QPlainTextEdit* box) {
    const int size = box->font().pointSize();
    if (size > 0) return size;
    const double sizeF = box->font().pointSizeF();
    return sizeF > 0 ? static_cast<int>(std::lround(sizeF)) : kDesignFontSize;
}
}  // namespace

void frmSelectedDay::Form_Load() {
    Module1.SelectedDayOpen = true;
    loaded_ = true;
    SetFormOnTop(this);

    if (Module1.OptVoice) Initialize_Speech2();
    for (QAction* a : speechButtons_) a->setVisible(Module1.OptVoice);

    date_ = SelectedDayDate(Module1.SelDayTitle, Module1.SelDayDayNo, Module1.SelDayYear, Today());
    setWindowTitle(QString::fromStdString(LongCaptionDate(date_)));

    txtDayText->setPlainText(QString::fromStdString(Module1.SelDayText));
    if (Module1.SelDayTextSize != 0) ApplyFontSize(Module1.SelDayTextSize);
    QPalette palette = txtDayText->palette();
    palette.setColor(QPalette::Base, ColorFromNumber(Module1.SelDayBackColor));
    txtDayText->setPalette(palette);

    Module1.SelDayHeight = OpeningHeight(Module1.SelDayHeight);
    Module1.SelDayWidth = OpeningWidth(Module1.SelDayWidth);
    resize(ToPixels(Module1.SelDayWidth), ToPixels(Module1.SelDayHeight));

    if (Module1.SelDayTop != 0) {
        move(ToPixels(Module1.SelDayLeft), ToPixels(Module1.SelDayTop));
    } else {
        CentreOnMain(this);
    }

    if (g_keptFontSize != 0) ApplyFontSize(g_keptFontSize);
    else g_keptFontSize = CurrentPointSize(txtDayText);

    SpeakDayContents();
}

void frmSelectedDay::SpeakDayContents() {
    // The box keeps what it shows; speech and Copy leave out the markers.
    Module1.SelDayText = CleanDayText(txtDayText->toPlainText().toStdString());
    if (!Module1.OptVoice || !Voice) return;
    Voice->stop();
    Voice->setRate(kSelectedDayRate);
    Voice->speak(LongCaptionDate(date_) + ",," + Module1.SelDayText, true);
}

void frmSelectedDay::Initialize_Speech2() {
    VoiceStart start = StartSharedVoice();
    if (start.voice) {
        Voice = std::move(start.voice);
        return;
    }
    const std::string n = std::to_string(start.number);
    if (Module1.OptVoice && Voice) Voice->speak("Error Number " + n + " " + start.description, true);
    // With no voice there is nothing left to set up, whichever the answer.
    Messages().message(n + " - " + start.description, MsgButtons::OkCancel, MsgIcon::None, "Initialize_Speech_Error");
}

void frmSelectedDay::Toolbar1_ButtonClick(const QString& key) {
    if (g_keptFontSize == 0) g_keptFontSize = CurrentPointSize(txtDayText);

    if (key == "Copy") {
        // What the box shows now, cleaned: the user may have edited it, and
        // the shared text may have been taken over by an alarm since.
        Module1.SelDayText = CleanDayText(txtDayText->toPlainText().toStdString());
        if (QClipboard* clip = QGuiApplication::clipboard()) {
            clip->clear();
            clip->setText(windowTitle() + "\r\n" + QString::fromStdString(Module1.SelDayText));
        }
        StatusPanels[1]->setText("Text Copied to Clipboard");
    } else if (key == "pause") {
        if (Module1.OptVoice && Voice) Voice->pause();
        g_paused = true;
    } else if (key == "cancel-16") {
        if (Module1.OptVoice && Voice) Voice->stop();
        g_stopped = true;
    } else if (key == "RightArrow") {
        if (g_paused && Voice) Voice->resume();
        if (g_stopped) SpeakDayContents();
        g_paused = false;
        g_stopped = false;
    } else if (key == "UpArrow") {
        g_keptFontSize = StepFontSize(g_keptFontSize, 1);
    } else if (key == "DownArrow") {
        g_keptFontSize = StepFontSize(g_keptFontSize, -1);
    }

    ApplyFontSize(g_keptFontSize);
}

void frmSelectedDay::Form_Unload() {
    if (!loaded_) return;
    loaded_ = false;
    Module1.SelectedDayOpen = false;
    Module1.SelDayTop = ToTwips(y());
    Module1.SelDayLeft = ToTwips(x());
    Module1.SelDayHeight = ToTwips(height());
    Module1.SelDayWidth = ToTwips(width());
    if (Module1.OptVoice && Voice) Voice->stop();
    Voice.reset();
}

void frmSelectedDay::closeEvent(QCloseEvent* event) {
    Form_Unload();
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

// ---- the one instance ----

frmSelectedDay* SelectedDay() { return g_selDay.get(); }

frmSelectedDay* ShowSelectedDay() {
    return g_selDay.show([] { return new frmSelectedDay(MainParent()); });
}

void UnloadSelectedDay() { g_selDay.unload(); }

void ResetSelectedDayRunState() {
    g_keptFontSize = 0;
    g_paused = false;
    g_stopped = false;
}

}  // namespace vm
