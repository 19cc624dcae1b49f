// The time-course window: reopening (re-basing, the frame count), closing that only hides,
// points drawn cycle over cycle, the axis widening and the bounded picture.

#include "acquisition/AcquisitionTick.h"
#include "core/Clock.h"
#include "core/DateTimeText.h"
#include "core/SharedState.h"
#include "graphs/NumberFormat.h"
#include "graphs/frm_Prubeh.h"
#include "tests/ScreenSupport.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QtTest>
#include <qcustomplot.h>

using namespace pxr3;

namespace {

const QString kTime = QStringLiteral("h:nn");
double Days(int h, int m, int s) { return DaysFromDateTime(QDateTime(QDate(2026, 12, 7), QTime(h, m, s))); }
double Second(const frm_Prubeh &w, int s) { return w.CourseStart() + s / 86400.0; }

} // namespace

class CourseWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        ResetSharedState();
        m_clock = std::make_unique<VirtualClock>(QDateTime(QDate(2026, 12, 7), QTime(14, 37, 50)));
        m_clockScope = std::make_unique<VirtualClockScope>(*m_clock);
        m_window = std::make_unique<frm_Prubeh>();
    }
    void cleanup()
    {
        m_window.reset();
        m_clockScope.reset();
        m_clock.reset();
    }

    void reopeningClearsRebasesAndRestartsTheFrameCount()
    {
        m_window->OpenCourse();
        m_window->close(); // only hides: the points keep coming
        m_window->AddCoursePoint(Second(*m_window, 1), 10);
        m_window->AddCoursePoint(Second(*m_window, 2), 12);
        QCOMPARE(m_window->graph()->PointCount(), 2);
        state().CycleTick = 40;
        acquisition().CourseTick = 40;
        m_clock->pass(int64_t(Days(16, 2, 10) * 86400 - Days(14, 37, 50) * 86400) * 1'000'000); // to 16:02:10
        m_window->OpenCourse();
        QVERIFY(m_window->isVisible());
        QCOMPARE(m_window->graph()->PointCount(), 0);
        QCOMPARE(FormatNumber(kTime, m_window->graph()->plot()->xAxis->range().lower), QStringLiteral("16:02"));
        QCOMPARE(acquisition().CourseTick, 0);
        QCOMPARE(state().CycleTick, 40); // the running cycle keeps its frames
        QCOMPARE(state().CourseWindowOpen, int16_t(-1));
    }

    void closingTheFrameHidesItAndOpeningBringsItBack()
    {
        QMdiArea area;
        area.resize(900, 700);
        area.show();
        frm_Prubeh *window = m_window.release();
        QMdiSubWindow *frame = area.addSubWindow(window);
        frame->setAttribute(Qt::WA_DeleteOnClose, false);
        window->OpenCourse();
        QVERIFY(frame->isVisible());
        QVERIFY(frame->width() >= window->width());
        frame->close();
        QVERIFY(!window->isVisible());
        window->OpenCourse();
        QVERIFY(frame->isVisible() && window->isVisible());
    }

    void cyclesDrawOverEachOtherAndTheAxesFollowThePoints()
    {
        m_window->OpenCourse();
        const int seconds[] = {1, 2, 3, 1, 2, 601};
        const double values[] = {10, 20, 30, 40, 50, 5};
        for (int i = 0; i < 6; ++i)
            m_window->AddCoursePoint(Second(*m_window, seconds[i]), values[i]);
        QCOMPARE(m_window->graph()->PointCount(), 6); // the second cycle's points do not replace the first's
        const QCPRange x = m_window->graph()->plot()->xAxis->range();
        QCOMPARE(qRound((x.upper - x.lower) * 1440), 20); // widened past second 600
        const QCPRange y = m_window->graph()->plot()->yAxis->range();
        QVERIFY(y.lower <= 0 && y.upper >= 50);
    }

    void aPointAFrameShowsWhatAWholeDrawingShows()
    {
        // Between whole drawings only the points and the title are drawn again; an axis that
        // moves (a new highest or lowest value, a widened time axis) draws everything.
        m_window->OpenCourse();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        ecGraph &graph = *m_window->graph();
        for (int frame = 1; frame <= 24; ++frame) {
            const double value = frame < 8 ? frame : (frame < 16 ? 5 : 24 - frame);
            m_window->AddCoursePoint(Second(*m_window, 2 * frame), value);
            QVERIFY(test::ShowsWhatARedrawShows(
                graph, [&graph] { graph.Draw(); }, QStringLiteral("course")));
        }
        m_window->AddCoursePoint(Second(*m_window, 3 * 3600), 4); // past the axis' end: it widens
        QVERIFY(test::ShowsWhatARedrawShows(
            graph, [&graph] { graph.Draw(); }, QStringLiteral("course")));
    }

    void thePictureKeepsOnlyTheNewestPoints()
    {
        m_window->OpenCourse();
        const int added = CoursePoints::kCapacity + 5;
        for (int i = 1; i <= added; ++i)
            m_window->AddCoursePoint(Second(*m_window, i % 600), i);
        const ecGraph &g = *m_window->graph();
        QCOMPARE(g.PointCount(), CoursePoints::kCapacity);
        auto *curve = qobject_cast<QCPCurve *>(g.plot()->plottable(0));
        QCOMPARE(curve->data()->constBegin()->value, 6.0);
        QCOMPARE((curve->data()->constEnd() - 1)->value, double(added));
    }

    // The points are painted into a kept picture one by one; it must show what drawing them
    // all at once shows, also after the axes changed.
    void pointsPaintedOneByOneLookLikePointsDrawnAtOnce()
    {
        frm_Prubeh atOnce;
        for (frm_Prubeh *w : {m_window.get(), &atOnce}) {
            w->resize(480, 320);
            w->OpenCourse();
        }
        auto picture = [](frm_Prubeh &w) {
            QCustomPlot *plot = w.graph()->plot();
            for (QCPAxis *axis : {plot->xAxis, plot->yAxis})
                axis->grid()->setVisible(false);
            plot->legend->setVisible(false);
            QImage image(plot->size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            QCPPainter painter(&image);
            plot->toPainter(&painter, plot->width(), plot->height());
            return image.copy(plot->axisRect()->rect().adjusted(1, 1, -1, -1));
        };
        // A new highest point and a point past the axis's end make it paint everything afresh.
        std::vector<std::pair<double, double>> points;
        for (int i = 1; i <= 1000; ++i)
            points.push_back({Second(*m_window, i % 50 + (i == 900 ? 650 : 0)),
                              i == 1         ? 100
                                  : i == 300 ? 120
                                             : 20 + i % 37});
        for (size_t i = 0; i < points.size(); ++i) {
            m_window->AddCoursePoint(points[i].first, points[i].second);
            if (i % 97 == 0 || i + 4 > points.size())
                picture(*m_window);
        }
        for (const auto &p : points)
            atOnce.AddCoursePoint(p.first, p.second);
        // The reference: the same points drawn by a plain curve, one by one at every redraw.
        QCustomPlot *plot = atOnce.graph()->plot();
        auto *kept = qobject_cast<QCPCurve *>(plot->plottable(0));
        auto *plain = new QCPCurve(plot->xAxis, plot->yAxis);
        plain->removeFromLegend(); // a legend of two lines would leave the plot less room
        plain->setData(kept->data());
        plain->setLineStyle(QCPCurve::lsNone);
        plain->setScatterStyle(kept->scatterStyle());
        plain->setPen(kept->pen());
        kept->setVisible(false);
        QCOMPARE(picture(*m_window), picture(atOnce));
    }

private:
    std::unique_ptr<VirtualClock> m_clock;
    std::unique_ptr<VirtualClockScope> m_clockScope;
    std::unique_ptr<frm_Prubeh> m_window;
};

QTEST_MAIN(CourseWindowTest)
#include "CourseWindowTest.moc"
