// The communication log's view paints only what a frame appends. What the window shows (its
// backing store, grabbed from the offscreen screen) must equal a fresh painting of the same
// view after every append, whether the view scrolls, is not yet full, or goes on a line.

#include "controls/LogView.h"
#include "tests/ScreenSupport.h"

#include <QScrollBar>
#include <QtTest>

using namespace pxr3;
using pxr3::test::ShowsWhatItPaints;

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
            QVERIFY(ShowsWhatItPaints(view, QStringLiteral("logview")));
        }
        for (int frame = 0; frame < 40; ++frame) { // past the bottom: every append scrolls
            text += QStringLiteral("\nDATA Ok frame %1, a line long enough to reach the right edge").arg(frame);
            view.follow(text);
            QVERIFY(ShowsWhatItPaints(view, QStringLiteral("logview")));
            QCOMPARE(view.verticalScrollBar()->value(), view.verticalScrollBar()->maximum());
        }
        view.follow(QStringLiteral("emptied\nand begun again")); // not a continuation: set anew
        QCOMPARE(view.toPlainText(), QStringLiteral("emptied\nand begun again"));
        QVERIFY(ShowsWhatItPaints(view, QStringLiteral("logview")));
    }
};

QTEST_MAIN(LogViewTest)
#include "LogViewTest.moc"
