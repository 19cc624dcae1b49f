#pragma once
// What a count of pulses says, with its Poisson uncertainty, the decision threshold and the
// detection limit (Currie; alpha = beta = 5 %). The background rate and the calibration
// factor are taken as exact. Pure functions: the windows, the exports and the station share them.

#include <optional>

namespace pxr3 {

constexpr double kCoverageK = 1.6449; // one-sided 95 % quantile of the normal distribution

struct CountResult {
    double grossRate = 0;    // r = N / t                  [1/s]
    double netRate = 0;      // rn = r - r0                [1/s]
    double netRateU = 0;     // u(rn) = sqrt(N) / t        [1/s]
    double netThreshold = 0; // rn* = k sqrt(r0 / t)       [1/s]
    double netLimit = 0;     // rn# = 2 rn* + k^2 / t      [1/s]
    double activity = 0;     // a = w rn                   [Bq/m3]
    double activityU = 0;    // u(a) = w u(rn)
    double threshold = 0;    // a* = w rn*
    double limit = 0;        // a# = w rn#
    bool detected = false;   // rn > rn*: the net rate stands out of the background's noise
};

// N gross counts in t seconds against the background rate r0 [1/s], with the calibration
// factor w [Bq/m3 per 1/s]. Nothing when t is not positive: no result without a time.
std::optional<CountResult> EvaluateCounts(double counts, double seconds, double backgroundRate, double calFactor);

} // namespace pxr3
