// PARAMETRY.CFG as the program reads it at start-up. Every value read is one the program
// accepts, and what was read saves to a file that reads back the same.

#include "core/CommLog.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "fuzz/FuzzSupport.h"
#include "records/SettingsFiles.h"

#include <QFile>

using namespace pxr3;

namespace {

struct Settings {
    int16_t linkStatus, measureTime, repeatCount, currentNuclide;
    WindowPlacement placement;
    bool operator==(const Settings &o) const
    {
        const WindowPlacement &a = placement, &b = o.placement;
        return linkStatus == o.linkStatus && measureTime == o.measureTime && repeatCount == o.repeatCount &&
            currentNuclide == o.currentNuclide && a.state == b.state && a.top == b.top && a.left == b.left &&
            a.width == b.width && a.height == b.height;
    }
};

Settings Load(const uint8_t *data, size_t size)
{
    SetMainWindowPlacement(nullptr); // the placement read is kept as before the window exists
    ResetSharedState();
    fuzz::WriteProgramFile(QString::fromLatin1(kSettingsFileName), data, size);
    LoadSaveConfig(1);
    commLog().clear();
    const SharedState &s = state();
    return {s.LinkStatus, s.MeasureTime, s.RepeatCount, s.CurrentNuclide, mainWindowPlacement().placement()};
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::SetUpProgram(argc, argv);
    QFile::remove(ProgramPath(QString::fromLatin1(kNuclideFileName)));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const Settings read = Load(data, size);
    if (read.linkStatus < 0 || read.linkStatus > 16 || read.measureTime < 1 || read.measureTime > 9999 ||
        read.repeatCount < 1 || read.repeatCount > 1999 || read.currentNuclide < 0 ||
        read.currentNuclide > kNuclideSlots || read.placement.state < 0 || read.placement.state > 2)
        fuzz::Broken("a setting out of its range was read");
    const QByteArray saved =
        SettingsBytes(read.linkStatus, read.measureTime, read.repeatCount, read.currentNuclide, read.placement);
    if (!(Load(reinterpret_cast<const uint8_t *>(saved.constData()), size_t(saved.size())) == read))
        fuzz::Broken("the saved settings read back changed:", QString::fromLatin1(saved.toHex(' ')));
    return 0;
}
