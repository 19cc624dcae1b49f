// The status-bar panel that holds a label whose size rarely changes: the label is always as
// large as its text needs, and a new text of the same size costs the status bar no new layout.

#include "controls/SteadyPanel.h"

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QtTest>

using namespace pxr3;

namespace {

// Counts the layout requests a widget receives.
class LayoutRequests : public QObject {
public:
    explicit LayoutRequests(QWidget *watched) { watched->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            ++count;
        return false;
    }
};

QLabel *PanelLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setContentsMargins(4, 0, 4, 0);
    return label;
}

bool Whole(const QLabel *label)
{
    return label->width() >= label->sizeHint().width() && label->height() >= label->sizeHint().height();
}

} // namespace

class SteadyPanelTest : public QObject {
    Q_OBJECT

private slots:
    void aLongerTextWidensThePanel()
    {
        QMainWindow window;
        window.resize(800, 200);
        QLabel *label = PanelLabel(QStringLiteral("14:37:50"));
        window.statusBar()->addPermanentWidget(new SteadyPanel(label));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::sendPostedEvents();
        QVERIFY(Whole(label));
        label->setText(QStringLiteral("14:37:50 a mnohem delší text"));
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(); // the status bar's own layout follows the panel's
        QVERIFY(Whole(label));
    }

    void aTextOfTheSameSizeLeavesTheStatusBarAlone()
    {
        QMainWindow window;
        QLabel *label = PanelLabel(QStringLiteral("14:37:50"));
        window.statusBar()->addPermanentWidget(new SteadyPanel(label));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::sendPostedEvents();
        const QSize hint = label->sizeHint();
        label->setText(QStringLiteral("14:37:51"));
        if (label->sizeHint() != hint)
            QSKIP("this font's digits differ in width");
        LayoutRequests requests(window.statusBar());
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents(); // what the panel's own request would have posted
        QCOMPARE(requests.count, 0);
        QCOMPARE(label->text(), QStringLiteral("14:37:51"));
        QVERIFY(Whole(label));
    }
};

QTEST_MAIN(SteadyPanelTest)
#include "SteadyPanelTest.moc"
