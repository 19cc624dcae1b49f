#include "core/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace pxr3 {

namespace {
// Installed for the rest of the run; replaces what an earlier call installed.
void install(QTranslator &translator, const QString &file, const QString &folder)
{
    QCoreApplication::removeTranslator(&translator);
    if (translator.load(file, folder))
        QCoreApplication::installTranslator(&translator);
}
} // namespace

void InstallTranslations(UiLanguage language)
{
    static QTranslator program;
    static QTranslator qtTexts;
    const QString code = UiLanguageCode(language);
    // Czech is the language of the source texts: it has no translation of the program's own.
    if (language == UiLanguage::Czech)
        QCoreApplication::removeTranslator(&program);
    else
        install(program, QStringLiteral("pxr3_") + code, QStringLiteral(":/i18n"));
    // Qt's texts are English in the source: only Czech has a file to load.
    if (language == UiLanguage::English)
        QCoreApplication::removeTranslator(&qtTexts);
    else
        install(qtTexts, QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

} // namespace pxr3
