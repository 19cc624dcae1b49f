#include "records/PublishQueue.h"

#include "core/CommLog.h"
#include "core/TextFile.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <unistd.h>

namespace pxr3 {

PublishQueue::PublishQueue(QString path, int capacity) : path_(std::move(path)), capacity_(capacity) { }

void PublishQueue::load()
{
    messages_.clear();
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return; // nothing left over
    int damaged = 0;
    while (!file.atEnd()) {
        QByteArray line = file.readLine();
        if (line.endsWith('\n'))
            line.chop(1);
        if (line.isEmpty())
            continue;
        if (QJsonDocument::fromJson(line).isObject())
            messages_.push_back(line);
        else
            ++damaged;
    }
    if (damaged > 0) {
        commLog().event(QStringLiteral("MQTT: %1 poškozených řádků ve frontě %2 vynecháno")
                            .arg(damaged)
                            .arg(QFileInfo(path_).fileName()));
        dirty_ = true;
    }
    while (size() > capacity_)
        dropFront(1);
    if (!messages_.empty())
        commLog().event(QStringLiteral("MQTT: ve frontě čeká %1 cyklů z minula").arg(size()));
}

void PublishQueue::push(const QByteArray &message)
{
    if (size() >= capacity_) {
        commLog().event(QStringLiteral("MQTT: fronta plná (%1 cyklů), nejstarší zahozen: %2")
                            .arg(capacity_)
                            .arg(QString::fromUtf8(messages_.front())));
        messages_.pop_front();
        dirty_ = true;
    }
    messages_.push_back(message);
    if (dirty_) {
        save();
        return;
    }
    QFile file(path_);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        noteFileFailure(QStringLiteral("otevřít"), file.errorString());
        return;
    }
    // A partial line from a cut-off write is dropped at the next load; the rows are in the autosave.
    if (file.write(message + '\n') != message.size() + 1) {
        noteFileFailure(QStringLiteral("zapsat"), file.errorString());
        dirty_ = true;
        return;
    }
    ::fdatasync(file.handle());
    failureNoted_ = false;
}

void PublishQueue::dropFront(int count)
{
    for (int i = 0; i < count && !messages_.empty(); ++i)
        messages_.pop_front();
    dirty_ = true;
}

bool PublishQueue::save()
{
    if (messages_.empty()) {
        if (QFile::exists(path_) && !QFile::remove(path_)) {
            noteFileFailure(QStringLiteral("vyprázdnit"), QStringLiteral("soubor nelze odstranit"));
            return false;
        }
        dirty_ = false;
        return true;
    }
    QByteArray bytes;
    for (const QByteArray &message : messages_)
        bytes += message + '\n';
    const FileResult saved = WriteFileAtomically(path_, bytes);
    if (!saved.ok) {
        noteFileFailure(QStringLiteral("zapsat"), saved.error);
        return false;
    }
    dirty_ = false;
    failureNoted_ = false;
    return true;
}

// Once until it works again: a full disk must not fill the log as well.
void PublishQueue::noteFileFailure(const QString &what, const QString &error)
{
    if (failureNoted_)
        return;
    failureNoted_ = true;
    commLog().event(QStringLiteral("MQTT: frontu %1 nelze %2: %3; cykly čekají jen v paměti")
                        .arg(QFileInfo(path_).fileName(), what, error));
}

} // namespace pxr3
