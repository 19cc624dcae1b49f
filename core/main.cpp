// The program's entry: the command line, the program folder, then start-up.

#include "acquisition/MeasurementSeries.h"
#include "core/CommLog.h"
#include "core/CommandLine.h"
#include "core/Form1.h"
#include "core/MDIForm1.h"
#include "core/MainStartup.h"
#include "core/ProgramFolder.h"
#include "core/Startup.h"
#include "core/Station.h"
#include "core/TerminationSignals.h"
#include "core/Translations.h"
#include "core/UserMessages.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkDebug.h"
#include "records/MeasuringConditions.h"
#include "records/MqttPublisher.h"
#include "windows/MessageBoxes.h"

#include <QApplication>
#include <QIcon>
#include <QLocale>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {
// Read under an application object of its own, before the program's one touches the window
// system (only one may exist at a time): --help, --version and a bad command line need no display.
pxr3::CommandLine readCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The help and the command line's errors speak the language the windows will.
    pxr3::InstallTranslations(
        pxr3::ChooseUiLanguage(pxr3::LanguageOption(QCoreApplication::arguments()), QLocale::system().name()));
    return pxr3::ParseCommandLine(QCoreApplication::arguments());
}

// Folder, settings and analyser as with windows, then one series; no window system is touched.
int runHeadless(int argc, char *argv[], const pxr3::CommandLine &options)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pxr3"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PXR3_VERSION));
    const auto print = [](std::FILE *stream) {
        return [stream](const QString &line) {
            std::fprintf(stream, "%s\n", qPrintable(line));
            std::fflush(stream);
        };
    };
    const pxr3::FolderChoice folder =
        pxr3::TakeProgramFolder(pxr3::WantedProgramFolder(options.dataDir, QCoreApplication::applicationDirPath(),
                                                          QStringLiteral(PXR3_INSTALL_BINDIR), pxr3::UserDataFolder()));
    if (!folder.notice.isEmpty())
        print(stderr)(folder.notice);
    if (options.debugLink)
        pxr3::EnableLinkDebug();
    pxr3::SetDriver(pxr3::MakeDriver(options));

    pxr3::Station station({options.cycles, options.seconds, options.logData}, print(stdout), print(stderr));
    pxr3::MqttPublisher *publisher = nullptr;
    if (options.mqtt.enabled()) {
        publisher =
            new pxr3::MqttPublisher(options.mqtt, pxr3::ProgramPath(QLatin1String(pxr3::kPublishQueueFile)), &app);
        QObject::connect(publisher, &pxr3::MqttPublisher::notice, &app, print(stderr));
        QObject::connect(&station, &pxr3::Station::cycleRecorded, publisher, &pxr3::MqttPublisher::publish);
    }
    // Queued: a series that ends while it starts ends the event loop that follows. The broker
    // is told "offline" and takes the last cycle first.
    QObject::connect(
        &station, &pxr3::Station::ended, &app,
        [publisher](int exitCode) {
            if (!publisher) {
                QCoreApplication::exit(exitCode);
                return;
            }
            QObject::connect(publisher, &pxr3::MqttPublisher::finished,
                             [exitCode] { QCoreApplication::exit(exitCode); });
            publisher->finish();
        },
        Qt::QueuedConnection);
    pxr3::OnTerminationSignal([&station](int signal) {
        pxr3::commLog().event(QStringLiteral("Program ukončen signálem %1").arg(signal));
        station.stop();
    });
    // Through the event loop even when no analyser answers: the log file is finished on its way out.
    if (station.start() && publisher)
        publisher->start(pxr3::MeasuringSet().name.trimmed(), pxr3::IsSimulated());
    return QCoreApplication::exec();
}

// The series' cycles to the broker, its state in the status bar. Closed with the main window:
// the broker then gives out the connection's last will, "offline".
void PublishFromWindows(const pxr3::MqttOptions &options, const pxr3::ProgramWindows &windows)
{
    auto *publisher =
        new pxr3::MqttPublisher(options, pxr3::ProgramPath(QLatin1String(pxr3::kPublishQueueFile)), windows.main);
    QObject::connect(windows.series, &pxr3::MeasurementSeries::cycleRecorded, publisher, &pxr3::MqttPublisher::publish);
    QObject::connect(publisher, &pxr3::MqttPublisher::stateChanged, windows.main,
                     [publisher, main = windows.main] { main->showBrokerState(publisher->stateText(true)); });
    publisher->start(pxr3::MeasuringSet().name.trimmed(), pxr3::IsSimulated());
}
} // namespace

int main(int argc, char *argv[])
{
    const pxr3::CommandLine options = readCommandLine(argc, argv);
    if (!options.error.isEmpty()) {
        std::fprintf(stderr, "%s\n\n%s", qPrintable(options.error), qPrintable(options.helpText));
        return 2;
    }
    if (options.showHelp) {
        std::printf("%s", qPrintable(options.helpText));
        return 0;
    }
    if (options.showVersion) {
        std::printf("pxr3 %s\n", PXR3_VERSION);
        return 0;
    }

    if (options.headless)
        return runHeadless(argc, argv, options);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pxr3"));
    QApplication::setApplicationVersion(QStringLiteral(PXR3_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(PXR3_APP_ID));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/" PXR3_APP_ID ".svg")));
    pxr3::InstallTranslations(pxr3::ChooseUiLanguage(options.language, QLocale::system().name()));

    const pxr3::FolderChoice folder =
        pxr3::TakeProgramFolder(pxr3::WantedProgramFolder(options.dataDir, QApplication::applicationDirPath(),
                                                          QStringLiteral(PXR3_INSTALL_BINDIR), pxr3::UserDataFolder()));
    if (options.debugLink)
        pxr3::EnableLinkDebug();
    pxr3::SetDriver(pxr3::MakeDriver(options));

    pxr3::InstallMessageBoxes();
    const pxr3::ProgramWindows windows = pxr3::StartProgram(pxr3::IsSimulated());
    const std::unique_ptr<pxr3::MDIForm1> mainWindow(windows.main);
    if (options.mqtt.enabled())
        PublishFromWindows(options.mqtt, windows);
    if (!folder.notice.isEmpty())
        windows.main->setStatusText(folder.notice);
    // Told in a box once, when the other folder is set up; the status bar tells at every start.
    if (!folder.setUpReport.isEmpty())
        QTimer::singleShot(
            0, [report = folder.setUpReport] { pxr3::ShowMessage(pxr3::MessageIcon::Information, QString(), report); });
    // A shutdown or Ctrl+C ends the program as its own quit does, the record complete.
    pxr3::OnTerminationSignal([main = windows.main](int signal) {
        pxr3::commLog().event(QStringLiteral("Program ukončen signálem %1").arg(signal));
        pxr3::QuitWithoutAsking(main);
    });
    return QApplication::exec();
}
