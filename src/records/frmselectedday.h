// The selected-day window: one titled text under a date caption, read aloud
// when speech is on and copied to the clipboard on request. It takes its
// inputs from the shared state (Module1.SelDay*) only while loading, so a
// caller with new content unloads it first and shows it again.
//
// Toolbar buttons are QActions of Toolbar1 whose objectName and data are the
// button keys: "UpArrow", "DownArrow", "Copy", "RightArrow" (Play), "pause"
// and "cancel-16" (Stop). StatusBar1 holds the panels "StatusBar1_Panel1"
// and "StatusBar1_Panel2"; the second takes notices.
#pragma once
#include <QWidget>

#include <array>
#include <memory>

#include "core/dates.h"
#include "platform/speech.h"

class QAction;
class QLabel;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;

namespace vm {

class frmSelectedDay : public QWidget {
    Q_OBJECT
public:
    explicit frmSelectedDay(QWidget* parent = nullptr);
    ~frmSelectedDay() override;

    // Reads the inputs, places the window, keeps it above the others and
    // speaks the text when speech is on.
    void Form_Load();
    // Cleans the box's text into Module1.SelDayText and speaks the date and it.
    void SpeakDayContents();
    // Creates the window's voice; a failure shows "Initialize_Speech_Error".
    void Initialize_Speech2();
    // A toolbar button by its key.
    void Toolbar1_ButtonClick(const QString& key);
    // Keeps the rectangle, clears the open flag and stops the speech.
    void Form_Unload();

    bool loaded() const { return loaded_; }
    bool hasVoice() const { return Voice != nullptr; }
    // The day the caption and the speech name.
    CivilDate dayDate() const { return date_; }

    QToolBar* Toolbar1 = nullptr;
    QPlainTextEdit* txtDayText = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> StatusPanels{};

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void ApplyFontSize(int points);

    std::unique_ptr<ISpeechVoice> Voice;
    std::array<QAction*, 3> speechButtons_{};
    CivilDate date_;
    bool loaded_ = false;
};

// Shows the window: creates and loads it when it is not loaded, otherwise
// brings the loaded window to the front unchanged.
frmSelectedDay* ShowSelectedDay();
// The loaded window, or nullptr.
frmSelectedDay* SelectedDay();
// Unloads the window at once when it is loaded (shut-down, new content).
void UnloadSelectedDay();
// The window's state kept for the run (the chosen font size, the paused and
// stopped flags) back to that of a new run.
void ResetSelectedDayRunState();

}  // namespace vm
