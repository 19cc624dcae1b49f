#include "acquisition/TickTimer.h"

#include "acquisition/AcquisitionTick.h"

#include <algorithm>

namespace pxr3 {

TickTimer::TickTimer(std::function<void()> tick) : tick_(std::move(tick))
{
    connect(&tickNotifier(), &TickNotifier::wakeRequested, this, &TickTimer::wake);
}

TickTimer::~TickTimer() { stop(); }

void TickTimer::start(int64_t intervalUs)
{
    stop();
    intervalUs_ = intervalUs;
    originUs_ = programClock().nowUs();
    lastBeat_ = 0;
    active_ = true;
    armBeat(1);
}

void TickTimer::stop()
{
    active_ = false;
    if (pending_)
        programClock().cancel(std::exchange(pending_, 0));
}

void TickTimer::wake()
{
    // During a tick (a command's reply waits in an event loop) nothing fires: what came meanwhile
    // is seen when the tick ends.
    if (active_ && !ticking_)
        armBeat(beatAtOrAfter(programClock().nowUs()));
}

int64_t TickTimer::beatAtOrAfter(int64_t timeUs) const
{
    const int64_t since = std::max<int64_t>(0, timeUs - originUs_);
    return std::max(lastBeat_ + 1, (since + intervalUs_ - 1) / intervalUs_);
}

void TickTimer::armBeat(int64_t beat)
{
    if (pending_ && armedBeat_ <= beat)
        return;
    if (pending_)
        programClock().cancel(std::exchange(pending_, 0));
    armedBeat_ = beat;
    pending_ = programClock().schedule(originUs_ + beat * intervalUs_ - programClock().nowUs(), [this] { fire(); });
}

void TickTimer::fire()
{
    pending_ = 0;
    lastBeat_ = armedBeat_;
    ticking_ = true;
    tick_();
    ticking_ = false;
    if (!active_ || pending_)
        return; // stopped, or started afresh
    const int64_t due = NextTickDueUs();
    if (due != kNoTickDue)
        armBeat(beatAtOrAfter(due));
}

} // namespace pxr3
