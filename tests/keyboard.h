// Driving a window from the keyboard alone: every key goes to whatever has
// the keyboard focus, as it does for a user without a mouse.
#pragma once
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace vmtest {

// The name the focused control goes by: its own, its combo box's for a
// combo box's text line, or the key of a toolbar button's action.
inline QString FocusName() {
    QWidget* w = QApplication::focusWidget();
    if (!w) return {};
    if (auto* tool = qobject_cast<QToolButton*>(w); tool && tool->defaultAction())
        return tool->defaultAction()->objectName();
    if (w->objectName().isEmpty() && qobject_cast<QComboBox*>(w->parentWidget())) return w->parentWidget()->objectName();
    return w->objectName();
}

// The button a toolbar of the window shows for the action named `key`.
inline QWidget* ToolButton(const QWidget* window, const QString& key) {
    auto* action = window->findChild<QAction*>(key);
    if (!action) return nullptr;
    for (auto* bar : window->findChildren<QToolBar*>())
        if (QWidget* button = bar->widgetForAction(action)) return button;
    return nullptr;
}

inline void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

inline void TypeKeys(const QString& text) { QTest::keyClicks(QApplication::focusWidget(), text); }

// Presses Tab (Shift+Tab when `back`) until the focus is on `name`; false
// when `most` presses do not get it there.
inline bool TabTo(const QString& name, bool back = false, int most = 60) {
    for (int i = 0; i < most && FocusName() != name; ++i)
        Press(Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
    return FocusName() == name;
}

// Shows the window and makes it the active one, so the keys go to it.
inline bool ActivateForKeys(QWidget* window) {
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

}  // namespace vmtest
