#include "core/CommandLine.h"

#include "core/UiLanguage.h"

#include <QCommandLineParser>

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
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Zobrazí tuto nápovědu."));
    const QCommandLineOption version(QStringLiteral("version"), QStringLiteral("Zobrazí verzi programu."));
    parser.addOptions({dataDir, simulate, port, debugLink, language, help, version});

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
    result.showHelp = parser.isSet(help);
    result.showVersion = parser.isSet(version);
    return result;
}

} // namespace pxr3
