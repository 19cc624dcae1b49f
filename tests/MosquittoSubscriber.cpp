#include "MosquittoSubscriber.h"

#include "EventWait.h"

#include <QUuid>

namespace pxr3::test {

namespace {

const QString kSubscriber = QStringLiteral("/usr/bin/mosquitto_sub");
const QString kPublisher = QStringLiteral("/usr/bin/mosquitto_pub");
constexpr std::chrono::seconds kLimit(20);
const QByteArray kSubscribed = "subscribed";

} // namespace

MosquittoSubscriber::MosquittoSubscriber(quint16 port, const QString &topicFilter, const QString &persistentId)
    : port_(port),
      filter_(topicFilter),
      clientId_(persistentId.isEmpty() ? QStringLiteral("sub-") + QUuid::createUuid().toString(QUuid::Id128)
                                       : persistentId),
      persistent_(!persistentId.isEmpty()),
      markerTopic_(QStringLiteral("harness/%1/marker").arg(clientId_))
{
    QObject::connect(&process_, &QProcess::readyReadStandardOutput, [this] { readLines(); });
}

MosquittoSubscriber::~MosquittoSubscriber()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished())
        process_.kill();
}

// mosquitto_sub flushes its output after a message only: a retained marker, given to it as it
// subscribes, says that it did. It is cleared again so that a reconnection does not bring it back.
bool MosquittoSubscriber::start()
{
    if (!publishMarker(kSubscribed, true))
        return false;
    // -F puts the retain flag, the topic and the payload on one line.
    QStringList arguments{QStringLiteral("-h"), QStringLiteral("127.0.0.1"),
                          QStringLiteral("-p"), QString::number(port_),
                          QStringLiteral("-i"), clientId_,
                          QStringLiteral("-q"), QStringLiteral("1"),
                          QStringLiteral("-t"), filter_,
                          QStringLiteral("-t"), markerTopic_,
                          QStringLiteral("-F"), QStringLiteral("%r %t %p")};
    if (persistent_)
        arguments << QStringLiteral("-c");
    process_.start(kSubscriber, arguments);
    if (!process_.waitForStarted()) {
        error_ = QStringLiteral("%1 cannot be started: %2").arg(kSubscriber, process_.errorString());
        return false;
    }
    if (!waitForMarker(kSubscribed))
        return false;
    return publishMarker(QByteArray(), true);
}

bool MosquittoSubscriber::flush()
{
    const QByteArray marker = QByteArray::number(++flushes_);
    return publishMarker(marker, false) && waitForMarker(marker);
}

bool MosquittoSubscriber::publishMarker(const QByteArray &payload, bool retain)
{
    QStringList arguments{
        QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"), QString::number(port_),
        QStringLiteral("-q"), QStringLiteral("1"),         QStringLiteral("-t"), markerTopic_};
    // An empty retained message clears the retained one.
    arguments << (payload.isEmpty() ? QStringList{QStringLiteral("-n")}
                                    : QStringList{QStringLiteral("-m"), QString::fromLatin1(payload)});
    if (retain)
        arguments << QStringLiteral("-r");
    QProcess publisher;
    publisher.start(kPublisher, arguments);
    if (!publisher.waitForFinished() || publisher.exitStatus() != QProcess::NormalExit || publisher.exitCode() != 0) {
        error_ = QStringLiteral("%1 could not publish: %2 %3")
                     .arg(kPublisher, publisher.errorString(), QString::fromUtf8(publisher.readAllStandardError()));
        return false;
    }
    return true;
}

bool MosquittoSubscriber::waitForMarker(const QByteArray &marker)
{
    if (WaitFor([this, &marker] { return markers_.contains(marker) || process_.state() == QProcess::NotRunning; },
                kLimit) &&
        markers_.contains(marker))
        return true;
    error_ = QStringLiteral("%1 as %2 did not receive its marker \"%3\": %4")
                 .arg(kSubscriber, clientId_, QString::fromLatin1(marker),
                      QString::fromUtf8(process_.readAllStandardError()));
    return false;
}

QList<MqttMessage> MosquittoSubscriber::messages(const QString &topic) const
{
    QList<MqttMessage> on;
    for (const MqttMessage &m : messages_)
        if (m.topic == topic)
            on << m;
    return on;
}

// A message comes as "RETAIN TOPIC PAYLOAD" on a line.
void MosquittoSubscriber::readLines()
{
    partialLine_ += process_.readAllStandardOutput();
    qsizetype end;
    while ((end = partialLine_.indexOf('\n')) >= 0) {
        const QByteArray line = partialLine_.left(end);
        partialLine_.remove(0, end + 1);
        const qsizetype topicEnd = line.indexOf(' ', 2);
        if (line.size() < 3 || line[1] != ' ' || topicEnd < 0)
            continue;
        const QString topic = QString::fromUtf8(line.mid(2, topicEnd - 2));
        const QByteArray payload = line.mid(topicEnd + 1);
        if (topic == markerTopic_)
            markers_ << payload;
        else
            messages_.append({topic, payload, line[0] == '1'});
    }
}

} // namespace pxr3::test
