#pragma once
// Puts the chosen language into effect: the program's translation (built into the program)
// and Qt's own for its standard buttons and dialogs. Called before any window is made.

#include "core/UiLanguage.h"

namespace pxr3 {

void InstallTranslations(UiLanguage language);

} // namespace pxr3
