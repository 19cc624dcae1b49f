#include "core/SharedState.h"

namespace pxr3 {

SharedState &state()
{
    static SharedState instance;
    return instance;
}

void ResetSharedState() { state() = SharedState{}; }

const NuclideRecord *CurrentRecord()
{
    const SharedState &s = state();
    if (s.CurrentNuclide < 1 || s.CurrentNuclide > s.NuclideCount || !pxr3::NuclideTable::inRange(s.CurrentNuclide))
        return nullptr;
    return &s.NuclideTable(s.CurrentNuclide);
}

} // namespace pxr3
