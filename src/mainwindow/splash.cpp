#include "mainwindow/splash.h"
#include "mainwindow/windowhelpers.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QPointer>
#include <QProgressBar>
#include <QScreen>
#include <QTimer>

#include "core/calendarfiles.h"
#include "core/module1.h"
#include "core/monthlayout.h"
#include "core/splashlogic.h"
#include "platform/messages.h"
#include "platform/places.h"
#include "platform/qtpickers.h"

namespace vm {
namespace {

// Sizes are designed in twips.
int Px(int twips) { return layout::PixelsFromTwips(twips); }

constexpr int kPictureWidth = 8000, kPictureHeight = 3700;  // twips
constexpr int kInset = 150;                                 // picture inside the panel

QPointer<frmVelmoraOpen> g_splash;

QString SplashLines() {
    return QString::fromStdString("\nVelmora, a desktop calendar, made by the Velmora developers.\n"
                                  "Questions and ideas: see the Help menu's web pages.\n\n"
                                  "Velmora Version: " + VersionDashes() +
                                  "\n\nThank you for keeping your days with Velmora.");
}

// The month's splash picture, else the fallback one; its text colour.
std::string SplashPicture(int32_t& color) {
    std::string path = SplashFolder();
    GetSplashPicture(path, color);
    if (!FileExists(path)) path = SplashFallbackPicture();
    return path;
}

QSize SplashPictureSize() { return QSize(Px(kPictureWidth), Px(kPictureHeight)); }

}  // namespace

std::string SplashFolder() { return JoinPath(ProgramFolder(), "Graphics/Splash/"); }
std::string SplashFallbackPicture() { return JoinPath(SplashFolder(), "Install.jpg"); }

frmVelmoraOpen::frmVelmoraOpen(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmVelmoraOpen");
    setWindowTitle("   Opening Velmora - Please Wait");

    ssPnlSplash1 = new QFrame(this);
    ssPnlSplash1->setObjectName("ssPnlSplash1");
    ssPnlSplash1->setFrameShape(QFrame::Panel);
    ssPnlSplash1->setFrameShadow(QFrame::Raised);

    Image4 = new QLabel(ssPnlSplash1);
    Image4->setObjectName("Image4");
    Image4->setScaledContents(true);

    lblSplash = new QLabel(ssPnlSplash1);
    lblSplash->setObjectName("lblSplash");
    lblSplash->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblSplash->setWordWrap(true);
    lblSplash->installEventFilter(this);

    lblProgName = new QLabel("*** Velmora ***", ssPnlSplash1);
    lblProgName->setObjectName("lblProgName");
    lblProgName->setAlignment(Qt::AlignCenter);
    QFont big = lblProgName->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    lblProgName->setFont(big);

    lblSec = new QLabel("(1)", ssPnlSplash1);
    lblSec->setObjectName("lblSec");
    lblSec->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    SplashProgressBar1 = new QProgressBar(ssPnlSplash1);
    SplashProgressBar1->setObjectName("SplashProgressBar1");
    SplashProgressBar1->setRange(0, 100);
    SplashProgressBar1->setValue(0);
    SplashProgressBar1->setTextVisible(false);

    // Clicks on the picture, the name, the counter and the bar are clicks on the window.
    for (QWidget* w : {static_cast<QWidget*>(ssPnlSplash1), static_cast<QWidget*>(Image4),
                       static_cast<QWidget*>(lblProgName), static_cast<QWidget*>(lblSec),
                       static_cast<QWidget*>(SplashProgressBar1)})
        w->setAttribute(Qt::WA_TransparentForMouseEvents);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(750);
    connect(Timer1, &QTimer::timeout, this, &frmVelmoraOpen::Timer1_Timer);

    Form_Load();
}

frmVelmoraOpen::~frmVelmoraOpen() { Form_Unload(); }

void frmVelmoraOpen::Form_Load() {
    Module1.SplashOpen = true;
    Timer1->start();

    int32_t color = 0;
    const std::string path = SplashPicture(color);
    textColor_ = color;
    const QColor qcolor = ColorFromNumber(color);
    for (QLabel* l : {lblSplash, lblProgName, lblSec}) SetTextColor(l, qcolor);

    const int pw = SplashPictureSize().width(), ph = SplashPictureSize().height();
    Image4->setGeometry(Px(kInset), Px(kInset), pw, ph);
    if (FileExists(path)) {
        const QPixmap picture = PictureForLabel(path, Image4->size(), Image4->devicePixelRatioF());
        if (!picture.isNull()) {
            Image4->setPixmap(picture);
            picturePath_ = path;
        }
    }
    lblSplash->setText(SplashLines());

    ssPnlSplash1->setGeometry(0, Px(50), Px(kPictureWidth + 300), Px(kPictureHeight + 300));
    ssPnlSplash1->setVisible(true);
    lblSplash->setGeometry(Px(kInset + 150), Px(kInset + 150), Px(kPictureWidth - 300), Px(kPictureHeight - 300));
    lblProgName->setGeometry(Px(kInset), Px(kInset + 100), pw, Px(450));
    lblSplash->setContentsMargins(0, Px(kInset + 550) - lblSplash->y(), 0, 0);  // the text block starts below the name
    lblSec->setGeometry(Px(kInset) + pw - Px(900), Px(kInset) + ph - Px(600), Px(800), Px(300));
    SplashProgressBar1->setGeometry(Px(kInset + 100), Px(kInset) + ph - Px(250), pw - Px(200), Px(180));
    lblSplash->raise();
    lblProgName->raise();
    lblSec->raise();
    SplashProgressBar1->raise();

    setFixedSize(ssPnlSplash1->width(), ssPnlSplash1->height());
}

void frmVelmoraOpen::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (Timer1) Timer1->stop();
    if (g_splash == this) g_splash = nullptr;
    Module1.SplashOpen = false;
}

