#pragma once
// An analyser that goes away (its bridge unplugged, its port gone, or silent
// while it should be measuring) is let go and the same device is opened again
// every few seconds, from the event loop, until it answers or the operator
// opens or closes the link himself.

#include <QObject>
#include <QString>
#include <cstdint>

namespace pxr3 {

class LinkRecovery : public QObject {
    Q_OBJECT
public:
    static constexpr int64_t kRetryUs = 5'000'000;

    // The link is lost: tries begin after the retry pause. Called again while
    // trying, nothing changes.
    void lost(const QString &reason);
    // The operator's own "Open USB" or "Close USB": no tries of ours any more.
    void end();
    // Good data came without a reopening (the analyser was only silent):
    // recovered.
    void dataArrived();

    bool recovering() const { return recovering_; }
    int outageSeconds() const; // since the link was lost, 0 when it is not

signals:
    void linkLost(const QString &reason);
    void retried(int outageSeconds); // a try failed; the next follows after the pause
    // The same analyser answers again; `reopened` when the link was opened anew,
    // so that a measurement has to be started on it again.
    void linkRestored(int outageSeconds, bool reopened);

private:
    void schedule(int64_t delayUs);
    void attempt();
    void restored(bool reopened);

    bool recovering_ = false;
    int64_t lostAtUs_ = 0;
    uint64_t timer_ = 0;
    int framesAtLastAttempt_ = 0; // good frames waiting for the tick then
    QString serial_;              // the device that was open
};

LinkRecovery &linkRecovery();

// An outage as the operator reads it: "45 s", "3 min", "2 h 5 min".
QString OutageText(int seconds);

} // namespace pxr3
