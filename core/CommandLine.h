#pragma once
// The options a user gives the program on the command line.

#include <QString>
#include <QStringList>

namespace pxr3 {

struct CommandLine {
    QString dataDir; // empty: the program's own folder
    bool showHelp = false;
    bool showVersion = false;
    QString error; // a bad command line, said to the user
    QString helpText;
};

CommandLine ParseCommandLine(const QStringList &arguments);

} // namespace pxr3
