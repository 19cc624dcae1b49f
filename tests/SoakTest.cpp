// Hours of data frames in fast mode on a virtual clock, with the time course open, smoothing
// on and "LOG data" ticked: the program holds on to no memory as the frames go by and
// DATA_LOG.TXT has one whole line per logged frame. In the sanitizer build the leak checker
// looks at the same run when the program ends.
//   PXR3_SOAK_FRAMES  frames to run (5,000 by default; a day is 43,200, `make bench` runs it)

#include "acquisition/AcquisitionTick.h"
#include "bench/BenchSupport.h"
#include "bench/MeasuringProgram.h"
#include "core/Clock.h"
#include "core/ProgramFolder.h"
#include "devicelink/USB_KOM.h"

#include <QtTest>

using namespace pxr3;

class SoakTest : public QObject {
    Q_OBJECT
private slots:
    void hoursOfFramesHoldNoMemoryAndLogEveryFrame()
    {
        const int frames =
            qEnvironmentVariableIsSet("PXR3_SOAK_FRAMES") ? qEnvironmentVariableIntValue("PXR3_SOAK_FRAMES") : 5'000;
        constexpr int kWarmUp = 1'000; // caches, the course's first screen, the log's first page
        bench::ProgramFolderScope folder;
        VirtualClock clock;
        VirtualClockScope virtualTime(clock);
        bench::MeasuringProgram program(SimulatedAnalyser::Pace::Fast, true);
        QVERIFY(program.measuring());
        int logged = 0;
        QObject::connect(&tickNotifier(), &TickNotifier::ticked, this,
                         [&logged] { logged += link().LastReading == DataReading::Good; });
        [[maybe_unused]] double residentAfterWarmUp = 0;
        for (int frame = 0; frame < frames; ++frame) {
            clock.runFor(SimulatedAnalyser::kFramePeriodUs);
            if (frame == kWarmUp - 1)
                residentAfterWarmUp = bench::ResidentMegabytes();
        }
        QVERIFY2(logged >= frames - 1, qPrintable(QStringLiteral("%1 frames of %2").arg(logged).arg(frames)));
#if !defined(__SANITIZE_ADDRESS__) // its quarantine keeps freed memory on purpose
        const double growth = bench::ResidentMegabytes() - residentAfterWarmUp;
        QVERIFY2(growth < 10.0, qPrintable(QStringLiteral("resident memory grew by %1 MB").arg(growth)));
#endif
        QFile log(ProgramPath(QStringLiteral("DATA_LOG.TXT")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QByteArray text = log.readAll();
        QCOMPARE(text.count("\r\n"), logged);
        QVERIFY(text.endsWith("\r\n"));
    }
};

QTEST_MAIN(SoakTest)
#include "SoakTest.moc"
