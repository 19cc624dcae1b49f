// One acquisition tick that finds a good frame waiting, with everything it feeds switched
// on: the cycle, the sums, rate and activity, the activity pictures, the spectrum redraw,
// the time-course point, the table row and the DATA_LOG line. The windows are shown on the
// offscreen platform, so what the tick leaves for the event loop to paint is counted too.

#include "acquisition/AcquisitionTick.h"
#include "acquisition/frm_USBkom.h"
#include "bench/BenchSupport.h"
#include "bench/LoopbackDriver.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/SharedState.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/LinkReceiver.h"
#include "devicelink/USB_KOM.h"
#include "graphs/frm_Prubeh.h"

#include <QCheckBox>
#include <QLineEdit>
#include <algorithm>
#include <benchmark/benchmark.h>

namespace pxr3::bench {
namespace {

constexpr int64_t kTickUs = 100'000;

void GoodFrameTick(benchmark::State &bench)
{
    ProgramFolderScope folder;
    VirtualClock clock;
    VirtualClockScope virtualTime(clock);
    const std::vector<QByteArray> frames = DataFrames(64);
    auto owned = std::make_unique<LoopbackDriver>();
    LoopbackDriver &loopback = *owned;
    SetDriver(std::move(owned));
    ResetSharedState();
    ResetLinkState();
    ResetAcquisition();
    commLog().clear();
    StartReceiving(LoopbackDriver::kHandle);

    frm_USBkom usb;
    frm_Prubeh course;
    usb.setCourseWindow(&course);
    usb.show();
    course.OpenCourse();
    usb.check(1)->setChecked(true); // "LOG data"
    usb.check(2)->setChecked(true); // " SF:"
    usb.text3(2)->setText(QStringLiteral("3"));
    SharedState &s = state();
    s.MeasureState = 1;
    s.CurrentRow = 1;
    s.MeasureTime = INT16_MAX - 1; // the cycle outlasts the run: every tick writes the row
    usb.timer()->start(kTickUs);
    clock.runFor(kTickUs); // the first tick finds nothing and the windows are painted once

    double total = 0;
    double longest = 0;
    std::size_t next = 0;
    for (auto _ : bench) {
        loopback.deliver(frames[next]);
        next = (next + 1) % frames.size();
        const double start = ThreadProcessorSeconds();
        clock.runFor(kTickUs); // the timer's one tick
        const double took = ThreadProcessorSeconds() - start;
        if (link().LastReading != DataReading::Good) {
            bench.SkipWithError("the tick did not take a good frame");
            break;
        }
        bench.SetIterationTime(took);
        total += took;
        longest = std::max(longest, took);
    }
    bench.counters["ms/tick"] = bench.iterations() ? total * 1e3 / double(bench.iterations()) : 0.0;
    bench.counters["longest ms"] = longest * 1e3;

    usb.timer()->stop();
    StopReceiving();
    SetDriver(nullptr);
    commLog().clear();
}
BENCHMARK(GoodFrameTick)->Iterations(2000)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace pxr3::bench
