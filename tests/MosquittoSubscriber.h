#pragma once
// mosquitto_sub on the test's broker: every message on a topic filter with its retain flag, in
// the order of arrival. Given a client id, its session is persistent: the broker queues QoS 1
// messages for it while it is away, across a restart of the broker too, and mosquitto_sub
// connects again by itself.

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>

namespace pxr3::test {

struct MqttMessage {
    QString topic;
    QByteArray payload;
    bool retained = false;
};

class MosquittoSubscriber {
public:
    // Without `persistentId` the session is a clean one under a name of its own.
    MosquittoSubscriber(quint16 port, const QString &topicFilter, const QString &persistentId = QString());
    ~MosquittoSubscriber();
    MosquittoSubscriber(const MosquittoSubscriber &) = delete;
    MosquittoSubscriber &operator=(const MosquittoSubscriber &) = delete;

    // Returns once the subscription delivers (a retained marker has come); false, with error(), otherwise.
    bool start();
    // Returns once everything the broker received before this call for this subscriber has
    // arrived: a QoS 1 marker published now comes after it.
    bool flush();

    QList<MqttMessage> messages(const QString &topic) const;
    QString error() const { return error_; }

private:
    bool publishMarker(const QByteArray &payload, bool retain);
    bool waitForMarker(const QByteArray &marker);
    void readLines();

    quint16 port_;
    QString filter_;
    QString clientId_;
    bool persistent_;
    QString markerTopic_;
    QProcess process_;
    QByteArray partialLine_;
    QList<MqttMessage> messages_;
    QList<QByteArray> markers_;
    int flushes_ = 0;
    QString error_;
};

} // namespace pxr3::test
