// Starting and stopping a measurement and the acquisition tick, against the simulated analyser
// on a virtual clock: at the wire's real pace for the link's behaviour between frames, with
// made-up frames for the evaluation.

#include "FakeAcquisitionView.h"
#include "acquisition/CycleSpectrum.h"
#include "core/NumberText.h"

#include <QFile>
#include <QRegularExpression>
#include <cmath>
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
    RealPaceTest() : TickTest(SimulatedAnalyser::Pace::RealTime) { }
};

TEST(EvenMeasureTime, IsEvenAndAtLeastTwo)
{
    const struct {
        const char *text;
        int16_t previous, expected;
    } cases[] = {
        {"7", 100, 8},   {"1", 100, 2},     {"abc", 100, 2},       {"-6", 100, 2},    {"2.5", 100, 2},
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
    RequestStop();
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
    const int ticksBefore = view.ticks;
    clock.runFor(60'500'000);
    // The 100 ms timer ticks when a frame has come (or a command holds the link), not 600 times.
    EXPECT_LT(view.ticks - ticksBefore, 60);
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
    clock.runFor(5 * kSecond); // the link opened again 5 s after the loss, the next frame 2 s on
    EXPECT_TRUE(view.delivering);
    EXPECT_TRUE(Log().contains(QStringLiteral("Data z analyzátoru opět přicházejí.")));
}

TEST_F(RealPaceTest, ReadOutsDataLogCourseAndExportAgreeWithTheFramesWorkedByHand)
{
    LocaleScope czech(QLocale::Czech);
    view.time = QStringLiteral("100"); // one long cycle
    view.roi[0] = QStringLiteral("120");
    view.roi[1] = QStringLiteral("180");
    view.kf = QStringLiteral("2,5");
    view.background = QStringLiteral("0,5");
    view.logData = true;
    state().CourseWindowOpen = -1;
    RestartCoursePoints();
    EraseCycleSpectrum();
    Start();
    clock.runFor(30'500'000);
    ASSERT_EQ(view.frames.size(), 15u); // one each 2 s
    const double counts = FramesRoi(view.frames, 0, 120, 180);
    double seconds = 0;
    for (const QByteArray &f : view.frames)
        seconds += FrameSeconds(f);
    EXPECT_EQ(seconds, 30);
    const double rate = counts / seconds;
    const double u = std::sqrt(counts) / seconds;
    EXPECT_EQ(view.shown.rate, ExpText(rate, 4));
    EXPECT_EQ(view.shown.rateU, QStringLiteral("± ") + ExpText(u, 2));
    const double limit = 2.5 * (2 * 1.6449 * std::sqrt(0.5 / seconds) + 1.6449 * 1.6449 / seconds);
    if (rate - 0.5 > 1.6449 * std::sqrt(0.5 / seconds))
        EXPECT_EQ(view.shown.activity, ExpText((rate - 0.5) * 2.5, 4));
    else
        EXPECT_EQ(view.shown.activity, QStringLiteral("< ") + ExpText(limit, 4));
    EXPECT_EQ(view.shown.limit, QStringLiteral("a# = ") + ExpText(limit, 4));

    // Each frame on its own: one course point and one log line at the frame's rate.
    const QList<QByteArray> lines = FileBytes(path(QStringLiteral("DATA_LOG.TXT"))).split('\n');
    ASSERT_EQ(lines.size(), 16); // and the empty piece after the last line end
    ASSERT_EQ(view.points.size(), 15u);
    for (int i = 0; i < 15; ++i) {
        const double frameRate = FrameRoi(view.frames[i], 120, 180) / 2.0;
        EXPECT_DOUBLE_EQ(view.points[i].first, FakeView::kCourseStart + 2.0 * (i + 1) / 86400) << i;
        EXPECT_DOUBLE_EQ(view.points[i].second, frameRate) << i;
        const QList<QByteArray> fields = lines[i].trimmed().split('\t');
        ASSERT_EQ(fields.size(), 5) << i;
        EXPECT_EQ(fields[2], ExpText(frameRate, 4).toLatin1()) << i;
        EXPECT_EQ(fields[3], ExpText((frameRate - 0.5) * 2.5, 4).toLatin1()) << i;
        EXPECT_EQ(fields[4], QByteArray("2")) << i;
    }
    // The exported spectrum carries the time its counts took.
    ASSERT_TRUE(SaveCycleSpectrum().ok);
    EXPECT_TRUE(FileBytes(path(QStringLiteral("SpektrumPXR3.TXT"))).startsWith(" 30 \r\n"));
}

// A data frame whose channel 0 (element 1 of the spectrum) holds `count`.
void SendFrame(SimulatedAnalyser *sim, int count) { sim->send(TestDataFrame(2, 0, count & 0xFF, count >> 8)); }

TEST_F(TickTest, TheReadOutsAreTheRateOfTheWholeSpectrumOverTheTimeItsCountsTook)
{
    Start();
    sim->send(QByteArray()); // nothing: the analyser measures in the background
    view.roi[0] = view.roi[1] = QStringLiteral("1");
    MCA_Command(QStringLiteral("E")); // made-up frames only from here on
    StartMeasurement(view);           // refused: the timer runs
    EXPECT_EQ(Written(kStart), 1);
    state().RoiBounds(1) = state().RoiBounds(2) = 1;
    state().CycleSpectrum.fill(0);
    state().CycleSpectrumTime = 0;
    state().MeasureTime = 100; // the cycle's length does not enter the read-outs
    view.background = QStringLiteral("1");
    // Channel 1 of 2 s frames; N and t are the sums over the frames so far.
    const struct {
        int count;
        const char *kf, *background;
        Readout shown;
    } cases[] = {
        // 32000 in 2 s; a factor of 1 is not applied, so no activity and no limits.
        {32000, "1", "1", {"1.6000E+04", "± 8.94E+01", "0.0000E+00", "", "", ""}},
        // Above 32000 in one frame the counter overflowed: no numbers at all.
        {32001, "2.5", "1", {"O V E R !", "", "O V E R !", "", "", ""}},
        // 64401 in 6 s: n = 10733.5, a = (n - 1) * 2.5, u(a) = 2.5 sqrt(64401) / 6,
        // a* = 2.5 * 1.6449 sqrt(1 / 6), a# = 2.5 (2 * 1.6449 sqrt(1 / 6) + 1.6449^2 / 6).
        {400,
         "2,5",
         "1",
         {"1.0734E+04", "± 4.23E+01", "2.6831E+04", "± 1.06E+02", "a* = 1.6788E+00", "a# = 4.4850E+00"}},
        // 64401 + 2 in 8 s against a background of 8050/s: not told apart, so below a# only.
        {2, "2.5", "8050", {"8.0504E+03", "± 3.17E+01", "< 2.6174E+02", "", "a* = 1.3045E+02", "a# = 2.6174E+02"}},
    };
    Spectrum expected = state().CycleSpectrum;
    for (const auto &c : cases) {
        view.kf = QString::fromLatin1(c.kf);
        view.background = QString::fromLatin1(c.background);
        SendFrame(sim, c.count);
        clock.runFor(300'000);
        EXPECT_EQ(view.shown.rate, c.shown.rate) << c.count;
        EXPECT_EQ(view.shown.rateU, c.shown.rateU) << c.count;
        EXPECT_EQ(view.shown.activity, c.shown.activity) << c.count;
        EXPECT_EQ(view.shown.activityU, c.shown.activityU) << c.count;
        EXPECT_EQ(view.shown.threshold, c.shown.threshold) << c.count;
        EXPECT_EQ(view.shown.limit, c.shown.limit) << c.count;
        for (int k = 1; k <= 255; ++k)
            expected(k) += state().ReceivedSpectrum(k);
    }
    EXPECT_EQ(state().CycleSpectrum, expected);
    EXPECT_EQ(state().CycleSpectrumTime, 8);
    // Reversed bounds sum nothing.
    state().RoiBounds(1) = 9;
    state().RoiBounds(2) = 2;
    SendFrame(sim, 500);
    clock.runFor(300'000);
    EXPECT_EQ(view.rate, QStringLiteral("0.0000E+00"));
    // A frame without a plausible time adds its counts but not its time, and says so once.
    state().RoiBounds(1) = state().RoiBounds(2) = 1;
    for (int i = 0; i < 2; ++i) {
        sim->send(TestDataFrame(0, 0, 100, 0));
        clock.runFor(300'000);
    }
    EXPECT_EQ(state().CycleSpectrumTime, 10);
    EXPECT_EQ(state().CycleSpectrum(1), 64403 + 500 + 200);
    EXPECT_EQ(Log().count(QStringLiteral("nepřípustným časem 0 s")), 1);
    EXPECT_EQ(view.rate, QStringLiteral("6.5103E+03")); // 65103 in 10 s
}

TEST_F(TickTest, ACycleLastsHalfItsTimeInGoodFramesAndWritesItsRow)
{
    for (const auto &[time, frames] : {std::pair{"7", 4}, {"1", 1}}) {
        view.timer.stop();
        view.time = QString::fromLatin1(time);
        state().MeasureState = 1;
        state().CurrentRow = 3;
        EraseCycleSpectrum();
        view.inView = 2;
        state().WorkCalFactor = 12.5f; // no radionuclide set: the working values serve
        state().WorkBackground = 0.25f;
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
    EXPECT_EQ(t.text(3, 2), QStringLiteral("4.791E+03")); // (767 / 2 - 0.25) * 12.5
    EXPECT_EQ(t.textColour(3, 1), kBlackText);
    EXPECT_TRUE(t.rowsFromSimulator());
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
    RestartCoursePoints();
    state().CycleTick = 7; // the cycle's own count does not place the points
    state().MeasureTime = 200;
    view.background = QStringLiteral("0,5");
    SendFrame(sim, 100);
    clock.runFor(300'000);
    ASSERT_EQ(view.points.size(), 1u);
    EXPECT_DOUBLE_EQ(view.points[0].first, FakeView::kCourseStart + 2.0 / 86400);
    EXPECT_EQ(view.points[0].second, 428.5); // 100 in channel 0 and 757 in the rest of the frame, in 2 s
    // The log carries the activity computed with a factor of 1, which the window shows as 0.
    EXPECT_TRUE(FileBytes(path(QStringLiteral("DATA_LOG.TXT"))).endsWith("\t4,2850E+02\t4,2800E+02\t2\r\n"));
    EXPECT_EQ(view.activity, QStringLiteral("0,0000E+00"));

    view.smoothing = true; // p = 0 from rest: the output goes half way to the input
    SendFrame(sim, 100);
    clock.runFor(300'000);
    EXPECT_DOUBLE_EQ(view.points.back().first, FakeView::kCourseStart + 4.0 / 86400);
    EXPECT_NEAR(view.points.back().second, 428.5 * 0.49990002, 1e-3);
}

TEST_F(TickTest, AStopWaitsForTheNextTickWhileTheTimerRunsAndOtherwiseStopsAtOnce)
{
    Start();
    const std::size_t before = sim->written().size();
    StopMeasurement(view);
    EXPECT_EQ(sim->written().size(), before); // nothing until the tick
    clock.runFor(300'000);
    EXPECT_EQ(std::vector<QByteArray>(sim->written().begin() + long(before), sim->written().end()),
              std::vector<QByteArray>({kData, kStop})); // once, not again at the tick's end
    EXPECT_FALSE(view.timer.isActive());
    EXPECT_EQ(state().MeasureState, 4);
    EXPECT_FALSE(view.delivering); // the analyser stopped: no green picture left behind
    RequestStop();
    StopMeasurement(view);
    EXPECT_EQ(sim->written().back(), kStop);
    EXPECT_EQ(state().StopRequest, 0);
}

} // namespace
} // namespace pxr3::test
