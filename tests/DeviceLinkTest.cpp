// Frames, commands and data frames against the simulated analyser.

#include "LinkTestSupport.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/MCA_kom.h"

namespace pxr3::test {
namespace {

using Fault = SimulatedAnalyser::Fault;
const QString kTimeout = QStringLiteral("FT_Read timeout ftStatus = 0");

class CommandTest : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        SetLinkHooks({[this] { return highVoltageBox; }, [this] { return timeBox; }, nullptr});
        Connect();
    }
    static void Command(const char *letter) { MCA_Command(QString::fromLatin1(letter)); }
    QByteArray Sent() const { return sim->written().back(); }
    // The next frame the analyser sends is this data frame, with its checksum spoiled if asked.
    void NextData(bool spoiled, bool asReply, int time5 = 2, int time6 = 0)
    {
        QByteArray frame = TestDataFrame(time5, time6, 0x10, 0x27);
        if (spoiled)
            frame.back() = char(frame.back() ^ 1);
        asReply ? sim->replyNextWith(frame) : sim->send(frame);
    }

    QString highVoltageBox;
    QString timeBox;
};

TEST_F(CommandTest, EachLetterSendsItsFrame)
{
    const std::pair<const char *, QByteArray> cases[] = {
        {"I", Bytes({0x40, 0x01, 0x00, 0x49, 0x4A})},       {"R", Bytes({0x40, 0x01, 0x00, 0x52, 0x53})},
        {"B", Bytes({0x40, 0x02, 0x00, 0x42, 0x02, 0x46})}, {"E", Bytes({0x40, 0x01, 0x00, 0x45, 0x46})},
        {"D", Bytes({0x40, 0x01, 0x00, 0x44, 0x45})},       {"T", Bytes({0x40, 0x00})}, // no such command
    };
    for (const auto &[letter, frame] : cases) {
        const uint64_t reads = sim->readCalls();
        Command(letter);
        EXPECT_EQ(Sent(), frame) << letter;
        EXPECT_EQ(link().CommandOk, 1) << letter;
        EXPECT_EQ(sim->readCalls() == reads, frame.size() == 2) << letter; // the bare frame reads nothing
    }
    EXPECT_EQ(Status(), QStringLiteral("Write Ok."));
}

TEST_F(CommandTest, HighVoltageIsSentWithin0To1000AndAn16BitOverflowSendsThePrevious)
{
    const std::pair<const char *, QByteArray> cases[] = {
        {"1500", Bytes({0x40, 0x03, 0x00, 0x57, 0xE8, 0x03, 0x45})},
        {"", Bytes({0x40, 0x03, 0x00, 0x57, 0x00, 0x00, 0x5A})},
        {"-20", Bytes({0x40, 0x03, 0x00, 0x57, 0x00, 0x00, 0x5A})},
        {"640.5 V", Bytes({0x40, 0x03, 0x00, 0x57, 0x80, 0x02, 0xDC})}, // half to even
        {"99999", Bytes({0x40, 0x03, 0x00, 0x57, 0x80, 0x02, 0xDC})},
    };
    for (const auto &[box, frame] : cases) {
        highVoltageBox = QString::fromLatin1(box);
        Command("W");
        EXPECT_EQ(Sent(), frame) << box;
    }
    EXPECT_TRUE(Log().contains(QStringLiteral("Přetečení: VN \"99999\"")));
    EXPECT_EQ(link().HighVoltageValue, 640);
    EXPECT_EQ(sim->highVoltage(), 640);

    // A voltage read back above 1000 is not sent on when the box cannot be read.
    sim->replyNextWith(TestFrame(Bytes({'R', 0xD0, 0x07, 0xD0, 0x07})));
    Command("R");
    ASSERT_EQ(link().HighVoltageValue, 2000);
    Command("W");
    EXPECT_EQ(Sent(), Bytes({0x40, 0x03, 0x00, 0x57, 0xE8, 0x03, 0x45}));
}

