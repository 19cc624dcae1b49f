// Measurement series on the simulated analyser (fast pace, virtual clock) while it suffers, at
// seeded random moments, every fault it knows, a full disk now and then under the autosave.
// The analyser keeps the truth of every frame it sent; each cycle's spectrum, ROI sum and row
// and each autosave file are checked against that truth, worked out here by hand.
//   PXR3_CAMPAIGN_CYCLES  cycles to run (10000 by default)
//   PXR3_CAMPAIGN_SEED    the seed of the faults and of the analyser's counts

#include "FakeAcquisitionView.h"
#include "acquisition/CycleSpectrum.h"
#include "acquisition/MeasurementSeries.h"
#include "core/NumberText.h"
#include "core/RoiSums.h"
#include "devicelink/LinkRecovery.h"
#include "records/TableFile.h"

#include <array>
#include <cstdio>
#include <map>
#include <optional>

namespace pxr3::test {
namespace {

using Fault = SimulatedAnalyser::Fault;
using Sent = SimulatedAnalyser::SentFrame;

int EnvNumber(const char *name, int fallback)
{
    const QByteArray text = qgetenv(name);
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? value : fallback;
}

class CampaignControls : public SeriesControls {
public:
    explicit CampaignControls(FakeView &view) : view_(view) { }
    void setSeriesRunning(bool) override { }
    void applyMeasuringSet() override { }
    void emptyLog() override { commLog().clear(); }
    void writeVoltage() override { MCA_Command(QStringLiteral("W")); }
    void startMeasuring() override { StartSeriesMeasurement(view_); }
    void clearCycle() override { EraseCycleSpectrum(); }
    void stopMeasuring() override { StopMeasurement(view_); }
    void showIdle() override { }
    bool acquisitionRunning() const override { return view_.timer.isActive(); }
    bool clearTable() override { return true; }
    void showProgress(const QString &, int, int) override { }
    void showWarning(const QString &) override { }

private:
    FakeView &view_;
};

constexpr int kLeft = 20, kRight = 220; // the ROI
constexpr double kCalFactor = 12.5, kBackground = 0.75;
constexpr int kCyclesPerSeries = 50;
constexpr int kFramesPerCycle = 2;                 // T = 4 s
constexpr int64_t kLongestCycleUs = 200 * kSecond; // beyond this a cycle is taken to hang
constexpr int64_t kStepUs = 100'000;

// A row as the table shows it, worked from the truth: emission, ROI counts, T.
struct Row {
    QString emission, counts, seconds;
};

class FaultCampaign : public AcquisitionFixture {
protected:
    FaultCampaign() : AcquisitionFixture(SimulatedAnalyser::Pace::Fast)
    {
        seed = uint32_t(EnvNumber("PXR3_CAMPAIGN_SEED", 20261207));
        simulatorSeed = seed;
        random.seed(seed);
    }
    void SetUp() override
    {
        AcquisitionFixture::SetUp();
        if (memoryFolder.isValid())
            SetProgramFolder(memoryFolder.path());
        sim->keepSentFrames();
        state().WorkCalFactor = float(kCalFactor); // no radionuclide set: the working values serve
        state().WorkBackground = float(kBackground);
        view.time = QString::number(2 * kFramesPerCycle);
        view.roi[0] = QString::number(kLeft);
        view.roi[1] = QString::number(kRight);
        // Before the series' own: the cycle is seen as the tick left it, before the series clears it.
        QObject::connect(&tickNotifier(), &TickNotifier::ticked, &observer, [this] { ticked(); });
        QObject::connect(&linkRecovery(), &LinkRecovery::linkRestored, &observer,
                         [this] { watchFromUs = clock.nowUs(); });
        QObject::connect(&commLog(), &CommLog::statusChanged, &observer, [this](const QString &status) {
            if (!status.startsWith(QStringLiteral("Z analyzátoru nepřišla")))
                return;
            ++warnings;
            warned = true;
            EXPECT_GE(clock.nowUs() - lastFrameUs, kLinkLossSeconds * kSecond) << "a warning too early";
        });
        QObject::connect(&commLog(), &CommLog::textChanged, &observer, [this](const QString &text) {
            if (text.endsWith(QStringLiteral("Data z analyzátoru opět přicházejí."))) {
                EXPECT_TRUE(warned) << "data said to return without a warning";
                warned = false;
            }
        });
        series = std::make_unique<MeasurementSeries>(std::make_unique<CampaignControls>(view));
    }
    void TearDown() override
    {
        series.reset();
        AcquisitionFixture::TearDown();
    }

