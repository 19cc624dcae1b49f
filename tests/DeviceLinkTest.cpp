// Frames, commands and data frames against the simulated analyser.

#include "LinkTestSupport.h"
#include "devicelink/MCA_kom.h"

namespace pxr3::test {
namespace {

TEST(Checksum, SumsCharacterCodesModulo256)
{
    EXPECT_EQ(CSUM(QString::fromLatin1("\x01\x00I", 3)), QString(QChar(0x4A)));
    EXPECT_EQ(CSUM(QString::fromLatin1("\xFF\x2D", 2)), QString(QChar(0x2C))); // 300
    EXPECT_EQ(CSUM(QString()), QString(QChar(0)));
    EXPECT_EQ(MakeFrame("I"), Bytes({0x40, 0x01, 0x00, 0x49, 0x4A}));
}

class CommandTest : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        SetLinkHooks({[this] { return highVoltageBox; }, [this] { return timeBox; }, nullptr});
        Connect();
        writtenBefore = sim->written().size();
    }
    QByteArray Sent() const { return sim->written().back(); }
    bool NothingSent() const { return sim->written().size() == writtenBefore; }

    QString highVoltageBox;
    QString timeBox;
    std::size_t writtenBefore = 0;
};

TEST_F(CommandTest, EachLetterSendsItsFrame)
{
    const struct {
        const char *letter;
        QByteArray frame;
    } cases[] = {
        {"I", Bytes({0x40, 0x01, 0x00, 0x49, 0x4A})}, {"R", Bytes({0x40, 0x01, 0x00, 0x52, 0x53})},
        {"B", Bytes({0x40, 0x02, 0x00, 0x42, 0x02, 0x46})}, {"E", Bytes({0x40, 0x01, 0x00, 0x45, 0x46})},
        {"D", Bytes({0x40, 0x01, 0x00, 0x44, 0x45})},
    };
    for (const auto &c : cases) {
        MCA_Command(QString::fromLatin1(c.letter));
        EXPECT_EQ(Sent(), c.frame) << c.letter;
        EXPECT_EQ(link().CommandOk, 1) << c.letter;
    }
}

TEST_F(CommandTest, HighVoltageIsSentWithin0To1000)
{
    const struct {
        const char *box;
        QByteArray frame;
    } cases[] = {
        {"1500", Bytes({0x40, 0x03, 0x00, 0x57, 0xE8, 0x03, 0x45})},
        {"", Bytes({0x40, 0x03, 0x00, 0x57, 0x00, 0x00, 0x5A})},
        {"-20", Bytes({0x40, 0x03, 0x00, 0x57, 0x00, 0x00, 0x5A})},
        {"640.5 V", Bytes({0x40, 0x03, 0x00, 0x57, 0x80, 0x02, 0xDC})}, // half to even
    };
    for (const auto &c : cases) {
        highVoltageBox = QString::fromLatin1(c.box);
        MCA_Command(QStringLiteral("W"));
        EXPECT_EQ(Sent(), c.frame) << c.box;
        EXPECT_TRUE(LogHas(QStringLiteral("SET HV:") + link().Reply)) << c.box;
    }
    EXPECT_EQ(sim->highVoltage(), 640);
}

TEST_F(CommandTest, ABoxOutside16BitsIsLoggedAndThePreviousValueSent)
{
    highVoltageBox = QStringLiteral("700");
    MCA_Command(QStringLiteral("W"));
    highVoltageBox = QStringLiteral("99999");
    MCA_Command(QStringLiteral("W"));
    EXPECT_TRUE(commLog().text().contains(QStringLiteral("Přetečení: VN \"99999\"")));
    EXPECT_EQ(Sent(), Bytes({0x40, 0x03, 0x00, 0x57, 0xBC, 0x02, 0x18}));
    EXPECT_EQ(link().HighVoltageValue, 700);
}

TEST_F(CommandTest, ALetterWithoutACommandSendsTheBareFrameAndReadsNothing)
{
    const uint64_t reads = sim->readCalls();
    MCA_Command(QStringLiteral("T"));
    EXPECT_EQ(Sent(), Bytes({0x40, 0x00}));
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(sim->readCalls(), reads);
    EXPECT_EQ(commLog().status(), QStringLiteral("Write Ok."));
    EXPECT_EQ(LastEntry(), QStringLiteral("Write : "));
}

