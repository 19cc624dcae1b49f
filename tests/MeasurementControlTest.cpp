// Starting and stopping a measurement against the simulated analyser.

#include "acquisition/MeasurementControl.h"
#include "TestSupport.h"
#include "core/WaitSeconds.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkHooks.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/SimulatedAnalyser.h"
#include "devicelink/USB_KOM.h"

#include <algorithm>

namespace pxr3 {
namespace {

const QByteArray kStartFrame = QByteArray::fromHex("4002004202" "46");
const QByteArray kStopFrame = QByteArray::fromHex("4001004546");

class FakePanel : public MeasurementPanel {
public:
    QString timeText() const override { return time; }
    void setTimeText(const QString &text) override { time = text; }
    QString roiText(int index) const override { return roi[index]; }
    void redrawSpectrum(int bound) override { redraws.push_back(bound); }
    void closeLink() override
    {
        ++closes;
        USB_Close();
    }
    void openLink() override
    {
        ++opens;
        state().LinkStatus = static_cast<int16_t>(USB_Open());
    }
    bool timerEnabled() const override { return timer; }
    void setTimerEnabled(bool enabled) override { timer = enabled; }

    QString time = QStringLiteral("2");
    QString roi[2] = {QStringLiteral("5"), QStringLiteral("250")};
    std::vector<int> redraws;
    int closes = 0;
    int opens = 0;
    bool timer = false;
};

class MeasurementControlTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        ResetLinkState();
        auto simulator = std::make_unique<SimulatedAnalyser>(SimulatedAnalyser::Pace::Fast);
        analyser = simulator.get();
        SetDriver(std::move(simulator));
        // The pauses between start attempts pass at once.
        SetLinkHooks({{}, [this] { return panel.time; }, {}});
        previousClock = SetWaitClock({[this] { return fakeNow; }, [this](auto d) { fakeNow += d; }});
    }
    void TearDown() override
    {
        SetWaitClock(previousClock);
        SetLinkHooks({});
        SetDriver(nullptr);
        ProgramFolderFixture::TearDown();
    }
    void connect(std::vector<SimulatedAnalyser::Device> devices)
    {
        analyser->setDevices(std::move(devices));
        state().LinkStatus = static_cast<int16_t>(USB_Open());
    }
    long framesWritten(const QByteArray &frame) const
    {
        const auto &w = analyser->written();
        return std::count(w.begin(), w.end(), frame);
    }

    SimulatedAnalyser *analyser = nullptr;
    FakePanel panel;
    std::chrono::steady_clock::time_point fakeNow{};
    WaitClock previousClock;
};

TEST_F(MeasurementControlTest, AcknowledgedStartRunsTheTimerWithAnEvenTime)
{
    connect({SimulatedAnalyser::Analyser()});
    panel.time = QStringLiteral("7");
    panel.roi[0] = QStringLiteral("12");
    panel.roi[1] = QStringLiteral(" 200 ");
    state().StopRequest = -1;
    link().TotalTime = 50;

    StartMeasurement(panel);

    EXPECT_TRUE(panel.timer);
    EXPECT_EQ(panel.time, QStringLiteral("8"));
    EXPECT_EQ(state().MeasureTime, 8);
    EXPECT_EQ(state().RoiBounds(1), 12);
    EXPECT_EQ(state().RoiBounds(2), 200);
    EXPECT_EQ(state().StopRequest, 0);
    EXPECT_EQ(link().TotalTime, 0);
    EXPECT_EQ(panel.redraws, std::vector<int>{256});
    EXPECT_EQ(framesWritten(kStartFrame), 1);
    EXPECT_TRUE(analyser->measuring());
}

TEST_F(MeasurementControlTest, UnacknowledgedStartGivesUpAfterFiveAttempts)
{
    connect({SimulatedAnalyser::Analyser()});
    // Every start is answered with a damaged frame; stop and the identity of each reopen go well.
    const QByteArray damagedStart = QByteArray::fromHex("4001004200");
    const QByteArray identity = MakeFrame(QByteArray("PXR3 simulated  v1.0 "));
    for (int attempt = 0; attempt < 4; ++attempt) {
        analyser->replyNextWith(damagedStart);
        analyser->replyNextWith(MakeFrame(QByteArray("E")));
        analyser->replyNextWith(identity);
    }
    analyser->replyNextWith(damagedStart);

    StartMeasurement(panel);

    EXPECT_FALSE(panel.timer);
    EXPECT_EQ(state().MeasureState, 4);
    EXPECT_EQ(framesWritten(kStartFrame), 5);
    EXPECT_EQ(framesWritten(kStopFrame), 4);
    EXPECT_EQ(panel.closes, 4);
    EXPECT_EQ(panel.opens, 4);
    EXPECT_EQ(panel.redraws.size(), 5u);
    EXPECT_EQ(state().LinkStatus, 1);
}

TEST_F(MeasurementControlTest, RoiFieldThatIsNotOneNumberKeepsItsBound)
{
    connect({SimulatedAnalyser::Analyser()});
    state().RoiBounds(1) = 1;
    state().RoiBounds(2) = 255;
    panel.roi[0] = QStringLiteral("12a");
    panel.roi[1] = QString();
    StartMeasurement(panel);
    EXPECT_EQ(state().RoiBounds(1), 1);
    EXPECT_EQ(state().RoiBounds(2), 255);
}

// With the timer off the analyser is stopped at once; with it running the next tick does it.
TEST_F(MeasurementControlTest, StopStopsTheAnalyserAtOnceOnlyWithTheTimerOff)
{
    connect({SimulatedAnalyser::Analyser()});
    StartMeasurement(panel);
    for (bool timerRunning : {true, false}) {
        panel.timer = timerRunning;
        state().StopRequest = timerRunning ? 0 : -1; // the opposite of what the stop leaves
        StopMeasurement(panel);
        EXPECT_EQ(framesWritten(kStopFrame), timerRunning ? 0 : 1) << timerRunning;
        EXPECT_EQ(state().StopRequest, timerRunning ? -1 : 0) << timerRunning;
        EXPECT_EQ(panel.timer, timerRunning);
        EXPECT_EQ(analyser->measuring(), timerRunning);
    }
}

TEST(EvenMeasureTime, IsEvenAndAtLeastTwo)
{
    struct Case {
        const char *text;
        int16_t previous;
        int16_t expected;
    };
    const Case cases[] = {
        {"7", 100, 8},     {"8", 100, 8},      {"1", 100, 2},       {"abc", 100, 2}, {"", 100, 2},
        {"-6", 100, 2},    {"2.5", 100, 2},    {"3.5", 100, 4},     {"60 s", 100, 60},
        {"32767", 100, 32766}, {"40000", 10, 10}, {"40000", 9, 10},
    };
    for (const Case &c : cases)
        EXPECT_EQ(EvenMeasureTime(QString::fromLatin1(c.text), c.previous), c.expected) << c.text;
}

} // namespace
} // namespace pxr3