void frmVelmoraOpen::Timer1_Timer() {
    ticks_ = NextSplashTick(ticks_);
    lblSec->setText(QString("(%1)").arg(ticks_));
    if (passProgress_) return;
    const SplashBar before{SplashProgressBar1->minimum(), SplashProgressBar1->maximum(), SplashProgressBar1->value()};
    const SplashBar after = SplashBarAfterTick(before, ticks_);
    if (after == before) return;
    SplashProgressBar1->setRange(after.minimum, after.maximum);
    SplashProgressBar1->setValue(after.value);
}

void frmVelmoraOpen::ShowPassProgress(int64_t done, int64_t total) {
    if (total <= 0) return;
    passProgress_ = true;  // the bar is the pass's (and the month build's) from now on
    SplashProgressBar1->setRange(0, 100);
    SplashProgressBar1->setValue(
        static_cast<int>(std::clamp<int64_t>(done * kSplashPassShare / total, 0, kSplashPassShare)));
    SplashProgressBar1->repaint();
    // Paints and ticks only: a click now would land in the half-built main window.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void frmVelmoraOpen::ShowFinishing(int step, int steps) {
    if (!passProgress_ || steps <= 0) return;
    const int share = 100 - kSplashPassShare;
    SplashProgressBar1->setValue(kSplashPassShare + std::clamp(step, 0, steps) * share / steps);
    SplashProgressBar1->repaint();
}

void frmVelmoraOpen::Form_Click() { close(); }

void frmVelmoraOpen::lblSplash_Click() {
    Messages().message("If the Form is off screen, Press Control+Alt+L to Display\nDo You Have More Than One Monitor?",
                       MsgButtons::YesNo, MsgIcon::Information, "Multiple Monitors");
    Timer1->stop();
    close();
}

void frmVelmoraOpen::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        Form_Click();
        return;
    }
    QWidget::mousePressEvent(event);
}

bool frmVelmoraOpen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblSplash && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        lblSplash_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmVelmoraOpen::closeEvent(QCloseEvent* event) {
    Form_Unload();
    QWidget::closeEvent(event);
}

frmVelmoraOpen* ShowSplash(const QRect& around) {
    if (!g_splash) {
        g_splash = new frmVelmoraOpen();
        g_splash->setAttribute(Qt::WA_DeleteOnClose);
    }
    QRect area = around;
    if (!area.isValid())
        if (QScreen* s = QGuiApplication::primaryScreen()) area = s->availableGeometry();
    // Centred on the window's stored place, brought onto a screen as the main
    // window is: a place kept from a larger or a second monitor would leave
    // it out of sight. Placed again once shown, when the desktop's frame is known.
    QRect place(QPoint(), g_splash->size());
    place.moveCenter(area.center());
    if (area.isValid()) g_splash->move(OnAScreen(place, QMargins()).topLeft());
    g_splash->show();
    const QRect inner = g_splash->geometry(), frame = g_splash->frameGeometry();
    const QMargins border(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                          frame.bottom() - inner.bottom());
    if (area.isValid())
        if (const QRect fitted = OnAScreen(place, border); fitted != inner) g_splash->setGeometry(fitted);
    return g_splash;
}

void ReadSplashPictureAhead() {
    int32_t color = 0;
    const std::string path = SplashPicture(color);
    if (FileExists(path))
        if (QScreen* screen = QGuiApplication::primaryScreen())
            ReadPictureAhead(path, SplashPictureSize(), screen->devicePixelRatio());
}

void CloseSplash() {
    if (g_splash) g_splash->close();
}

frmVelmoraOpen* SplashWindow() { return g_splash; }

void ShowSplashProgress(int64_t done, int64_t total) {
    if (g_splash) g_splash->ShowPassProgress(done, total);
}

void ShowSplashFinishing(int step, int steps) {
    if (g_splash) g_splash->ShowFinishing(step, steps);
}

}  // namespace vm
