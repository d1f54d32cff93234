// A text box with the old box events: a key press that can be consumed
// (the handler sets the character code to 0), a double click and losing the
// focus. Enter arrives as code 13.
#pragma once
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>

#include <functional>

namespace vm {

class EventBox : public QLineEdit {
public:
    using QLineEdit::QLineEdit;
    std::function<void(int&)> keyPress;
    std::function<void()> dblClick;
    std::function<void()> lostFocus;

protected:
    void keyPressEvent(QKeyEvent* e) override {
        if (keyPress) {
            int code = 0;
            if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) code = 13;
            else if (!e->text().isEmpty()) code = e->text().at(0).unicode();
            if (code != 0) {
                keyPress(code);
                if (code == 0) {
                    e->accept();
                    return;
                }
            }
        }
        QLineEdit::keyPressEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        QLineEdit::mouseDoubleClickEvent(e);
        if (dblClick) dblClick();
    }
    void focusOutEvent(QFocusEvent* e) override {
        QLineEdit::focusOutEvent(e);
        if (lostFocus) lostFocus();
    }
};

}  // namespace vm
