// A day of data frames (43,200 at one per 2 s) in fast mode on a virtual clock, with the
// time course open, smoothing on and LOG data ticked: whether the thousandth-last frames
// cost the processor what the first did, whether the program holds on to memory as the day
// goes, and whether DATA_LOG.TXT has one line for each logged frame.

#include "acquisition/AcquisitionTick.h"
#include "bench/BenchSupport.h"
#include "bench/MeasuringProgram.h"
#include "core/Clock.h"
#include "core/ProgramFolder.h"
#include "devicelink/USB_KOM.h"

#include <QFile>

#include <benchmark/benchmark.h>

namespace pxr3::bench {
namespace {

constexpr int kFramesPerDay = 43'200;
constexpr int kCompared = 1'000;

void DayOfFrames(benchmark::State &bench)
{
    ProgramFolderScope folder;
    VirtualClock clock;
    VirtualClockScope virtualTime(clock);
    MeasuringProgram program(SimulatedAnalyser::Pace::Fast, true);
    if (!program.measuring()) {
        bench.SkipWithError("the measurement did not start");
        return;
    }
    const uint64_t framesBefore = program.framesSent();
    int64_t logged = 0; // every good frame's point is logged: LOG data is ticked
    QObject::connect(&tickNotifier(), &TickNotifier::ticked, &tickNotifier(), [&logged] {
        if (link().Reply == QLatin1String("DATA Ok"))
            ++logged;
    });
    double first = 0;
    double last = 0;
    double residentStart = 0;
    double residentAfterFirst = 0;
    for (auto _ : bench) {
        residentStart = ResidentMegabytes();
        for (int frame = 0; frame < kFramesPerDay; ++frame) {
            const double start = ThreadProcessorSeconds();
            clock.runFor(SimulatedAnalyser::kFramePeriodUs); // twenty ticks, one of them with the frame
            const double took = ThreadProcessorSeconds() - start;
            if (frame < kCompared)
                first += took;
            else if (frame >= kFramesPerDay - kCompared)
                last += took;
            if (frame == kCompared - 1)
                residentAfterFirst = ResidentMegabytes();
        }
    }
    const double residentEnd = ResidentMegabytes();
    bench.counters["last/first 1000"] = first > 0 ? last / first : 0.0;
    bench.counters["first 1000 ms"] = first * 1e3;
    bench.counters["last 1000 ms"] = last * 1e3;
    bench.counters["RSS growth MB"] = residentEnd - residentStart;
    bench.counters["RSS growth after first 1000 MB"] = residentEnd - residentAfterFirst;
    bench.counters["frames"] = double(program.framesSent() - framesBefore);
    QObject::disconnect(&tickNotifier(), &TickNotifier::ticked, &tickNotifier(), nullptr);
    QFile log(ProgramPath(QStringLiteral("DATA_LOG.TXT")));
    const int64_t lines = log.open(QIODevice::ReadOnly) ? log.readAll().count("\r\n") : 0;
    bench.counters["DATA_LOG lines per frame"] = logged > 0 ? double(lines) / double(logged) : 0.0;
}
BENCHMARK(DayOfFrames)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pxr3::bench
