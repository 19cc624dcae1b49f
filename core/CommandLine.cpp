#include "core/CommandLine.h"

#include "core/UiLanguage.h"

#include <QCommandLineParser>
#include <QSysInfo>

namespace pxr3 {

CommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Ovládání a vyhodnocení mnohokanálového analyzátoru PXR3"));
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"), QStringLiteral("Složka pro nastavení, protokoly a měření (místo složky programu)."),
        QStringLiteral("DIR"));
    const QCommandLineOption simulate(QStringLiteral("simulate"),
                                      QStringLiteral("Místo analyzátoru použije jeho simulaci (bez přístroje)."));
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("Analyzátor připojený přes sériový port, např. /dev/ttyUSB0 (místo USB)."),
        QStringLiteral("DEVICE"));
    const QCommandLineOption debugLink(
        QStringLiteral("debug-link"),
        QStringLiteral("Vypisuje každý rámec z analyzátoru a do něj šestnáctkově na chybový výstup."));
    const QCommandLineOption language(
        QStringLiteral("lang"),
        QStringLiteral("Jazyk oken: cs (čeština) nebo en (angličtina); bez volby podle národního prostředí."),
        QStringLiteral("cs|en"));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        QStringLiteral("Bez oken: spustí sérii měření, každý dokončený cyklus vypíše na standardní výstup."));
    const QCommandLineOption cycles(QStringLiteral("cycles"),
                                    QStringLiteral("Počet cyklů série bez oken (0: do ukončení); jinak podle sady."),
                                    QStringLiteral("N"));
    const QCommandLineOption time(QStringLiteral("time"),
                                  QStringLiteral("Doba cyklu série bez oken v sekundách; jinak podle sady."),
                                  QStringLiteral("T"));
    const QCommandLineOption logData(QStringLiteral("log-data"),
                                     QStringLiteral("Série bez oken zapisuje rámce do DATA_LOG.TXT."));
    const QCommandLineOption mqtt(
        QStringLiteral("mqtt"),
        QStringLiteral("Zveřejňuje každý dokončený cyklus na brokeru MQTT, např. mqtt://192.168.1.10:1883 "
                       "nebo mqtts://broker.example (TLS)."),
        QStringLiteral("URL"));
    const QCommandLineOption mqttUser(QStringLiteral("mqtt-user"), QStringLiteral("Uživatel u brokeru MQTT."),
                                      QStringLiteral("NAME"));
    const QCommandLineOption mqttPasswordFile(QStringLiteral("mqtt-password-file"),
                                              QStringLiteral("Soubor, jehož první řádek je heslo k brokeru MQTT."),
                                              QStringLiteral("FILE"));
    const QCommandLineOption mqttCa(
        QStringLiteral("mqtt-ca"),
        QStringLiteral("Certifikát autority, která ručí za broker (zapne TLS); jinak certifikáty systému."),
        QStringLiteral("FILE"));
    const QCommandLineOption station(QStringLiteral("station"),
                                     QStringLiteral("Jméno stanice v tématech MQTT; jinak jméno počítače."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Zobrazí tuto nápovědu."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Zobrazí verzi programu."));
    parser.addOptions({dataDir, simulate, port, debugLink, language, headless, cycles, time, logData, mqtt, mqttUser,
                       mqttPasswordFile, mqttCa, station, help, version});

    CommandLine result;
    result.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        result.error = QStringLiteral("Neznámý argument: %1").arg(parser.positionalArguments().front());
    result.dataDir = parser.value(dataDir);
    result.simulate = parser.isSet(simulate);
    result.port = parser.value(port);
    result.debugLink = parser.isSet(debugLink);
    result.language = parser.value(language);
    if (parser.isSet(language) && !IsUiLanguageCode(result.language))
        result.error = QStringLiteral("Neznámý jazyk „%1“: volba --lang přijímá cs nebo en.").arg(result.language);
    if (result.simulate && parser.isSet(port))
        result.error = QStringLiteral("Volby --simulate a --port nelze použít současně.");
    result.headless = parser.isSet(headless);
    result.logData = parser.isSet(logData);
    // A number the option cannot take is said at once, not found out by the night's series.
    const auto number = [&parser, &result](const QCommandLineOption &option, int least, int most) {
        if (!parser.isSet(option))
            return -1;
        bool ok = false;
        const int value = parser.value(option).toInt(&ok);
        if (!ok || value < least || value > most)
            result.error = QStringLiteral("Volba --%1 přijímá celé číslo od %2 do %3.")
                               .arg(option.names().front())
                               .arg(least)
                               .arg(most);
        return value;
    };
    result.cycles = number(cycles, 0, 1999);
    result.seconds = number(time, 2, 9999);
    if (!result.headless && (parser.isSet(cycles) || parser.isSet(time) || result.logData))
        result.error = QStringLiteral("Volby --cycles, --time a --log-data platí jen s --headless.");
    if (parser.isSet(mqtt)) {
        const QString error = ReadBrokerUrl(parser.value(mqtt), result.mqtt);
        if (!error.isEmpty())
            result.error = error;
        result.mqtt.user = parser.value(mqttUser);
        if (parser.isSet(mqttPasswordFile)) {
            const QString unreadable = ReadPasswordFile(parser.value(mqttPasswordFile), result.mqtt.password);
            if (!unreadable.isEmpty())
                result.error = unreadable;
        }
        result.mqtt.caFile = parser.value(mqttCa);
        result.mqtt.tls = result.mqtt.tls || parser.isSet(mqttCa);
        result.mqtt.station = StationTopicName(parser.isSet(station) ? parser.value(station) : QSysInfo::machineHostName());
    } else if (parser.isSet(mqttUser) || parser.isSet(mqttPasswordFile) || parser.isSet(mqttCa) || parser.isSet(station)) {
        result.error = QStringLiteral("Volby --mqtt-user, --mqtt-password-file, --mqtt-ca a --station platí jen s --mqtt.");
    }
    result.showHelp = parser.isSet(help);
    result.showVersion = parser.isSet(version);
    return result;
}

} // namespace pxr3
