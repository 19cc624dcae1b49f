#pragma once
// The options a user gives the program on the command line.

#include "records/MqttOptions.h"

#include <QString>
#include <QStringList>

namespace pxr3 {

struct CommandLine {
    QString dataDir;        // empty: the program's own folder
    bool simulate = false;  // the simulated analyser instead of a real one
    QString port;           // a serial port that reaches the analyser instead of USB
    bool debugLink = false; // every frame in and out on standard error
    QString language;       // "cs" or "en"; empty: the user's locale chooses
    bool headless = false;  // a series without a screen
    int cycles = -1;        // -1: the set's repetitions; 0: until stopped
    int seconds = -1;       // -1: the set's cycle time
    bool logData = false;   // the frames into DATA_LOG.TXT
    MqttOptions mqtt;       // the broker the completed cycles are published to
    bool showHelp = false;
    bool showVersion = false;
    QString error; // a bad command line, said to the user
    QString helpText;
};

CommandLine ParseCommandLine(const QStringList &arguments);

// The value of --lang (as "--lang X" or "--lang=X"), read before the rest so that the help is
// in that language; empty when not given.
QString LanguageOption(const QStringList &arguments);

} // namespace pxr3
