#include "core/Clock.h"

#include <QEventLoop>
#include <QTimer>
#include <chrono>

namespace pxr3 {

namespace {
Clock *&installed()
{
    static Clock *current = nullptr;
    return current;
}
} // namespace

Clock &programClock()
{
    if (!installed()) {
        static RealClock real;
        return real;
    }
    return *installed();
}

void SetProgramClock(Clock *clock) { installed() = clock; }

RealClock::RealClock() = default;

RealClock::~RealClock()
{
    for (auto &entry : timers_)
        delete entry.second;
}

int64_t RealClock::nowUs() const
{
    using namespace std::chrono;
    return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime RealClock::wallNow() const { return QDateTime::currentDateTime(); }

TimerId RealClock::schedule(int64_t delayUs, std::function<void()> action)
{
    const TimerId id = ++last_;
    auto *timer = new QTimer;
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    timers_.emplace(id, timer);
    QObject::connect(timer, &QTimer::timeout, [this, id, action = std::move(action)] {
        const auto it = timers_.find(id);
        if (it == timers_.end())
            return;
        it->second->deleteLater();
        timers_.erase(it);
        action();
    });
    timer->start(int(std::max<int64_t>(0, (delayUs + 999) / 1000)));
    return id;
}

void RealClock::cancel(TimerId id)
{
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
}

VirtualClock::VirtualClock(QDateTime wallStart) : wallStart_(std::move(wallStart)) { }

VirtualClock::~VirtualClock() = default;

QDateTime VirtualClock::wallNow() const { return wallStart_.addMSecs(now_ / 1000); }

TimerId VirtualClock::schedule(int64_t delayUs, std::function<void()> action)
{
    const TimerId id = ++last_;
    due_.emplace(now_ + std::max<int64_t>(0, delayUs), std::make_pair(id, std::move(action)));
    arm();
    return id;
}

void VirtualClock::cancel(TimerId id)
{
    for (auto it = due_.begin(); it != due_.end(); ++it)
        if (it->second.first == id) {
            due_.erase(it);
            return;
        }
}

void VirtualClock::arm()
{
    // A posted step runs once the loop has handled what was posted before it, in nested
    // loops too (a timer would not fire again inside its own handler's wait).
    if (due_.empty() || stepPosted_)
        return;
    stepPosted_ = true;
    QMetaObject::invokeMethod(
        &stepper_,
        [this] {
            stepPosted_ = false;
            step();
        },
        Qt::QueuedConnection);
}

void VirtualClock::step()
{
    if (due_.empty())
        return;
    auto first = due_.begin();
    now_ = std::max(now_, first->first);
    std::function<void()> action = std::move(first->second.second);
    due_.erase(first);
    arm();
    action();
}

void VirtualClock::runFor(int64_t us)
{
    QEventLoop loop;
    const TimerId end = schedule(us, [&loop] { loop.quit(); });
    loop.exec();
    cancel(end);
}

WaitClock VirtualClock::waitClock()
{
    const auto origin = std::chrono::steady_clock::time_point{};
    return {[this, origin] { return origin + std::chrono::microseconds(now_); },
            [this](std::chrono::steady_clock::duration d) {
                pass(std::chrono::duration_cast<std::chrono::microseconds>(d).count());
            }};
}

VirtualClockScope::VirtualClockScope(VirtualClock &clock) : previousWait_(SetWaitClock(clock.waitClock()))
{
    SetProgramClock(&clock);
}

VirtualClockScope::~VirtualClockScope()
{
    SetProgramClock(nullptr);
    SetWaitClock(previousWait_);
}

} // namespace pxr3
