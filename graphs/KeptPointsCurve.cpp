#include "graphs/KeptPointsCurve.h"

#include <algorithm>

namespace pxr3 {

namespace {
// Removed points stay in the picture until this many have gone: then it is painted afresh,
// a cost paid once in ten minutes of frames instead of at every frame.
constexpr int kRepaintAfterDropped = 300;
} // namespace

void KeptPointsCurve::pointsDropped(int count)
{
    painted_ = std::max(0, painted_ - count);
    dropped_ += count;
}

bool KeptPointsCurve::pictureShows(const QRect &area) const
{
    return !picture_.isNull() && area == area_ && keyAxis()->range() == keys_ && valueAxis()->range() == values_ &&
        painted_ <= data()->size() && dropped_ < kRepaintAfterDropped;
}

void KeptPointsCurve::paintNewPoints(const QRect &area)
{
    if (!pictureShows(area)) {
        picture_ = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
        picture_.fill(Qt::transparent);
        area_ = area;
        keys_ = keyAxis()->range();
        values_ = valueAxis()->range();
        painted_ = 0;
        dropped_ = 0;
    }
    const int count = data()->size();
    if (painted_ == count)
        return;
    QCPPainter painter(&picture_);
    painter.translate(-area.topLeft());
    painter.setClipRect(area); // a point picture is drawn only where the clip lets it show
    const QCPScatterStyle style = scatterStyle();
    style.applyTo(&painter, pen());
    for (auto it = data()->constBegin() + painted_; it != data()->constEnd(); ++it)
        style.drawShape(&painter, coordsToPixels(it->key, it->value));
    painted_ = count;
}

void KeptPointsCurve::draw(QCPPainter *painter)
{
    // Lines, and drawing for export (a PDF wants vectors), take the curve's own way.
    if (lineStyle() != lsNone || scatterStyle().isNone() || painter->modes().testFlag(QCPPainter::pmVectorized) ||
        !keyAxis() || !valueAxis()) {
        QCPCurve::draw(painter);
        return;
    }
    const QRect area = clipRect();
    if (area.isEmpty())
        return;
    paintNewPoints(area);
    painter->drawImage(area.topLeft(), picture_);
}

} // namespace pxr3
