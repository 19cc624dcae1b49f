// The spectrum graph: number formats of the axes, the y range, the drawn channels, the
// title and the LOG Y-osa toggle.

#include "graphs/SpectrumGraph.h"
#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "graphs/NumberFormat.h"

#include <QLocale>
#include <QMenu>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>
#include <qcustomplot.h>

using namespace pxr3;

namespace {

// The region of interest and one channel's count of the cycle spectrum.
void SetRoi(int from, int to, int channel = 0, int count = 0)
{
    state().RoiBounds(1) = int16_t(from);
    state().RoiBounds(2) = int16_t(to);
    if (channel > 0)
        state().CycleSpectrum(channel) = count;
}

AxisRange YRange(const SpectrumGraph &g) { return g.RequestedRange(ecGraph::Axis::Y); }

} // namespace

class SpectrumGraphTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        ResetSharedState();
        m_messages = 0;
        SetMessageSink([this](const UserMessage &) {
            ++m_messages;
            return false;
        });
    }
    void cleanup() { SetMessageSink({}); }

    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("english");
        QTest::newRow("000 small") << "000" << 7.0 << "007" << false;
        QTest::newRow("000 rounds") << "000" << 49.6 << "050" << false;
        QTest::newRow("000 beyond") << "000" << 1024.0 << "1024" << false;
        QTest::newRow("exp") << "0.0 E+00" << 1500.0 << "1,5 E+03" << false;
        QTest::newRow("exp english") << "0.0 E+00" << 1500.0 << "1.5 E+03" << true;
        QTest::newRow("exp zero") << "0.0 E+00" << 0.0 << "0,0 E+00" << false;
        QTest::newRow("exp small") << "0.0 E+00" << 0.25 << "2,5 E-01" << false;
        QTest::newRow("exp carry") << "0.0 E+00" << 9960.0 << "1,0 E+04" << false;
        QTest::newRow("fixed") << "#0.0" << 12.5 << "12,5" << false;
        QTest::newRow("fixed zero") << "#0.0" << 0.04 << "0,0" << false;
        // Halves go away from zero, as in every other pattern the program writes.
        QTest::newRow("fixed negative") << "#0.0" << -3.25 << "-3,3" << false;
    }
    void formats()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        QFETCH(bool, english);
        if (english)
            QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(FormatNumber(format, value), text);
    }

    // A tick label shows its tick exactly.
    void tickLabels_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("tick");
        QTest::addColumn<QString>("text");
        QTest::newRow("half") << "0.0 E+00" << 12.5 << "12,5";
        QTest::newRow("binary step") << "0.0 E+00" << 0.1 * 6 << "0,6";
        QTest::newRow("thousands") << "0.0 E+00" << 1500.0 << "1500";
        QTest::newRow("beyond a million") << "0.0 E+00" << 1.25e7 << "1,25 E+07";
        QTest::newRow("fixed pattern") << "000" << 50.0 << "050";
    }
    void tickLabels()
    {
        QFETCH(QString, format);
        QFETCH(double, tick);
        QFETCH(QString, text);
        QCOMPARE(TickLabel(format, tick), text);
    }

    // Decades are labelled 1, 10, 100 also over less than two decades; the legend covers no points.
    void logAxisLabelsItsDecadesAndTheLegendStandsOutsideThePlot()
    {
        SetRoi(1, 255, 100, 20);
        state().LogY = -1;
        SpectrumGraph g;
        g.resize(600, 400);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        g.DrawSpectrumGraph(256);
        g.plot()->replot();
        for (const auto &[upper, decades] :
             {std::pair{21.0, QStringList{"1", "10"}}, std::pair{3000.0, QStringList{"1", "10", "100", "1000"}}}) {
            QVector<double> ticks;
            QVector<QString> labels;
            g.plot()->yAxis->ticker()->generate(QCPRange(1, upper), QLocale(), 'g', 6, ticks, nullptr, &labels);
            QCOMPARE(QStringList(labels.cbegin(), labels.cend()), decades);
        }
        QVERIFY(g.plot()->legend->visible());
        QVERIFY(!g.plot()->legend->outerRect().intersects(g.plot()->axisRect()->rect()));
    }

    // In a narrow tile the title is drawn smaller rather than cut; given room, at its own size.
    void aNarrowGraphShowsItsWholeTitle()
    {
        SetRoi(1, 255, 100, 123456);
        QWidget window; // laid out as in its window: the plot is resized, and drawn, before the graph hears of it
        auto *g = new SpectrumGraph;
        (new QVBoxLayout(&window))->addWidget(g);
        g->SetTotalTimeSource([] { return 86400LL; });
        window.resize(260, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        g->DrawSpectrumGraph(256);
        const auto *title = qobject_cast<QCPTextElement *>(g->plot()->plotLayout()->element(0, 0));
        QVERIFY(title);
        window.resize(1200, 300);
        QCoreApplication::processEvents(); // the drawing a resize queues
        const QFont wide = title->font();
        window.resize(260, 300);
        QCoreApplication::processEvents();
        QVERIFY(title->font().pointSizeF() < wide.pointSizeF());
        QVERIFY(QFontMetrics(title->font()).horizontalAdvance(title->text()) <= g->width());
        // Drawn with the size it now has: its row is as high as a new drawing makes it.
        const int drawnHeight = title->outerRect().height();
        g->plot()->replot();
        QCOMPARE(drawnHeight, title->outerRect().height());
    }

    void drawLinear()
    {
        for (int k = 1; k <= 256; ++k)
            state().CycleSpectrum(k) = k;
        SetRoi(100, 120, 50, 100000); // a peak outside the ROI runs off the top
        SpectrumGraph g;
        g.SetTotalTimeSource([] { return 42LL; });
        g.DrawSpectrumGraph(250);
        QCOMPARE(g.PointCount(), 249);
        QCOMPARE(g.plot()->graph(0)->data()->at(248)->key, 249.0);
        QCOMPARE(g.plot()->graph(0)->data()->at(248)->value, 249.0);
        const AxisRange x = g.RequestedRange(ecGraph::Axis::X);
        QCOMPARE(x.min, 1.0);
        QCOMPARE(x.max, 256.0); // still the whole axis
        QCOMPARE(YRange(g).min, 0.0);
        QCOMPARE(YRange(g).max, 120.0);
        QCOMPARE(g.plot()->yAxis->range().upper, 120.0);
        // The title's ROI sum is the cycle's: 100 + ... + 120.
        QCOMPARE(g.Title(), QStringLiteral("Spektrum PXR3 : ROI = 2310 Čas : 42"));
        QCOMPARE(m_messages, 0);
    }

    void emptyRoi()
    {
        SetRoi(250, 255, 250, 77); // beyond the channels drawn with n = 250, which end at 249
        state().CycleSpectrum(10) = 5;
        SpectrumGraph g;
        g.DrawSpectrumGraph(250);
        QCOMPARE(g.GraphMax(), 0.0);
        QCOMPARE(YRange(g).min, 0.0);
        QCOMPARE(YRange(g).max, 0.0);
        // The axis itself still spans something the plot can show.
        QVERIFY(g.plot()->yAxis->range().upper > g.plot()->yAxis->range().lower);
        state().LogY = -1;
        g.DrawSpectrumGraph(250);
        QCOMPARE(YRange(g).min, 1.0);
        QCOMPARE(YRange(g).max, 1.0);
        QCOMPARE(g.plot()->yAxis->scaleType(), QCPAxis::stLogarithmic);
    }

    void toggleTwiceReturnsAndDrawingNoChannelsKeepsThePicture()
    {
        SetRoi(1, 20, 7, 300);
        SpectrumGraph g;
        g.DrawSpectrumGraph(256);
        const int points = g.PointCount();
        for (int16_t logY : {-1, 0}) {
            g.ToggleLogY();
            QCOMPARE(state().LogY, logY);
            QCOMPARE(YRange(g).min, logY ? 1.0 : 0.0);
            QCOMPARE(YRange(g).max, logY ? 301.0 : 300.0);
            QCOMPARE(g.plot()->yAxis->scaleType(), logY ? QCPAxis::stLogarithmic : QCPAxis::stLinear);
            QCOMPARE(g.PointCount(), points); // no clearing, no new points
        }
        state().CycleSpectrum(7) = 1000;
        g.DrawSpectrumGraph(0);
        QCOMPARE(g.PointCount(), points);
        QCOMPARE(YRange(g).max, 300.0);
    }

    void tickLabelsUseFormat()
    {
        SetRoi(1, 255, 100, 1500);
        SpectrumGraph g;
        g.resize(600, 400);
        g.DrawSpectrumGraph(256);
        g.plot()->replot();
        QVector<double> ticks;
        QVector<QString> labels;
        g.plot()->xAxis->ticker()->generate(g.plot()->xAxis->range(), QLocale(), 'g', 6, ticks, nullptr, &labels);
        QVERIFY(labels.contains(QStringLiteral("050")));
    }

    void savesPngAndPdf()
    {
        QTemporaryDir dir;
        SpectrumGraph g;
        g.resize(400, 300);
        g.DrawSpectrumGraph(256);
        QVERIFY(g.SaveTo(dir.filePath(QStringLiteral("g.png"))));
        QVERIFY(g.SaveTo(dir.filePath(QStringLiteral("g.pdf"))));
        QVERIFY(QImage(dir.filePath(QStringLiteral("g.png"))).width() > 0);
        QVERIFY(QFileInfo(dir.filePath(QStringLiteral("g.pdf"))).size() > 0);
    }

    // A right click on the plot opens the graph's menu.
    void rightClickOnThePlotOpensTheMenu()
    {
        SpectrumGraph g;
        g.resize(400, 300);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QStringList actions;
        QTimer::singleShot(0, [&actions] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (const QAction *action : menu->actions()) {
                    if (!action->isSeparator())
                        actions << action->text();
                }
                menu->close();
            }
        });
        // What the window system makes of a right click; QTest's click alone does not make it.
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(200, 150), g.plot()->mapToGlobal(QPoint(200, 150)));
        QApplication::sendEvent(g.plot(), &click);
        QCOMPARE(actions,
                 QStringList({QStringLiteral("Uložit graf jako PNG…"), QStringLiteral("Uložit graf jako PDF…"),
                              QStringLiteral("Uložit spektrum jako…")}));
    }

private:
    int m_messages = 0;
};

QTEST_MAIN(SpectrumGraphTest)
#include "SpectrumGraphTest.moc"
