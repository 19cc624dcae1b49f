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
    QByteArray body(513, '\0');
    body[0] = 'D';
    body[1] = char(measurements);
    body[2] = char(time5);
    body[3] = char(time6);
    body[4] = char(ch0lo);
    body[5] = char(ch0hi);
    for (int k = 1; k < 254; ++k)
        body[4 + 2 * k] = char(k % 7);
    return TestFrame(body);
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
            // A copy, so that the action may replace itself.
            if (const auto action = duringWait)
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
    static bool LogHas(const QString &entry) { return commLog().text().contains(QStringLiteral("\r\n") + entry); }
    static QString LastEntry() { return commLog().text().section(QStringLiteral("\r\n"), -1); }

    SimulatedAnalyser *sim = nullptr;
    int eventRuns = 0;
    std::function<void()> duringWait;
    EventHook previousHook;
};

} // namespace pxr3::test
