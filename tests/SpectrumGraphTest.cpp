// The spectrum graph: number formats of the axes, the y range, the drawn channels, the
// title and the LOG Y-osa toggle.

#include "core/SharedState.h"
#include "core/UserMessages.h"
#include "graphs/NumberFormat.h"
#include "graphs/SpectrumGraph.h"
#include "graphs/SpectrumGraphModel.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>
#include <qcustomplot.h>

using namespace pxr3;

class SpectrumGraphTest : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
        ResetSharedState();
        m_messages = 0;
        SetMessageSink([this](const UserMessage &) { ++m_messages; return false; });
    }
    void cleanup() { SetMessageSink({}); }

    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("000 small") << "000" << 7.0 << "007";
        QTest::newRow("000 wide") << "000" << 128.0 << "128";
        QTest::newRow("000 rounds") << "000" << 49.6 << "050";
        QTest::newRow("000 beyond") << "000" << 1024.0 << "1024";
        QTest::newRow("exp") << "0.0 E+00" << 1500.0 << "1,5 E+03";
        QTest::newRow("exp zero") << "0.0 E+00" << 0.0 << "0,0 E+00";
        QTest::newRow("exp small") << "0.0 E+00" << 0.25 << "2,5 E-01";
        QTest::newRow("exp carry") << "0.0 E+00" << 9960.0 << "1,0 E+04";
        QTest::newRow("fixed") << "#0.0" << 12.5 << "12,5";
        QTest::newRow("fixed zero") << "#0.0" << 0.04 << "0,0";
        // Halves go away from zero, as in every other pattern the program writes.
        QTest::newRow("fixed negative") << "#0.0" << -3.25 << "-3,3";
        // 7:05:00 and 14:37:50 as fractions of a day, on a day number as the clock gives.
        QTest::newRow("time") << "h:nn" << (46000.0 + (7 * 60 + 5) / 1440.0) << "7:05";
        QTest::newRow("time seconds dropped") << "h:nn" << (46000.0 + (14 * 3600 + 37 * 60 + 20) / 86400.0) << "14:37";
        QTest::newRow("time midnight") << "h:nn" << 46001.0 << "0:00";
    }
    void formats()
    {
        QFETCH(QString, format);
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(FormatNumber(format, value), text);
    }

    void separatorFollowsLocale()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(FormatNumber(QStringLiteral("#0.0"), 12.5), QStringLiteral("12.5"));
        QCOMPARE(FormatNumber(QStringLiteral("0.0 E+00"), 1500), QStringLiteral("1.5 E+03"));
    }

    void graphMaxOnlyInsideRoi()
    {
        Spectrum sp;
        sp(10) = 500; // outside
        sp(20) = 40;
        sp(30) = 70;
        sp(31) = 60;
        QCOMPARE(SpectrumGraphMax(sp, 256, 20, 31), 70.0);
        QCOMPARE(SpectrumGraphMax(sp, 256, 20, 29), 40.0);
        QCOMPARE(SpectrumGraphMax(sp, 256, 32, 40), 0.0);
        // Only drawn channels count: n = 30 draws 1..29.
        QCOMPARE(SpectrumGraphMax(sp, 30, 20, 31), 40.0);
    }

    void yRanges()
    {
        const AxisRange lin = SpectrumYRange(0, 70);
        QVERIFY(lin.set);
        QCOMPARE(lin.min, 0.0);
        QCOMPARE(lin.max, 70.0);
        const AxisRange log = SpectrumYRange(-1, 70);
        QVERIFY(log.set);
        QCOMPARE(log.min, 1.0);
        QCOMPARE(log.max, 71.0);
        QVERIFY(!SpectrumYRange(1, 70).set);
    }

    void lastDrawnChannel()
    {
        QCOMPARE(LastDrawnChannel(250), 249);
        QCOMPARE(LastDrawnChannel(256), 255);
        QCOMPARE(LastDrawnChannel(1), 0);
        QCOMPARE(LastDrawnChannel(1000), 256);
        QCOMPARE(LastDrawnChannel(-5), 0);
    }

    void titleText()
    {
        QCOMPARE(SpectrumTitle(1234, 60), QStringLiteral("Spektrum PXR3 : ROI = 1234 Čas : 60"));
        QCOMPARE(SpectrumTitle(0, 0), QStringLiteral("Spektrum PXR3 : ROI = 0 Čas : 0"));
    }

    void drawLinear()
    {
        SharedState &s = state();
        s.RoiBounds(1) = 100;
        s.RoiBounds(2) = 120;
        for (int k = 1; k <= 256; ++k)
            s.CycleSpectrum(k) = k;
        s.CycleSpectrum(50) = 100000; // a peak outside the ROI runs off the top
        SpectrumGraph g;
        g.SetTotalTimeSource([] { return 42LL; });
        g.DrawSpectrumGraph(250);
        QCOMPARE(g.PointCount(), 249);
        QCOMPARE(g.plot()->graph(0)->data()->at(248)->key, 249.0);
        QCOMPARE(g.plot()->graph(0)->data()->at(248)->value, 249.0);
        const AxisRange x = g.RequestedRange(ecGraph::Axis::X);
        QCOMPARE(x.min, 1.0);
        QCOMPARE(x.max, 256.0); // still the whole axis
        QCOMPARE(g.AxisFormat(ecGraph::Axis::X), QStringLiteral("000"));
        const AxisRange y = g.RequestedRange(ecGraph::Axis::Y);
        QCOMPARE(y.min, 0.0);
        QCOMPARE(y.max, 120.0);
        QCOMPARE(g.plot()->yAxis->range().upper, 120.0);
        QCOMPARE(g.AxisFormat(ecGraph::Axis::Y), QStringLiteral("0.0 E+00"));
        QVERIFY(!g.LogScale(ecGraph::Axis::Y));
        // The title's ROI sum is the cycle's: 100 + ... + 120.
        QCOMPARE(g.Title(), QStringLiteral("Spektrum PXR3 : ROI = 2310 Čas : 42"));
        QCOMPARE(m_messages, 0);
    }

    void drawLogarithmic()
    {
        SharedState &s = state();
        s.RoiBounds(1) = 1;
        s.RoiBounds(2) = 255;
        s.CycleSpectrum(3) = 999;
        s.LogY = -1;
        SpectrumGraph g;
        g.DrawSpectrumGraph(256);
        QCOMPARE(g.PointCount(), 255);
        const AxisRange y = g.RequestedRange(ecGraph::Axis::Y);
        QCOMPARE(y.min, 1.0);
        QCOMPARE(y.max, 1000.0);
        QVERIFY(g.LogScale(ecGraph::Axis::Y));
        QCOMPARE(g.plot()->yAxis->scaleType(), QCPAxis::stLogarithmic);
    }

    void emptyRoi()
    {
        SharedState &s = state();
        s.RoiBounds(1) = 252; // beyond the channels drawn with n = 250
        s.RoiBounds(2) = 255;
        s.CycleSpectrum(253) = 77;
        s.CycleSpectrum(10) = 5;
        SpectrumGraph g;
        g.DrawSpectrumGraph(250);
        QCOMPARE(g.GraphMax(), 0.0);
        AxisRange y = g.RequestedRange(ecGraph::Axis::Y);
        QCOMPARE(y.min, 0.0);
        QCOMPARE(y.max, 0.0);
        // The axis itself still spans something the plot can show.
        QVERIFY(g.plot()->yAxis->range().upper > g.plot()->yAxis->range().lower);
        s.LogY = -1;
        g.DrawSpectrumGraph(250);
        y = g.RequestedRange(ecGraph::Axis::Y);
        QCOMPARE(y.min, 1.0);
        QCOMPARE(y.max, 1.0);
    }

    void zeroKeepsPicture()
    {
        SharedState &s = state();
        s.RoiBounds(1) = 1;
        s.RoiBounds(2) = 10;
        s.CycleSpectrum(5) = 9;
        SpectrumGraph g;
        g.DrawSpectrumGraph(256);
        s.CycleSpectrum(5) = 1000;
        g.DrawSpectrumGraph(0);
        QCOMPARE(g.PointCount(), 255);
        QCOMPARE(g.RequestedRange(ecGraph::Axis::Y).max, 9.0);
    }

    void toggleTwiceReturns()
    {
        SharedState &s = state();
        s.RoiBounds(1) = 1;
        s.RoiBounds(2) = 20;
        s.CycleSpectrum(7) = 300;
        SpectrumGraph g;
        g.DrawSpectrumGraph(256);
        const int points = g.PointCount();
        g.ToggleLogY();
        QCOMPARE(s.LogY, int16_t(-1));
        QCOMPARE(g.RequestedRange(ecGraph::Axis::Y).min, 1.0);
        QCOMPARE(g.RequestedRange(ecGraph::Axis::Y).max, 301.0);
        QCOMPARE(g.plot()->yAxis->scaleType(), QCPAxis::stLogarithmic);
        QCOMPARE(g.PointCount(), points); // no clearing, no new points
        g.ToggleLogY();
        QCOMPARE(s.LogY, int16_t(0));
        QCOMPARE(g.RequestedRange(ecGraph::Axis::Y).min, 0.0);
        QCOMPARE(g.RequestedRange(ecGraph::Axis::Y).max, 300.0);
        QCOMPARE(g.plot()->yAxis->scaleType(), QCPAxis::stLinear);
        QCOMPARE(g.PointCount(), points);
    }

    void toggleOtherValueChangesNothing()
    {
        SharedState &s = state();
        s.RoiBounds(1) = 1;
        s.RoiBounds(2) = 20;
        s.CycleSpectrum(7) = 300;
        SpectrumGraph g;
        g.DrawSpectrumGraph(256);
        s.LogY = 1;
        g.ToggleLogY();
        QCOMPARE(s.LogY, int16_t(1));
        QCOMPARE(g.RequestedRange(ecGraph::Axis::Y).max, 300.0);
        QCOMPARE(ToggledLogY(5), int16_t(5));
    }

    void tickLabelsUseFormat()
    {
        SharedState &s = state();
        s.RoiBounds(1) = 1;
        s.RoiBounds(2) = 255;
        s.CycleSpectrum(100) = 1500;
        SpectrumGraph g;
        g.resize(600, 400);
        g.DrawSpectrumGraph(256);
        g.plot()->replot();
        QVector<double> ticks;
        QVector<QString> labels;
        g.plot()->xAxis->ticker()->generate(g.plot()->xAxis->range(), QLocale(), 'g', 6, ticks, nullptr, &labels);
        QVERIFY(!labels.isEmpty());
        for (int i = 0; i < ticks.size(); ++i)
            QCOMPARE(labels.at(i), FormatNumber(QStringLiteral("000"), ticks.at(i)));
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

private:
    int m_messages = 0;
};

QTEST_MAIN(SpectrumGraphTest)
#include "SpectrumGraphTest.moc"
