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
#include <QEvent>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <memory>

namespace pxr3::bench {
namespace {

constexpr int kPortRunMs = 20'000;

// Waits for the window's first paint, then says what the process has used until then.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QWidget *window) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted_) {
            painted_ = true;
            // After the paint has been flushed to the screen.
            QTimer::singleShot(0, [] {
                std::printf("%.3f %.2f\n", ProcessorSeconds() * 1e3, ResidentMegabytes());
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool painted_ = false;
};

void RunEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int StartProgramProbe()
{
    ProgramFolderScope folder;
    SetDriver(MakeDriver(CommandLine{}));
    const ProgramWindows windows = StartProgram(false);
    const std::unique_ptr<MDIForm1> main(windows.main);
    FirstPaint painted(windows.main);
    return QApplication::exec();
}

int StartBareProbe()
{
    QWidget window;
    window.resize(800, 600);
    window.show();
    FirstPaint painted(&window);
    return QApplication::exec();
}

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
