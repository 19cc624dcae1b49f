// The program's default backend, libftdi, against an emulated FT232R with the simulated
// analyser behind it: the whole way from the listing to a reconnection, with no hardware.
// libftdi's reader thread runs in real time, and so does everything here.

#include "TestSupport.h"
#include "core/CommLog.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/FtdiDriver.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"
#include "fakeusb/AnalyserBehindChip.h"
#include "fakeusb/FakeFt232r.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <vector>

namespace pxr3::test {
namespace {

// Runs the event loop until the condition holds, looking each time the loop has nothing left
// to do. The minute's limit is only there to end a broken run with a message.
bool WaitFor(const std::function<bool()> &condition)
{
    QEventLoop loop;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop, [&] {
        if (condition())
            loop.quit();
    });
    if (condition())
        return true;
    limit.start(60'000);
    loop.exec();
    return condition();
}

class FtdiBridge : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        ResetLinkState();
        commLog().clear();
        SetLinkHooks({[this] { return highVoltageBox; }, nullptr, nullptr});
        SetDriver(nullptr); // the backend the program chooses when told nothing
        ASSERT_NE(dynamic_cast<FtdiDriver *>(&driver()), nullptr);
        bench.plugIn();
    }
    void TearDown() override
    {
        ResetLinkState();
        SetLinkHooks({});
        SetDriver(nullptr);
        ProgramFolderFixture::TearDown();
    }

    static QString Log() { return QString(commLog().text()).replace(QChar(0), QLatin1Char('.')); }

    // Waits for the next data frame and takes it; its measurement number, 0 when it was no
    // good frame.
    static int NextFrameNumber()
    {
        if (!WaitFor(DataFrameReady) || USB_ReadData() != DataReading::Good)
            return 0;
        return link().RxBytes(5);
    }

    AnalyserBehindChip bench;
    QString highVoltageBox = QStringLiteral("500");
};

TEST_F(FtdiBridge, ListsOpensConfiguresAndMeasuresThroughLibftdi)
{
    ASSERT_EQ(USB_Open(), 1) << qPrintable(Log());
    const fakeusb::Record opened = fakeusb::Recorded();
    ASSERT_GT(opened.controlRequests, 0) << "libftdi's calls did not reach the emulated bus";
    EXPECT_TRUE(Log().contains(QStringLiteral("NumDevices : 1")));
    EXPECT_TRUE(Log().contains(QStringLiteral("Device Description : PXR3 simulated analyser")));
    EXPECT_TRUE(Log().contains(QStringLiteral("Serial Number : PXR3SIM1")));
    EXPECT_TRUE(Log().contains(QStringLiteral("Code : PXR3 simulated MCA")));

    // The bridge as the program set it, ftdi_sio let go of it, stale bytes purged.
    EXPECT_EQ(opened.baud, 19200);
    EXPECT_EQ(opened.dataBits, 8);
    EXPECT_EQ(opened.parity, 0);
    EXPECT_EQ(opened.stopBits, 0);
    EXPECT_EQ(opened.latencyMs, 16);
    EXPECT_EQ(opened.eventChar, 0x7E);
    EXPECT_EQ(opened.errorChar, -1);
    EXPECT_GE(opened.resets, 1);
    EXPECT_GE(opened.rxPurges, 2); // by the reset and by the flush after it
    EXPECT_FALSE(opened.kernelDriverBound);
    EXPECT_EQ(opened.detaches, 1);
    EXPECT_EQ(opened.openHandles, 1);
    EXPECT_EQ(bench.misheard(), 0);

    MCA_Command(QStringLiteral("R"));
    ASSERT_EQ(link().CommandOk, 1) << qPrintable(Log());
    EXPECT_EQ(state().DeviceHighVoltage, 500);

    // Frames every 2 s at the wire's pace, each over many packets, with commands between them.
    MCA_Command(QStringLiteral("B"));
    ASSERT_EQ(link().CommandOk, 1);
    std::vector<int> numbers{NextFrameNumber()};
    highVoltageBox = QStringLiteral("650");
    MCA_Command(QStringLiteral("W"));
    EXPECT_EQ(link().CommandOk, 1);
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(state().DeviceHighVoltage, 650);
    numbers.push_back(NextFrameNumber());
    MCA_Command(QStringLiteral("I"));
    EXPECT_EQ(link().CommandOk, 1);
    numbers.push_back(NextFrameNumber());
    EXPECT_EQ(numbers, std::vector<int>({1, 2, 3})) << qPrintable(Log());
    MCA_Command(QStringLiteral("E"));
    EXPECT_EQ(link().CommandOk, 1);

    const fakeusb::Record measured = fakeusb::Recorded();
    EXPECT_GE(measured.bytesToHost, 3 * kDataFrameLength);
    EXPECT_GT(measured.dataPackets, 3 * kDataFrameLength / 62); // no frame came in one piece
    EXPECT_GT(measured.statusOnlyPackets, 0);                   // the idle bridge kept reporting

    USB_Close();
    const fakeusb::Record closed = fakeusb::Recorded();
    EXPECT_TRUE(closed.kernelDriverBound) << "closing did not give the serial port back";
    EXPECT_EQ(closed.attaches, 1);
    EXPECT_EQ(closed.openHandles, 0);
    EXPECT_EQ(fakeusb::LiveContexts(), 0);
}

TEST_F(FtdiBridge, AnUnpluggedBridgeIsOpenedAgainWhenItIsBack)
{
    int retries = 0;
    int restored = 0;
    bool reopened = false;
    QObject scope; // the connections end with the case
    QObject::connect(&linkRecovery(), &LinkRecovery::retried, &scope, [&] { ++retries; });
    QObject::connect(&linkRecovery(), &LinkRecovery::linkRestored, &scope, [&](int, bool anew) {
        ++restored;
        reopened = anew;
    });
    ASSERT_EQ(USB_Open(), 1) << qPrintable(Log());
    MCA_Command(QStringLiteral("B"));
    ASSERT_EQ(NextFrameNumber(), 1);

    bench.unplug();
    ASSERT_TRUE(WaitFor([] { return linkRecovery().recovering(); }));
    EXPECT_GT(fakeusb::Recorded().refusedAfterUnplug, 0);
    EXPECT_TRUE(Log().contains(QStringLiteral("usb bulk read failed")));
    ASSERT_TRUE(WaitFor([&] { return retries > 0; })); // a try that found no bridge listed
    EXPECT_EQ(restored, 0);

    bench.plugIn();
    ASSERT_TRUE(WaitFor([&] { return restored > 0; })) << qPrintable(Log());
    EXPECT_TRUE(reopened);
    const fakeusb::Record back = fakeusb::Recorded();
    EXPECT_EQ(back.baud, 19200);
    EXPECT_FALSE(back.kernelDriverBound);
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(link().CommandOk, 1);
    MCA_Command(QStringLiteral("B")); // the analyser came back without a measurement
    EXPECT_EQ(NextFrameNumber(), 1);

    USB_Close();
    EXPECT_TRUE(fakeusb::Recorded().kernelDriverBound);
    EXPECT_EQ(fakeusb::Recorded().openHandles, 0);
    EXPECT_EQ(fakeusb::LiveContexts(), 0);
}

} // namespace
} // namespace pxr3::test
