// frmVelmoraOpen: the small window start-up shows while the main window
// loads: the month's splash picture, the program's name and version, a tick
// counter and a progress bar that move while start-up lets events run.
#pragma once
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <string>

class QFrame;
class QLabel;
class QProgressBar;
class QTimer;

namespace vm {

// The splash pictures (Jan.jpg .. Dec.jpg) and their SplashTextColor.txt lie
// in the program folder's Graphics/Splash, with Install.jpg as the picture
// for a month that has none; the build makes them (tools/mksplash.cpp).
// These ship with the program and do not depend on the data folder.
std::string SplashFolder();           // ends in "/"
std::string SplashFallbackPicture();  // .../Graphics/Splash/Install.jpg

class frmVelmoraOpen : public QWidget {
    Q_OBJECT
public:
    explicit frmVelmoraOpen(QWidget* parent = nullptr);
    ~frmVelmoraOpen() override;

    QFrame* ssPnlSplash1 = nullptr;
    QLabel* Image4 = nullptr;
    QLabel* lblSplash = nullptr;
    QLabel* lblProgName = nullptr;
    QLabel* lblSec = nullptr;
    QProgressBar* SplashProgressBar1 = nullptr;
    QTimer* Timer1 = nullptr;

    int16_t ticks() const { return ticks_; }
    // The picture file shown, "" when none could be loaded.
    const std::string& picturePath() const { return picturePath_; }
    int32_t textColor() const { return textColor_; }
    // A long pass at start-up moves the bar itself: done of total, the
    // window painted at once. The timer then leaves the bar alone.
    void ShowPassProgress(int64_t done, int64_t total);
    // The month build's share after the pass: step of steps.
    void ShowFinishing(int step, int steps);

public slots:
    void Timer1_Timer();
    void Form_Click();
    void lblSplash_Click();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load();
    void Form_Unload();
    int16_t ticks_ = 0;
    std::string picturePath_;
    int32_t textColor_ = 0;
    bool unloaded_ = false;
    bool passProgress_ = false;
};

// Start-up's calls: shows the one splash window (made when needed) centred on
// `around` (the main window's rectangle; an empty one centres it on the
// screen), and closes it. The window deletes itself when it closes.
frmVelmoraOpen* ShowSplash(const QRect& around = QRect());
void CloseSplash();
// Starts reading the splash window's picture before the window is made.
void ReadSplashPictureAhead();
// The splash window while it is open, else nullptr.
frmVelmoraOpen* SplashWindow();
// The repeat pass's progress on the open splash window; nothing without one.
// The pass fills the bar up to its last stretch (kSplashPassShare percent),
// which the month build after it fills (ShowSplashFinishing), once a pass has
// shown its progress; the finishing stretch is painted without letting
// events run.
inline constexpr int kSplashPassShare = 90;
void ShowSplashProgress(int64_t done, int64_t total);
void ShowSplashFinishing(int step, int steps);

}  // namespace vm
