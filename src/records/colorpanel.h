// The record colour panel SSPanelDayColor of the main window: the colour
// boxes Text1(0..3) on two tabs, the day and title style lists, and the close
// and information buttons. The date grid's part of the panel (its OK and RGB
// buttons, the grid's double click) adds itself through buttonRow() and
// the public controls. The panel is there, hidden, from the start; its
// controls (null until then) are made when it is first shown or asked for by
// MakeControls, and controlsMade() tells its owners to add their parts.
#pragma once
#include "platform/controls.h"

class QComboBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QTabWidget;

namespace vm {

// The main window's colour selector: shows the colour dialog preset with the
// colour. OK replaces the colour; Cancel sets cancelled and leaves it. Status
// panel 4 says "Opening Color Selection Form" while the dialog is open.
void Change_Color(long& colour, bool& cancelled);

class ColorPanel : public PanelMadeWhenShown {
    Q_OBJECT
public:
    explicit ColorPanel(QWidget* parent = nullptr);

    void cmbDayBGStyle_Click();
    void cmbTitleBGStyle_Click();
    void sscmdExitColors_Click();
    void sscmdInfo_Click();

    int pDayStyle = 3;    // 2 transparent, 3 opaque
    int pTitleStyle = 3;

    QTabWidget* SSTab1 = nullptr;         // tab 0 "Day Text", tab 1 "Title Text"
    QLineEdit* Text1[4] = {};             // objectNames Text1_0 .. Text1_3
    QComboBox* cmbDayBGStyle = nullptr;
    QComboBox* cmbTitleBGStyle = nullptr;
    QPushButton* sscmdExitColors = nullptr;
    QPushButton* sscmdInfo = nullptr;
    QHBoxLayout* buttonRow() const { return buttons_; }

signals:
    void controlsMade();

private:
    void MakeOwnControls();
    QHBoxLayout* buttons_ = nullptr;
};

// 2 for the transparent item of a style list, 3 for any other text.
int DayStyleFromText(const QString& text);
int TitleStyleFromText(const QString& text);

}  // namespace vm
