#include "core/RoiSums.h"

#include <algorithm>
#include <limits>

namespace pxr3 {

int32_t RoiSum(const Spectrum &spectrum, int left, int right)
{
    left = std::max(left, 1);
    right = std::min(right, kChannels);
    long long sum = 0;
    for (int channel = left; channel <= right; ++channel)
        sum += spectrum(channel);
    return int32_t(
        std::clamp<long long>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t RoiSumReceived() { return RoiSum(state().ReceivedSpectrum, state().RoiBounds(1), state().RoiBounds(2)); }
int32_t RoiSumCycle() { return RoiSum(state().CycleSpectrum, state().RoiBounds(1), state().RoiBounds(2)); }

} // namespace pxr3
