#include "mainwindow/celllabel.h"

#include <QMouseEvent>

namespace vm {

CellLabel::CellLabel(int index, QWidget* parent) : QLabel(parent), index_(index) {}

void CellLabel::mousePressEvent(QMouseEvent* e) {
    down_ = true;
    emit pressed(index_, e->button(), e->modifiers(), e->position().toPoint());
    e->accept();
}

void CellLabel::mouseReleaseEvent(QMouseEvent* e) {
    const bool wasDown = down_;
    down_ = false;
    if (wasDown && rect().contains(e->position().toPoint())) emit clicked(index_);
    e->accept();
}

void CellLabel::mouseDoubleClickEvent(QMouseEvent* e) {
    emit doubleClicked(index_);
    e->accept();
}

}  // namespace vm