TEST_F(CommandTest, IdentityIsLoggedAndAccepted)
{
    MCA_Command(QStringLiteral("I"));
    const QString identity = QStringLiteral("PXR3 simulated MCA   ");
    EXPECT_EQ(link().Message, identity);
    EXPECT_EQ(link().RxLen, 21);
    EXPECT_TRUE(commLog().text().endsWith(QStringLiteral("\r\nCode : ") + identity + QStringLiteral("\r\nCode Ok.")));
    EXPECT_TRUE(LogHas(QStringLiteral("Read :\r\nNo.bytes : 21\r\nMessage : ") + link().Reply));
}

TEST_F(CommandTest, HighVoltageReadBackAndStartStop)
{
    highVoltageBox = QStringLiteral("812");
    MCA_Command(QStringLiteral("W"));
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(link().HighVoltageValue, 812);
    EXPECT_EQ(state().DeviceHighVoltage, 812);
    EXPECT_EQ(LastEntry(), QStringLiteral("VN:812/812"));

    timeBox = QStringLiteral("7.5");
    MCA_Command(QStringLiteral("B"));
    EXPECT_EQ(state().MeasureTime, 8);
    EXPECT_TRUE(sim->measuring());
    EXPECT_TRUE(LogHas(QStringLiteral("START:") + link().Reply));
    MCA_Command(QStringLiteral("E"));
    EXPECT_FALSE(sim->measuring());
    EXPECT_TRUE(LogHas(QStringLiteral("STOP:") + link().Reply));
}

TEST_F(CommandTest, AHighVoltageWithTheHighBitSetIsAFaultAndKeepsThePreviousValue)
{
    highVoltageBox = QStringLiteral("500");
    MCA_Command(QStringLiteral("W"));
    state().DeviceHighVoltage = 498;
    sim->replyNextWith(TestFrame(Bytes({'R', 0x00, 0x80, 0xF2, 0x81})));
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(link().HighVoltageValue, 500);
    EXPECT_EQ(state().DeviceHighVoltage, 498);
    EXPECT_TRUE(LogHas(QStringLiteral("Přetečení: VN 32768")));
    EXPECT_EQ(LastEntry(), QStringLiteral("VN:498/500"));
}

TEST_F(CommandTest, DataReplyDecodesTheWholeTimeWord)
{
    sim->replyNextWith(TestDataFrame(0x2C, 0x01, 0x10, 0x27, 9));
    MCA_Command(QStringLiteral("D"));
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(link().FrameTime, 300);
    EXPECT_EQ(link().TotalTime, 0);
    EXPECT_EQ(state().ReceivedSpectrum(1), 10000);
    EXPECT_EQ(state().ReceivedSpectrum(254), 253 % 7);
    EXPECT_EQ(LastEntry(), QStringLiteral("Time:300 [s]"));
    EXPECT_TRUE(LogHas(QStringLiteral("DATA:\r\nNo.Meas.:9\r\nTime:300 [s]")));
}

TEST_F(CommandTest, DataReplyWithABadChecksumLeavesTheSpectrum)
{
    state().ReceivedSpectrum.fill(5);
    QByteArray frame = TestDataFrame(2, 0, 0x10, 0x27);
    frame.back() = char(frame.back() + 1);
    sim->replyNextWith(frame);
    MCA_Command(QStringLiteral("D"));
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(state().ReceivedSpectrum(1), 5);
    EXPECT_TRUE(commLog().text().endsWith(QStringLiteral("\r\nCSUM ERROR !\r\nRead :\r\nNo.bytes : 513\r\nMessage : ") +
                                          link().Reply));
}

TEST_F(CommandTest, FaultsOfTheReplyEndInTheirTextsAndStates)
{
    sim->failNext(SimulatedAnalyser::Fault::NoReply);
    MCA_Command(QStringLiteral("I"));
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(commLog().status(), QStringLiteral("FT_Read timeout ftStatus = 0"));
    EXPECT_EQ(link().RxTimeout, -1);

    sim->failNext(SimulatedAnalyser::Fault::WrongStartByte);
    MCA_Command(QStringLiteral("I"));
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(LastEntry(), QStringLiteral("Write : GET ID")); // nothing logged after the write

    sim->failNext(SimulatedAnalyser::Fault::WrongChecksum);
    MCA_Command(QStringLiteral("I"));
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_TRUE(LogHas(QStringLiteral("CSUM ERROR !")));
    EXPECT_FALSE(commLog().text().endsWith(QStringLiteral("Code Ok.")));

    sim->failNext(SimulatedAnalyser::Fault::InPieces);
    MCA_Command(QStringLiteral("I"));
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_TRUE(commLog().text().endsWith(QStringLiteral("Code Ok.")));

    sim->failNext(SimulatedAnalyser::Fault::DropByte);
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(commLog().status(), QStringLiteral("FT_Read timeout ftStatus = 0"));
    EXPECT_EQ(link().RxData.size(), 8); // what arrived stays

    sim->disconnect();
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(commLog().status(), QStringLiteral("Write to USB port failed."));
    EXPECT_EQ(state().LinkStatus, -1);
    EXPECT_EQ(link().CommandOk, 0);
}

