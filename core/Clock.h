#pragma once
// Time as the link, the simulated analyser and the acquisition see it: a monotonic clock
// with one-shot timers, and the wall clock. The program runs on the real one; tests and
// benchmarks install a virtual clock that jumps to the next due timer whenever the event
// loop has nothing else to do, so minutes at the analyser's pace pass in milliseconds.

#include "core/WaitSeconds.h"

#include <QDateTime>
#include <QObject>
#include <cstdint>
#include <functional>
#include <map>
#include <unordered_map>

class QTimer;

namespace pxr3 {

using TimerId = uint64_t;

class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t nowUs() const = 0; // monotonic, microseconds
    virtual QDateTime wallNow() const = 0;
    // Runs `action` once, `delayUs` from now, from this thread's event loop.
    virtual TimerId schedule(int64_t delayUs, std::function<void()> action) = 0;
    virtual void cancel(TimerId id) = 0; // an id already run or cancelled is ignored
};

Clock &programClock();
void SetProgramClock(Clock *clock); // nullptr: the real clock again

class RealClock : public Clock {
public:
    RealClock();
    ~RealClock() override;
    int64_t nowUs() const override;
    QDateTime wallNow() const override;
    TimerId schedule(int64_t delayUs, std::function<void()> action) override;
    void cancel(TimerId id) override;

private:
    std::unordered_map<TimerId, QTimer *> timers_;
    TimerId last_ = 0;
};

class VirtualClock : public Clock {
public:
    explicit VirtualClock(QDateTime wallStart = QDateTime(QDate(2026, 3, 2), QTime(14, 37, 50)));
    ~VirtualClock() override;
    int64_t nowUs() const override { return now_; }
    QDateTime wallNow() const override;
    TimerId schedule(int64_t delayUs, std::function<void()> action) override;
    void cancel(TimerId id) override;

    // Runs the event loop until `us` of virtual time have passed.
    void runFor(int64_t us);
    // Time passing while the program does not return to its event loop (a busy wait).
    void pass(int64_t us) { now_ += us; }
    // For WaitSeconds: its sleep is time passing.
    WaitClock waitClock();

private:
    void arm();
    void step();

    int64_t now_ = 0;
    QDateTime wallStart_;
    std::multimap<int64_t, std::pair<TimerId, std::function<void()>>> due_;
    TimerId last_ = 0;
    QObject stepper_; // the posted steps go with the clock
    bool stepPosted_ = false;
};

// Installs a virtual clock for the scope, WaitSeconds included.
class VirtualClockScope {
public:
    explicit VirtualClockScope(VirtualClock &clock);
    ~VirtualClockScope();
    VirtualClockScope(const VirtualClockScope &) = delete;
    VirtualClockScope &operator=(const VirtualClockScope &) = delete;

private:
    WaitClock previousWait_;
};

} // namespace pxr3
