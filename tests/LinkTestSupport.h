#pragma once
// A fresh link over a simulated analyser in fast mode, for the device-link tests.

#include "TestSupport.h"
#include "core/CommLog.h"
#include "core/Events.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/SimulatedAnalyser.h"
#include "devicelink/USB_KOM.h"

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

class LinkFixture : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        ResetLinkState();
        commLog().clear();
        commLog().setStatus(QString());
        SetLinkHooks({});
        auto owned = std::make_unique<SimulatedAnalyser>(SimulatedAnalyser::Pace::Fast, 7);
        sim = owned.get();
        SetDriver(std::move(owned));
        previousHook = SetEventHook([this] {
            ++eventRuns;
            if (const auto action = duringWait) // a copy, so that the action may replace itself
                action();
        });
    }
    void TearDown() override
    {
        SetEventHook(previousHook);
        SetLinkHooks({});
        SetDriver(nullptr);
        ProgramFolderFixture::TearDown();
    }
    // Opens the analyser and starts the log afresh, as after a connection.
    void Connect()
    {
        ASSERT_EQ(USB_Open(), 1);
        commLog().clear();
    }
    static QString Log() { return commLog().text(); }
    static bool LogHas(const QString &entry) { return Log().contains(QStringLiteral("\r\n") + entry); }
    static QString LastEntry() { return Log().section(QStringLiteral("\r\n"), -1); }
    static QString Status() { return commLog().status(); }

    SimulatedAnalyser *sim = nullptr;
    int eventRuns = 0;
    std::function<void()> duringWait;
    EventHook previousHook;
};

} // namespace pxr3::test
