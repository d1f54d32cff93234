#include "platform/keyedbutton.h"

#include <QAction>
#include <QToolBar>
#include <QWidget>

namespace vm {

QAction* AddKeyedButton(QToolBar* bar, const QString& caption, const QString& key, const QString& tip) {
    QAction* a = bar->addAction(caption);
    a->setObjectName(key);
    a->setData(key);
    a->setToolTip(tip);
    ReachByTab(bar, a);
    return a;
}

QWidget* ReachByTab(QToolBar* bar, QAction* button) {
    QWidget* shown = bar->widgetForAction(button);
    // Tab only: a click leaves the keyboard focus where the user had it.
    if (shown) shown->setFocusPolicy(Qt::TabFocus);
    return shown;
}

namespace {

constexpr const char* kTidyHidden = "tidyHidden";
bool g_tidying = false;  // our own show and hide come back to Tidy

void Tidy(QToolBar* bar) {
    bool& busy = g_tidying;
    if (busy) return;
    busy = true;
    auto setShown = [](QAction* separator, bool shown) {
        separator->setProperty(kTidyHidden, !shown);
        separator->setVisible(shown);
    };
    bool buttonBefore = false;
    QAction* pending = nullptr;  // shown if a button follows
    for (QAction* a : bar->actions()) {
        if (a->isSeparator()) {
            if (!a->isVisible() && !a->property(kTidyHidden).toBool()) continue;  // hidden by its window
            if (buttonBefore && !pending)
                pending = a;
            else
                setShown(a, false);
        } else if (a->isVisible()) {
            if (pending) setShown(pending, true);
            pending = nullptr;
            buttonBefore = true;
        }
    }
    if (pending) setShown(pending, false);
    busy = false;
}

}  // namespace

void KeepSeparatorsTidy(QToolBar* bar) {
    for (QAction* a : bar->actions())
        QObject::connect(a, &QAction::visibleChanged, bar, [bar, a] {
            if (!g_tidying) a->setProperty(kTidyHidden, false);  // the window's own choice from now on
            Tidy(bar);
        });
    Tidy(bar);
}

}  // namespace vm