    // Called at each tick before the series sees it.
    void ticked()
    {
        if (view.frames.size() == framesSeen)
            return;
        ASSERT_EQ(view.frames.size(), framesSeen + 1) << "more than one frame in a tick";
        if (int(rows.size()) == kCyclesPerSeries) { // taken by the stop after the last cycle
            ++framesSeen;
            return;
        }
        const QByteArray &frame = view.frames[framesSeen++];
        lastFrameUs = clock.nowUs();
        EXPECT_FALSE(warned) << "a frame came and the warning stayed";
        // The next frame the analyser sent with these bytes; none before it may have been read
        // intact and left out.
        const std::vector<Sent> &sent = sim->sentFrames();
        size_t at = cursor;
        while (at < sent.size() && !(sent[at].data && sent[at].bytes == frame)) {
            if (sent[at].data && sent[at].intact() && sent[at].fate == Sent::Fate::Read)
                ADD_FAILURE() << "intact frame " << at << " read but not counted, cycle " << cycles;
            ++at;
        }
        ASSERT_LT(at, sent.size()) << "a frame counted that the analyser never sent whole (or counted twice), cycle "
                                   << cycles;
        ASSERT_TRUE(sent[at].intact() || sent[at].bytes != frame) << "a damaged frame counted";
        cursor = at + 1;
        ++framesCounted;
        for (int k = 1; k <= 254; ++k)
            expected[k] += uint8_t(frame[7 + 2 * (k - 1)]) + 256 * uint8_t(frame[8 + 2 * (k - 1)]);
        expectedSeconds += uint8_t(frame[5]);
        int64_t roi = 0;
        for (int k = kLeft; k <= kRight; ++k)
            roi += expected[k];
        for (int k = 1; k <= 254; ++k)
            if (state().CycleSpectrum(k) != expected[k]) {
                ADD_FAILURE() << "cycle spectrum channel " << k << " at cycle " << cycles << ", frame " << framesCounted
                              << " row " << state().CurrentRow;
                break;
            }
        EXPECT_EQ(state().CycleSpectrumTime, expectedSeconds);
        EXPECT_EQ(RoiSumCycle(), roi);
        const Row row{ExpText((double(roi) / expectedSeconds - kBackground) * kCalFactor, 3), IntText(roi),
                      IntText(expectedSeconds)};
        const int r = state().CurrentRow;
        EXPECT_EQ(Cell(r, 2), row.emission);
        EXPECT_EQ(Cell(r, 3), row.counts);
        EXPECT_EQ(Cell(r, 4), row.seconds);
        if (state().MeasureState == 0) { // the cycle is complete
            ASSERT_EQ(expectedSeconds, 2 * kFramesPerCycle);
            rows[r] = row;
            ++cycles;
            cycleEndedUs = clock.nowUs();
            expected.fill(0);
            expectedSeconds = 0;
            // Now and then the disk is full while the series autosaves, never on the last cycle.
            if (series->RepeatIndex() < kCyclesPerSeries && uniform(random) < 0.02) {
                fullDisk = std::make_unique<WriteLimitScope>(100);
                ++fullDisks;
                saveFailed = true;
            } else if (saveFailed) {
                saveFailed = false;
                checkAutosave = true; // the save after the failed one holds everything
            }
        }
    }
    static QString Cell(int row, int column) { return measurementTable().text(row, column); }

    // Every completed row is in the autosave, as the table holds it and as worked by hand.
    void CheckAutosave()
    {
        MeasurementTable saved;
        ASSERT_TRUE(LoadTableFile(saved, series->autosavePath()).ok);
        EXPECT_TRUE(measurementTable().autosaveError().isEmpty());
        for (const auto &[r, row] : rows) {
            for (int column = 1; column <= 5; ++column)
                EXPECT_EQ(saved.text(r, column), Cell(r, column)) << r << " " << column;
            EXPECT_EQ(saved.text(r, 2), row.emission) << r;
            EXPECT_EQ(saved.text(r, 3), row.counts) << r;
            EXPECT_EQ(saved.text(r, 4), row.seconds) << r;
        }
        EXPECT_TRUE(saved.text(int(rows.size()) + 1, 1).isEmpty());
    }

