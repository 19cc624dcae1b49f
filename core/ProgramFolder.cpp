#include "core/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

namespace pxr3 {

namespace {
QString &folder()
{
    static QString path = QDir::currentPath();
    return path;
}

// Writable means a file can really be made there (permission bits alone can mislead).
bool canWriteIn(const QString &path)
{
    if (!QDir().mkpath(path))
        return false;
    QTemporaryFile probe(QDir(path).filePath(QStringLiteral(".pxr3-probe-XXXXXX")));
    return probe.open();
}
} // namespace

FolderChoice ChooseProgramFolder(const QString &wanted, const QString &fallback)
{
    const QString wantedPath = QDir::cleanPath(QFileInfo(wanted).absoluteFilePath());
    if (canWriteIn(wantedPath))
        return {wantedPath, QString()};
    const QString fallbackPath = QDir::cleanPath(QFileInfo(fallback).absoluteFilePath());
    canWriteIn(fallbackPath);
    return {fallbackPath, QStringLiteral("Do složky %1 nelze zapisovat, soubory programu jsou ve složce %2")
                              .arg(QDir::toNativeSeparators(wantedPath), QDir::toNativeSeparators(fallbackPath))};
}

void SetProgramFolder(const QString &path) { folder() = path; }
const QString &ProgramFolder() { return folder(); }

QString ProgramPath(const QString &name) { return QDir(folder()).filePath(name); }

} // namespace pxr3
