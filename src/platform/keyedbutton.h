// A toolbar button known by its key: the key is the button's object name and
// its data, so a window's ButtonClick handler and the tests find it by key.
// Tab reaches it and Space presses it.
#pragma once
class QAction;
class QString;
class QToolBar;
class QWidget;

namespace vm {

QAction* AddKeyedButton(QToolBar* bar, const QString& caption, const QString& key, const QString& tip);

// Lets Tab reach the button the bar shows for an action of its own (a
// toolbar's buttons take no keyboard focus of themselves); returns that
// button. A mouse click still leaves the focus where it was.
QWidget* ReachByTab(QToolBar* bar, QAction* button);

// Shows a separator only between two shown buttons, and one at most in a
// row: none first, last or doubled, whatever buttons are hidden. A separator
// its window hides stays hidden. Kept so whenever a button of the bar shows
// or hides; call once the bar has all its buttons.
void KeepSeparatorsTidy(QToolBar* bar);

}  // namespace vm
