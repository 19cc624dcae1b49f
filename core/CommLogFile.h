#pragma once
// MCA_Com.TXT, the lasting record of the communication log: the log empties itself every few
// minutes of frames, the file keeps each of its entries once, in order, across the night.

#include <QByteArray>
#include <QObject>
#include <QString>

namespace pxr3 {

class CommLog;

class CommLogFile : public QObject {
    Q_OBJECT
public:
    static constexpr qint64 kDefaultBound = 10 * 1024 * 1024;

    // Keeps `log` in MCA_Com.TXT of the program folder; a file that would grow past `bound`
    // bytes becomes MCA_Com.1.TXT and a new one is begun.
    explicit CommLogFile(CommLog &log, qint64 bound = kDefaultBound);

    // Appends what the log holds that the file lacks. Cheap when nothing is new.
    void writeNew();
    // The same at the program's end, closing the last line; again it adds nothing.
    void finish();

private:
    void take(const QString &text);
    void onReplacing(const QString &current, const QString &next);
    void onEmptied(const QString &text);
    void flush();

    CommLog &log_;
    const qint64 bound_;
    qsizetype recorded_ = 0; // leading characters of the log's text already taken
    QByteArray pending_;     // taken, not yet in the file (a write failed)
    bool lineOpen_ = false;  // what was taken ends inside a line
    bool failureSaid_ = false;
};

// The keeper of the program's log, made on first use.
CommLogFile &commLogFile();
// Makes the keeper and has it finish when the application quits; harmless to call again.
void InstallCommLogFile();

} // namespace pxr3
