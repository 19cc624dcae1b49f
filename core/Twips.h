#pragma once
// Screen positions are designed in twips (1/1440 inch) and shown at the screen's logical DPI.

#include <QWidget>
#include <cmath>

namespace pxr3 {

inline int TwipsToPixels(const QWidget *w, double twips) { return int(std::lround(twips * w->logicalDpiX() / 1440.0)); }
inline int PixelsToTwips(const QWidget *w, int pixels) { return int(std::lround(pixels * 1440.0 / w->logicalDpiX())); }

} // namespace pxr3
