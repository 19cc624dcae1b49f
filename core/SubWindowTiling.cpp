#include "core/SubWindowTiling.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace pxr3 {

void TileSubWindows(QMdiArea *area, Qt::Orientation orientation)
{
    QList<QMdiSubWindow *> windows;
    for (QMdiSubWindow *window : area->subWindowList())
        if (window->isVisible() && !window->isMinimized())
            windows.append(window);
    if (windows.isEmpty())
        return;
    // The icons of minimised windows line the bottom: the tiles end above them.
    QRect space = area->viewport()->rect();
    for (QMdiSubWindow *window : area->subWindowList())
        if (window->isVisible() && window->isMinimized() && window->y() > space.top())
            space.setBottom(std::min(space.bottom(), window->y() - 1));
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *window = windows[i];
        if (window->isMaximized())
            window->showNormal();
        QRect cell;
        if (orientation == Qt::Horizontal) {
            const int x0 = space.width() * i / n, x1 = space.width() * (i + 1) / n;
            cell = QRect(x0, 0, x1 - x0, space.height());
        } else {
            const int y0 = space.height() * i / n, y1 = space.height() * (i + 1) / n;
            cell = QRect(0, y0, space.width(), y1 - y0);
        }
        window->setGeometry(cell);
    }
}

} // namespace pxr3
