#include "records/MqttPublisher.h"

#include "core/CommLog.h"
#include "records/CycleMessage.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <mosquitto.h>
#include <unistd.h>

namespace pxr3 {

namespace {

constexpr int kKeepAliveSeconds = 30;
constexpr int kHousekeepingMs = 5'000; // keep-alive pings and their timeout
constexpr int kLongestPauseSeconds = 60;
constexpr int kInFlight = 10;             // sent and not yet acknowledged, on one connection
constexpr int kQueueSaveMs = 1'000;       // acknowledgements coalesced into one write of the queue
constexpr int kFinishDeadlineMs = 10'000; // the last cycles' chance to reach the broker at the end

void InitialiseLibrary()
{
    static const bool done = [] {
        mosquitto_lib_init();
        return true;
    }();
    (void)done;
}

} // namespace

struct MqttPublisher::Client {
    mosquitto *handle = nullptr;
    ~Client()
    {
        if (handle)
            mosquitto_destroy(handle);
    }
};

MqttPublisher::MqttPublisher(MqttOptions options, const QString &queuePath, QObject *parent)
    : QObject(parent), options_(std::move(options)), queue_(queuePath)
{
    InitialiseLibrary();
    housekeeping_.setInterval(kHousekeepingMs);
    connect(&housekeeping_, &QTimer::timeout, this, [this] {
        if (client_)
            afterLoop(mosquitto_loop_misc(client_->handle));
    });
    reconnect_.setSingleShot(true);
    connect(&reconnect_, &QTimer::timeout, this, &MqttPublisher::connectToBroker);
    queueSave_.setSingleShot(true);
    queueSave_.setInterval(kQueueSaveMs);
    connect(&queueSave_, &QTimer::timeout, this, [this] { queue_.save(); });
    finishDeadline_.setSingleShot(true);
    connect(&finishDeadline_, &QTimer::timeout, this, &MqttPublisher::endFinishing);
}

MqttPublisher::~MqttPublisher()
{
    closeConnection();
    if (queue_.dirty())
        queue_.save();
}

QString MqttPublisher::topic(const char *leaf) const
{
    return QStringLiteral("pxr3/%1/%2").arg(options_.station, QLatin1String(leaf));
}

QString MqttPublisher::brokerName() const { return QStringLiteral("%1:%2").arg(options_.host).arg(options_.port); }

void MqttPublisher::start(const QString &setName, bool simulated)
{
    onlineStatus_ = StationStatusMessage(options_.station, true, setName, simulated);
    queue_.load();
    connectToBroker();
}

void MqttPublisher::publish(const CycleReport &report)
{
    queue_.push(CycleMessage(report, options_.station));
    emit stateChanged();
    if (link_ == Link::Connected) {
        sendPending();
        afterLoop(MOSQ_ERR_SUCCESS);
    }
}

// A fresh client for each connection: what the last one had in flight is sent again from the
// queue, once, and not also by the library.
void MqttPublisher::connectToBroker()
{
    closeConnection();
    setLink(Link::Connecting);
    auto client = std::make_shared<Client>();
    const QByteArray id = QStringLiteral("pxr3-%1-%2").arg(options_.station).arg(::getpid()).toUtf8();
    client->handle = mosquitto_new(id.constData(), true, this);
    if (!client->handle) {
        connectionLost(QStringLiteral("klienta MQTT nelze vytvořit"));
        return;
    }
    mosquitto *m = client->handle;
    mosquitto_int_option(m, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m, &MqttPublisher::connectCallback);
    mosquitto_disconnect_callback_set(m, &MqttPublisher::disconnectCallback);
    mosquitto_publish_callback_set(m, &MqttPublisher::publishCallback);
    const QByteArray statusTopic = topic("status").toUtf8();
    const QByteArray offline = StationStatusMessage(options_.station, false);
    mosquitto_will_set(m, statusTopic.constData(), offline.size(), offline.constData(), 1, true);
    if (!options_.user.isEmpty())
        mosquitto_username_pw_set(m, options_.user.toUtf8().constData(),
                                  options_.password.isEmpty() ? nullptr : options_.password.toUtf8().constData());
    if (options_.tls) {
        const QByteArray caFile = options_.caFile.toLocal8Bit();
        const int rc = mosquitto_tls_set(m, caFile.isEmpty() ? nullptr : caFile.constData(),
                                         caFile.isEmpty() ? "/etc/ssl/certs" : nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            connectionLost(QStringLiteral("TLS: %1").arg(QString::fromUtf8(mosquitto_strerror(rc))));
            return;
        }
    }
    client_ = client;
    // The name lookup and the connect may take long on a bad network: not on this thread.
    const QByteArray host = options_.host.toUtf8();
    const int port = options_.port;
    auto outcome = std::make_shared<std::pair<int, QString>>();
    QThread *worker = QThread::create([client, host, port, outcome] {
        const int rc = mosquitto_connect(client->handle, host.constData(), port, kKeepAliveSeconds);
        outcome->first = rc;
        if (rc == MOSQ_ERR_ERRNO)
            outcome->second = QString::fromLocal8Bit(std::strerror(errno));
        else if (rc != MOSQ_ERR_SUCCESS)
            outcome->second = QString::fromUtf8(mosquitto_strerror(rc));
    });
    connect(worker, &QThread::finished, worker, &QObject::deleteLater);
    connect(worker, &QThread::finished, this,
            [this, client, outcome] { onConnectAttempt(client, outcome->first, outcome->second); });
    worker->start();
}

void MqttPublisher::onConnectAttempt(const std::shared_ptr<Client> &client, int rc, const QString &reason)
{
    if (client != client_)
        return; // given up meanwhile
    if (rc != MOSQ_ERR_SUCCESS) {
        connectionLost(reason);
        return;
    }
    const int fd = mosquitto_socket(client_->handle);
    readable_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(readable_, &QSocketNotifier::activated, this,
            [this] { afterLoop(mosquitto_loop_read(client_->handle, 1)); });
    writable_ = new QSocketNotifier(fd, QSocketNotifier::Write, this);
    connect(writable_, &QSocketNotifier::activated, this,
            [this] { afterLoop(mosquitto_loop_write(client_->handle, 1)); });
    housekeeping_.start();
    afterLoop(MOSQ_ERR_SUCCESS);
}

void MqttPublisher::connectCallback(mosquitto *, void *self, int rc)
{
    static_cast<MqttPublisher *>(self)->onConnack(rc);
}

void MqttPublisher::disconnectCallback(mosquitto *, void *self, int rc)
{
    auto *publisher = static_cast<MqttPublisher *>(self);
    publisher->lost_ = true;
    if (publisher->lostReason_.isEmpty())
        publisher->lostReason_ = rc == 0 ? QStringLiteral("odpojeno") : QString::fromUtf8(mosquitto_strerror(rc));
}

void MqttPublisher::publishCallback(mosquitto *, void *self, int mid)
{
    static_cast<MqttPublisher *>(self)->onAcknowledged(mid);
}

void MqttPublisher::onConnack(int rc)
{
    if (rc != 0) {
        lost_ = true;
        lostReason_ = QString::fromUtf8(mosquitto_connack_string(rc));
        return;
    }
    pauseSeconds_ = 1;
    QString text = QStringLiteral("MQTT: připojeno k %1 jako stanice %2").arg(brokerName(), options_.station);
    if (!queue_.empty())
        text += QStringLiteral(", ve frontě %1 cyklů").arg(queue_.size());
    commLog().event(text);
    emit notice(text);
    outageNoted_ = false;
    setLink(Link::Connected);
    const QByteArray statusTopic = topic("status").toUtf8();
    mosquitto_publish(client_->handle, nullptr, statusTopic.constData(), onlineStatus_.size(),
                      onlineStatus_.constData(), 1, true);
    inFlight_.clear();
    sendPending();
    sayOfflineWhenSent();
}

void MqttPublisher::sendPending()
{
    const QByteArray cycleTopic = topic("cycle").toUtf8();
    const int wanted = std::min(kInFlight, queue_.size());
    while (link_ == Link::Connected && !lost_ && int(inFlight_.size()) < wanted) {
        const QByteArray &message = queue_.at(int(inFlight_.size()));
        int mid = 0;
        const int rc = mosquitto_publish(client_->handle, &mid, cycleTopic.constData(), message.size(),
                                         message.constData(), 1, false);
        if (rc != MOSQ_ERR_SUCCESS) {
            lost_ = true;
            lostReason_ = QString::fromUtf8(mosquitto_strerror(rc));
            return;
        }
        inFlight_.push_back({mid, false});
    }
}

void MqttPublisher::onAcknowledged(int mid)
{
    if (mid == offlineMid_) {
        mosquitto_disconnect(client_->handle);
        QTimer::singleShot(0, this, &MqttPublisher::endFinishing);
        return;
    }
    const auto sent =
        std::find_if(inFlight_.begin(), inFlight_.end(), [mid](const Pending &p) { return p.mid == mid; });
    if (sent == inFlight_.end())
        return; // the status
    sent->acknowledged = true;
    int taken = 0;
    while (!inFlight_.empty() && inFlight_.front().acknowledged) {
        inFlight_.pop_front();
        ++taken;
    }
    if (taken == 0)
        return;
    queue_.dropFront(taken);
    scheduleQueueSave();
    emit stateChanged();
    sendPending();
    sayOfflineWhenSent();
}

void MqttPublisher::scheduleQueueSave()
{
    if (queue_.empty()) {
        queueSave_.stop();
        queue_.save();
    } else if (!queueSave_.isActive()) {
        queueSave_.start();
    }
}

// After every call into the library: a connection it found lost is closed here, outside its
// callbacks; otherwise the socket is watched for writing only while there is something to write.
void MqttPublisher::afterLoop(int rc)
{
    if (!client_)
        return;
    if (rc != MOSQ_ERR_SUCCESS && !lost_) {
        lost_ = true;
        lostReason_ = rc == MOSQ_ERR_ERRNO ? QString::fromLocal8Bit(std::strerror(errno))
                                           : QString::fromUtf8(mosquitto_strerror(rc));
    }
    if (lost_) {
        connectionLost(lostReason_);
        return;
    }
    if (writable_)
        writable_->setEnabled(mosquitto_want_write(client_->handle));
}

void MqttPublisher::connectionLost(QString reason) // a copy: the member it may come from is cleared
{
    closeConnection();
    if (finishing_) {
        endFinishing();
        return;
    }
    // Told once an outage, not at every try of a night without the broker.
    if (!outageNoted_) {
        const QString text =
            QStringLiteral("MQTT: broker %1 nedostupný (%2), cykly čekají ve frontě a odejdou po spojení")
                .arg(brokerName(), reason);
        commLog().event(text);
        emit notice(text);
        outageNoted_ = true;
    }
    setLink(Link::Waiting);
    reconnect_.start(pauseSeconds_ * 1000);
    pauseSeconds_ = std::min(pauseSeconds_ * 2, kLongestPauseSeconds);
}

void MqttPublisher::closeConnection()
{
    housekeeping_.stop();
    delete readable_;
    readable_ = nullptr;
    delete writable_;
    writable_ = nullptr;
    client_.reset();
    inFlight_.clear();
    lost_ = false;
    lostReason_.clear();
}

void MqttPublisher::finish()
{
    finishing_ = true;
    finishDeadline_.start(kFinishDeadlineMs);
    if (link_ == Link::Connected) {
        sayOfflineWhenSent();
        afterLoop(MOSQ_ERR_SUCCESS);
    } else if (queue_.empty()) {
        closeConnection();
        QTimer::singleShot(0, this, &MqttPublisher::endFinishing);
    } else if (link_ == Link::Waiting) {
        // Cycles wait for the broker: one more try at once rather than after the pause.
        reconnect_.stop();
        connectToBroker();
    }
}

// "offline" last: a subscriber sees every cycle of the station before it.
void MqttPublisher::sayOfflineWhenSent()
{
    if (!finishing_ || offlineMid_ >= 0 || !queue_.empty() || !client_)
        return;
    const QByteArray statusTopic = topic("status").toUtf8();
    const QByteArray offline = StationStatusMessage(options_.station, false);
    mosquitto_publish(client_->handle, &offlineMid_, statusTopic.constData(), offline.size(), offline.constData(), 1,
                      true);
}

void MqttPublisher::endFinishing()
{
    if (done_)
        return;
    done_ = true;
    if (client_) {
        mosquitto_loop_write(client_->handle, 1); // the DISCONNECT, when it fits at once
        closeConnection();
    }
    finishDeadline_.stop();
    queueSave_.stop();
    queue_.save();
    setLink(Link::Closed);
    emit finished();
}

void MqttPublisher::setLink(Link link)
{
    if (link_ == link)
        return;
    link_ = link;
    emit stateChanged();
}

QString MqttPublisher::stateText(bool shown) const
{
    const auto text = [shown](const char *source) {
        return shown ? QCoreApplication::translate("MqttPublisher", source) : QString::fromUtf8(source);
    };
    QString result;
    switch (link_) {
    case Link::Connected: result = text(QT_TRANSLATE_NOOP("MqttPublisher", "MQTT: připojeno")); break;
    case Link::Connecting: result = text(QT_TRANSLATE_NOOP("MqttPublisher", "MQTT: připojuji…")); break;
    case Link::Waiting: result = text(QT_TRANSLATE_NOOP("MqttPublisher", "MQTT: nedostupný")); break;
    case Link::Closed: result = text(QT_TRANSLATE_NOOP("MqttPublisher", "MQTT: odpojeno")); break;
    }
    if (!queue_.empty())
        result += text(QT_TRANSLATE_NOOP("MqttPublisher", ", ve frontě %1")).arg(queue_.size());
    return result;
}

} // namespace pxr3