// A high voltage read with the high bit set is a fault and keeps the previous value.
TEST_F(CommandTest, AnOverflowingHighVoltageReadingKeepsThePreviousValue)
{
    highVoltageBox = QStringLiteral("500");
    Command("W");
    state().DeviceHighVoltage = 498;
    sim->replyNextWith(TestFrame(Bytes({'R', 0x00, 0x80, 0xF2, 0x81})));
    Command("R");
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(link().HighVoltageValue, 500);
    EXPECT_EQ(state().DeviceHighVoltage, 498);
    EXPECT_TRUE(LogHas(QStringLiteral("Přetečení: VN 32768")));
}

TEST_F(CommandTest, DataReplyDecodesTheWholeTimeWordAndABadChecksumLeavesTheSpectrum)
{
    sim->replyNextWith(TestDataFrame(0x2C, 0x01, 0x10, 0x27, 9));
    Command("D");
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(link().FrameTime, 300);
    EXPECT_EQ(link().TotalTime, 0);
    EXPECT_EQ(state().ReceivedSpectrum(1), 10000);
    EXPECT_EQ(state().ReceivedSpectrum(254), 253 % 7);
    // A time word with the high bit set is reported where it is read, between count and time.
    sim->replyNextWith(TestDataFrame(0x2C, 0x81, 0x10, 0x27, 9));
    Command("D");
    EXPECT_EQ(link().FrameTime, 300);
    EXPECT_TRUE(Log().endsWith(QStringLiteral("DATA:\r\nNo.Meas.:9\r\n\r\nPřetečení: Time 33068Time:300 [s]")));
    // A bad checksum leaves the spectrum.
    state().ReceivedSpectrum.fill(5);
    NextData(true, true);
    Command("D");
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(state().ReceivedSpectrum(1), 5);
}

TEST_F(CommandTest, FaultsOfTheReplyEndInTheirTextsAndStates)
{
    sim->failNext(Fault::NoReply);
    Command("I");
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(Status(), kTimeout);
    EXPECT_EQ(link().RxTimeout, -1);

    sim->failNext(Fault::WrongStartByte);
    Command("I");
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(LastEntry(), QStringLiteral("Write : GET ID")); // nothing logged after the write

    sim->failNext(Fault::WrongChecksum);
    Command("I");
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_TRUE(LogHas(QStringLiteral("CSUM ERROR !")));

    sim->failNext(Fault::InPieces);
    Command("I");
    EXPECT_EQ(link().CommandOk, 1);

    sim->failNext(Fault::DropByte);
    Command("R");
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(Status(), kTimeout);
    EXPECT_EQ(link().RxData.size(), 8); // what arrived stays

    sim->disconnect();
    Command("R");
    EXPECT_EQ(Status(), QStringLiteral("Write to USB port failed."));
    EXPECT_EQ(state().LinkStatus, -1);
    EXPECT_EQ(link().CommandOk, 0);
}

