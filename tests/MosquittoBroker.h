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

    quint16 port() const { return port_; }
    QString url() const; // as the program's --mqtt takes it
    QString error() const { return error_; }
    QString log() const; // the broker's log file, for a failure's message

private:
    bool acceptsConnections();

    QTemporaryDir folder_;
    QString config_;
    quint16 port_ = 0;
    QProcess process_;
    QByteArray output_;
    QString error_;
};

} // namespace pxr3::test
