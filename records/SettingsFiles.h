#pragma once
// PARAMETRY.CFG (binary settings and window placement) and PXR3.KAL (radionuclide sets),
// always handled together.

#include "records/NuclideRecord.h"
#include "records/WindowPlacement.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace pxr3 {

extern const char *const kSettingsFileName; // "PARAMETRY.CFG"
extern const char *const kNuclideFileName;  // "PXR3.KAL"
constexpr int kSettingsFileSize = 28;

// 1 reads both files into the shared state, 0 writes them from it; other modes do nothing.
// A failure with either file is shown once ("Krytická chyba") and the other file is still
// handled. True when every file was handled without failure.
bool LoadSaveConfig(int16_t mode);

// The file layouts, separately testable.
QByteArray SettingsBytes(int16_t linkStatus, int16_t measureTime, int16_t repeatCount, int16_t currentNuclide,
                         const WindowPlacement &placement);
QStringList NuclideFileLines(const NuclideTable &table, int count);

struct NuclideFileContent {
    bool headerMatches = false;
    NuclideTable table;
    int count = 0;
    QString error; // empty when the whole file was read
};
NuclideFileContent ParseNuclideFile(const QString &text);

} // namespace pxr3
