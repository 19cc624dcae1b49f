#include "acquisition/CountingStatistics.h"

#include <algorithm>
#include <cmath>

namespace pxr3 {

std::optional<CountResult> EvaluateCounts(double counts, double seconds, double backgroundRate, double calFactor)
{
    if (!(seconds > 0) || !std::isfinite(counts) || !std::isfinite(backgroundRate) || !std::isfinite(calFactor))
        return std::nullopt;
    CountResult r;
    r.grossRate = counts / seconds;
    r.netRate = r.grossRate - backgroundRate;
    r.netRateU = std::sqrt(std::max(counts, 0.0)) / seconds;
    // A negative background would have no noise to stand out of.
    r.netThreshold = kCoverageK * std::sqrt(std::max(backgroundRate, 0.0) / seconds);
    r.netLimit = 2 * r.netThreshold + kCoverageK * kCoverageK / seconds;
    r.activity = calFactor * r.netRate;
    r.activityU = std::abs(calFactor) * r.netRateU;
    r.threshold = calFactor * r.netThreshold;
    r.limit = calFactor * r.netLimit;
    r.detected = r.netRate > r.netThreshold;
    return r;
}

} // namespace pxr3
