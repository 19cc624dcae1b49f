// PXR3.KAL as the program reads it at start-up, from the file through the decoding to the
// shared state. What was read must also save and read back: the same records, no error.

#include "core/CommLog.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "fuzz/FuzzSupport.h"
#include "records/SettingsFiles.h"

#include <QFile>
#include <cmath>

using namespace pxr3;

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::SetUpProgram(argc, argv);
    // Absent, so that only the radionuclide file's bytes decide what is read.
    QFile::remove(ProgramPath(QString::fromLatin1(kSettingsFileName)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ResetSharedState();
    fuzz::WriteProgramFile(QString::fromLatin1(kNuclideFileName), data, size);
    LoadSaveConfig(1);
    QFile::remove(ProgramPath(QString::fromLatin1(kSettingsFileName))); // the load creates an empty one
    commLog().clear();

    const SharedState &read = state();
    if (read.NuclideCount < 0 || read.NuclideCount > kNuclideSlots)
        fuzz::Broken("radionuclide count out of range:", QString::number(read.NuclideCount));
    const NuclideFileContent again =
        ParseNuclideFile(NuclideFileLines(read.NuclideTable, read.NuclideCount).join(QLatin1String("\r\n")));
    if (!again.headerMatches || !again.error.isEmpty() || again.count != read.NuclideCount)
        fuzz::Broken("the saved radionuclides do not read back:", again.error);
    for (int slot = 1; slot <= read.NuclideCount; ++slot) {
        const NuclideRecord &was = read.NuclideTable(slot);
        const NuclideRecord &is = again.table(slot);
        if (is.name != was.name || is.leftRoi != was.leftRoi || is.rightRoi != was.rightRoi ||
            is.highVoltage != was.highVoltage)
            fuzz::Broken("a saved radionuclide reads back changed:", was.name + QLatin1String(" / ") + is.name);
        if (std::isfinite(was.calFactor) != std::isfinite(is.calFactor) ||
            std::isfinite(was.background) != std::isfinite(is.background))
            fuzz::Broken("a saved factor reads back as another kind of number:", was.name);
    }
    return 0;
}
