// Finding and opening the analyser, and the three ways of reaching it.

#include "LinkTestSupport.h"
#include "PtyAnalyser.h"
#include "core/TextFile.h"
#include "devicelink/FtdiDriver.h"
#include "devicelink/LinkRecovery.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/SerialPortDriver.h"

#include <QFile>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace pxr3::test {
namespace {

using Device = SimulatedAnalyser::Device;
using Step = SimulatedAnalyser::Step;

class ConnectionTest : public LinkFixture {
protected:
    void SetUp() override
    {
        LinkFixture::SetUp();
        SetLinkHooks({nullptr, nullptr, [this] { ++connected; }});
    }
    QString ComFile() const { return DecodeWindows1250(FileBytes(path(QStringLiteral("MCA_Com.TXT")))); }
    int connected = 0;
};

TEST_F(ConnectionTest, NoDeviceOrAFailedCountOpensNothing)
{
    sim->setDevices({});
    EXPECT_EQ(USB_Open(), 0);
    EXPECT_EQ(sim->opens(), 0);
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("MCA_Com.TXT"))));
    sim->failDeviceCount(true);
    commLog().clear();
    EXPECT_EQ(USB_Open(), 0);
    EXPECT_EQ(commLog().text(), QStringLiteral("\r\nFT_GetNumDevices failed\r\nClose Failed")); // nothing was open
}

TEST_F(ConnectionTest, AFailingStepIsLoggedAndSkipsTheIdentityQuery)
{
    const struct {
        Step step;
        const char *text;
    } cases[] = {
        {Step::Description, "Device Description failed"},
        {Step::Serial, "To get Serial Number failed"},
        {Step::Open, "Open Failed."},
        {Step::BaudRate, "SetBaudRate Failed"},
        {Step::DataCharacteristics, "SetDataCharacteristics Failed"},
        {Step::Timeouts, "SetTimeouts Failed"},
        {Step::Chars, "SetFlowControl Failed"},
    };
    for (const auto &c : cases) {
        Device device = SimulatedAnalyser::Analyser();
        device.failingStep = c.step;
        sim->setDevices({device});
        commLog().clear();
        const std::size_t written = sim->written().size();
        EXPECT_EQ(USB_Open(), 0) << c.text;
        EXPECT_TRUE(LogHas(QString::fromLatin1(c.text))) << c.text;
        // Every step is still tried (after a failed open, on a handle that is no device).
        const bool lastFails = c.step == Step::Chars || c.step == Step::Open;
        EXPECT_TRUE(commLog().text().endsWith(lastFails ? QStringLiteral("SetFlowControl Failed")
                                                        : QStringLiteral("SetFlowControl Ok.")))
            << c.text;
        EXPECT_EQ(sim->written().size(), written) << c.text;
        EXPECT_EQ(connected, 0);
    }
}

TEST_F(ConnectionTest, TheResultIsThatOfTheLastDeviceTried)
{
    Device failing = SimulatedAnalyser::Analyser("F1");
    failing.failingStep = Step::BaudRate;
    Device stranger{"USB Serial Converter", "S1", "XYZ MCA 2.0", Step::None};

    sim->setDevices({failing, stranger, SimulatedAnalyser::Analyser("A1")});
    EXPECT_EQ(USB_Open(), 1);
    EXPECT_EQ(connected, 1);
    EXPECT_EQ(link().SerialNumber, QStringLiteral("A1"));
    MCA_Command(QStringLiteral("I")); // the device left open is the analyser
    EXPECT_EQ(link().CommandOk, 1);

    sim->setDevices({stranger, failing});
    EXPECT_EQ(USB_Open(), 0); // the stranger was configured, but the last one tried was not
    EXPECT_EQ(connected, 1);

    sim->setDevices({failing, stranger});
    EXPECT_EQ(USB_Open(), 1);
    EXPECT_EQ(connected, 1);
}

TEST_F(ConnectionTest, EveryAttemptAppendsWhatTheComFileLacks)
{
    Device other{"USB Serial Converter", "FT0001", "", Step::None}; // never answers
    sim->setDevices({other, SimulatedAnalyser::Analyser()});
    auto upToOpened = [](const QString &log, int nth) {
        int at = -1;
        for (int i = 0; i < nth; ++i)
            at = log.indexOf(QStringLiteral("Device is opened."), at + 1);
        return log.left(at + int(QStringLiteral("Device is opened.").size()));
    };
    ASSERT_EQ(USB_Open(), 1);
    EXPECT_EQ(ComFile(), upToOpened(commLog().text(), 2));
    ASSERT_EQ(USB_Open(), 1);
    EXPECT_EQ(ComFile(), upToOpened(commLog().text(), 4)); // each entry once
}

