#include "platform/emptyonclick.h"

#include <QEvent>
#include <QLineEdit>

namespace vm {
namespace {

class ClickEmpties : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonPress)
            if (auto* box = qobject_cast<QLineEdit*>(watched)) box->clear();
        return false;
    }
};

}  // namespace

void EmptyOnClick(QLineEdit* box) { box->installEventFilter(new ClickEmpties(box)); }

}  // namespace vm
