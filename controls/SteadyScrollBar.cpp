#include "controls/SteadyScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

namespace pxr3 {

SteadyScrollBar::SteadyScrollBar(Qt::Orientation orientation, QWidget *parent) : QScrollBar(orientation, parent) { }

SteadyScrollBar::Look SteadyScrollBar::look() const
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    return {style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, this),
            value() == minimum(), value() == maximum()};
}

void SteadyScrollBar::sliderChange(SliderChange change)
{
    // A turned bar changes more than its handle: that takes the usual way. The steps are set
    // anew at every change of the view, mostly to what they were.
    if (change == SliderOrientationChange) {
        QScrollBar::sliderChange(change);
        return;
    }
    // A view that grows and then follows its end changes the range and the value one after
    // the other: the handle is judged once both are done.
    if (checkPending_)
        return;
    checkPending_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            checkPending_ = false;
            if (!everPainted_ || look() != painted_)
                update();
        },
        Qt::QueuedConnection);
}

void SteadyScrollBar::paintEvent(QPaintEvent *event)
{
    painted_ = look();
    everPainted_ = true;
    QScrollBar::paintEvent(event);
}

} // namespace pxr3
