// Data frames through the receive path and the decoder: the bytes announced by the driver,
// drained into the frame parser, queued, then taken and decoded by USB_ReadData with the
// communication log written as in the program.

#include "bench/BenchSupport.h"
#include "bench/LoopbackDriver.h"
#include "core/CommLog.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/MCA_kom.h"
#include "devicelink/USB_KOM.h"

#include <benchmark/benchmark.h>

namespace pxr3::bench {
namespace {

void DataFramesThroughParserAndDecoder(benchmark::State &bench)
{
    ProgramFolderScope folder;
    const std::vector<QByteArray> frames = DataFrames(64);
    auto owned = std::make_unique<LoopbackDriver>();
    LoopbackDriver &loopback = *owned;
    SetDriver(std::move(owned));
    ResetLinkState();
    commLog().clear();
    StartReceiving(LoopbackDriver::kHandle);

    std::size_t next = 0;
    for (auto _ : bench) {
        loopback.deliver(frames[next]);
        next = (next + 1) % frames.size();
        USB_ReadData();
        if (link().CommandOk != 1) {
            bench.SkipWithError("a good data frame was not decoded");
            break;
        }
    }
    bench.counters["frames/s"] = benchmark::Counter(double(bench.iterations()), benchmark::Counter::kIsRate);
    bench.SetBytesProcessed(int64_t(bench.iterations()) * kDataFrameLength);

    StopReceiving();
    SetDriver(nullptr);
    commLog().clear();
}
BENCHMARK(DataFramesThroughParserAndDecoder)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace pxr3::bench
