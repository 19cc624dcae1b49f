// The communication log's view paints only what a frame appends. What the window shows (its
// backing store, grabbed from the offscreen screen) must equal a fresh painting of the same
// view after every append, whether the view scrolls, is not yet full, or goes on a line.

#include "controls/LogView.h"

#include <QScreen>
#include <QScrollBar>
#include <QtTest>

using namespace pxr3;

namespace {

QImage OnScreen(QWidget &widget)
{
    // Posted repaints, then the scroll bars' checks and the repaints those post.
    for (int turn = 0; turn < 3; ++turn)
        QCoreApplication::processEvents();
    return widget.screen()->grabWindow(widget.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

QImage PaintedAfresh(QWidget &widget) { return widget.grab().toImage().convertToFormat(QImage::Format_RGB32); }

// What is on the screen against what the view would paint now: equal, or both saved to look at.
bool ShowsItsText(QWidget &widget)
{
    const QImage shown = OnScreen(widget);
    const QImage fresh = PaintedAfresh(widget);
    if (shown == fresh)
        return true;
    shown.save(QDir::temp().filePath(QStringLiteral("logview-shown.png")));
    fresh.save(QDir::temp().filePath(QStringLiteral("logview-fresh.png")));
    return false;
}

} // namespace

class LogViewTest : public QObject {
    Q_OBJECT
private slots:
    void showsWhatAFreshPaintingShowsAfterEveryAppend()
    {
        LogView view;
        view.setCursorWidth(0); // a blinking cursor is no part of what is compared
        view.resize(300, 160);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        QString text;
        const QStringList appends = {
            QStringLiteral("Write : START"),                     // the first line of an empty view
            QStringLiteral("\nRead  : OK"),                      // the view not yet full
            QStringLiteral(" and more on the same line"),        // a line that goes on
            QStringLiteral("\nDATA Ok 1\nDATA Ok 2\nDATA Ok 3"), // several lines at once
        };
        for (const QString &piece : appends) {
            text += piece;
            view.follow(text);
            QVERIFY(ShowsItsText(view));
        }
        for (int frame = 0; frame < 40; ++frame) { // past the bottom: every append scrolls
            text += QStringLiteral("\nDATA Ok frame %1, a line long enough to reach the right edge").arg(frame);
            view.follow(text);
            QVERIFY(ShowsItsText(view));
            QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
        }
        view.follow(QStringLiteral("emptied\nand begun again")); // not a continuation: set anew
        QCOMPARE(view.toPlainText(), QStringLiteral("emptied\nand begun again"));
        QVERIFY(ShowsItsText(view));
    }
};

QTEST_MAIN(LogViewTest)
#include "LogViewTest.moc"