TEST_F(CommandTest, AWaitLetsEventsRunEvery50MsAtMost)
{
    sim->failNext(SimulatedAnalyser::Fault::NoReply);
    eventRuns = 0;
    const uint64_t reads = sim->readCalls();
    MCA_Command(QStringLiteral("R"));
    EXPECT_LE(sim->longestReadTimeout(), kReadSliceMs);
    EXPECT_EQ(sim->readCalls() - reads, kReadTimeoutMs / kReadSliceMs);
    EXPECT_GE(eventRuns, int(kReadTimeoutMs / kReadSliceMs));
}

TEST_F(CommandTest, AReplyNeverSwallowsTheDataFrameBehindIt)
{
    const QByteArray reply = TestFrame(Bytes({'R', 0x20, 0x03, 0x1E, 0x03}));
    sim->replyNextWith(reply + TestDataFrame(2, 0, 0x10, 0x27));
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(state().DeviceHighVoltage, 798);
    USB_ReadData();
    EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok"));
    EXPECT_EQ(state().ReceivedSpectrum(1), 10000);
}

TEST_F(CommandTest, ANestedOperationDuringAWaitIsRefused)
{
    bool busySeen = false;
    int nestedOk = -1;
    QString nestedStatus;
    duringWait = [&] {
        duringWait = nullptr;
        busySeen = LinkBusy();
        MCA_Command(QStringLiteral("E"));
        USB_ReadData();
        nestedOk = link().CommandOk;
        nestedStatus = commLog().status();
    };
    sim->failNext(SimulatedAnalyser::Fault::InPieces); // the reply needs several waits
    MCA_Command(QStringLiteral("I"));
    EXPECT_TRUE(busySeen);
    EXPECT_EQ(nestedOk, 0);
    EXPECT_EQ(nestedStatus, QStringLiteral("Spojení je zaneprázdněno, příkaz odmítnut."));
    EXPECT_EQ(sim->written().size(), writtenBefore + 1); // only the outer command went out
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_FALSE(LinkBusy());
}

class DataFrameTest : public CommandTest {
protected:
    void SetUp() override
    {
        CommandTest::SetUp();
        timeBox = QStringLiteral("2");
        MCA_Command(QStringLiteral("B"));
        commLog().clear();
    }
};

TEST_F(DataFrameTest, AGoodFrameIsDecodedAndLogged)
{
    state().ReceivedSpectrum(255) = -1;
    state().ReceivedSpectrum(256) = -2;
    const uint64_t reads = sim->readCalls();
    USB_ReadData();
    EXPECT_EQ(sim->readCalls() - reads, 1u);
    EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok"));
    EXPECT_EQ(commLog().status(), QStringLiteral("DATA Ok"));
    EXPECT_EQ(link().CommandOk, 1);
    EXPECT_EQ(link().FrameTime, 2);
    EXPECT_EQ(link().TotalTime, 2);
    EXPECT_EQ(state().ReceivedSpectrum(255), -1);
    EXPECT_EQ(state().ReceivedSpectrum(256), -2);
    EXPECT_EQ(commLog().text(), QStringLiteral("\r\nData received ...\r\n\r\nCSUM Ok !\r\nRead :\r\nNo.bytes : 513"
                                               "\r\nDATA:\r\nNo.Meas.:1\r\nTime:2 [s]"));
}

TEST_F(DataFrameTest, ChannelsAndTimeComeFromTheirBytes)
{
    MCA_Command(QStringLiteral("E"));
    sim->send(TestDataFrame(0x2C, 0x01, 0x10, 0x27));
    USB_ReadData();
    EXPECT_EQ(link().FrameTime, 44); // the low byte alone
    EXPECT_EQ(link().TotalTime, 44);
    EXPECT_EQ(state().ReceivedSpectrum(1), 10000);
    // Counts cannot be negative: a high byte of 0x80 or more still means a count.
    sim->send(TestDataFrame(2, 0, 0xFF, 0xFF));
    USB_ReadData();
    EXPECT_EQ(state().ReceivedSpectrum(1), 65535);
    EXPECT_EQ(link().TotalTime, 46);
}

