// Widgets that keep what they show reachable on a small screen or with large
// fonts: a floating panel whose contents scroll when it is given less room
// than they ask for, the place such a panel takes inside the area it lies on,
// and a label that shows its text cut short rather than widening its window.
#pragma once
#include <QFrame>
#include <QLabel>
#include <QRect>

class QGridLayout;
class QScrollArea;

namespace vm {

// A floating panel whose contents lie in a scroll area, above a footer that
// never scrolls (its buttons): lay them out on Contents() and Footer(). It
// asks for the whole size of both, and needs only a few lines' room above
// the footer: what does not fit scrolls.
class ScrollingPanel : public QFrame {
public:
    explicit ScrollingPanel(QWidget* parent = nullptr);
    QWidget* Contents() const { return contents_; }
    QWidget* Footer() const { return footer_; }
    // A grid on the footer, in line with the contents' layout (made first)
    // at the sides and the bottom.
    QGridLayout* MakeFooterGrid();
    QScrollArea* Scroller() const { return scroller_; }
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // The wheel over a list or a number box the user has not entered scrolls
    // the panel: a setting never changes as the panel rolls under the pointer.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QSize FooterHint() const;
    QScrollArea* scroller_ = nullptr;
    QWidget* contents_ = nullptr;
    QWidget* footer_ = nullptr;
};

// Where a floating panel goes in its parent: `wanted`, grown to the size the
// panel asks for, then kept inside `area`: no wider or taller than the area
// (nor smaller than the panel's least size), moved left and up so that its
// right and bottom edges stay inside and never above or left of the area. A
// scrolling panel cut shorter than its contents also gets the room for its
// scroll bar.
QRect FitPanelWithin(const QWidget* panel, const QRect& wanted, const QRect& area);

// A one-line label that may be narrower than its text: it shows the text cut
// short with an ellipsis, and the whole text in its tool tip. It asks for a
// few letters' width at least, so a long text never sets the least width of
// the window it lies in.
class ElidedLabel : public QLabel {
public:
    explicit ElidedLabel(QWidget* parent = nullptr) : ElidedLabel(QString(), parent) {}
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr) : QLabel(text, parent) {
        setTextFormat(Qt::PlainText);  // drawn as it reads
    }
    QSize minimumSizeHint() const override;
    // The text as the label draws it at its width.
    QString ShownText() const;
    // The tool tip shown: the whole text first when it is cut short.
    QString TipText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
};

}  // namespace vm