TEST_F(ConnectionTest, TheComFileKeepsReplyBytesAsTheyAreAndCzechTextInItsCodePage)
{
    Connect();
    commLog().append(QStringLiteral("Přetečení"));
    const QByteArray identity = QByteArray("PXR3 \x8A\xC8\xE1\x9F\xFF", 10).leftJustified(21, ' ');
    sim->replyNextWith(TestFrame(identity));
    MCA_Command(QStringLiteral("I"));
    ASSERT_EQ(link().CommandOk, 1);
    ASSERT_EQ(USB_Open(), 1); // the log is copied at every connection attempt
    const QByteArray bytes = FileBytes(path(QStringLiteral("MCA_Com.TXT")));
    EXPECT_TRUE(bytes.contains("Code : " + identity));
    EXPECT_TRUE(bytes.contains("P\xF8\x65te\xE8\x65n\xED")); // "Přetečení" in Windows-1250
}

// The test plays the analyser on the master side of a pseudo-terminal.
class SerialPortTest : public LinkFixture {
protected:
    SerialPortTest() : LinkFixture(SimulatedAnalyser::Pace::Fast, Time::Real) { }
    void SetUp() override
    {
        LinkFixture::SetUp();
        master = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(grantpt(master), 0);
        ASSERT_EQ(unlockpt(master), 0);
        slave = ptsname(master);
        auto owned = std::make_unique<SerialPortDriver>(slave);
        port = owned.get();
        SetDriver(std::move(owned));
    }
    void TearDown() override
    {
        LinkFixture::TearDown();
        ::close(master);
    }
    int master = -1;
    std::string slave;
    SerialPortDriver *port = nullptr;
};

TEST_F(SerialPortTest, ListsThePortAndConfiguresItRaw)
{
    uint32_t count = 0;
    ASSERT_EQ(port->countDevices(count), FT_OK);
    EXPECT_EQ(count, 1u);
    std::string text;
    ASSERT_EQ(port->descriptionByIndex(0, text), FT_OK);
    EXPECT_EQ(text, IdentityText("Serial port " + slave));
    ASSERT_EQ(port->serialByIndex(0, text), FT_OK);
    EXPECT_EQ(text, slave.substr(slave.rfind('/') + 1));

    EXPECT_EQ(USB_Open(), 1); // configured, though nothing answered the identity query
    const int fd = ::open(slave.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios tty{};
    ASSERT_EQ(tcgetattr(fd, &tty), 0);
    ::close(fd);
    EXPECT_EQ(cfgetospeed(&tty), speed_t(B19200));
    EXPECT_EQ(tty.c_cflag & CSIZE, tcflag_t(CS8));
    EXPECT_EQ(tty.c_cflag & (PARENB | CSTOPB), tcflag_t(0));
    EXPECT_EQ(tty.c_lflag & (ICANON | ECHO), tcflag_t(0));
}

TEST_F(SerialPortTest, ReceivesInTheBackgroundAndReportsAVanishedPort)
{
    FtHandle h = 0;
    ASSERT_EQ(port->openBySerial(port->serial(), h), FT_OK);
    int announced = 0;
    port->setArrivalHandler([&announced] { ++announced; });
    ASSERT_EQ(::write(master, "\x40\x05\x00", 3), 3);
    ASSERT_TRUE(WaitUntil([&] { return announced > 0; }));
    char buffer[10];
    uint32_t n = 0;
    EXPECT_EQ(port->read(h, buffer, 10, n), FT_OK);
    EXPECT_EQ(QByteArray(buffer, int(n)), Bytes({0x40, 0x05, 0x00}));
    EXPECT_EQ(port->read(h, buffer, 10, n), FT_OK);
    EXPECT_EQ(n, 0u); // nothing more: no waiting
    ::close(master);
    master = -1;
    ASSERT_TRUE(WaitUntil([&] { return port->read(h, buffer, 10, n) != FT_OK; })); // the other end went away
    port->setArrivalHandler(nullptr);
}

// The --port path against the simulated analyser on a pseudo-terminal, at the wire's pace.
class PtyLinkTest : public LinkFixture {
protected:
    PtyLinkTest() : LinkFixture(SimulatedAnalyser::Pace::RealTime, Time::Real) { }
};

TEST_F(PtyLinkTest, IdentifiesAndMeasuresOverThePort)
{
    PtyAnalyser pty;
    ASSERT_TRUE(pty.ready());
    SetDriver(std::make_unique<SerialPortDriver>(pty.portPath().toStdString()));
    ASSERT_EQ(USB_Open(), 1);
    EXPECT_TRUE(commLog().text().contains(QStringLiteral("Code : PXR3 simulated MCA")));
    MCA_Command(QStringLiteral("B"));
    ASSERT_EQ(link().CommandOk, 1);
    std::vector<int> numbers;
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(WaitUntil([&] { return DataFrameReady(); }));
        USB_ReadData();
        EXPECT_EQ(link().Reply, QStringLiteral("DATA Ok"));
        numbers.push_back(link().RxBytes(5));
        MCA_Command(QStringLiteral("R")); // a command between frames gets its reply
        EXPECT_EQ(link().CommandOk, 1);
    }
    EXPECT_EQ(numbers, std::vector<int>({1, 2}));
    USB_Close();
}