TEST_F(CommandTest, AWaitRunsTheEventLoopAndEndsAfter900msOfSilenceNotOfTotalTime)
{
    bool timerRan = false;
    programClock().schedule(100'000, [&timerRan] { timerRan = true; });
    sim->failNext(Fault::NoReply);
    const int64_t before = clock.nowUs();
    Command("R");
    EXPECT_TRUE(timerRan);
    EXPECT_EQ(clock.nowUs() - before, 900'000);
    EXPECT_EQ(Status(), kTimeout);
    // A long reply trickling in with short gaps is waited for to its end (7.4 s here).
    sim->failNext(Fault::InPieces);
    Command("D");
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_GT(clock.nowUs() - before, 7 * kSecond);
}

TEST_F(CommandTest, AReplyNeverSwallowsTheDataFrameBehindIt)
{
    sim->replyNextWith(TestFrame(Bytes({'R', 0x20, 0x03, 0x1E, 0x03})) + TestDataFrame(2, 0, 0x10, 0x27));
    Command("R");
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(state().DeviceHighVoltage, 798);
    ASSERT_TRUE(RunUntilDataFrame());
    USB_ReadData();
    EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok"));
    EXPECT_EQ(state().ReceivedSpectrum(1), 10000);
}

TEST_F(CommandTest, OperationsDuringACommandsWaitAreRefused)
{
    bool busySeen = false;
    int nestedOk = -1;
    int opened = -1;
    programClock().schedule(50'000, [&] {
        busySeen = LinkBusy();
        Command("E");
        nestedOk = link().CommandOk;
        opened = USB_Open();
        USB_Close();
    });
    sim->failNext(Fault::InPieces); // the reply takes 400 ms
    const std::size_t writtenBefore = sim->written().size();
    Command("I");
    EXPECT_TRUE(busySeen);
    EXPECT_EQ(nestedOk, 0);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(sim->written().size(), writtenBefore + 1); // only the outer command went out
    EXPECT_EQ(sim->opens(), 1);
    EXPECT_EQ(link().CommandOk, 1);
}

TEST_F(CommandTest, AWaitAbandonedAsTheProgramEndsFailsAtOnce)
{
    programClock().schedule(50'000, [] { AbandonReplyWait(); });
    sim->failNext(Fault::NoReply);
    const int64_t before = clock.nowUs();
    Command("R");
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(clock.nowUs() - before, 50'000);
    EXPECT_FALSE(LinkBusy());
}

class DataFrameTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        timeBox = QStringLiteral("2");
        Command("B");
        commLog().clear();
    }
    // The next thing USB_ReadData takes, after letting the analyser send it.
    void ReadNext()
    {
        ASSERT_TRUE(RunUntilDataFrame());
        link().Reply.clear(); // as the acquisition tick does
        USB_ReadData();
    }
};

TEST_F(DataFrameTest, AGoodFrameIsReadAndTheLastTwoElementsNeverWritten)
{
    state().ReceivedSpectrum(255) = -1;
    state().ReceivedSpectrum(256) = -2;
    USB_ReadData(); // nothing there yet: no waiting, nothing changes
    EXPECT_EQ(link().CommandOk, 0);
    ReadNext();
    EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok"));
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(state().ReceivedSpectrum(255), -1);
    EXPECT_EQ(state().ReceivedSpectrum(256), -2);
}

TEST_F(DataFrameTest, ChannelsAndTimeComeFromTheirBytesAndFailuresLeaveTheSpectrum)
{
    Command("E");
    NextData(false, false, 0x2C, 0x01);
    ReadNext();
    EXPECT_EQ(link().FrameTime, 44); // the low byte alone
    EXPECT_EQ(link().TotalTime, 44);
    EXPECT_EQ(state().ReceivedSpectrum(1), 10000);
    // Counts cannot be negative: a high byte of 0x80 or more still means a count.
    sim->send(TestDataFrame(2, 0, 0xFF, 0xFF));
    ReadNext();
    EXPECT_EQ(state().ReceivedSpectrum(1), 65535);
    EXPECT_EQ(link().TotalTime, 46);
    // Failures leave the spectrum and say why.
    state().ReceivedSpectrum.fill(3);
    NextData(true, false);
    commLog().clear();
    ReadNext();
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(LastEntry(), QStringLiteral("CSUM ERROR !"));
    state().ReceivedSpectrum.fill(3);
    sim->disconnect();
    ReadNext();
    EXPECT_EQ(Status(), QStringLiteral("FT_Read error ftStatus = 2"));
    EXPECT_EQ(link().RxError, -1);
    EXPECT_EQ(state().ReceivedSpectrum(1), 3);
}

TEST_F(DataFrameTest, StrayBytesWhoseSumLooksRightAreAFailedReadingNotAFrame)
{
    // "40 01" passed the checksum as a frame: the length field's one byte is its own sum.
    Command("E");
    state().ReceivedSpectrum.fill(3);
    sim->send(Bytes({0x40, 0x01}) + TestDataFrame(2, 0, 7, 0));
    ReadNext();
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(state().ReceivedSpectrum(1), 3);
    ReadNext();
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(state().ReceivedSpectrum(1), 7);
}

TEST_F(DataFrameTest, BytesOfAClosedDeviceNeverBeginAFrameOfTheNext)
{
    Command("E");
    sim->send(TestDataFrame(2, 0, 0x10, 0x27).left(100));
    clock.runFor(20'000);
    USB_Close();
    Connect();
    sim->send(TestDataFrame(2, 0, 0x10, 0x27));
    ReadNext();
    EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok"));
}

} // namespace
} // namespace pxr3::test
