#pragma once
// Counts in the region of interest (RoiBounds 1 to 2, both included).

#include "core/SharedState.h"

namespace pxr3 {

// Sum of the spectrum from channel `left` to `right`. Bounds are limited to the spectrum's
// channels; left above right gives 0; a sum beyond 32 bits saturates instead of wrapping.
int32_t RoiSum(const Spectrum &spectrum, int left, int right);

int32_t RoiSumReceived();
int32_t RoiSumCycle();

} // namespace pxr3
