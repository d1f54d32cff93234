// The alarm window: the message of the alarm that fired, kept above the other
// windows and centred on the main window; spoken when speech is on. Only the
// alarm timer shows it. Toolbar buttons are QActions of Toolbar1 whose
// objectName and data are the keys "UpArrow" (Font +), "DownArrow" (Font -),
// "Sound2" (Speak), "pause" (Pause) and "btn_cancel" (Stop); StatusBar1 holds
// "StatusBar1_Panel1" and "StatusBar1_Panel2" (the sound file's name).
#pragma once
#include <QWidget>

#include <array>
#include <memory>
#include <string>

#include "platform/speech.h"

class QLabel;
class QStatusBar;
class QToolBar;

namespace vm {

class frmAlarm : public QWidget {
    Q_OBJECT
public:
    explicit frmAlarm(QWidget* parent = nullptr);
    ~frmAlarm() override;

    // Sets AlarmOpen, makes the voice, restores a minimized main window,
    // goes on top and centres itself on the main window.
    void Form_Load();
    // Speaks the message when speech is on; tells, once a run, that no voice
    // could be had.
    void Form_Activate();
    // Closes itself when the queue is empty, else shows the message.
    void Form_GotFocus();
    // Makes the voice; a failure is told when the window is activated.
    void Initialize_Speech();
    // A toolbar button by its key.
    void Toolbar1_ButtonClick(const QString& key);
    // Clears AlarmOpen, stops sound and speech, leaves the top layer.
    void Form_Unload();

    bool loaded() const { return loaded_; }
    // The firing shows it now: the activation that follows shows what fired,
    // whatever the queue holds by then.
    void ShownForAFiring() { firingShown_ = true; }
    bool hasVoice() const { return Voice != nullptr; }

    QToolBar* Toolbar1 = nullptr;
    QLabel* lblAlarmMsg = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> StatusPanels{};

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void StopSpeech();
    void TellSpeechError();

    std::unique_ptr<ISpeechVoice> Voice;
    std::string speechError_;  // "number - description" when no voice could be had
    bool soundStopped_ = true;
    bool paused_ = false;
    int fontSize_ = 0;  // points; 0 until the first toolbar click
    bool loaded_ = false;
    bool firingShown_ = false;
};

// The loaded alarm window, or nullptr.
frmAlarm* AlarmWindow();
// The alarm window, created and loaded when it is not loaded.
frmAlarm* LoadAlarm();
// Shows the loaded window modeless, in front, and runs its activation.
void ShowAlarm();
// Unloads the window at once when it is loaded (shut-down).
void UnloadAlarm();

}  // namespace vm
