#include "fuzz/FuzzSupport.h"

#include "core/ProgramFolder.h"
#include "core/UserMessages.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace pxr3::fuzz {

void SetUpProgram(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    static QTemporaryDir folder;
    if (!folder.isValid())
        Broken("no scratch folder", folder.errorString());
    SetProgramFolder(folder.path());
    // A failed read is shown as a message box; millions of them are not worth printing.
    SetMessageSink([](const UserMessage &) { return false; });
}

QString WriteProgramFile(const QString &name, const uint8_t *data, std::size_t size)
{
    const QString path = ProgramPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char *>(data), qint64(size)) != qint64(size))
        Broken("cannot write the input file", file.errorString());
    return path;
}

void Broken(const char *what, const QString &detail)
{
    std::fprintf(stderr, "FUZZ PROPERTY BROKEN: %s %s\n", what, qPrintable(detail));
    std::abort();
}

} // namespace pxr3::fuzz
