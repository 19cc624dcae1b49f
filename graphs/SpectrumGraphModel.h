#pragma once
// What the spectrum graph shows, apart from drawing it: the channels drawn, the top of the
// y axis, the y range for the linear and logarithmic scales, the title, the LOG toggle.

#include "core/SharedState.h"

#include <QString>
#include <cstdint>

namespace pxr3 {

// Channels 1 .. LastDrawnChannel(n) are drawn; n - 1, kept within the spectrum.
int LastDrawnChannel(int32_t n);

// Largest count among the drawn channels inside the ROI (both bounds included); 0 when
// no drawn channel lies inside it.
double SpectrumGraphMax(const Spectrum &spectrum, int32_t n, int roiLeft, int roiRight);

struct AxisRange {
    bool set = false; // false: the scale is left as it is
    double min = 0;
    double max = 0;
};

// Logarithmic (-1): 1 .. max + 1; linear (0): 0 .. max; any other flag value: not set.
AxisRange SpectrumYRange(int16_t logY, double graphMax);

// "Spektrum PXR3 : ROI = 1234 Čas : 60"
QString SpectrumTitle(int32_t roiSum, long long totalTime);

// -1 -> 0, 0 -> -1, anything else unchanged.
int16_t ToggledLogY(int16_t logY);

} // namespace pxr3
