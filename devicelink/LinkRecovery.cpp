#include "devicelink/LinkRecovery.h"

#include "core/Clock.h"
#include "core/CommLog.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/USB_KOM.h"

namespace pxr3 {

namespace {
// A command waiting for its reply comes first; soon again then.
constexpr int64_t kBusyRetryUs = 100'000;
// Good frames that came before an attempt belong to the cycle, and reopening
// would drop them: the attempt waits while the tick (one a 100 ms) takes them.
constexpr int64_t kDrainRetryUs = 300'000;
} // namespace

void LinkRecovery::lost(const QString &reason)
{
    if (recovering_)
        return;
    recovering_ = true;
    lostAtUs_ = programClock().nowUs();
    serial_ = link().SerialNumber;
    commLog().event(QStringLiteral("Spojení s analyzátorem ztraceno (%1), nové připojení každých %2 s.")
                        .arg(reason)
                        .arg(kRetryUs / 1'000'000));
    emit linkLost(reason);
    schedule(kRetryUs);
}

void LinkRecovery::end()
{
    if (timer_)
        programClock().cancel(std::exchange(timer_, 0));
    recovering_ = false;
}

int LinkRecovery::outageSeconds() const
{
    return recovering_ ? int((programClock().nowUs() - lostAtUs_) / 1'000'000) : 0;
}

void LinkRecovery::schedule(int64_t delayUs)
{
    timer_ = programClock().schedule(delayUs, [this] {
        timer_ = 0;
        attempt();
    });
}

void LinkRecovery::attempt()
{
    if (LinkBusy()) {
        schedule(kBusyRetryUs);
        return;
    }
    const int waiting = IntactFramesWaiting();
    if (waiting > 0 && waiting != framesAtLastAttempt_) {
        framesAtLastAttempt_ = waiting;
        schedule(kDrainRetryUs);
        return;
    }
    framesAtLastAttempt_ = 0;
    if (USB_Reopen(serial_) != 1) {
        if (recovering_) {
            emit retried(outageSeconds());
            schedule(kRetryUs);
        }
        return;
    }
    restored(true);
}

void LinkRecovery::dataArrived()
{
    if (!recovering_)
        return;
    if (timer_)
        programClock().cancel(std::exchange(timer_, 0));
    restored(false);
}

void LinkRecovery::restored(bool reopened)
{
    const int seconds = outageSeconds();
    recovering_ = false;
    commLog().event(QStringLiteral("Spojení obnoveno po %1 s").arg(seconds));
    emit linkRestored(seconds, reopened);
}

QString OutageText(int seconds)
{
    if (seconds < 60)
        return QStringLiteral("%1 s").arg(seconds);
    const int minutes = seconds / 60;
    if (minutes < 60)
        return QStringLiteral("%1 min").arg(minutes);
    return QStringLiteral("%1 h %2 min").arg(minutes / 60).arg(minutes % 60);
}

LinkRecovery &linkRecovery()
{
    static LinkRecovery instance;
    return instance;
}

} // namespace pxr3