// The analyser's end of the port goes away and comes back under the same name, as a bridge
// unplugged and plugged in again: the link opens it again by itself.
TEST_F(PtyLinkTest, APortThatVanishesAndReturnsUnderItsNameIsOpenedAgain)
{
    const QString name = path(QStringLiteral("ttyPXR3"));
    auto pty = std::make_unique<PtyAnalyser>(SimulatedAnalyser::Pace::RealTime, name);
    ASSERT_TRUE(pty->ready());
    SetDriver(std::make_unique<SerialPortDriver>(name.toStdString()));
    ASSERT_EQ(USB_Open(), 1);
    pty.reset();
    ASSERT_TRUE(WaitUntil([] { return linkRecovery().recovering(); }));
    pty = std::make_unique<PtyAnalyser>(SimulatedAnalyser::Pace::RealTime, name);
    ASSERT_TRUE(WaitUntil([] { return !linkRecovery().recovering(); }))
        << qPrintable(QString(Log()).replace(QChar(0), QLatin1Char('.'))); // 5 s on
    EXPECT_TRUE(Log().contains(QStringLiteral("Spojení obnoveno po ")));
    MCA_Command(QStringLiteral("R"));
    EXPECT_EQ(link().CommandOk, 1);
    USB_Close();
}

TEST_F(ConnectionTest, AnUnusablePortIsReportedInTheLog)
{
    SetDriver(std::make_unique<SerialPortDriver>(path(QStringLiteral("no-such-tty")).toStdString()));
    EXPECT_EQ(USB_Open(), 0);
    EXPECT_TRUE(commLog().text().contains(QStringLiteral("no-such-tty neexistuje")));

    WriteFile(path(QStringLiteral("plain")), {});
    SetDriver(std::make_unique<SerialPortDriver>(path(QStringLiteral("plain")).toStdString()));
    EXPECT_EQ(USB_Open(), 0);
    EXPECT_TRUE(commLog().text().contains(QStringLiteral("plain: nelze otevřít")));
}

TEST(FtdiDriver, RefusesUnopenedHandles)
{
    FtdiDriver usb;
    FtHandle h = 0;
    EXPECT_NE(usb.openBySerial("NO-SUCH-SERIAL", h), FT_OK);
    char buffer[4];
    uint32_t n = 0;
    EXPECT_EQ(usb.read(1, buffer, 4, n), FT_INVALID_HANDLE);
    EXPECT_EQ(usb.close(1), FT_INVALID_HANDLE);
}

TEST(DriverChoice, TheCommandLineChoosesTheBackend)
{
    auto choose = [](QStringList args) {
        const CommandLine options = ParseCommandLine(QStringList{QStringLiteral("pxr3")} + args);
        EXPECT_TRUE(options.error.isEmpty()) << args.join(' ').toStdString();
        SetDriver(MakeDriver(options));
        return &driver();
    };
    EXPECT_TRUE(dynamic_cast<SimulatedAnalyser *>(choose({QStringLiteral("--simulate")})) && IsSimulated());
    EXPECT_TRUE(dynamic_cast<FtdiDriver *>(choose({})));
    std::string serial;
    EXPECT_EQ(choose({QStringLiteral("--port"), QStringLiteral("/dev/ttyUSB0")})->serialByIndex(0, serial), FT_OK);
    EXPECT_EQ(serial, "ttyUSB0");
    EXPECT_FALSE(IsSimulated());
    SetDriver(nullptr);

    const CommandLine both =
        ParseCommandLine({QStringLiteral("pxr3"), QStringLiteral("--simulate"), QStringLiteral("--port=/dev/x")});
    EXPECT_FALSE(both.error.isEmpty());
}

} // namespace
} // namespace pxr3::test
