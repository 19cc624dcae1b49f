#include "core/ProgramFolder.h"

#include "core/TextFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <functional>

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

// Through the program's own save, so a copy cut short by a full disk leaves no file behind
// (and the next start tries again).
FileResult copyFile(const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly))
        return {false, source.errorString()};
    const QByteArray bytes = source.readAll();
    if (source.error() != QFileDevice::NoError)
        return {false, source.errorString()};
    return WriteFileAtomically(to, bytes);
}

void removeUnfinishedSaves(const QDir &dir, const std::function<bool(const QString &)> &ours, QStringList &removed)
{
    for (const QString &name : dir.entryList(QDir::Files | QDir::NoSymLinks)) {
        const QString target = UnfinishedSaveTarget(name);
        if (!target.isEmpty() && ours(target) && QFile::remove(dir.filePath(name)))
            removed << dir.filePath(name);
    }
}
} // namespace

QString WantedProgramFolder(const QString &dataDir, const QString &executableDir, const QString &installedBinDir,
                            const QString &userFolder)
{
    if (!dataDir.isEmpty())
        return dataDir;
    // Compared as the same folder on the disk: /bin and /usr/bin are one on Debian.
    const QString executable = QFileInfo(executableDir).canonicalFilePath();
    if (!executable.isEmpty() && executable == QFileInfo(installedBinDir).canonicalFilePath())
        return userFolder;
    return executableDir;
}

FolderChoice ChooseProgramFolder(const QString &wanted, const QString &fallback, const QStringList &carried)
{
    const QString wantedPath = QDir::cleanPath(QFileInfo(wanted).absoluteFilePath());
    if (canWriteIn(wantedPath))
        return {wantedPath, QString(), QString(), QString()};
    const QString fallbackPath = QDir::cleanPath(QFileInfo(fallback).absoluteFilePath());
    const bool firstUse = !QFileInfo(fallbackPath).isDir();
    canWriteIn(fallbackPath);
    // Where the files are first: the status bar may show only the beginning.
    const char *const notice =
        QT_TRANSLATE_NOOP("ProgramFolder", "Soubory programu jsou ve složce %2, do složky %1 nelze zapisovat");
    const auto fillIn = [&](const QString &text) {
        return text.arg(QDir::toNativeSeparators(wantedPath), QDir::toNativeSeparators(fallbackPath));
    };
    FolderChoice choice{fallbackPath, fillIn(QCoreApplication::translate("ProgramFolder", notice)), QString(),
                        fillIn(QString::fromUtf8(notice))};

    // Each file on its own: one that cannot be copied does not keep the other from being copied.
    QStringList copied;
    QStringList failures;
    for (const QString &name : carried) {
        const QString from = QDir(wantedPath).filePath(name);
        const QString to = QDir(fallbackPath).filePath(name);
        if (QFileInfo::exists(to) || !QFileInfo::exists(from))
            continue;
        const FileResult result = copyFile(from, to);
        if (result.ok)
            copied << name;
        else
            failures << QCoreApplication::translate("ProgramFolder", "Soubor %1 nelze zkopírovat: %2")
                            .arg(name, result.error);
    }
    if (firstUse || !copied.isEmpty() || !failures.isEmpty()) {
        QStringList report{choice.notice + QLatin1Char('.')};
        if (!copied.isEmpty())
            report << QCoreApplication::translate("ProgramFolder", "Nastavení bylo převzato z původní složky (%1).")
                          .arg(copied.join(QStringLiteral(", ")));
        choice.setUpReport = (report + failures).join(QLatin1Char('\n'));
    }
    return choice;
}

void SetProgramFolder(const QString &path) { folder() = path; }
const QString &ProgramFolder() { return folder(); }

QString ProgramPath(const QString &name) { return QDir(folder()).filePath(name); }

QStringList RemoveUnfinishedSaves(const QStringList &programFiles)
{
    QStringList removed;
    const QDir programFolder(folder());
    removeUnfinishedSaves(
        programFolder, [&programFiles](const QString &target) { return programFiles.contains(target); }, removed);
    removeUnfinishedSaves(
        QDir(programFolder.filePath(QStringLiteral("DATA"))),
        [](const QString &target) {
            const QString suffix = QFileInfo(target).suffix().toLower();
            return suffix == QLatin1String("dat") || suffix == QLatin1String("csv");
        },
        removed);
    removeUnfinishedSaves(
        QDir(programFolder.filePath(QStringLiteral("SPEKTRA"))),
        [](const QString &target) { return QFileInfo(target).suffix().toLower() == QLatin1String("n42"); }, removed);
    return removed;
}

} // namespace pxr3
