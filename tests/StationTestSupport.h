#pragma once
// The station's tests share one radionuclide set and one working by hand of what a row's
// counts in its time say, so the printed line and the published message are checked against
// the same numbers.

#include "core/SharedState.h"
#include "records/NuclideRecord.h"
#include "records/SettingsFiles.h"

#include <cmath>

namespace pxr3::test {

constexpr double kK = 1.6449;
constexpr float kCalFactor = 20.0f;
constexpr float kBackground = 2.0f;
constexpr char kSetName[] = "Rn-222";

// The set the station finds in its data folder: a background and factor that make the activity
// worth checking. False when the files cannot be written.
inline bool StoreRadonSet()
{
    NuclideRecord set;
    set.name = QString::fromLatin1(kSetName);
    set.leftRoi = 1;
    set.rightRoi = 254;
    set.highVoltage = 500;
    set.calFactor = kCalFactor;
    set.background = kBackground;
    state().NuclideTable(1) = set;
    state().NuclideCount = 1;
    state().CurrentNuclide = 1;
    return LoadSaveConfig(0);
}

// N counts in t seconds against the set, from the counting formulas.
struct HandWorked {
    double rate, rateU, netRate, activity, activityU, threshold, limit;
    bool detected;
};

inline HandWorked WorkByHand(double n, double t)
{
    const double netRate = n / t - kBackground;
    const double netThreshold = kK * std::sqrt(kBackground / t);
    return {n / t,
            std::sqrt(n) / t,
            netRate,
            kCalFactor * netRate,
            kCalFactor * std::sqrt(n) / t,
            kCalFactor * netThreshold,
            kCalFactor * (2 * netThreshold + kK * kK / t),
            netRate > netThreshold};
}

} // namespace pxr3::test
