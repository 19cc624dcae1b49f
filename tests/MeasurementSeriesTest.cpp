// The measurement series against the simulated analyser at its real pace (a frame every 2 s,
// its bytes spread over 270 ms) on a virtual clock: the rows it fills, the questions it asks,
// how it ends, and the autosave file that keeps every completed row.

#include "acquisition/MeasurementSeries.h"
#include "FakeAcquisitionView.h"
#include "SpectrumFileReaders.h"
#include "acquisition/CycleSpectrum.h"
#include "core/NumberText.h"
#include "devicelink/LinkRecovery.h"
#include "records/TableFile.h"

#include <QDir>
#include <QRegularExpression>
#include <numeric>

namespace pxr3::test {
namespace {

const QByteArray kStartFrame = Bytes({0x40, 0x02, 0x00, 0x42, 0x02, 0x46});
const QByteArray kStopFrame = Bytes({0x40, 0x01, 0x00, 0x45, 0x46});

// The communication window's buttons as the series presses them, on the fake view.
class FakeControls : public SeriesControls {
public:
    explicit FakeControls(FakeView &view) : view_(view) { }
    void setSeriesRunning(bool running) override { enabling.push_back(running); }
    void applyMeasuringSet() override { ++measuringSetApplied; }
    void emptyLog() override { commLog().clear(); }
    void writeVoltage() override { MCA_Command(QStringLiteral("W")); }
    void startMeasuring() override { StartSeriesMeasurement(view_); }
    void clearCycle() override { EraseCycleSpectrum(); }
    void stopMeasuring() override { StopMeasurement(view_); }
    void showIdle() override { idleShown = true; }
    bool acquisitionRunning() const override { return view_.timer.isActive(); }
    bool clearTable() override
    {
        if (!clearAccepted)
            return false;
        measurementTable().reset();
        return true;
    }
    void showProgress(const QString &text, int secondsDone, int) override
    {
        progress = text;
        lastSecondsDone = secondsDone;
    }
    void showWarning(const QString &text) override
    {
        warning = text;
        ++warningsShown;
    }

