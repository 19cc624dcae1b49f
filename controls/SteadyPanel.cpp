#include "controls/SteadyPanel.h"

#include <QEvent>
#include <QLabel>

namespace pxr3 {

SteadyPanel::SteadyPanel(QLabel *label, QWidget *parent) : QWidget(parent), label_(label)
{
    label_->setParent(this);
    setSizePolicy(label_->sizePolicy());
    hint_ = label_->sizeHint();
    minimumHint_ = label_->minimumSizeHint();
}

QSize SteadyPanel::sizeHint() const { return label_->sizeHint(); }
QSize SteadyPanel::minimumSizeHint() const { return label_->minimumSizeHint(); }

void SteadyPanel::followLabel()
{
    const QSize hint = label_->sizeHint();
    const QSize minimumHint = label_->minimumSizeHint();
    if (hint == hint_ && minimumHint == minimumHint_)
        return;
    hint_ = hint;
    minimumHint_ = minimumHint;
    updateGeometry();
}

bool SteadyPanel::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::LayoutRequest:
        // The label asks this way after each new text, font or style while it is shown:
        // only a new size is news to the layout above.
        followLabel();
        return true;
    case QEvent::Show:
        // A label that is not shown does not ask: what changed meanwhile is taken now.
        followLabel();
        break;
    default: break;
    }
    return QWidget::event(event);
}

void SteadyPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    label_->setGeometry(rect());
}

} // namespace pxr3
