// A toolbar button known by its key: the key is the button's object name and
// its data, so a window's ButtonClick handler and the tests find it by key.
#pragma once
class QAction;
class QString;
class QToolBar;

namespace vm {

QAction* AddKeyedButton(QToolBar* bar, const QString& caption, const QString& key, const QString& tip);

}  // namespace vm
