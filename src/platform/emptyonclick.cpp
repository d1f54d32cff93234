#include "platform/emptyonclick.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLineEdit>

namespace vm {
namespace {

class ClickEmpties : public QObject {
public:
    explicit ClickEmpties(QLineEdit* box) : QObject(box), placeholder_(box->text()) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box) return false;
        if (event->type() == QEvent::MouseButtonPress) box->clear();
        // Reached by the keyboard (Tab, the window opening or coming back):
        // the name is selected, so what is typed replaces it. A value the
        // user typed is only ever selected, never lost.
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason &&
            box->text() == placeholder_)
            box->selectAll();
        return false;
    }

private:
    const QString placeholder_;
};

}  // namespace

void EmptyOnClick(QLineEdit* box) { box->installEventFilter(new ClickEmpties(box)); }

}  // namespace vm
