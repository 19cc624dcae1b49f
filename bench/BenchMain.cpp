// The benchmarks drive the program's windows, so they run inside a QApplication on the
// offscreen platform. At the end one table gives every figure against its target; the exit
// status is non-zero when one is not met. Probes (bench/ProcessProbes.h) are runs of this
// executable in a process of their own, on the platform they are given.

#include "bench/ProcessProbes.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

// Collects every figure while the console shows the runs as usual.
class CollectingReporter : public benchmark::ConsoleReporter {
public:
    struct Figures {
        std::map<std::string, double> counters;
        double cpuMsPerIteration = 0;
        std::string error;
    };
    std::map<std::string, Figures> runs;

    void ReportRuns(const std::vector<Run> &reports) override
    {
        for (const Run &run : reports) {
            Figures &figures =
                runs[run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args)];
            for (const auto &[name, counter] : run.counters)
                figures.counters[name] = counter.value;
            if (run.iterations > 0)
                figures.cpuMsPerIteration = run.cpu_accumulated_time * 1e3 / double(run.iterations);
            if (run.error_occurred)
                figures.error = run.error_message;
        }
        ConsoleReporter::ReportRuns(reports);
    }
};

struct Target {
    const char *figure;
    const char *benchmark;
    const char *counter; // empty: processor ms per iteration
    char comparison;     // '<', 'l' (≤), '>' (≥), '=' (equal)
    double limit;
};

// What the program is held to.
const Target kTargets[] = {
    {"frames per second through the parser and decoder", "DataFramesThroughParserAndDecoder", "frames/s", '>', 1e6},
    {"good-frame tick with its painting, processor ms", "GoodFrameTick", "ms/tick", 'l', 1.0},
    {"measuring at the pace on a serial port, Xvfb, % of a core", "ProgramOnPort/Measuring", "CPU % of a core", '<',
     0.3},
    {"idle and connected on a serial port, Xvfb, % of a core", "ProgramOnPort/Idle", "CPU % of a core", '<', 0.1},
    {"start-up to the main window shown, x bare window", "StartUp", "start-up ratio", 'l', 1.5},
    {"resident memory after start-up, x bare window", "StartUp", "RSS ratio", 'l', 1.3},
    {"measuring at the pace (simulated), % of a core", "ProcessorUseAtRealPace/Measurement", "CPU % of a core", '<',
     1.0},
    {"series at the pace with autosaves, % of a core", "ProcessorUseAtRealPace/Series", "CPU % of a core", '<', 1.0},
    {"longest event-loop turn in a series, processor ms", "LongestEventLoopStall", "longest stall ms", '<', 16.0},
    {"day of frames: last/first 1000 frames, processor", "DayOfFrames", "last/first 1000", 'l', 1.1},
    {"day of frames: resident memory growth, MB", "DayOfFrames", "RSS growth MB", '<', 10.0},
    {"day of frames: DATA_LOG.TXT lines per logged frame", "DayOfFrames", "DATA_LOG lines per frame", '=', 1.0},
    {"save a table of 1000 filled rows, processor ms", "SaveFullTable", "", '<', 20.0},
    {"load a table of 1000 filled rows, processor ms", "LoadFullTable", "", '<', 20.0},
    {"load 100 MB of lines, processor ms", "LoadHugeFile/1", "", '<', 1000.0},
    {"load 100 MB of lines, resident memory growth, MB", "LoadHugeFile/1", "RSS growth MB", '<', 64.0},
    {"load 100 MB without a line end, processor ms", "LoadHugeFile/0", "", '<', 1000.0},
    {"load 100 MB without a line end, memory growth, MB", "LoadHugeFile/0", "RSS growth MB", '<', 64.0},
};

bool Met(char comparison, double value, double limit)
{
    switch (comparison) {
    case '<': return value < limit;
    case 'l': return value <= limit;
    case '>': return value >= limit;
    default: return value == limit;
    }
}

const char *ComparisonText(char comparison)
{
    switch (comparison) {
    case '<': return "<";
    case 'l': return "≤";
    case '>': return "≥";
    default: return "=";
    }
}

// A Markdown table, so that it goes into the README as it is printed.
int PrintTable(const CollectingReporter &reporter)
{
    int notMet = 0;
    std::printf("\n| Figure | Target | Measured | |\n|---|---|---|---|\n");
    for (const Target &t : kTargets) {
        const auto run = reporter.runs.find(t.benchmark);
        std::string measured = "not measured";
        bool met = false;
        if (run != reporter.runs.end() && run->second.error.empty()) {
            const auto &figures = run->second;
            const bool processorTime = std::strlen(t.counter) == 0;
            const auto counter = figures.counters.find(t.counter);
            if (processorTime || counter != figures.counters.end()) {
                const double value = processorTime ? figures.cpuMsPerIteration : counter->second;
                char text[32];
                std::snprintf(text, sizeof text, value >= 1e4 ? "%.0f" : "%.3g", value);
                measured = text;
                met = Met(t.comparison, value, t.limit);
            }
        } else if (run != reporter.runs.end()) {
            measured = "failed: " + run->second.error;
        }
        notMet += met ? 0 : 1;
        std::printf("| %s | %s %.10g | %s | %s |\n", t.figure, ComparisonText(t.comparison), t.limit, measured.c_str(),
                    met ? "met" : "not met");
    }
    std::printf("\n%d of %zu targets not met\n", notMet, std::size(kTargets));
    return notMet == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1 && std::strncmp(argv[1], "--probe-", 8) == 0) {
        QApplication app(argc, argv);
        return pxr3::bench::RunProbe(argc, argv);
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return PrintTable(reporter);
}
