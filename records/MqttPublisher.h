#pragma once
// Publishes each completed cycle to an MQTT broker through libmosquitto, inside the program's
// event loop: the client's socket is watched by notifiers, a timer does its keep-alive, and the
// one call that may block (the broker's name lookup and connect) runs on a worker thread.
// Every cycle goes through the queue on disk first and leaves it only when the broker has
// acknowledged it (QoS 1): a broker away, a network gone or a restart loses nothing, and the
// cycles go out in the order they were measured. The station's status is retained, with
// "offline" as the connection's last will, so a dead station shows as such.

#include "records/MqttOptions.h"
#include "records/PublishQueue.h"

#include <QObject>
#include <QTimer>
#include <deque>
#include <memory>

class QSocketNotifier;
struct mosquitto;

namespace pxr3 {

struct CycleReport;

// In the data folder: the cycles the broker has not taken yet, one JSON object a line.
constexpr const char *kPublishQueueFile = "MQTT_FRONTA.TXT";

class MqttPublisher : public QObject {
    Q_OBJECT
public:
    enum class Link { Connecting, Connected, Waiting, Closed };

    MqttPublisher(MqttOptions options, const QString &queuePath, QObject *parent = nullptr);
    ~MqttPublisher() override;

    // Takes up what an earlier run left in the queue and connects. The retained status tells
    // the set measured with and whether the simulator measures.
    void start(const QString &setName, bool simulated);
    void publish(const CycleReport &report);
    // Sends what waits, says "offline" and closes, within ten seconds at most; finished()
    // follows. What the broker has not taken stays in the queue for the next start.
    void finish();

    Link link() const { return link_; }
    int queued() const { return queue_.size(); }
    QString topic(const char *leaf) const;
    // For the status bar; `shown`: in the user's language, else Czech as logged.
    QString stateText(bool shown) const;

signals:
    void stateChanged();
    void notice(const QString &text); // Czech, as written to the log
    void finished();

private:
    struct Client;
    struct Pending {
        int mid = 0;
        bool acknowledged = false;
    };

    void connectToBroker();
    void onConnectAttempt(const std::shared_ptr<Client> &client, int rc, const QString &reason);
    void onConnack(int rc);
    void onAcknowledged(int mid);
    void afterLoop(int rc);
    void sendPending();
    void connectionLost(QString reason);
    void closeConnection();
    void scheduleQueueSave();
    void setLink(Link link);
    void sayOfflineWhenSent();
    void endFinishing();
    QString brokerName() const;

    static void connectCallback(::mosquitto *, void *self, int rc);
    static void disconnectCallback(::mosquitto *, void *self, int rc);
    static void publishCallback(::mosquitto *, void *self, int mid);

    MqttOptions options_;
    PublishQueue queue_;
    QByteArray onlineStatus_;
    std::shared_ptr<Client> client_;
    QSocketNotifier *readable_ = nullptr;
    QSocketNotifier *writable_ = nullptr;
    QTimer housekeeping_;
    QTimer reconnect_;
    QTimer queueSave_;
    QTimer finishDeadline_;
    std::deque<Pending> inFlight_; // the queue's first messages, sent on this connection
    Link link_ = Link::Closed;
    int pauseSeconds_ = 1;
    QString lostReason_;
    bool lost_ = false;
    bool outageNoted_ = false;
    bool finishing_ = false;
    bool done_ = false;
    int offlineMid_ = -1;
};

} // namespace pxr3