TEST_F(DataFrameTest, FailuresLeaveTheSpectrumAndSayWhy)
{
    MCA_Command(QStringLiteral("E"));
    state().ReceivedSpectrum.fill(3);
    QByteArray bad = TestDataFrame(2, 0, 0x10, 0x27);
    bad.back() = char(bad.back() ^ 1);
    sim->send(bad);
    commLog().clear();
    USB_ReadData();
    EXPECT_EQ(link().CommandOk, 0);
    EXPECT_EQ(LastEntry(), QStringLiteral("CSUM ERROR !"));
    EXPECT_FALSE(LogHas(QStringLiteral("Read :")));
    EXPECT_EQ(state().ReceivedSpectrum(1), 3);

    USB_ReadData(); // nothing comes
    EXPECT_EQ(commLog().status(), QStringLiteral("FT_Read timeout ftStatus = 0"));
    EXPECT_EQ(link().CommandOk, 0);

    sim->disconnect();
    USB_ReadData();
    EXPECT_EQ(commLog().status(), QStringLiteral("FT_Read error ftStatus = 2"));
    EXPECT_EQ(link().RxError, -1);
    EXPECT_EQ(state().ReceivedSpectrum(1), 3);
}

TEST_F(DataFrameTest, AStallEndsOneReadAndTheFramesGoOnAfterIt)
{
    sim->stall(1500);
    USB_ReadData();
    EXPECT_EQ(commLog().status(), QStringLiteral("FT_Read timeout ftStatus = 0"));
    USB_ReadData();
    EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok"));
}

// Measurement numbers of the frames read well, in order, over `reads` reads with the given
// fault injected into the second frame.
std::vector<int> GoodFrames(SimulatedAnalyser &sim, SimulatedAnalyser::Fault fault, int reads)
{
    std::vector<int> numbers;
    for (int i = 0; i < reads; ++i) {
        if (i == 1)
            sim.failNext(fault);
        USB_ReadData();
        if (link().Reply == QStringLiteral("DATA Ok"))
            numbers.push_back(link().RxBytes(5));
    }
    return numbers;
}

TEST_F(DataFrameTest, TheStreamRecoversAfterADamagedFrameWithoutLosingTheNext)
{
    using F = SimulatedAnalyser::Fault;
    for (F fault : {F::DropByte, F::ExtraByte, F::WrongStartByte, F::WrongChecksum}) {
        MCA_Command(QStringLiteral("B"));
        const std::vector<int> numbers = GoodFrames(*sim, fault, 7);
        // Frame 2 is lost to the fault; every frame after it arrives, in order.
        ASSERT_GE(numbers.size(), 5u) << int(fault);
        EXPECT_EQ(numbers.front(), 1) << int(fault);
        for (std::size_t i = 1; i < numbers.size(); ++i)
            EXPECT_EQ(numbers[i], int(i) + 2) << int(fault);
    }
}

TEST_F(DataFrameTest, DataCommandGivesTheWholeMeasurementSoFar)
{
    Spectrum sum;
    for (int i = 0; i < 3; ++i) {
        USB_ReadData();
        for (int k = 1; k <= 254; ++k)
            sum(k) += state().ReceivedSpectrum(k);
    }
    MCA_Command(QStringLiteral("D"));
    ASSERT_EQ(link().CommandOk, 1);
    EXPECT_EQ(link().FrameTime, 6);
    EXPECT_EQ(link().RxBytes(5), 3);
    EXPECT_EQ(state().ReceivedSpectrum, sum);
}

TEST_F(DataFrameTest, OpeningOrClosingDuringAWaitIsRefusedToo)
{
    int opened = -1;
    duringWait = [&] {
        duringWait = nullptr;
        opened = USB_Open();
        USB_Close();
    };
    USB_ReadData();
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok")); // the device stayed open
    EXPECT_EQ(sim->opens(), 1);
}

TEST_F(DataFrameTest, TheSimulatedSpectrumShowsBothAlphaPeaks)
{
    Spectrum sum;
    for (int i = 0; i < 60; ++i) {
        USB_ReadData();
        ASSERT_EQ(link().Reply, QStringLiteral("DATA Ok"));
        for (int k = 1; k <= 254; ++k)
            sum(k) += state().ReceivedSpectrum(k);
    }
    EXPECT_EQ(link().TotalTime, 120);
    auto window = [&](int from, int to) {
        long total = 0;
        for (int k = from; k <= to; ++k)
            total += sum(k);
        return double(total) / (to - from + 1);
    };
    const double po218 = window(150, 156), po214 = window(196, 202), between = window(170, 180),
                 above = window(215, 254);
    EXPECT_GT(po218, 5 * between);
    EXPECT_GT(po214, 5 * between);
    EXPECT_GT(between, above); // the low-energy tail of Po-214
    EXPECT_GT(window(1, 20), 0.0); // a continuum under it all
}

} // namespace
} // namespace pxr3::test
