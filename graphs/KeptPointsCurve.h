#pragma once
// A curve of points only, drawn into a picture that it keeps: each new point is painted once,
// and a redraw shows the picture, so a day of points costs a redraw what its first minutes did.

#include <QImage>
#include <qcustomplot.h>

namespace pxr3 {

class KeptPointsCurve : public QCPCurve {
public:
    using QCPCurve::QCPCurve;

    // The first `count` points were removed from the data.
    void pointsDropped(int count);

protected:
    void draw(QCPPainter *painter) override;

private:
    bool pictureShows(const QRect &area) const;
    void paintNewPoints(const QRect &area);

    QImage picture_;
    QRect area_;
    QCPRange keys_, values_;
    int painted_ = 0; // points of the data, from the first, that the picture holds
    int dropped_ = 0; // removed points the picture still shows
};

} // namespace pxr3
