#include "core/WaitSeconds.h"

#include <algorithm>
#include <thread>

namespace pxr3 {

namespace {
WaitClock &clock()
{
    static WaitClock installed;
    return installed;
}
std::chrono::steady_clock::time_point now() { return clock().now ? clock().now() : std::chrono::steady_clock::now(); }
void sleepFor(std::chrono::steady_clock::duration d)
{
    if (clock().sleep)
        clock().sleep(d);
    else
        std::this_thread::sleep_for(d);
}
} // namespace

void WaitSeconds(float &seconds)
{
    if (!(seconds > 0.0f))
        return;
    using namespace std::chrono;
    const auto start = now();
    const auto wanted = duration_cast<steady_clock::duration>(duration<double>(double(seconds)));
    for (;;) {
        const auto passed = now() - start;
        if (passed >= wanted)
            return;
        // Short slices keep the end punctual without spinning the processor.
        sleepFor(std::min<steady_clock::duration>(wanted - passed, milliseconds(10)));
    }
}

WaitClock SetWaitClock(WaitClock next)
{
    WaitClock previous = std::move(clock());
    clock() = std::move(next);
    return previous;
}

} // namespace pxr3
