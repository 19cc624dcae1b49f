#pragma once
// What a window shows, for widget tests of views that repaint only what changed: the window's
// backing store grabbed from the offscreen screen, against a fresh painting of the same widget.

#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QWidget>

namespace pxr3::test {

inline QImage OnScreen(QWidget &widget)
{
    // Posted repaints, then whatever those post in turn (a deferred check, a queued replot).
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    QWidget *window = widget.window();
    const QRect area(widget.mapTo(window, QPoint(0, 0)), widget.size());
    return widget.screen()
        ->grabWindow(window->winId(), area.x(), area.y(), area.width(), area.height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Equal pictures; otherwise both are saved into the temporary folder as <name>-shown.png and
// <name>-fresh.png to look at.
inline bool SamePictures(const QImage &shown, const QImage &fresh, const QString &name)
{
    if (shown == fresh)
        return true;
    shown.save(QDir::temp().filePath(name + QStringLiteral("-shown.png")));
    fresh.save(QDir::temp().filePath(name + QStringLiteral("-fresh.png")));
    return false;
}

// The window shows what the widget would paint now.
inline bool ShowsWhatItPaints(QWidget &widget, const QString &name)
{
    const QImage shown = OnScreen(widget);
    return SamePictures(shown, widget.grab().toImage().convertToFormat(QImage::Format_RGB32), name);
}

// The window shows what it shows once `redrawAll` has drawn the widget whole again: for a
// widget that keeps pictures of its own, which a fresh painting would only copy.
template <class Redraw> bool ShowsWhatARedrawShows(QWidget &widget, Redraw redrawAll, const QString &name)
{
    const QImage shown = OnScreen(widget);
    redrawAll();
    return SamePictures(shown, OnScreen(widget), name);
}

} // namespace pxr3::test
