#include "acquisition/CycleSpectrum.h"

#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/NumberText.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "core/TextFile.h"

#include <limits>

namespace pxr3 {

namespace {

constexpr int kLastCycleChannel = 255;

// A number as the export writes it: a blank where a minus would stand, a blank after it.
QString ExportNumber(long long value) { return SignedIntText(value) + QLatin1Char(' '); }

} // namespace

bool PlausibleFrameTime(int seconds) { return seconds >= 1 && seconds <= 60; }

CycleAddition AddReceivedToCycle(int frameSeconds)
{
    SharedState &s = state();
    CycleAddition added;
    for (int k = 1; k <= kLastCycleChannel; ++k) {
        const long long sum = static_cast<long long>(s.CycleSpectrum(k)) + s.ReceivedSpectrum(k);
        if (sum > std::numeric_limits<int32_t>::max() || sum < std::numeric_limits<int32_t>::min()) {
            added.allCounts = false;
            continue;
        }
        s.CycleSpectrum(k) = static_cast<int32_t>(sum);
    }
    if (!added.allCounts)
        commLog().append(QStringLiteral("Přetečení kanálu: součet spektra přesáhl rozsah, kanál ponechán."));
    added.time = PlausibleFrameTime(frameSeconds);
    if (!s.CycleSpectrumStart.isValid())
        s.CycleSpectrumStart = programClock().wallNow().addSecs(added.time ? -frameSeconds : 0);
    if (added.time)
        s.CycleSpectrumTime += frameSeconds;
    return added;
}

void EraseCycleSpectrum()
{
    for (int k = 1; k <= kChannels; ++k)
        state().CycleSpectrum(k) = 0;
    state().CycleSpectrumTime = 0;
    state().CycleSpectrumStart = QDateTime();
}

FileResult SaveCycleSpectrum()
{
    QStringList lines;
    lines.reserve(kLastCycleChannel + 1);
    lines << ExportNumber(state().CycleSpectrumTime);
    for (int k = 1; k <= kLastCycleChannel; ++k)
        lines << ExportNumber(state().CycleSpectrum(k));
    return WriteTextLines(ProgramPath(QStringLiteral("SpektrumPXR3.TXT")), lines);
}

} // namespace pxr3
