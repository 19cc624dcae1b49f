#include "core/UiLanguage.h"

namespace pxr3 {

namespace {
const QString kCzech = QStringLiteral("cs");
const QString kEnglish = QStringLiteral("en");
} // namespace

bool IsUiLanguageCode(const QString &code) { return code == kCzech || code == kEnglish; }

UiLanguage ChooseUiLanguage(const QString &option, const QString &localeName)
{
    if (IsUiLanguageCode(option))
        return option == kEnglish ? UiLanguage::English : UiLanguage::Czech;
    const QString language = localeName.section(QLatin1Char('_'), 0, 0).section(QLatin1Char('.'), 0, 0).toLower();
    if (language.isEmpty() || language == QLatin1String("c") || language == QLatin1String("posix") ||
        language == kCzech || language == QLatin1String("sk"))
        return UiLanguage::Czech;
    return UiLanguage::English;
}

QString UiLanguageCode(UiLanguage language) { return language == UiLanguage::English ? kEnglish : kCzech; }

} // namespace pxr3
