// The repeat-pattern reference window: one picture that explains the repeat
// types a date record can carry, drawn at run time from the table of
// examples in frmrepeats.cpp. One instance, shown modeless and kept on top.
#pragma once
#include <QImage>
#include <QWidget>

class QLabel;

namespace vm {

class frmRepeats : public QWidget {
    Q_OBJECT
public:
    explicit frmRepeats(QWidget* parent = nullptr);
    QLabel* Image1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void DrawPicture();
};

// The reference picture, 831 x 468 in its own units, drawn with pixelRatio
// pixels to each unit (a sharp picture on a screen scaled that much).
QImage RepeatPatternPicture(qreal pixelRatio = 1);

// Shows the window, creating and placing it on first use (Module1.RepeatsOpen
// is set while it is loaded); a second call only brings it forward.
void ShowRepeats();
void UnloadRepeats();
frmRepeats* RepeatsWindow();  // nullptr when not loaded

}  // namespace vm