    std::vector<bool> enabling;
    bool idleShown = false;
    int measuringSetApplied = 0;
    bool clearAccepted = true;
    QString progress;
    QString warning;
    int warningsShown = 0;
    int lastSecondsDone = 0;

private:
    FakeView &view_;
};

class SeriesTest : public AcquisitionFixture {
protected:
    SeriesTest() : AcquisitionFixture(SimulatedAnalyser::Pace::RealTime) { }
    void SetUp() override
    {
        AcquisitionFixture::SetUp();
        auto owned = std::make_unique<FakeControls>(view);
        controls = owned.get();
        series = std::make_unique<MeasurementSeries>(std::move(owned));
        view.time = QStringLiteral("4"); // two frames a cycle
        state().RepeatCount = 3;
    }
    void TearDown() override
    {
        series.reset();
        AcquisitionFixture::TearDown();
    }
    // Runs the series to its end; false when it is still running after a virtual hour.
    bool RunSeries()
    {
        series->NewMeasurement();
        return RunToEnd();
    }
    bool RunToEnd()
    {
        for (int i = 0; i < 3600 && series->running(); ++i)
            clock.runFor(kSecond);
        clock.runFor(kSecond); // the stop that follows the last cycle
        return !series->running();
    }
    void RunUntilCycle(int index)
    {
        for (int i = 0; i < 600 && series->RepeatIndex() < index; ++i)
            clock.runFor(100'000);
    }
    int Sent(char letter) const
    {
        return int(std::count_if(sim->written().begin(), sim->written().end(),
                                 [letter](const QByteArray &b) { return b.contains(letter); }));
    }
    static QString Cell(int row, int column) { return measurementTable().text(row, column); }

    FakeControls *controls = nullptr;
    std::unique_ptr<MeasurementSeries> series;
};

TEST_F(SeriesTest, FromRowZeroItAsksNothingFillsOneRowPerCycleAndAutosavesEachCompletedRow)
{
    series->NewMeasurement();
    EXPECT_EQ(state().CurrentRow, 1);
    RunUntilCycle(2); // the first cycle is complete, the second runs
    const QString autosave = series->autosavePath();
    EXPECT_TRUE(autosave.startsWith(QDir(path(QStringLiteral("DATA"))).path()));
    const QByteArray afterFirst = FileBytes(autosave);
    EXPECT_TRUE(afterFirst.startsWith(Cell(1, 1).toLatin1() + '\t'));
    EXPECT_EQ(afterFirst.mid(afterFirst.indexOf("\r\n") + 2, 6), QByteArray("\t\t\t\t\r\n")); // row 2 not yet

    for (int i = 0; i < 600 && series->running(); ++i)
        clock.runFor(100'000);
    clock.runFor(kSecond);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(state().CurrentRow, 4);
    for (int row = 1; row <= 3; ++row) {
        EXPECT_EQ(Cell(row, 4), QStringLiteral("4")) << row; // two frames of 2 s
        EXPECT_EQ(measurementTable().textColour(row, 1), kBlackText) << row;
    }
    EXPECT_TRUE(Cell(4, 1).isEmpty());
    // Byte for byte the table, and the load command reads it back.
    EXPECT_EQ(FileBytes(autosave), TableFileBytes(measurementTable()));
    MeasurementTable loaded;
    ASSERT_TRUE(LoadTableFile(loaded, autosave).ok);
    for (int column = 1; column <= 5; ++column)
        EXPECT_EQ(loaded.text(3, column), Cell(3, column));
    EXPECT_EQ(controls->enabling, std::vector<bool>({true, false}));
    EXPECT_TRUE(controls->idleShown);
    EXPECT_TRUE(measurementTable().unsavedResults());
    EXPECT_FALSE(controls->progress.contains(QStringLiteral("výpadky")));

    // A night with the link gone for a while: the closing words say so.
    answers = {true};
    series->NewMeasurement();
    RunUntilCycle(2);
    sim->stall(12'000);
    for (int i = 0; i < 600 && series->running(); ++i)
        clock.runFor(100'000);
    EXPECT_FALSE(series->running());
    EXPECT_TRUE(controls->progress.contains(QStringLiteral("výpadky spojení: 1"))) << qPrintable(controls->progress);
}

TEST_F(SeriesTest, AContinuedSeriesWritesOnAfterTheLastRowIntoAFileOfItsOwnAndPastRow1000IntoAnother)
{
    ASSERT_TRUE(RunSeries());
    const QString first = series->autosavePath();
    const QByteArray firstBytes = FileBytes(first);
    answers = {true}; // "Přejete si pokračovat v měření ?"
    state().RepeatCount = 2;
    ASSERT_TRUE(RunSeries());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].defaultNo);
    EXPECT_EQ(state().CurrentRow, 6);
    EXPECT_FALSE(Cell(5, 1).isEmpty());
    EXPECT_NE(series->autosavePath(), first);
    EXPECT_EQ(FileBytes(first), firstBytes);

    // A full table is not written over: the cycle after row 1000 starts a table and file anew.
    state().CurrentRow = 999;
    answers = {true};
    state().RepeatCount = 3;
    ASSERT_TRUE(RunSeries());
    const QStringList saves = QDir(path(QStringLiteral("DATA"))).entryList({QStringLiteral("serie_*.dat")});
    ASSERT_EQ(saves.size(), 4) << qPrintable(saves.join(' '));
    MeasurementTable full, next;
    ASSERT_TRUE(LoadTableFile(full, QDir(path(QStringLiteral("DATA"))).filePath(saves[2])).ok);
    ASSERT_TRUE(LoadTableFile(next, series->autosavePath()).ok);
    EXPECT_FALSE(full.text(999, 1).isEmpty());
    EXPECT_FALSE(full.text(1000, 1).isEmpty());
    EXPECT_FALSE(next.text(1, 1).isEmpty());
    EXPECT_TRUE(next.text(2, 1).isEmpty());
    EXPECT_EQ(Cell(1, 3), next.text(1, 3));
    EXPECT_EQ(state().CurrentRow, 2);
}

TEST_F(SeriesTest, WhatTheOperatorDeclinesIsNeitherMeasuredNorWrittenOver)
{
    struct Case {
        const char *name;
        std::deque<bool> answers;
        bool clearAccepted;
    };
    const Case cases[] = {
        {"No to continuing, No to discarding", {false, false}, true},
        {"No to continuing, Yes to discarding, No to the unsaved changes", {false, true}, false},
    };
    for (const Case &c : cases) {
        state().CurrentRow = 5;
        measurementTable().setText(1, 1, QStringLiteral("01.02.2026 10:00:00"));
        answers = c.answers;
        controls->clearAccepted = c.clearAccepted;
        controls->enabling.clear();
        const size_t sentBefore = sim->written().size();
        series->NewMeasurement();
        clock.runFor(5 * kSecond);
        EXPECT_FALSE(series->running()) << c.name;
        EXPECT_EQ(sim->written().size(), sentBefore) << c.name;
        EXPECT_EQ(Cell(1, 1), QStringLiteral("01.02.2026 10:00:00")) << c.name;
        EXPECT_EQ(state().CurrentRow, 5) << c.name;
        EXPECT_EQ(controls->enabling, std::vector<bool>({true, false})) << c.name;
    }
}

// The row of a cycle holds exactly its own frames, whatever happened around it: the time course
// opened in the middle of it, or a measurement already running when the series began.
TEST_F(SeriesTest, ACycleRowHoldsExactlyTheCyclesFramesWorkedByHand)
{
    state().WorkCalFactor = 12.5f; // no radionuclide set: the working values serve
    state().WorkBackground = 0.75f;
    state().RepeatCount = 1;
    auto emission = [](double counts, double seconds) { return ExpText((counts / seconds - 0.75) * 12.5, 3); };

    view.time = QStringLiteral("10"); // five frames
    series->NewMeasurement();
    for (int i = 0; i < 100 && view.frames.size() < 2; ++i)
        clock.runFor(100'000);
    state().CourseWindowOpen = -1; // "Průběh F2" in the middle of the cycle
    RestartCoursePoints();
    ASSERT_TRUE(RunToEnd());
    ASSERT_EQ(view.frames.size(), 5u);
    const int counts = FramesRoi(view.frames, 0, 1, 254);
    EXPECT_EQ(Cell(1, 3), IntText(counts));
    EXPECT_EQ(Cell(1, 4), QStringLiteral("10"));
    EXPECT_EQ(Cell(1, 2), emission(counts, 10));

    // "Start F5", three frames (half way into its second 4 s cycle), then the series: its first
    // row starts with the next frame.
    measurementTable().reset();
    state().CurrentRow = 0;
    view.time = QStringLiteral("4");
    StartMeasurement(view);
    for (int i = 0; i < 100 && view.frames.size() < 8; ++i)
        clock.runFor(100'000);
    const long startsBefore = Written(kStartFrame);
    ASSERT_TRUE(RunSeries());
    EXPECT_EQ(Written(kStartFrame), startsBefore); // the analyser already measured
    const int seriesCounts = FramesRoi(view.frames, 8, 1, 254);
    ASSERT_EQ(view.frames.size(), 10u);
    EXPECT_EQ(Cell(1, 3), IntText(seriesCounts));
    EXPECT_EQ(Cell(1, 4), QStringLiteral("4"));
    EXPECT_EQ(Cell(1, 2), emission(seriesCounts, 4));
}

TEST_F(SeriesTest, EndsCleanlyWithoutCyclesOnAStopInACycleAndOnARefusedStart)
{
    // No cycle to run: still the high voltage, the start and the stop.
    state().RepeatCount = 0;
    ASSERT_TRUE(RunSeries());
    EXPECT_EQ(Sent('W'), 1);
    EXPECT_EQ(Sent('B'), 1);
    EXPECT_TRUE(Cell(1, 1).isEmpty());
    EXPECT_FALSE(sim->measuring());

    // "S&top" in the middle of the second cycle: the first row counts, the second does not.
    state().CurrentRow = 0;
    state().RepeatCount = 3;
    view.time = QStringLiteral("10");
    series->NewMeasurement();
    RunUntilCycle(2);
    clock.runFor(3 * kSecond);
    EXPECT_GT(controls->lastSecondsDone, 0);
    const long stopsBefore = Written(kStopFrame);
    RequestStop();
    series->StopRequested();
    clock.runFor(kSecond);
    EXPECT_FALSE(series->running());
    EXPECT_EQ(Written(kStopFrame), stopsBefore + 1); // one stop sequence, nothing more
    EXPECT_EQ(state().CurrentRow, 2);
    EXPECT_FALSE(sim->measuring());

    // The analyser refuses every start: the series gives up instead of waiting for ever.
    // The high voltage, five starts, and between them four stops and four reopenings, each
    // asking for the identity.
    for (int i = 0; i < 14; ++i)
        sim->replyNextWith(QByteArray("?"));
    answers = {true};
    series->NewMeasurement();
    clock.runFor(10 * kSecond);
    EXPECT_FALSE(series->running());
    EXPECT_FALSE(view.timer.isActive());
}

// The analyser unplugged for 30 s in the middle of a cycle: the series says it waits, the link
// comes back by itself, the analyser is started again, and each cycle holds each of its frames
// exactly once. The row of the cycle with the gap says so; an operator's note stays.
TEST_F(SeriesTest, AnAnalyserUnpluggedMidSeriesIsWaitedForAndEveryFrameCountsOnce)
{
    view.time = QStringLiteral("10"); // five frames a cycle
    measurementTable().setText(3, 5, QStringLiteral("ruční poznámka"));
    series->NewMeasurement();
    RunUntilCycle(2);
    clock.runFor(3 * kSecond);
    const size_t framesBefore = view.frames.size();
    sim->unplug(30 * kSecond);
    clock.runFor(kSecond);
    EXPECT_TRUE(controls->progress.startsWith(QStringLiteral("Série čeká na analyzátor, výpadek ")))
        << qPrintable(controls->progress);
    clock.runFor(20 * kSecond); // at each attempt the outage grows by 5 s
    EXPECT_TRUE(controls->progress.contains(QStringLiteral("výpadek 20 s"))) << qPrintable(controls->progress);
    EXPECT_EQ(view.frames.size(), framesBefore);
    RunUntilCycle(3);
    sim->failNext(SimulatedAnalyser::Fault::WrongChecksum); // a failed reading where a note stands
    ASSERT_TRUE(RunToEnd());

    EXPECT_TRUE(Log().contains(QStringLiteral("Spojení obnoveno po ")));
    EXPECT_EQ(Written(kStartFrame), 2); // the start, then again on the analyser that came back
    EXPECT_EQ(Sent('W'), 2);
    ASSERT_EQ(view.frames.size(), 15u);
    for (int row = 1; row <= 3; ++row) {
        int counts = 0;
        for (size_t i = size_t(row - 1) * 5; i < size_t(row) * 5; ++i)
            counts += FrameRoi(view.frames[i], 1, 254);
        EXPECT_EQ(Cell(row, 3), IntText(counts)) << row;
        EXPECT_EQ(Cell(row, 4), QStringLiteral("10")) << row;
    }
    EXPECT_TRUE(Cell(1, 5).isEmpty());
    const QRegularExpression trace(QStringLiteral("^chybná čtení: 1, výpadek: (\\d+) s$"));
    const QRegularExpressionMatch match = trace.match(Cell(2, 5));
    ASSERT_TRUE(match.hasMatch()) << qPrintable(Cell(2, 5));
    EXPECT_GE(match.captured(1).toInt(), 30);
    EXPECT_LE(match.captured(1).toInt(), 40);
    EXPECT_EQ(Cell(3, 5), QStringLiteral("ruční poznámka"));
    MeasurementTable saved;
    ASSERT_TRUE(LoadTableFile(saved, series->autosavePath()).ok);
    EXPECT_EQ(saved.text(2, 5), Cell(2, 5));
    EXPECT_TRUE(controls->progress.startsWith(QStringLiteral("Série skončila: 3 z 3 cyklů, uloženo v ")));
}

// A disk that is full for a while: every failure is said at once and in the closing words, the
// next cycle's save brings the file up to date, and a save that fails leaves the file it had.
TEST_F(SeriesTest, AFailedAutosaveIsSaidAndMadeGoodByTheNextCycle)
{
    auto limit = std::make_unique<WriteLimitScope>(100);
    series->NewMeasurement();
    RunUntilCycle(2);
    EXPECT_TRUE(controls->warning.contains(QStringLiteral("selhalo"))) << qPrintable(controls->warning);
    EXPECT_TRUE(controls->progress.endsWith(QStringLiteral("automatické uložení selhalo")));
    EXPECT_FALSE(measurementTable().autosaveError().isEmpty());
    limit.reset();
    RunUntilCycle(3);
    const QByteArray twoRows = FileBytes(series->autosavePath());
    EXPECT_EQ(twoRows, TableFileBytes(measurementTable()));
    EXPECT_FALSE(Cell(2, 1).isEmpty());
    EXPECT_TRUE(measurementTable().autosaveError().isEmpty());
    EXPECT_TRUE(controls->warning.contains(QStringLiteral("opět proběhlo")));
    limit = std::make_unique<WriteLimitScope>(100);
    ASSERT_TRUE(RunToEnd());
    EXPECT_EQ(FileBytes(series->autosavePath()), twoRows);
    EXPECT_TRUE(controls->progress.contains(QStringLiteral(", NEULOŽENO ("))) << qPrintable(controls->progress);
    EXPECT_FALSE(controls->progress.contains(QStringLiteral("uloženo v")));
    EXPECT_TRUE(Log().contains(QStringLiteral("Série skončila: 3 z 3 cyklů, NEULOŽENO")));
}

// Every completed cycle's spectrum is kept in SPEKTRA under the series' and the row's name and
// holds the row's counts; a spectrum that cannot be kept costs no row and is shown once.
TEST_F(SeriesTest, EachCompletedCycleKeepsItsSpectrumWithTheRowsCounts)
{
    view.roi[0] = QStringLiteral("100");
    view.roi[1] = QStringLiteral("200");
    ASSERT_TRUE(RunSeries());
    QDir spectra(path(QStringLiteral("SPEKTRA")));
    ASSERT_EQ(spectra.entryList(QDir::Files).size(), 3);
    const QString stem = QFileInfo(series->autosavePath()).completeBaseName();
    for (int row = 1; row <= 3; ++row) {
        const ReadBack read = ReadN42(FileBytes(spectra.filePath(QStringLiteral("%1_%2.n42").arg(stem).arg(row))));
        ASSERT_EQ(read.counts.size(), size_t(kChannels)) << row;
        EXPECT_EQ(std::accumulate(read.counts.begin() + 99, read.counts.begin() + 200, qint64(0)),
                  Cell(row, 3).toLongLong())
            << row;
        EXPECT_EQ(read.realSeconds, 4) << row;
    }

    // SPEKTRA taken by a file: every cycle still writes its row, the log has each failure.
    ASSERT_TRUE(spectra.removeRecursively());
    WriteFile(path(QStringLiteral("SPEKTRA")), "not a folder");
    controls->warningsShown = 0;
    answers = {true};
    ASSERT_TRUE(RunSeries());
    EXPECT_EQ(state().CurrentRow, 7);
    EXPECT_FALSE(Cell(6, 3).isEmpty());
    EXPECT_EQ(Log().count(QStringLiteral("Uložení spektra cyklu do SPEKTRA/")), 3);
    EXPECT_EQ(controls->warningsShown, 1);
    EXPECT_TRUE(controls->warning.startsWith(QStringLiteral("Uložení spektra cyklu do SPEKTRA/")))
        << qPrintable(controls->warning);
}

// The operator's own "Close USB" ends the attempts to reconnect.
TEST_F(SeriesTest, TheOperatorsCloseEndsTheAttemptsToReconnect)
{
    StartMeasurement(view);
    clock.runFor(3 * kSecond);
    sim->unplug(10 * kSecond);
    clock.runFor(kSecond);
    ASSERT_TRUE(linkRecovery().recovering());
    USB_Close();
    const int opens = sim->opens();
    clock.runFor(30 * kSecond);
    EXPECT_FALSE(linkRecovery().recovering());
    EXPECT_EQ(sim->opens(), opens);
    EXPECT_FALSE(Log().contains(QStringLiteral("Spojení obnoveno")));
}

} // namespace
} // namespace pxr3::test
