#pragma once
// The folder where the program keeps all its files.

#include <QString>
#include <QStringList>

namespace pxr3 {

struct FolderChoice {
    QString folder;
    QString notice; // why a folder other than the wanted one is used; empty when none
    // When this start set the other folder up (made it, or copied settings into it): the notice
    // with what was copied, worth a message box once; empty otherwise.
    QString setUpReport;
    QString loggedNotice; // the notice in Czech, as the communication log keeps it
};

// The folder the program's files belong in: `dataDir` (--data-dir) when given; the user's
// folder for a program run from `installedBinDir`, the system's folder it was installed into;
// otherwise the executable's own folder (a build folder, a copy of the program somewhere).
QString WantedProgramFolder(const QString &dataDir, const QString &executableDir, const QString &installedBinDir,
                            const QString &userFolder);

// The wanted folder (the executable's, or --data-dir) when it is writable, otherwise the
// user's data folder, with a notice saying so. Each of the files named in `carried` that the
// user's folder lacks is copied there from the wanted folder, so the operator's settings are
// read at this start and kept by later saves.
FolderChoice ChooseProgramFolder(const QString &wanted, const QString &fallback, const QStringList &carried = {});

void SetProgramFolder(const QString &folder);
const QString &ProgramFolder();

// A file or folder of the program folder by its fixed name.
QString ProgramPath(const QString &name);

// Removes the temporary files that saves cut short by a kill or a power cut leave behind:
// beside the files named in `programFiles` in the program folder, and beside tables (.dat) and
// exports (.csv) in its DATA folder, and beside the series' spectra (.n42) in SPEKTRA. Nothing
// else is touched. Returns the paths removed.
QStringList RemoveUnfinishedSaves(const QStringList &programFiles);

} // namespace pxr3
