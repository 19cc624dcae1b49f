#include "MosquittoBroker.h"

#include "EventWait.h"

#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <csignal>
#include <pwd.h>
#include <unistd.h>

namespace pxr3::test {

namespace {

const QString kBroker = QStringLiteral("/usr/sbin/mosquitto");
constexpr std::chrono::seconds kStartLimit(10);

// A port free at this moment: the system's choice for a listener of ours, closed again.
quint16 FreePort()
{
    QTcpServer server;
    return server.listen(QHostAddress::LocalHost, 0) ? server.serverPort() : 0;
}

// Started as root, the broker would switch to the "mosquitto" user, who cannot write in our folder.
QString CurrentUser()
{
    const passwd *user = ::getpwuid(::geteuid());
    return user ? QString::fromLocal8Bit(user->pw_name) : QString();
}

} // namespace

MosquittoBroker::MosquittoBroker() : config_(folder_.filePath(QStringLiteral("mosquitto.conf"))), port_(FreePort())
{
    QFile config(config_);
    if (!folder_.isValid() || port_ == 0 || !config.open(QIODevice::WriteOnly)) {
        error_ = QStringLiteral("no temporary folder or free port for the broker");
        return;
    }
    QString text = QStringLiteral("listener %1 127.0.0.1\n"
                                  "allow_anonymous true\n"
                                  "persistence true\n"
                                  "persistence_location %2/\n"
                                  "log_dest file %3\n"
                                  "log_dest stderr\n"
                                  "log_type all\n")
                       .arg(port_)
                       .arg(folder_.path(), folder_.filePath(QStringLiteral("mosquitto.log")));
    if (const QString user = CurrentUser(); !user.isEmpty())
        text += QStringLiteral("user %1\n").arg(user);
    config.write(text.toUtf8());
    process_.setProcessChannelMode(QProcess::MergedChannels);
    QObject::connect(&process_, &QProcess::readyRead, [this] { output_ += process_.readAll(); });
}

MosquittoBroker::~MosquittoBroker()
{
    if (!stop()) {
        process_.kill();
        process_.waitForFinished();
    }
}

QString MosquittoBroker::url() const { return QStringLiteral("mqtt://127.0.0.1:%1").arg(port_); }

QString MosquittoBroker::log() const
{
    QFile file(folder_.filePath(QStringLiteral("mosquitto.log")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool MosquittoBroker::start()
{
    if (port_ == 0)
        return false;
    if (process_.state() != QProcess::NotRunning)
        return true;
    output_.clear();
    process_.start(kBroker, {QStringLiteral("-c"), config_});
    if (!process_.waitForStarted()) {
        error_ = QStringLiteral("%1 cannot be started: %2").arg(kBroker, process_.errorString());
        return false;
    }
    // The broker says it runs once its listener is open; it exits when the port cannot be had.
    WaitFor([this] { return output_.contains(" running") || process_.state() == QProcess::NotRunning; }, kStartLimit);
    if (!acceptsConnections()) {
        error_ = QStringLiteral("%1 does not listen on 127.0.0.1:%2: %3")
                     .arg(kBroker)
                     .arg(port_)
                     .arg(QString::fromUtf8(output_));
        stop();
        return false;
    }
    return true;
}

bool MosquittoBroker::openssl(const QStringList &arguments)
{
    QProcess tool;
    tool.setWorkingDirectory(folder_.path());
    tool.setProcessChannelMode(QProcess::MergedChannels);
    tool.start(QStringLiteral("openssl"), arguments);
    if (tool.waitForFinished() && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0)
        return true;
    error_ = QStringLiteral("openssl %1: %2 %3")
                 .arg(arguments.join(' '), tool.errorString(), QString::fromUtf8(tool.readAll()));
    return false;
}

// Elliptic-curve keys: made at once, unlike RSA ones.
static QStringList NewKey(const QString &key)
{
    return {QStringLiteral("-newkey"),
            QStringLiteral("ec"),
            QStringLiteral("-pkeyopt"),
            QStringLiteral("ec_paramgen_curve:prime256v1"),
            QStringLiteral("-nodes"),
            QStringLiteral("-keyout"),
            key};
}

QString MosquittoBroker::otherAuthority()
{
    const QStringList made =
        QStringList{QStringLiteral("req"),  QStringLiteral("-x509"),       QStringLiteral("-days"),
                    QStringLiteral("2"),    QStringLiteral("-subj"),       QStringLiteral("/CN=other-ca"),
                    QStringLiteral("-out"), QStringLiteral("other-ca.pem")} +
        NewKey(QStringLiteral("other-ca.key"));
    return openssl(made) ? folder_.filePath(QStringLiteral("other-ca.pem")) : QString();
}

bool MosquittoBroker::addTlsListener()
{
    QFile extensions(folder_.filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly))
        return false;
    extensions.write("subjectAltName=DNS:localhost,IP:127.0.0.1\n");
    extensions.close();
    const bool made =
        openssl(QStringList{QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-days"),
                            QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=pxr3-test-ca"),
                            QStringLiteral("-out"), QStringLiteral("ca.pem")} +
                NewKey(QStringLiteral("ca.key"))) &&
        openssl(QStringList{QStringLiteral("req"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost"),
                            QStringLiteral("-out"), QStringLiteral("server.csr")} +
                NewKey(QStringLiteral("server.key"))) &&
        openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), QStringLiteral("server.csr"),
                 QStringLiteral("-CA"), QStringLiteral("ca.pem"), QStringLiteral("-CAkey"), QStringLiteral("ca.key"),
                 QStringLiteral("-CAcreateserial"), QStringLiteral("-days"), QStringLiteral("2"),
                 QStringLiteral("-extfile"), QStringLiteral("server.ext"), QStringLiteral("-out"),
                 QStringLiteral("server.pem")});
    tlsPort_ = FreePort();
    QFile config(config_);
    if (!made || tlsPort_ == 0 || !config.open(QIODevice::Append))
        return false;
    config.write(QStringLiteral("listener %1 127.0.0.1\ncafile %2\ncertfile %3\nkeyfile %4\n")
                     .arg(tlsPort_)
                     .arg(authority(), folder_.filePath(QStringLiteral("server.pem")),
                          folder_.filePath(QStringLiteral("server.key")))
                     .toUtf8());
    return true;
}

bool MosquittoBroker::acceptsConnections()
{
    if (process_.state() != QProcess::Running)
        return false;
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port_);
    return socket.waitForConnected(int(std::chrono::milliseconds(kStartLimit).count()));
}

bool MosquittoBroker::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return true;
    ::kill(pid_t(process_.processId()), SIGTERM);
    if (!WaitFor([this] { return process_.state() == QProcess::NotRunning; }, kStartLimit)) {
        error_ = QStringLiteral("%1 did not end on SIGTERM").arg(kBroker);
        return false;
    }
    return process_.exitStatus() == QProcess::NormalExit;
}

} // namespace pxr3::test
