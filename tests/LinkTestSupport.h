#pragma once
// A fresh link over a simulated analyser on a virtual clock, for the device-link tests.

#include "TestSupport.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/SimulatedAnalyser.h"
#include "devicelink/USB_KOM.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <initializer_list>
#include <memory>

namespace pxr3::test {

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray bytes;
    for (int v : values)
        bytes.append(char(v));
    return bytes;
}

// A frame built here independently of the code under test.
inline QByteArray TestFrame(const QByteArray &body)
{
    QByteArray frame = Bytes({0x40, int(body.size() & 0xFF), int(body.size() >> 8)}) + body;
    int sum = 0;
    for (int i = 1; i < frame.size(); ++i)
        sum += uint8_t(frame[i]);
    return frame + char(sum % 256);
}

// A 517-byte data frame with the given bytes at frame offsets 5, 6 (time) and 7, 8 (channel 0).
inline QByteArray TestDataFrame(int time5, int time6, int ch0lo, int ch0hi, int measurements = 1)
{
    QByteArray body = Bytes({'D', measurements, time5, time6, ch0lo, ch0hi});
    for (int k = 1; k < 254; ++k)
        body += Bytes({k % 7, 0});
    return TestFrame(body + Bytes({0}));
}

constexpr int64_t kSecond = 1'000'000;

// Runs the event loop (real time) until the condition holds; false after ten seconds.
inline bool WaitUntil(const std::function<bool()> &condition)
{
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > 10'000)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

class LinkFixture : public ProgramFolderFixture {
protected:
    // Real time for what runs outside the program (a pseudo-terminal), virtual otherwise.
    enum class Time { Virtual, Real };
    explicit LinkFixture(SimulatedAnalyser::Pace pace = SimulatedAnalyser::Pace::Fast, Time time = Time::Virtual)
        : pace_(pace), time_(time)
    {
    }

    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        if (time_ == Time::Virtual)
            clockScope = std::make_unique<VirtualClockScope>(clock);
        ResetLinkState();
        commLog().clear();
        commLog().setStatus(QString());
        SetLinkHooks({});
        auto owned = std::make_unique<SimulatedAnalyser>(pace_, simulatorSeed);
        sim = owned.get();
        SetDriver(std::move(owned));
    }
    void TearDown() override
    {
        commLog().clear(); // what the case logged is kept in its own folder, not the next case's
        ResetLinkState();
        SetLinkHooks({});
        SetDriver(nullptr);
        clockScope.reset();
        ProgramFolderFixture::TearDown();
    }
    // Opens the analyser and starts the log afresh, as after a connection.
    void Connect()
    {
        ASSERT_EQ(USB_Open(), 1);
        commLog().clear();
    }
    // Lets virtual time pass until a data frame (or a failed reading) waits; false when
    // none came within the limit.
    bool RunUntilDataFrame(int64_t limitUs = 3 * kSecond)
    {
        const int64_t end = clock.nowUs() + limitUs;
        while (!DataFrameReady() && clock.nowUs() < end)
            clock.runFor(10'000);
        return DataFrameReady();
    }
    static QString Log() { return commLog().text(); }
    static bool LogHas(const QString &entry) { return Log().contains(QStringLiteral("\r\n") + entry); }
    static QString LastEntry() { return Log().section(QStringLiteral("\r\n"), -1); }
    static QString Status() { return commLog().status(); }

    VirtualClock clock;
    std::unique_ptr<VirtualClockScope> clockScope;
    SimulatedAnalyser *sim = nullptr;
    uint32_t simulatorSeed = 7; // set before SetUp for another run of the analyser's counts

private:
    SimulatedAnalyser::Pace pace_;
    Time time_;
};

} // namespace pxr3::test
