#pragma once
// The spectrum of the current measurement cycle: frames are added into it, "Clear" erases it,
// "Uložit spektrum" writes it out.

#include "core/TextFile.h"

namespace pxr3 {

// Adds ReceivedSpectrum into CycleSpectrum for channels 1 to 255 (256 is never touched).
// A channel whose sum would leave 32 bits keeps its count; false when that happened.
bool AddReceivedToCycle();

void EraseCycleSpectrum();

// Writes SpektrumPXR3.TXT: the cycle's measuring time, then channels 1 to 255, one per line.
FileResult SaveCycleSpectrum(long long totalTime);

} // namespace pxr3
