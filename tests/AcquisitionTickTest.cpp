// Starting and stopping a measurement and the acquisition tick, against the simulated analyser
// on a virtual clock: at the wire's real pace for the link's behaviour between frames, with
// made-up frames for the evaluation.

#include "FakeAcquisitionView.h"

#include <QFile>
#include <QRegularExpression>
#include <numeric>

namespace pxr3::test {
namespace {

const QByteArray kStart = Bytes({0x40, 0x02, 0x00, 0x42, 0x02, 0x46});
const QByteArray kData = Bytes({0x40, 0x01, 0x00, 0x44, 0x45});
const QByteArray kStop = Bytes({0x40, 0x01, 0x00, 0x45, 0x46});

class TickTest : public AcquisitionFixture {
protected:
    using AcquisitionFixture::AcquisitionFixture;
    void Start()
    {
        StartMeasurement(view);
        ASSERT_TRUE(view.timer.isActive());
    }
};

class RealPaceTest : public TickTest {
protected:
    RealPaceTest() : TickTest(SimulatedAnalyser::Pace::RealTime) {}
};

TEST(EvenMeasureTime, IsEvenAndAtLeastTwo)
{
    const struct {
        const char *text;
        int16_t previous, expected;
    } cases[] = {
        {"7", 100, 8},  {"1", 100, 2},   {"abc", 100, 2},  {"-6", 100, 2},        {"2.5", 100, 2},
        {"3.5", 100, 4}, {"60 s", 100, 60}, {"32767", 100, 32766}, {"40000", 10, 10}, {"40000", 9, 10},
    };
    for (const auto &c : cases)
        EXPECT_EQ(EvenMeasureTime(QString::fromLatin1(c.text), c.previous), c.expected) << c.text;
}

TEST_F(TickTest, AStartTakesAnEvenTimeAndOnlyRoiFieldsThatAreOneNumber)
{
    view.time = QStringLiteral("7");
    view.roi[0] = QStringLiteral("12");
    view.roi[1] = QStringLiteral(" 200 ");
    state().StopRequest = -1;
    link().TotalTime = 50;
    Start();
    EXPECT_EQ(view.time, QStringLiteral("8"));
    EXPECT_EQ(state().MeasureTime, 8);
    EXPECT_EQ(state().RoiBounds(1), 12);
    EXPECT_EQ(state().RoiBounds(2), 200);
    EXPECT_EQ(state().StopRequest, 0);
    EXPECT_EQ(link().TotalTime, 0);
    EXPECT_TRUE(sim->measuring());
    view.timer.stop();
    view.roi[0] = QStringLiteral("13a");
    view.roi[1] = QString();
    Start();
    EXPECT_EQ(state().RoiBounds(1), 12);
    EXPECT_EQ(state().RoiBounds(2), 200);
}

TEST_F(TickTest, AnUnacknowledgedStartGivesUpAfterFiveAttempts)
{
    // Every start is answered with a damaged frame; the stop and the identity of each reopening go well.
    const QByteArray damagedStart = Bytes({0x40, 0x01, 0x00, 0x42, 0x00});
    for (int attempt = 0; attempt < 4; ++attempt)
        for (const QByteArray &reply : {damagedStart, TestFrame("E"), TestFrame("PXR3 simulated  v1.0 ")})
            sim->replyNextWith(reply);
    sim->replyNextWith(damagedStart);
    StartMeasurement(view);
    EXPECT_FALSE(view.timer.isActive());
    EXPECT_EQ(state().MeasureState, 4);
    EXPECT_EQ(Written(kStart), 5);
    EXPECT_EQ(Written(kStop), 4);
    EXPECT_EQ(view.closes, 4);
    EXPECT_EQ(view.opens, 4);
}

TEST_F(RealPaceTest, AMinuteGivesOneGoodFramePer2sEvenWithCommandsAndABlockedWindowInBetween)
{
    Start();
    std::vector<int> commandsOk;
    auto command = [&](const char *letter) {
        MCA_Command(QString::fromLatin1(letter));
        commandsOk.push_back(link().CommandOk);
    };
    // In the middle of a frame on the wire, just before one begins, and while one arrives.
    programClock().schedule(2'100'000, [&] { command("R"); });
    programClock().schedule(5'990'000, [&] { command("I"); });
    programClock().schedule(10'050'000, [&] { command("D"); });
    // The window busy for 2 s (a slow dialog) in the middle of a frame.
    programClock().schedule(20'100'000, [&] { clock.pass(2 * kSecond); });
    clock.runFor(60'500'000);
    std::vector<int> numbers(30);
    std::iota(numbers.begin(), numbers.end(), 1);
    EXPECT_EQ(view.good, numbers);
    EXPECT_EQ(view.frameTimes, std::set<int>({2}));
    EXPECT_EQ(view.failed, 0);
    EXPECT_EQ(commandsOk, std::vector<int>({1, 1, 1}));
}

TEST_F(RealPaceTest, AFrameCutOffBySilenceIsOneFailedReadingAndTheNextIsGood)
{
    state().MeasureState = 1;
    state().CurrentRow = 1;
    Start();
    view.time = QStringLiteral("200"); // a long cycle: the row stays the running one
    state().MeasureTime = 200;
    programClock().schedule(2'100'000, [&] { sim->stall(1500); });
    clock.runFor(3'500'000);
    EXPECT_EQ(view.failed, 1);
    EXPECT_EQ(measurementTable().textColour(1, 1), kLightRedText);
    clock.runFor(2'000'000);
    EXPECT_EQ(view.good, std::vector<int>({2}));
    EXPECT_EQ(view.failed, 1);
    EXPECT_EQ(measurementTable().textColour(1, 1), kBlackText);
}

TEST_F(RealPaceTest, ALinkSilentFor10sIsReportedAndItsReturnToo)
{
    Start();
    clock.runFor(3 * kSecond);
    sim->stall(14'000);
    clock.runFor(12 * kSecond);
    EXPECT_FALSE(view.delivering);
    EXPECT_TRUE(Status().contains(QStringLiteral("nepřišla 10 s žádná data")));
    EXPECT_EQ(Log().count(QStringLiteral("nepřišla 10 s")), 1);
    clock.runFor(3 * kSecond);
    EXPECT_TRUE(view.delivering);
    EXPECT_TRUE(LogHas(QStringLiteral("Data z analyzátoru opět přicházejí.")));
}

// A data frame whose channel 0 (element 1 of the spectrum) holds `count`.
void SendFrame(SimulatedAnalyser *sim, int count) { sim->send(TestDataFrame(2, 0, count & 0xFF, count >> 8)); }

TEST_F(TickTest, FramesAccumulateAndTheRoiGivesRateOrOverAndActivity)
{
    Start();
    sim->send(QByteArray()); // nothing: the analyser measures in the background
    view.roi[0] = view.roi[1] = QStringLiteral("1");
    MCA_Command(QStringLiteral("E")); // made-up frames only from here on
    StartMeasurement(view);           // refused: the timer runs
    EXPECT_EQ(Written(kStart), 1);
    state().RoiBounds(1) = state().RoiBounds(2) = 1;
    const struct {
        int count;
        const char *rate;
        const char *kf;
        const char *activity;
    } cases[] = {
        {32000, "8.0000E+03", "1", "0.0000E+00"}, // a factor of 1 is not applied
        {32001, "O V E R !", "2.5", "1.9998E+04"}, // clipped to 32000: (32000 - 4) / 4 * 2.5
        {400, "1.0000E+02", "2,5", "2.4750E+02"},
    };
    state().MeasureTime = 4;
    view.background = QStringLiteral("1");
    Spectrum expected = state().CycleSpectrum;
    for (const auto &c : cases) {
        view.kf = QString::fromLatin1(c.kf);
        SendFrame(sim, c.count);
        clock.runFor(300'000);
        EXPECT_EQ(view.rate, QString::fromLatin1(c.rate)) << c.count;
        EXPECT_EQ(view.activity, QString::fromLatin1(c.activity)) << c.count;
        for (int k = 1; k <= 255; ++k)
            expected(k) += state().ReceivedSpectrum(k);
    }
    EXPECT_EQ(state().CycleSpectrum, expected);
    // Reversed bounds sum nothing.
    state().RoiBounds(1) = 9;
    state().RoiBounds(2) = 2;
    SendFrame(sim, 500);
    clock.runFor(300'000);
    EXPECT_EQ(view.rate, QStringLiteral("0.0000E+00"));
}

TEST_F(TickTest, ACycleLastsHalfItsTimeInGoodFramesAndWritesItsRow)
{
    for (const auto &[time, frames] : {std::pair{"7", 4}, {"1", 1}}) {
        view.timer.stop();
        view.time = QString::fromLatin1(time);
        state().MeasureState = 1;
        state().CurrentRow = 3;
        state().CycleSpectrum.fill(0);
        view.inView = 2;
        Start();
        MCA_Command(QStringLiteral("E"));
        int sent = 0;
        while (state().MeasureState == 1 && sent < 10) {
            SendFrame(sim, 10);
            ++sent;
            clock.runFor(300'000);
        }
        EXPECT_EQ(sent, frames) << time;
    }
    MeasurementTable &t = measurementTable();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^02\\.03\\.2026 14:3[78]:\\d\\d$")).match(t.text(3, 1)).hasMatch())
        << t.text(3, 1).toStdString();
    EXPECT_EQ(t.text(3, 3), QStringLiteral("767")); // 10 in channel 0 and 757 in the rest of the frame
    EXPECT_EQ(t.text(3, 4), QStringLiteral("2"));
    EXPECT_EQ(t.textColour(3, 1), kBlackText);
    EXPECT_EQ(t.topRow(), 2); // the last two rows in view
}

TEST_F(TickTest, TheTimeCourseAndTheDataLogTakeTheRateOfEachFrame)
{
    LocaleScope czech(QLocale::Czech);
    Start();
    MCA_Command(QStringLiteral("E"));
    view.logData = true;
    SendFrame(sim, 100);
    clock.runFor(300'000);
    EXPECT_TRUE(view.points.empty()); // the time course was never opened: no point, no log line
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("DATA_LOG.TXT"))));

    state().CourseWindowOpen = -1;
    state().CycleTick = 1;
    state().MeasureTime = 200;
    view.background = QStringLiteral("0,5");
    SendFrame(sim, 100);
    clock.runFor(300'000);
    ASSERT_EQ(view.points.size(), 1u);
    EXPECT_DOUBLE_EQ(view.points[0].first, FakeView::kCourseStart + 2.0 / 86400);
    EXPECT_EQ(view.points[0].second, 857); // 100 in channel 0 and 757 in the rest of the frame
    // The log carries the activity computed with a factor of 1, which the window shows as 0.
    EXPECT_TRUE(FileBytes(path(QStringLiteral("DATA_LOG.TXT"))).endsWith("\t8,5700E+02\t8,5650E+02\t1\r\n"));
    EXPECT_EQ(view.activity, QStringLiteral("0,0000E+00"));

    view.smoothing = true; // p = 0 from rest: the output goes half way to the input
    SendFrame(sim, 100);
    clock.runFor(300'000);
    EXPECT_NEAR(view.points.back().second, 857 * 0.49990002, 1e-3);
}

TEST_F(TickTest, AStopWaitsForTheNextTickWhileTheTimerRunsAndOtherwiseStopsAtOnce)
{
    Start();
    const std::size_t before = sim->written().size();
    StopMeasurement(view);
    EXPECT_EQ(sim->written().size(), before); // nothing until the tick
    clock.runFor(300'000);
    EXPECT_EQ(std::vector<QByteArray>(sim->written().begin() + long(before), sim->written().end()),
              std::vector<QByteArray>({kData, kStop, kData, kStop}));
    EXPECT_FALSE(view.timer.isActive());
    EXPECT_EQ(state().MeasureState, 4);
    EXPECT_FALSE(view.delivering); // the analyser stopped: no green picture left behind
    state().StopRequest = -1;
    StopMeasurement(view);
    EXPECT_EQ(sim->written().back(), kStop);
    EXPECT_EQ(state().StopRequest, 0);
}

} // namespace
} // namespace pxr3::test
