#pragma once
// The spectrum of the current measurement cycle: frames are added into it, "Clear" erases it,
// "Uložit spektrum" writes it out.

#include "core/TextFile.h"

namespace pxr3 {

// The analyser sends a frame every 2 s; a time word outside 1 to 60 s is no time it measured.
bool PlausibleFrameTime(int seconds);

struct CycleAddition {
    bool allCounts = true; // false: a channel whose sum would leave 32 bits kept its count
    bool time = true;      // false: the frame's time was not plausible and was not added
};

// Adds ReceivedSpectrum into CycleSpectrum for channels 1 to 255 (256 is never touched) and
// the frame's seconds into CycleSpectrumTime, when plausible; the first frame after an erase
// sets CycleSpectrumStart. An overflow is written to the
// communication log.
CycleAddition AddReceivedToCycle(int frameSeconds);

// All channels and the spectrum's time back to 0, no start.
void EraseCycleSpectrum();

// Writes SpektrumPXR3.TXT: the spectrum's time, then channels 1 to 255, one per line.
FileResult SaveCycleSpectrum();

} // namespace pxr3
