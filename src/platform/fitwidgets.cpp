#include "platform/fitwidgets.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHelpEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>

#include <algorithm>

namespace vm {

ScrollingPanel::ScrollingPanel(QWidget* parent) : QFrame(parent) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    scroller_ = new QScrollArea(this);
    scroller_->setFrameShape(QFrame::NoFrame);
    scroller_->setWidgetResizable(true);
    contents_ = new QWidget;
    scroller_->setWidget(contents_);
    outer->addWidget(scroller_, 1);
    footer_ = new QWidget(this);
    outer->addWidget(footer_);
}

void ScrollingPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    // Made by now, also the controls a panel makes when first shown.
    for (QWidget* box : contents_->findChildren<QWidget*>())
        if (qobject_cast<QComboBox*>(box) || qobject_cast<QAbstractSpinBox*>(box)) {
            box->setFocusPolicy(Qt::StrongFocus);  // not taken by the wheel
            box->installEventFilter(this);      // once: installing again only moves it first
        }
}

bool ScrollingPanel::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QWidget*>(watched);
    if (event->type() != QEvent::Wheel || !box || box->hasFocus()) return QFrame::eventFilter(watched, event);
    QCoreApplication::sendEvent(scroller_->verticalScrollBar(), event);
    return true;
}

QGridLayout* ScrollingPanel::MakeFooterGrid() {
    auto* grid = new QGridLayout(footer_);
    if (const QLayout* above = contents_->layout()) {
        const QMargins m = above->contentsMargins();
        grid->setContentsMargins(m.left(), 0, m.right(), m.bottom());
    }
    return grid;
}

QSize ScrollingPanel::FooterHint() const {
    return footer_->layout() ? footer_->sizeHint().expandedTo(footer_->minimumSizeHint()) : QSize(0, 0);
}

QSize ScrollingPanel::sizeHint() const {
    // The scroll area's own hint stops at a few dozen lines: the contents' whole size instead.
    const QSize inside = contents_->sizeHint().expandedTo(contents_->minimumSizeHint());
    const QSize footer = FooterHint();
    const int frame = 2 * frameWidth();
    return QSize(std::max(inside.width(), footer.width()) + frame, inside.height() + footer.height() + frame);
}

QSize ScrollingPanel::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    const int lines = 4 * fontMetrics().height() + style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize footer = FooterHint();
    const int footerLeast = footer_->layout() ? footer_->minimumSizeHint().width() : 0;
    return QSize(std::max(lines, footerLeast) + frame, lines + footer.height() + frame).boundedTo(sizeHint());
}

QRect FitPanelWithin(const QWidget* panel, const QRect& wanted, const QRect& area) {
    const QSize hint = panel->sizeHint();
    const QSize asked = wanted.size().expandedTo(hint);
    const QSize least = panel->minimumSizeHint();
    QSize size = asked.boundedTo(area.size()).expandedTo(least);
    if (size.height() < asked.height() && dynamic_cast<const ScrollingPanel*>(panel)) {
        const int withBar = hint.width() + panel->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        size.setWidth(std::max(least.width(), std::min(area.width(), std::max(asked.width(), withBar))));
    }
    QRect r(wanted.topLeft(), size);
    r.moveLeft(std::max(area.left(), std::min(r.left(), area.right() + 1 - r.width())));
    r.moveTop(std::max(area.top(), std::min(r.top(), area.bottom() + 1 - r.height())));
    return r;
}

QSize ElidedLabel::minimumSizeHint() const {
    const QSize whole = QLabel::minimumSizeHint();
    const QMargins m = contentsMargins();
    const int few = fontMetrics().horizontalAdvance(QStringLiteral("Xxx…")) + m.left() + m.right();
    return QSize(std::min(whole.width(), few), whole.height());
}

QString ElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QString ElidedLabel::TipText() const {
    if (ShownText() == text()) return toolTip();
    return toolTip().isEmpty() ? text() : text() + "\n" + toolTip();
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(), int(alignment()) | Qt::TextSingleLine, palette(), isEnabled(),
                          ShownText(), foregroundRole());
}

bool ElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QString tip = TipText();
        if (tip.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
        return true;
    }
    return QLabel::event(event);
}

}  // namespace vm
