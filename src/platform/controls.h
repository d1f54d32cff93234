// Small helpers every window uses to make its controls: a control named (and
// tipped) as it is made, a named button, an event filter given as a function,
// and a panel whose controls are made when it is first shown.
#pragma once
#include <QFrame>
#include <QObject>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QString>

#include <functional>
#include <utility>

class QEvent;

namespace vm {

// Gives a control its object name and, when there is one, its tool tip.
template <class W>
W* Named(W* w, const char* name, const char* tip = nullptr) {
    w->setObjectName(name);
    if (tip) w->setToolTip(QString::fromUtf8(tip));
    return w;
}

// A push button with its object name, caption and tool tip.
inline QPushButton* NamedButton(QWidget* parent, const char* name, const QString& caption, const QString& tip = {}) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    if (!tip.isEmpty()) b->setToolTip(tip);
    return b;
}

// An event filter that calls a function; it goes with its parent.
class EventHook : public QObject {
public:
    EventHook(QObject* parent, std::function<bool(QObject*, QEvent*)> fn) : QObject(parent), fn_(std::move(fn)) {}
    bool eventFilter(QObject* watched, QEvent* event) override { return fn_(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> fn_;
};

// A floating panel that starts hidden and makes its controls when it is
// first shown, or first asked for (MakeControls): the frame itself is there
// from the start, named, placed and found by its name.
class PanelMadeWhenShown : public QFrame {
public:
    PanelMadeWhenShown(QWidget* parent, std::function<void()> make) : QFrame(parent), make_(std::move(make)) {
        QFrame::setVisible(false);
    }
    void MakeControls() {
        if (auto make = std::exchange(make_, nullptr)) make();
    }
    bool ControlsMade() const { return !make_; }
    void setVisible(bool visible) override {
        if (visible) MakeControls();
        QFrame::setVisible(visible);
    }

private:
    std::function<void()> make_;
};

// A text box whose lines always wrap inside it, a long word included, so it
// never needs a horizontal scroll bar, and which never shrinks below a few
// letters. (A narrow box showing a long word, or one of no width at all, lays
// itself out for ever: each scroll bar that comes or goes makes the other come
// or go.)
inline QPlainTextEdit* WrapInside(QPlainTextEdit* box) {
    box->setMinimumSize(48, 48);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return box;
}

}  // namespace vm
