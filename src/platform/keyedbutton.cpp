#include "platform/keyedbutton.h"

#include <QAction>
#include <QToolBar>

namespace vm {

QAction* AddKeyedButton(QToolBar* bar, const QString& caption, const QString& key, const QString& tip) {
    QAction* a = bar->addAction(caption);
    a->setObjectName(key);
    a->setData(key);
    a->setToolTip(tip);
    return a;
}

}  // namespace vm
