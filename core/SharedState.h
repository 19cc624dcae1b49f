#pragma once
// The program-wide values that the windows and modules read and write directly.
// Flags hold 0 for false and -1 for true; sizes are fixed.

#include "core/OneBased.h"
#include "records/NuclideRecord.h"

#include <QDateTime>
#include <QString>
#include <cstdint>

namespace pxr3 {

constexpr int kChannels = 256;
constexpr int kTableRows = 1000;

using Spectrum = OneBased<int32_t, kChannels>;

struct SharedState {
    // Radionuclide parameter sets and working settings (read and written by LoadSaveConfig).
    pxr3::NuclideTable NuclideTable;
    int16_t NuclideCount = 0;
    int16_t CurrentNuclide = 0;
    int16_t LinkStatus = 0;
    int16_t MeasureTime = 100;
    int16_t RepeatCount = 10;
    int16_t WorkLeftRoi = 0;
    int16_t WorkRightRoi = 0;
    int16_t WorkHighVoltage = 0;
    float WorkCalFactor = 0.0f;
    float WorkBackground = 0.0f;

    // Spectra and region of interest. RoiBounds(1), (2): ROI channels, (3): smoothing parameter.
    Spectrum ReceivedSpectrum;
    Spectrum CycleSpectrum;
    // Seconds of the frames added into CycleSpectrum since it was last emptied: the time its
    // counts took, which every rate of the spectrum is divided by.
    int32_t CycleSpectrumTime = 0;
    // When the counting of CycleSpectrum began: the first frame added since it was emptied,
    // less that frame's time; invalid while it is empty. A saved spectrum carries it.
    QDateTime CycleSpectrumStart;
    OneBased<int16_t, 3> RoiBounds;
    int16_t DeviceHighVoltage = 0;

    // Measurement state.
    int16_t MeasureState = 0;
    int16_t StopRequest = 0;
    int32_t CurrentRow = 0;
    int32_t CycleTick = 0;
    int16_t RepeatIndex = 0;
    int16_t ReadingBusy = 0;
    int16_t CourseWindowOpen = 0;
    int16_t LogY = 0;
    int16_t TableModified = 0;
};

// The one instance for the whole run.
SharedState &state();

// Back to the values a fresh start has (tests use it between cases).
void ResetSharedState();

// The current record when CurrentNuclide points into the records in use, otherwise none.
const NuclideRecord *CurrentRecord();

} // namespace pxr3
