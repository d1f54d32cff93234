// A label of the month grid that reports presses, clicks and double clicks
// with its index in its label array (the day cells and their number strips).
#pragma once
#include <QLabel>

namespace vm {

class CellLabel : public QLabel {
    Q_OBJECT
public:
    CellLabel(int index, QWidget* parent);
    int index() const { return index_; }

signals:
    void pressed(int index, Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPoint at);
    void clicked(int index);
    void doubleClicked(int index);

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    int index_;
    bool down_ = false;
};

}  // namespace vm
