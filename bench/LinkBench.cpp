// Data frames through USB_ReadData from the simulated analyser in fast mode, with the
// communication log written as in the program.

#include "core/CommLog.h"
#include "core/Events.h"
#include "core/ProgramFolder.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/SimulatedAnalyser.h"
#include "devicelink/USB_KOM.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void DataFramesThroughTheLink(benchmark::State &bench)
{
    QTemporaryDir folder;
    pxr3::SetProgramFolder(folder.path());
    pxr3::SetEventHook([] {});
    auto owned = std::make_unique<pxr3::SimulatedAnalyser>(pxr3::SimulatedAnalyser::Pace::Fast, 11);
    pxr3::SimulatedAnalyser &sim = *owned;
    pxr3::SetDriver(std::move(owned));
    pxr3::ResetLinkState();
    if (pxr3::USB_Open() != 1) {
        bench.SkipWithError("the simulated analyser did not connect");
        return;
    }
    pxr3::MCA_Command(QStringLiteral("B"));
    const uint64_t readsBefore = sim.readCalls();
    int64_t frames = 0;
    for (auto _ : bench) {
        pxr3::USB_ReadData();
        if (pxr3::link().CommandOk != 1) {
            bench.SkipWithError("a data frame failed");
            break;
        }
        ++frames;
    }
    bench.counters["frames/s"] = benchmark::Counter(double(frames), benchmark::Counter::kIsRate);
    bench.counters["reads/frame"] = frames ? double(sim.readCalls() - readsBefore) / double(frames) : 0.0;
    bench.counters["log chars"] = double(pxr3::commLog().text().size());
    pxr3::SetDriver(nullptr);
    pxr3::SetEventHook(nullptr);
}
BENCHMARK(DataFramesThroughTheLink)->Unit(benchmark::kMicrosecond);

} // namespace
