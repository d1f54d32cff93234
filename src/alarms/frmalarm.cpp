#include "alarms/frmalarm.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <cmath>
#include <exception>
#include <utility>

#include "core/monthlayout.h"
#include "core/files.h"
#include "core/module1.h"
#include "core/playwave.h"
#include "core/selectedday.h"
#include "mainwindow/mainwindowdoor.h"
#include "mainwindow/windowhelpers.h"
#include "platform/keyedbutton.h"
#include "platform/onewindow.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/sound.h"
#include "platform/steps.h"

namespace vm {
namespace {

OneWindow<frmAlarm> g_alarm;

constexpr int32_t kDesignWidth = 7200, kDesignHeight = 3600;  // twips
constexpr int kDesignFontSize = 14;

int ToPixels(int32_t twips) { return layout::PixelsFromTwips(twips); }

}  // namespace

frmAlarm::frmAlarm(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmAlarm");
    setWindowTitle("Alarm - Complete");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName("Toolbar1");
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    AddKeyedButton(Toolbar1, "Font +", "UpArrow", " Increase Font Size ");
    AddKeyedButton(Toolbar1, "Font -", "DownArrow", " Reduce Font Size ");
    AddKeyedButton(Toolbar1, "Speak", "Sound2", " Play the Alarm Again ");
    AddKeyedButton(Toolbar1, "Pause", "pause", " Pause Speech ");
    AddKeyedButton(Toolbar1, "Stop ", "btn_cancel", " Stop Sound and Speech ");
    outer->addWidget(Toolbar1);
    outer->addStretch(1);

    // The message is placed by hand (see resizeEvent), not by the layout.
    lblAlarmMsg = new QLabel(this);
    lblAlarmMsg->setObjectName("lblAlarmMsg");
    lblAlarmMsg->setTextFormat(Qt::PlainText);
    lblAlarmMsg->setWordWrap(true);
    lblAlarmMsg->setAlignment(Qt::AlignCenter);
    // The window opens with the keys on its message: a key typed as it comes
    // up presses none of its buttons, which Tab then reaches.
    lblAlarmMsg->setFocusPolicy(Qt::StrongFocus);
    QFont font = lblAlarmMsg->font();
    font.setPointSize(kDesignFontSize);
    lblAlarmMsg->setFont(font);

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
    resize(ToPixels(kDesignWidth), ToPixels(kDesignHeight));

    connect(Toolbar1, &QToolBar::actionTriggered, this,
            [this](QAction* a) { OptionalStep([&] { Toolbar1_ButtonClick(a->data().toString()); }); });
}

frmAlarm::~frmAlarm() { Form_Unload(); }

void frmAlarm::Form_Load() {
    Module1.AlarmOpen = true;
    loaded_ = true;
    Initialize_Speech();
    soundStopped_ = true;
    paused_ = false;
    if (QWidget* main = MainParent(); main && main->isMinimized()) main->showNormal();
    SetFormOnTop(this);
    CentreOnMain(this);
}

void frmAlarm::Initialize_Speech() {
    VoiceStart start = StartSharedVoice();
    speechError_.clear();
    if (start.voice) {
        Voice = std::move(start.voice);
        return;
    }
    // The window goes on without speech (the wave file plays instead); the
    // user hears of it once the alarm's message is up.
    speechError_ = std::to_string(start.number) + " - " + start.description;
}

// With speech off nobody needs to know; with it on, once a run is enough.
void frmAlarm::TellSpeechError() {
    if (speechError_.empty() || !Module1.OptVoice || std::exchange(Module1.SpeechErrorShown, true)) return;
    Messages().message(speechError_, MsgButtons::OkCancel, MsgIcon::None, "Initialize_Speech_Error");
}

void frmAlarm::Form_Activate() {
    // The message is spoken as written: no markup is read from it.
    if (Module1.OptVoice && Voice) {
        try {
            Voice->speak(Module1.AlarmMsg, true);
        } catch (...) {
            PlayWaveFile(Module1.CurSoundFile);  // what cannot be said is heard
        }
    }
    paused_ = false;
    TellSpeechError();
}

void frmAlarm::Form_GotFocus() {
    // The entry that fired has left the queue, and a rebuild during its wait
    // may have left nothing else: the window it was shown for still stays.
    const bool firing = std::exchange(firingShown_, false);
    if (!firing && Module1.Alarms.count() == 0) {
        close();
        return;
    }
    lblAlarmMsg->setText(QString::fromStdString(Module1.AlarmMsg.empty() ? "Timer Complete" : Module1.AlarmMsg));
}

void frmAlarm::StopSpeech() {
    if (Module1.OptVoice && Voice) Voice->stop();
}

void frmAlarm::Toolbar1_ButtonClick(const QString& key) {
    if (fontSize_ == 0) fontSize_ = lblAlarmMsg->font().pointSize() > 0 ? lblAlarmMsg->font().pointSize() : kDesignFontSize;

    if (key == "pause") {
        if (Module1.OptVoice && Voice) Voice->pause();
        paused_ = true;
    } else if (key == "btn_cancel") {
        SoundPlayer().stop();
        StopSpeech();  // what rang ends; countdowns still running go on
    } else if (key == "UpArrow") {
        ++fontSize_;
    } else if (key == "DownArrow") {
        if (fontSize_ > 1) --fontSize_;
    } else if (key == "Sound2") {
        if (paused_ && Voice) Voice->resume();
        soundStopped_ = !soundStopped_;
        if (soundStopped_) {
            SoundPlayer().stop();
            StatusPanels[1]->clear();
        } else {
            if (!Module1.OptVoice || !Voice) {
                SoundPlayer().stop();
                PlayWaveFile(Module1.CurSoundFile);
            } else if (Voice) {
                Voice->speak(lblAlarmMsg->text().toStdString(), true);
                paused_ = false;
            }
            const std::string path = ResolveDataPath(Module1.CurSoundFile);
            const bool found = !Module1.CurSoundFile.empty() && FileExists(path);
            StatusPanels[1]->setText(found ? QFileInfo(QString::fromStdString(path)).fileName() : QString());
        }
    }

    QFont font = lblAlarmMsg->font();
    font.setPointSize(fontSize_);
    lblAlarmMsg->setFont(font);
}

void frmAlarm::Form_Unload() {
    if (!loaded_) return;
    loaded_ = false;
    Module1.AlarmOpen = false;
    Operation op("frmAlarm_Unload_Error");
    op.step(1, [&] { SoundPlayer().stop(); });
    op.step(2, [&] { StopSpeech(); });
    Voice.reset();
    op.step(3, [&] { SetFormNotOnTop(this); });
}

void frmAlarm::closeEvent(QCloseEvent* event) {
    Form_Unload();
    setAttribute(Qt::WA_DeleteOnClose);
    event->accept();
}

void frmAlarm::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int top = Toolbar1->geometry().bottom() + ToPixels(100);
    lblAlarmMsg->setGeometry(ToPixels(350), top, std::max(0, width() - ToPixels(700)),
                             std::max(0, height() - ToPixels(1350)));
}

void frmAlarm::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && loaded_)
        OptionalStep([&] { Form_GotFocus(); });
}

// ---- the one instance ----

frmAlarm* AlarmWindow() { return g_alarm.get(); }

frmAlarm* LoadAlarm() {
    return g_alarm.load([] { return new frmAlarm(MainParent()); });
}

void ShowAlarm() {
    frmAlarm* w = AlarmWindow();
    if (!w) return;
    if (w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    w->ShownForAFiring();
    w->show();
    w->raise();
    w->activateWindow();
    w->lblAlarmMsg->setFocus();
    w->Form_Activate();
}

void UnloadAlarm() { g_alarm.unload(); }

}  // namespace vm