    // The faults of one step, each at its own small chance.
    void MaybeInjectFault()
    {
        const double roll = uniform(random);
        if (roll < 0.005) {
            const Fault fault = Fault(std::uniform_int_distribution<int>(0, 5)(random));
            sim->failNext(fault);
            ++injected[int(fault)];
        } else if (roll < 0.0055) {
            sim->stall(std::uniform_int_distribution<int>(1'000, 15'000)(random));
            ++stalls;
        } else if (roll < 0.0057) {
            sim->unplug(std::uniform_int_distribution<int64_t>(1, 30)(random) * kSecond);
            ++unplugs;
        }
    }

    void RunSeries()
    {
        measurementTable().reset();
        state().CurrentRow = 0;
        state().RepeatCount = kCyclesPerSeries;
        rows.clear();
        view.frames.clear();
        framesSeen = 0;
        expected.fill(0);
        expectedSeconds = 0;
        cursor = sim->sentFrames().size(); // the analyser is stopped: nothing before counts
        series->NewMeasurement();
        bool started = false;
        cycleEndedUs = clock.nowUs();
        while (series->running()) {
            MaybeInjectFault();
            const int64_t before = clock.nowUs();
            clock.runFor(kStepUs);
            ASSERT_GT(clock.nowUs(), before);
            fullDisk.reset();
            if (checkAutosave) {
                checkAutosave = false;
                ++madeGood;
                CheckAutosave();
            }
            if (!started && view.timer.isActive()) {
                started = true;
                watchFromUs = lastFrameUs = clock.nowUs();
                cursor = sim->sentFrames().size();
            }
            const int64_t silence = clock.nowUs() - std::max(lastFrameUs, watchFromUs);
            if (view.timer.isActive() && silence > kLinkLossSeconds * kSecond + 2 * kStepUs) {
                ASSERT_TRUE(warned) << "no warning after " << silence / 1000 << " ms without data";
            }
            ASSERT_LT(clock.nowUs() - cycleEndedUs, kLongestCycleUs) << "cycle " << series->RepeatIndex() << " hangs";
            if (HasFatalFailure() || HasFailure())
                return;
        }
        clock.runFor(kSecond); // the stop that follows the last cycle
        ASSERT_EQ(int(rows.size()), kCyclesPerSeries);
        CheckAutosave();
    }

    std::unique_ptr<MeasurementSeries> series;
    // The autosave syncs every cycle; in memory that costs the campaign nothing.
    QTemporaryDir memoryFolder{QStringLiteral("/dev/shm/pxr3-campaign-XXXXXX")};
    QObject observer;
    uint32_t seed = 0;
    std::mt19937 random;
    std::uniform_real_distribution<double> uniform{0.0, 1.0};
    size_t framesSeen = 0, cursor = 0;
    std::array<int64_t, 255> expected{};
    int expectedSeconds = 0;
    std::map<int, Row> rows;
    int64_t lastFrameUs = 0, watchFromUs = 0, cycleEndedUs = 0;
    bool warned = false;
    std::unique_ptr<WriteLimitScope> fullDisk;
    bool saveFailed = false, checkAutosave = false;
    int cycles = 0, framesCounted = 0, warnings = 0, stalls = 0, unplugs = 0, fullDisks = 0, madeGood = 0;
    std::array<int, 6> injected{};
};

TEST_F(FaultCampaign, EveryIntactFrameCountsOnceAndEveryRowIsSavedThroughEveryFault)
{
    const int wanted = EnvNumber("PXR3_CAMPAIGN_CYCLES", 10'000);
    while (cycles < wanted) {
        RunSeries();
        if (HasFailure())
            break;
    }
    EXPECT_GE(cycles, wanted);
    std::map<QString, int> applied; // faults as they hit the data frames
    int dataFrames = 0, intactRead = 0;
    for (const Sent &s : sim->sentFrames()) {
        if (!s.data)
            continue;
        ++dataFrames;
        intactRead += s.intact() && s.fate == Sent::Fate::Read;
    }
    static const char *const names[] = {"no reply",       "dropped byte",     "extra byte",
                                        "wrong checksum", "wrong start byte", "in pieces"};
    std::printf("fault campaign, seed %u: %d cycles, %d data frames sent, %d read intact, %d counted in cycles\n", seed,
                cycles, dataFrames, intactRead, framesCounted);
    for (int i = 0; i < 6; ++i)
        std::printf("  %-17s %d\n", names[i], injected[i]);
    std::printf("  stalls %d, unplugs %d, link-loss warnings %d, full-disk autosaves %d (made good %d)\n", stalls,
                unplugs, warnings, fullDisks, madeGood);
    if (HasFailure())
        std::printf("failed with PXR3_CAMPAIGN_SEED=%u\n", seed);
}

} // namespace
} // namespace pxr3::test
