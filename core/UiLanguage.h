#pragma once
// The language of the user interface: Czech, the program's own, or English.

#include <QString>

namespace pxr3 {

enum class UiLanguage { Czech, English };

// The language for a --lang value ("cs", "en"; empty: none given) and the user's locale name
// ("cs_CZ", "en_GB", "C", ...). The option wins. A Czech or Slovak locale, or none at all
// (C, POSIX), keeps the program Czech; any other locale gets English, which a foreigner is
// more likely to read than Czech.
UiLanguage ChooseUiLanguage(const QString &option, const QString &localeName);

// Whether a --lang value names a language the program speaks.
bool IsUiLanguageCode(const QString &code);

// "cs" or "en": the suffix of the translation files.
QString UiLanguageCode(UiLanguage language);

} // namespace pxr3
