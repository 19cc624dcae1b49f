#include "records/MqttOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>

namespace pxr3 {

namespace {
QString text(const char *source) { return QCoreApplication::translate("MqttOptions", source); }
} // namespace

QString ReadBrokerUrl(const QString &url, MqttOptions &options)
{
    const QUrl parsed(url, QUrl::StrictMode);
    const QString scheme = parsed.scheme().toLower();
    if (!parsed.isValid() || parsed.host().isEmpty() ||
        (scheme != QLatin1String("mqtt") && scheme != QLatin1String("mqtts")))
        return text(
                   QT_TRANSLATE_NOOP("MqttOptions",
                                     "Adresa brokeru „%1“ nemá tvar mqtt://POČÍTAČ[:PORT] ani mqtts://POČÍTAČ[:PORT]."))
            .arg(url);
    if (!parsed.path().isEmpty() && parsed.path() != QLatin1String("/"))
        return text(
                   QT_TRANSLATE_NOOP("MqttOptions", "Adresa brokeru „%1“ nemá nést cestu: témata si program volí sám."))
            .arg(url);
    if (!parsed.userName().isEmpty())
        return text(QT_TRANSLATE_NOOP(
            "MqttOptions", "Uživatele brokeru udává --mqtt-user a heslo soubor z --mqtt-password-file, ne adresa."));
    options.tls = scheme == QLatin1String("mqtts");
    options.host = parsed.host();
    options.port = parsed.port(options.tls ? 8883 : 1883);
    if (options.port < 1)
        return text(QT_TRANSLATE_NOOP("MqttOptions", "Adresa brokeru „%1“ má neplatný port.")).arg(url);
    return QString();
}

QString ReadPasswordFile(const QString &path, QString &password)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return text(QT_TRANSLATE_NOOP("MqttOptions", "Soubor s heslem %1 nelze přečíst: %2"))
            .arg(path, file.errorString());
    QByteArray line = file.readLine(4096);
    while (line.endsWith('\n') || line.endsWith('\r'))
        line.chop(1);
    password = QString::fromUtf8(line);
    return QString();
}

QString StationTopicName(const QString &name)
{
    QString topic = name.trimmed();
    for (QChar &c : topic)
        if (c == QLatin1Char('/') || c == QLatin1Char('+') || c == QLatin1Char('#') ||
            c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    return topic.isEmpty() ? QStringLiteral("pxr3") : topic;
}

} // namespace pxr3
