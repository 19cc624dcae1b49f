#pragma once
// A Mosquitto broker of the test's own on 127.0.0.1, on a port nobody else uses, with its
// configuration, log and saved sessions in a temporary folder. Stopped and started again it keeps
// its port, its retained messages and the QoS 1 messages queued for persistent sessions.

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace pxr3::test {

class MosquittoBroker {
public:
    MosquittoBroker();
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker &) = delete;
    MosquittoBroker &operator=(const MosquittoBroker &) = delete;

    // Returns once the port accepts connections; false, with error(), when the broker does not.
    bool start();
    // SIGTERM: the broker saves its sessions before it exits.
    bool stop();

    // A second listener, over TLS, whose certificate for "localhost" a test authority made here
    // signed; before start(). False, with error(), when openssl cannot make them.
    bool addTlsListener();
    // A certificate authority of its own that signed nothing of the broker's.
    QString otherAuthority();

    quint16 port() const { return port_; }
    quint16 tlsPort() const { return tlsPort_; }
    QString tlsUrl() const { return QStringLiteral("mqtts://localhost:%1").arg(tlsPort_); }
    QString authority() const { return folder_.filePath(QStringLiteral("ca.pem")); }
    QString url() const; // as the program's --mqtt takes it
    QString error() const { return error_; }
    QString log() const; // the broker's log file, for a failure's message

private:
    bool acceptsConnections();
    bool openssl(const QStringList &arguments);

    QTemporaryDir folder_;
    QString config_;
    quint16 port_ = 0;
    quint16 tlsPort_ = 0;
    QProcess process_;
    QByteArray output_;
    QString error_;
};

} // namespace pxr3::test
