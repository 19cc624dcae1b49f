#pragma once
// A wait that lets no events run: the user interface does not respond meanwhile.

#include <chrono>
#include <functional>

namespace pxr3 {

// Returns once at least `seconds` have passed on a monotonic clock; sleeps meanwhile.
void WaitSeconds(float &seconds);

// The clock and the sleep the wait uses; tests replace them to run without real time.
struct WaitClock {
    std::function<std::chrono::steady_clock::time_point()> now;
    std::function<void(std::chrono::steady_clock::duration)> sleep;
};
WaitClock SetWaitClock(WaitClock clock); // an empty clock restores the real one

} // namespace pxr3
