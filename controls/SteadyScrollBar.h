#pragma once
// A scroll bar that repaints only when what it shows changes. A log that grows by a line
// a frame changes the range every time while the handle stays on the same pixels; the
// style draws a scroll bar at a cost far above its size.

#include <QRect>
#include <QScrollBar>

namespace pxr3 {

class SteadyScrollBar : public QScrollBar {
public:
    explicit SteadyScrollBar(Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void sliderChange(SliderChange change) override;
    void paintEvent(QPaintEvent *event) override;

private:
    struct Look {
        QRect handle;
        bool atMinimum = false;
        bool atMaximum = false;
        bool operator!=(const Look &other) const
        {
            return handle != other.handle || atMinimum != other.atMinimum || atMaximum != other.atMaximum;
        }
    };
    Look look() const;

    Look painted_;
    bool everPainted_ = false;
    bool checkPending_ = false;
};

} // namespace pxr3
