#pragma once
// The folder where the program keeps all its files.

#include <QString>

namespace pxr3 {

struct FolderChoice {
    QString folder;
    QString notice; // why a folder other than the wanted one is used; empty when none
};

// The wanted folder (the executable's, or --data-dir) when it is writable, otherwise the
// user's data folder, with a notice saying so.
FolderChoice ChooseProgramFolder(const QString &wanted, const QString &fallback);

void SetProgramFolder(const QString &folder);
const QString &ProgramFolder();

// A file or folder of the program folder by its fixed name.
QString ProgramPath(const QString &name);

} // namespace pxr3
