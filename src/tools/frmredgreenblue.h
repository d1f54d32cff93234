// The colour converter: a colour as red, green and blue, as a decimal colour
// number and as hexadecimal text, with a sample, the clipboard and the colour
// dialog. Stays above the other windows.
#pragma once
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace vm {

struct ConverterUpdate;

class frmRedGreenBlue : public QWidget {
    Q_OBJECT
public:
    explicit frmRedGreenBlue(QWidget* parent = nullptr);
    ~frmRedGreenBlue() override;

    // Hides the message lines and the sample, places the window by the main
    // window's record colour panel and marks it open.
    void Form_Load();
    void Form_Unload();
    // The colour dialog preset with `color`; Cancel sets `cancelled`.
    void Change_Color(long& color, bool& cancelled);
    // The box a Copy Last copies: 0..4 the value boxes, 5 the message lines.
    int lastSelected() const { return lastSelected_; }
    // Between Form_Load and closing.
    bool loaded() const { return loaded_; }

public slots:
    void cmdConvert2RGB_Click();
    void cmdConvHex2RGB_Click();
    void cmdConvRGB_Click();
    void sscmdClear_Click();
    void sscmdCopyLast_Click();
    void sscmdColorSelect_Click();
    void sscmdInfo_Click();
    void Text1_Click(int index);
    void Text2_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void apply(const ConverterUpdate& u);
    void setSample(long color);

    std::array<QLineEdit*, 5> Text1{};
    QPlainTextEdit* Text2 = nullptr;
    QLineEdit* txtColorSampl = nullptr;
    QPushButton* cmdConvert2RGB = nullptr;
    QPushButton* cmdConvHex2RGB = nullptr;
    QPushButton* cmdConvRGB = nullptr;
    QPushButton* sscmdClear = nullptr;
    QPushButton* sscmdInfo = nullptr;
    QPushButton* sscmdCopyLast = nullptr;
    QPushButton* sscmdColorSelect = nullptr;
    int lastSelected_ = 0;
    bool loaded_ = false;
};

// Shows the converter without waiting, creating and placing it on first use.
frmRedGreenBlue* ShowRedGreenBlue();
// Unloads the converter when it is loaded (shut-down).
void UnloadRedGreenBlue();

}  // namespace vm
