// A measurement at the analyser's real pace on the real clock, as `make run` shows it: how
// long the event loop is kept from other work at most, and how much processor it takes.
// Each is its own run: the 1 ms probe of the first would be most of the load the second
// measures.

#include "bench/BenchSupport.h"
#include "bench/MeasuringProgram.h"
#include "core/CommLog.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace pxr3::bench {
namespace {

constexpr int kRunMs = 20'000;

void RunEventLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void LongestEventLoopStall(benchmark::State &bench)
{
    ProgramFolderScope folder;
    // A series, so that its autosaves fall into the run, and the communication log is filled
    // to just below its bound, so that it empties itself during the run too.
    MeasuringProgram program(SimulatedAnalyser::Pace::RealTime, false, MeasuringProgram::Start::Series);
    commLog().append(
        QString(std::max<qsizetype>(0, CommLog::kMaxLength - commLog().text().size() - 200), QLatin1Char('x')));
    int emptied = 0;
    QObject::connect(&commLog(), &CommLog::emptied, &commLog(), [&emptied] { ++emptied; });
    RunEventLoop(1000); // a series starts the analyser after the high voltage
    if (!program.measuring()) {
        bench.SkipWithError("the measurement did not start");
        return;
    }
    double longest = 0;
    int64_t probes = 0;
    for (auto _ : bench) {
        // The processor time between two firings is what one turn of the loop took: unlike
        // the time on the wall, it does not depend on what else the machine is doing.
        QTimer probe;
        probe.setTimerType(Qt::PreciseTimer);
        double last = ThreadProcessorSeconds();
        QObject::connect(&probe, &QTimer::timeout, [&] {
            const double now = ThreadProcessorSeconds();
            longest = std::max(longest, now - last);
            last = now;
            ++probes;
        });
        probe.start(1);
        RunEventLoop(kRunMs);
    }
    bench.counters["longest stall ms"] = longest * 1e3;
    bench.counters["probes"] = double(probes);
    bench.counters["frames"] = double(program.framesSent());
    bench.counters["log emptied"] = double(emptied);
    QObject::disconnect(&commLog(), &CommLog::emptied, &commLog(), nullptr);
}
BENCHMARK(LongestEventLoopStall)->Iterations(1)->Unit(benchmark::kMillisecond);

void ProcessorUseAtRealPace(benchmark::State &bench, MeasuringProgram::Start start)
{
    ProgramFolderScope folder;
    MeasuringProgram program(SimulatedAnalyser::Pace::RealTime, false, start);
    RunEventLoop(1000); // a series starts the analyser after the high voltage
    if (!program.measuring()) {
        bench.SkipWithError("the measurement did not start");
        return;
    }
    double processor = 0;
    double wall = 0;
    for (auto _ : bench) {
        const double processorBefore = ProcessorSeconds();
        const double wallBefore = WallSeconds();
        RunEventLoop(kRunMs);
        processor = ProcessorSeconds() - processorBefore;
        wall = WallSeconds() - wallBefore;
    }
    bench.counters["CPU % of a core"] = wall > 0 ? 100.0 * processor / wall : 0.0;
    bench.counters["frames"] = double(program.framesSent());
}
BENCHMARK_CAPTURE(ProcessorUseAtRealPace, Measurement, MeasuringProgram::Start::Measurement)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
// A series waits for its cycles and autosaves the table after each 10 s cycle.
BENCHMARK_CAPTURE(ProcessorUseAtRealPace, Series, MeasuringProgram::Start::Series)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pxr3::bench
