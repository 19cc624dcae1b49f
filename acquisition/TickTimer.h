#pragma once
// The acquisition's timer. It keeps the 100 ms beat of the tick, but a beat with nothing to do
// is skipped: while the link is busy, frames wait or a stop is asked for, it ticks at every
// beat; otherwise it sleeps until a frame arrives, a stop is asked for or the link-loss watch
// falls due, and ticks at the first beat from then on. A frame is so taken at the beat that
// would have taken it, without twenty empty ticks between frames.

#include "core/Clock.h"

#include <QObject>
#include <functional>

namespace pxr3 {

class TickTimer : public QObject {
public:
    explicit TickTimer(std::function<void()> tick);
    ~TickTimer() override;
    TickTimer(const TickTimer &) = delete;
    TickTimer &operator=(const TickTimer &) = delete;

    void start(int64_t intervalUs);
    void stop();
    bool isActive() const { return active_; }

private:
    void wake();
    int64_t beatAtOrAfter(int64_t timeUs) const;
    void armBeat(int64_t beat);
    void fire();

    std::function<void()> tick_;
    int64_t intervalUs_ = 0;
    int64_t originUs_ = 0; // beat k falls at originUs_ + k * intervalUs_
    int64_t lastBeat_ = 0;
    int64_t armedBeat_ = 0;
    TimerId pending_ = 0;
    bool active_ = false;
    bool ticking_ = false;
};

} // namespace pxr3
