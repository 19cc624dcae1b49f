#include "bench/ProcessProbes.h"

#include "acquisition/frm_USBkom.h"
#include "bench/BenchSupport.h"
#include "core/Clock.h"
#include "core/CommandLine.h"
#include "core/MDIForm1.h"
#include "core/MainStartup.h"
#include "devicelink/DriverChoice.h"

#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>

namespace pxr3::bench {
namespace {

constexpr int kPortRunMs = 20'000;

void RunEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// `executable` started with the first-paint measurement preloaded; its line of figures is
// passed on.
int StartUpProbe(const QString &executable, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(PXR3_FIRST_PAINT));
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    probe.start(executable, arguments);
    if (!probe.waitForFinished(30'000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return 1;
    const QByteArray figures = probe.readAllStandardOutput();
    std::fwrite(figures.constData(), 1, size_t(figures.size()), stdout);
    std::fflush(stdout);
    return 0;
}

// The program as the operator starts it, on a fresh folder of its own.
int StartProgramProbe()
{
    QTemporaryDir folder;
    return StartUpProbe(QStringLiteral(PXR3_PROGRAM), {QStringLiteral("--data-dir"), folder.path()});
}

int StartBareProbe() { return StartUpProbe(QStringLiteral(PXR3_BARE_WINDOW), {}); }

// The processor the program takes over 20 s with its analyser on `port`, measuring as
// MeasuringProgram sets it up, or connected and idle.
int PortProbe(const QString &port, bool measuring)
{
    ProgramFolderScope folder;
    CommandLine options;
    options.port = port;
    SetDriver(MakeDriver(options));
    const ProgramWindows windows = StartProgram(false);
    const std::unique_ptr<MDIForm1> main(windows.main);
    if (measuring) {
        windows.usbkom->command4(8)->click(); // "Start  F5"
        windows.usbkom->Command6_Click();     // "Průběh F2"
        windows.usbkom->check(1)->setChecked(true);
    }
    RunEventLoop(2000); // the first frames and the windows' first paints
    if (measuring && !windows.usbkom->timer()->isActive()) {
        std::printf("not measuring\n");
        return 1;
    }
    const double processorBefore = ProcessorSeconds();
    const double wallBefore = WallSeconds();
    RunEventLoop(kPortRunMs);
    const double percent = 100.0 * (ProcessorSeconds() - processorBefore) / (WallSeconds() - wallBefore);
    std::printf("%.4f\n", percent);
    std::fflush(stdout);
    return 0;
}

} // namespace

int RunProbe(int argc, char *argv[])
{
    if (argc < 2)
        return -1;
    if (std::strcmp(argv[1], "--probe-start-program") == 0)
        return StartProgramProbe();
    if (std::strcmp(argv[1], "--probe-start-bare") == 0)
        return StartBareProbe();
    if (std::strcmp(argv[1], "--probe-port") == 0 && argc == 4)
        return PortProbe(QString::fromLocal8Bit(argv[2]), std::strcmp(argv[3], "measuring") == 0);
    return -1;
}

} // namespace pxr3::bench
