// The week view: one Sunday-to-Saturday week in seven columns over the
// month's picture. Each column has the weekday name (lblDOW_i), the day of
// the month (lbl1_i) and a text box (RichTextBox1_i) listing the day's
// records and occurrences, each line in its record's colours and font. The
// toolbar (actions "LeftArrow" and "RightArrow") steps by week; the File menu
// shows or hides the picture and closes the window. It never changes a record.
#pragma once
#include <QMainWindow>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/weekview.h"

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTextCharFormat;
class QTextDocument;
class QPlainTextEdit;
class QToolBar;

namespace vm {

class frmWeekView : public QMainWindow {
    Q_OBJECT
public:
    explicit frmWeekView(QWidget* parent = nullptr);
    ~frmWeekView() override;

    // Places and sizes the window, then shows the current week.
    void Form_Load();
    // Builds the week `weekOffset` weeks from the current one.
    void GetWeeksMsg(int weekOffset);
    // "LeftArrow" one week back, "RightArrow" one week on; any key rebuilds.
    void Toolbar1_ButtonClick(const QString& key);
    void mnuFile_Picture_Click();
    void mnuFile_Exit_Click();
    void Form_Resize();
    // Keeps the size for the run and clears the open flag.
    void Form_Unload();

    bool loaded() const { return loaded_; }
    // The days the columns show now.
    const WeekFrame& frame() const { return frame_; }

    int pWeek = 0;

    QToolBar* Toolbar1 = nullptr;
    QLineEdit* txtMonYr = nullptr;
    QFrame* SSPanel1 = nullptr;
    QLabel* Image1 = nullptr;
    std::array<QLabel*, 7> lblDOW{};
    std::array<QLabel*, 7> lbl1{};
    std::array<QPlainTextEdit*, 7> RichTextBox1{};
    QStatusBar* StatusBar1 = nullptr;
    QMenu* mnuFile = nullptr;
    QAction* mnuFile_Picture = nullptr;
    QAction* mnuFile_Exit = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void KeepShownWeek();
    // The line's font, text colour and highlight, at its recorded place.
    void ApplyLine(QTextDocument& doc, const LineFormat& line);
    static void ApplyFontString(QTextCharFormat& format, const FontSpec& font);
    void ApplyDayColors(QTextCharFormat& format, int column, const LineLook& look);
    void HighLight(QTextCharFormat& format, int column, int32_t color);
    void ShowPicture(int month);
    void MarkDayLabel(int column, bool today);

    WeekFrame frame_;
    CivilDate weekOfToday_;  // the Sunday of today's week when pWeek was counted
    std::array<std::vector<int32_t>, 7> colorTables_;
    std::string picturePath_;
    qint64 pictureStamp_ = 0;
    bool loaded_ = false;
};

// Shows the window: creates and loads it when it is not loaded, otherwise
// only brings the loaded window forward.
frmWeekView* ShowWeekView();
// The loaded window, or nullptr.
frmWeekView* WeekView();
// Unloads the window at once when it is loaded (the main window's shut-down).
void UnloadWeekView();

}  // namespace vm
