// The program as an operator leaves it overnight, to be killed at any moment: started as the
// program starts in the folder given, a series with "LOG data" ticked against the simulated
// analyser, the settings and a copy of the table saved again and again meanwhile. Time is
// virtual and runs as fast as the machine goes. Each completed row is printed, with its
// cells, once its autosave is done; every message the program shows is printed too.

#include "acquisition/frm_USBkom.h"
#include "core/Clock.h"
#include "core/MDIForm1.h"
#include "core/MainStartup.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "core/UserMessages.h"
#include "core/WorkCommands.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/SimulatedAnalyser.h"
#include "records/MeasurementTable.h"
#include "records/SettingsFiles.h"
#include "records/TableFile.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <cstdio>
#include <memory>

using namespace pxr3;

namespace {
void Print(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2)
        return 2;
    SetMessageSink([](const UserMessage &m) {
        Print(QStringLiteral("message\t") + m.text.simplified());
        return false;
    });
    TakeProgramFolder(QString::fromLocal8Bit(argv[1]));
    VirtualClock clock;
    VirtualClockScope virtualTime(clock);
    SetDriver(std::make_unique<SimulatedAnalyser>(SimulatedAnalyser::Pace::Fast, 11));
    const ProgramWindows windows = StartProgram(true);
    const std::unique_ptr<MDIForm1> mainWindow(windows.main);
    if (argc > 2 && QByteArray(argv[2]) == "--start-only")
        return 0;

    windows.usbkom->text2()->setText(QStringLiteral("2"));
    state().RepeatCount = 1000;
    workCommands().NewMeasurement();
    windows.usbkom->check(1)->setChecked(true); // "LOG data"
    Print(QStringLiteral("measuring"));

    const QString tableCopy = QDir(ProgramFolder()).filePath(QStringLiteral("DATA/kopie.dat"));
    for (int step = 0;; ++step) {
        const int row = state().CurrentRow;
        clock.runFor(500'000);
        if (state().CurrentRow != row) {
            QStringList cells{QStringLiteral("row")};
            for (int column = 0; column < kTableColumns; ++column)
                cells << measurementTable().text(row, column);
            Print(cells.join('\t'));
        }
        LoadSaveConfig(0);
        if (step % 3 == 0)
            SaveTableFile(measurementTable(), tableCopy);
    }
}
