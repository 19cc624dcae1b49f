#include "core/CommLogFile.h"

#include "core/CommLog.h"
#include "core/ProgramFolder.h"
#include "core/TextFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace pxr3 {

namespace {
const QByteArray kCrLf = QByteArrayLiteral("\r\n");
// What a file that cannot be written for days may hold back; beyond it the oldest goes.
constexpr qsizetype kMaxPending = CommLogFile::kDefaultBound;

qsizetype CommonPrefix(const QString &a, const QString &b)
{
    const qsizetype n = std::min(a.size(), b.size());
    qsizetype i = 0;
    while (i < n && a[i] == b[i])
        ++i;
    return i;
}

qsizetype CommonSuffix(const QString &a, const QString &b, qsizetype limit)
{
    qsizetype i = 0;
    while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i])
        ++i;
    return i;
}
} // namespace

CommLogFile::CommLogFile(CommLog &log, qint64 bound) : log_(log), bound_(bound)
{
    connect(&log, &CommLog::replacing, this, &CommLogFile::onReplacing);
    connect(&log, &CommLog::emptied, this, &CommLogFile::onEmptied);
}

void CommLogFile::writeNew()
{
    take(log_.text());
    flush();
}

void CommLogFile::finish()
{
    take(log_.text());
    if (lineOpen_) {
        pending_ += kCrLf;
        lineOpen_ = false;
    }
    flush();
}

void CommLogFile::take(const QString &text)
{
    if (text.size() > recorded_) {
        // Reply bytes in the log are kept as the bytes they are.
        const QByteArray bytes = EncodeKeepingBytes(text.mid(recorded_));
        pending_ += bytes;
        lineOpen_ = !bytes.endsWith(kCrLf);
        if (pending_.size() > kMaxPending)
            pending_.remove(0, pending_.size() - kMaxPending);
    }
    recorded_ = text.size();
}

void CommLogFile::onReplacing(const QString &current, const QString &next)
{
    // An edit after the recorded part changes only what is still to be recorded. One that
    // reaches into it is not recorded again: the position follows the text behind the edit,
    // or the edit's end when the edit runs past it.
    const qsizetype prefix = CommonPrefix(current, next);
    if (recorded_ <= prefix)
        return;
    const qsizetype suffix = CommonSuffix(current, next, std::min(current.size(), next.size()) - prefix);
    const qsizetype editEnd = current.size() - suffix;
    recorded_ = editEnd <= recorded_ ? recorded_ + next.size() - current.size() : next.size() - suffix;
}

void CommLogFile::onEmptied(const QString &text)
{
    take(text);
    recorded_ = 0;
    flush();
}

void CommLogFile::flush()
{
    if (pending_.isEmpty())
        return;
    const QString path = ProgramPath(QStringLiteral("MCA_Com.TXT"));
    const QFileInfo file(path);
    if (file.size() > 0 && file.size() + pending_.size() > bound_) {
        const QString previous = ProgramPath(QStringLiteral("MCA_Com.1.TXT"));
        QFile::remove(previous);
        QFile::rename(path, previous);
    }
    const FileResult written = AppendBytes(path, pending_);
    if (written.ok) {
        pending_.clear();
        failureSaid_ = false;
        return;
    }
    // Said once until a write succeeds again; set first, as the entry may empty the log and
    // bring this back here.
    if (failureSaid_)
        return;
    failureSaid_ = true;
    log_.event(QStringLiteral("MCA_Com.TXT nelze zapsat: ") + written.error);
}

CommLogFile &commLogFile()
{
    static CommLogFile keeper(commLog());
    return keeper;
}

void InstallCommLogFile()
{
    CommLogFile &keeper = commLogFile();
    if (QCoreApplication *app = QCoreApplication::instance())
        QObject::connect(app, &QCoreApplication::aboutToQuit, &keeper, &CommLogFile::finish, Qt::UniqueConnection);
}

} // namespace pxr3
