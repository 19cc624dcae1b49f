#include "core/CommandLine.h"

#include "core/UiLanguage.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSysInfo>

namespace pxr3 {

namespace {
// In the language the translations installed say: the help is read before anything else.
QString text(const char *source) { return QCoreApplication::translate("CommandLine", source); }
} // namespace

CommandLine ParseCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        text(QT_TRANSLATE_NOOP("CommandLine", "Ovládání a vyhodnocení mnohokanálového analyzátoru PXR3")));
    const QCommandLineOption dataDir(
        QStringLiteral("data-dir"),
        text(QT_TRANSLATE_NOOP("CommandLine", "Složka pro nastavení, protokoly a měření (místo složky programu).")),
        QStringLiteral("DIR"));
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        text(QT_TRANSLATE_NOOP("CommandLine", "Místo analyzátoru použije jeho simulaci (bez přístroje).")));
    const QCommandLineOption port(
        QStringLiteral("port"),
        text(QT_TRANSLATE_NOOP("CommandLine",
                               "Analyzátor připojený přes sériový port, např. /dev/ttyUSB0 (místo USB).")),
        QStringLiteral("DEVICE"));
    const QCommandLineOption debugLink(
        QStringLiteral("debug-link"),
        text(QT_TRANSLATE_NOOP("CommandLine",
                               "Vypisuje každý rámec z analyzátoru a do něj šestnáctkově na chybový výstup.")));
    const QCommandLineOption language(
        QStringLiteral("lang"),
        text(QT_TRANSLATE_NOOP("CommandLine",
                               "Jazyk oken: cs (čeština) nebo en (angličtina); bez volby podle národního prostředí.")),
        QStringLiteral("cs|en"));
    const QCommandLineOption headless(
        QStringLiteral("headless"),
        text(QT_TRANSLATE_NOOP("CommandLine",
                               "Bez oken: spustí sérii měření, každý dokončený cyklus vypíše na standardní výstup.")));
    const QCommandLineOption cycles(
        QStringLiteral("cycles"),
        text(QT_TRANSLATE_NOOP("CommandLine", "Počet cyklů série bez oken (0: do ukončení); jinak podle sady.")),
        QStringLiteral("N"));
    const QCommandLineOption time(
        QStringLiteral("time"),
        text(QT_TRANSLATE_NOOP("CommandLine", "Doba cyklu série bez oken v sekundách; jinak podle sady.")),
        QStringLiteral("T"));
    const QCommandLineOption logData(
        QStringLiteral("log-data"),
        text(QT_TRANSLATE_NOOP("CommandLine", "Série bez oken zapisuje rámce do DATA_LOG.TXT.")));
    const QCommandLineOption mqtt(
        QStringLiteral("mqtt"),
        text(QT_TRANSLATE_NOOP("CommandLine",
                               "Zveřejňuje každý dokončený cyklus na brokeru MQTT, např. "
                               "mqtt://192.168.1.10:1883 nebo mqtts://broker.example (TLS).")),
        QStringLiteral("URL"));
    const QCommandLineOption mqttUser(QStringLiteral("mqtt-user"),
                                      text(QT_TRANSLATE_NOOP("CommandLine", "Uživatel u brokeru MQTT.")),
                                      QStringLiteral("NAME"));
    const QCommandLineOption mqttPasswordFile(
        QStringLiteral("mqtt-password-file"),
        text(QT_TRANSLATE_NOOP("CommandLine", "Soubor, jehož první řádek je heslo k brokeru MQTT.")),
        QStringLiteral("FILE"));
    const QCommandLineOption mqttCa(
        QStringLiteral("mqtt-ca"),
        text(QT_TRANSLATE_NOOP("CommandLine",
                               "Certifikát autority, která ručí za broker (zapne TLS); jinak certifikáty systému.")),
        QStringLiteral("FILE"));
    const QCommandLineOption station(
        QStringLiteral("station"),
        text(QT_TRANSLATE_NOOP("CommandLine", "Jméno stanice v tématech MQTT; jinak jméno počítače.")),
        QStringLiteral("NAME"));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  text(QT_TRANSLATE_NOOP("CommandLine", "Zobrazí tuto nápovědu.")));
    const QCommandLineOption version(QStringLiteral("version"),
                                     text(QT_TRANSLATE_NOOP("CommandLine", "Zobrazí verzi programu.")));
    parser.addOptions({dataDir, simulate, port, debugLink, language, headless, cycles, time, logData, mqtt, mqttUser,
                       mqttPasswordFile, mqttCa, station, help, version});

    CommandLine result;
    result.helpText = parser.helpText();
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        result.error =
            text(QT_TRANSLATE_NOOP("CommandLine", "Neznámý argument: %1")).arg(parser.positionalArguments().front());
    result.dataDir = parser.value(dataDir);
    result.simulate = parser.isSet(simulate);
    result.port = parser.value(port);
    result.debugLink = parser.isSet(debugLink);
    result.language = parser.value(language);
    if (parser.isSet(language) && !IsUiLanguageCode(result.language))
        result.error = text(QT_TRANSLATE_NOOP("CommandLine", "Neznámý jazyk „%1“: volba --lang přijímá cs nebo en."))
                           .arg(result.language);
    if (result.simulate && parser.isSet(port))
        result.error = text(QT_TRANSLATE_NOOP("CommandLine", "Volby --simulate a --port nelze použít současně."));
    result.headless = parser.isSet(headless);
    result.logData = parser.isSet(logData);
    // A number the option cannot take is said at once, not found out by the night's series.
    const auto number = [&parser, &result](const QCommandLineOption &option, int least, int most) {
        if (!parser.isSet(option))
            return -1;
        bool ok = false;
        const int value = parser.value(option).toInt(&ok);
        if (!ok || value < least || value > most)
            result.error = text(QT_TRANSLATE_NOOP("CommandLine", "Volba --%1 přijímá celé číslo od %2 do %3."))
                               .arg(option.names().front())
                               .arg(least)
                               .arg(most);
        return value;
    };
    result.cycles = number(cycles, 0, 1999);
    result.seconds = number(time, 2, 9999);
    if (!result.headless && (parser.isSet(cycles) || parser.isSet(time) || result.logData))
        result.error =
            text(QT_TRANSLATE_NOOP("CommandLine", "Volby --cycles, --time a --log-data platí jen s --headless."));
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
        result.mqtt.station =
            StationTopicName(parser.isSet(station) ? parser.value(station) : QSysInfo::machineHostName());
    } else if (parser.isSet(mqttUser) || parser.isSet(mqttPasswordFile) || parser.isSet(mqttCa) ||
               parser.isSet(station)) {
        result.error = text(QT_TRANSLATE_NOOP(
            "CommandLine", "Volby --mqtt-user, --mqtt-password-file, --mqtt-ca a --station platí jen s --mqtt."));
    }
    result.showHelp = parser.isSet(help);
    result.showVersion = parser.isSet(version);
    return result;
}

QString LanguageOption(const QStringList &arguments)
{
    for (int i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--lang") && i + 1 < arguments.size())
            return arguments[i + 1];
        if (arguments[i].startsWith(QLatin1String("--lang=")))
            return arguments[i].mid(7);
    }
    return QString();
}

} // namespace pxr3
