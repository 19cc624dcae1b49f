// What the station adds to each cycle when it publishes: the cycle's message, and its way
// through the queue on disk (appended and synced, then dropped once the broker took it).

#include "bench/BenchSupport.h"
#include "core/ProgramFolder.h"
#include "records/CycleMessage.h"
#include "records/PublishQueue.h"

#include <benchmark/benchmark.h>

namespace pxr3::bench {
namespace {

CycleReport ACycle()
{
    CycleReport report;
    report.series = QStringLiteral("serie_2026-12-10_05-17-26");
    report.row = report.cycle = 3;
    report.start = QDateTime::currentDateTime();
    report.end = report.start.addSecs(600);
    report.setName = QStringLiteral("Rn-222");
    report.roiLeft = 40;
    report.roiRight = 120;
    report.highVoltage = 500;
    report.seconds = 600;
    report.counts = 25800;
    report.background = 2;
    report.calFactor = 20;
    return report;
}

void CycleMessageOfACycle(benchmark::State &bench)
{
    const CycleReport report = ACycle();
    for (auto _ : bench)
        benchmark::DoNotOptimize(CycleMessage(report, QStringLiteral("sklep-1")));
}
BENCHMARK(CycleMessageOfACycle);

// The broker present: each cycle is appended, synced, acknowledged and the file emptied.
void QueuedAndTaken(benchmark::State &bench)
{
    ProgramFolderScope folder;
    PublishQueue queue(ProgramPath(QStringLiteral("fronta.txt")));
    const QByteArray message = CycleMessage(ACycle(), QStringLiteral("sklep-1"));
    for (auto _ : bench) {
        queue.push(message);
        queue.dropFront(1);
        queue.save();
    }
}
BENCHMARK(QueuedAndTaken);

} // namespace
} // namespace pxr3::bench
