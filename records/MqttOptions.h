#pragma once
// Where and as whom the results are published: the broker's address from an mqtt:// or mqtts://
// URL, the user and the password read from a file, the CA that vouches for the broker, the
// station's name in the topics.

#include <QString>

namespace pxr3 {

struct MqttOptions {
    QString host; // empty: nothing is published
    int port = 1883;
    bool tls = false;
    QString caFile; // empty with TLS: the system's certificate authorities
    QString user;
    QString password;
    QString station;

    bool enabled() const { return !host.isEmpty(); }
};

// Fills host, port and tls from "mqtt://HOST[:PORT]" or "mqtts://HOST[:PORT]"; else a
// reason why not, in the language installed.
QString ReadBrokerUrl(const QString &url, MqttOptions &options);

// The first line of the file, without its line end; else the reason why not. A password
// kept in a file stays out of the process list and the shell's history.
QString ReadPasswordFile(const QString &path, QString &password);

// A name as a topic level may carry it: '/', '+', '#' and control characters become '_'.
QString StationTopicName(const QString &name);

} // namespace pxr3
