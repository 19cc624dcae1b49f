// The program's entry: the command line, the program folder, then start-up.

#include "core/CommLog.h"
#include "core/CommandLine.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/Startup.h"
#include "records/SettingsFiles.h"

#include <QApplication>
#include <QMainWindow>
#include <QStandardPaths>
#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pxr3"));
    QApplication::setApplicationVersion(QStringLiteral(PXR3_VERSION));

    const pxr3::CommandLine options = pxr3::ParseCommandLine(QApplication::arguments());
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

    const QString wanted = options.dataDir.isEmpty() ? QApplication::applicationDirPath() : options.dataDir;
    const pxr3::FolderChoice folder =
        pxr3::ChooseProgramFolder(wanted, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    pxr3::SetProgramFolder(folder.folder);
    if (!folder.notice.isEmpty())
        pxr3::commLog().append(folder.notice);

    pxr3::PrepareProgramFolders();
    pxr3::LoadSaveConfig(1);
    pxr3::ResetMeasurementState();
    pxr3::CopyCurrentRecordToWork();

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("PXR3-USB"));
    window.show();
    return QApplication::exec();
}
