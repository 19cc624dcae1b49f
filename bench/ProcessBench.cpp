// The figures a process of its own gives (bench/ProcessProbes.h): start-up and resident memory
// against a bare Qt Widgets window, and processor use on a pseudo-terminal's serial port with
// the windows on the display `make bench` gives (Xvfb), measuring and idle.

#include "bench/ProcessProbes.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <vector>

namespace pxr3::bench {
namespace {

constexpr int kStartRuns = 7;

QProcessEnvironment ProbeEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"),
                       environment.contains(QStringLiteral("DISPLAY")) ? QStringLiteral("xcb")
                                                                       : QStringLiteral("offscreen"));
    return environment;
}

// The probe's one line of figures, empty when it failed.
QList<double> Probe(const QStringList &arguments, int timeoutMs)
{
    QProcess probe;
    probe.setProcessEnvironment(ProbeEnvironment());
    probe.start(QCoreApplication::applicationFilePath(), arguments);
    if (!probe.waitForFinished(timeoutMs) || probe.exitCode() != 0)
        return {};
    QList<double> figures;
    for (const QByteArray &word : probe.readAllStandardOutput().simplified().split(' ')) {
        bool ok = false;
        figures.append(word.toDouble(&ok));
        if (!ok)
            return {};
    }
    return figures;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// Program and bare window in turn, so that both see the same state of the machine.
void StartUp(benchmark::State &bench)
{
    std::vector<double> programMs, bareMs, programMb, bareMb;
    for (auto _ : bench) {
        for (int run = 0; run < kStartRuns; ++run) {
            const QList<double> program = Probe({QStringLiteral("--probe-start-program")}, 30'000);
            const QList<double> bare = Probe({QStringLiteral("--probe-start-bare")}, 30'000);
            if (program.size() != 2 || bare.size() != 2) {
                bench.SkipWithError("a start-up probe failed");
                return;
            }
            programMs.push_back(program[0]);
            programMb.push_back(program[1]);
            bareMs.push_back(bare[0]);
            bareMb.push_back(bare[1]);
        }
    }
    bench.counters["program ms"] = Median(programMs);
    bench.counters["bare ms"] = Median(bareMs);
    bench.counters["start-up ratio"] = Median(programMs) / Median(bareMs);
    bench.counters["program MB"] = Median(programMb);
    bench.counters["bare MB"] = Median(bareMb);
    bench.counters["RSS ratio"] = Median(programMb) / Median(bareMb);
}
BENCHMARK(StartUp)->Iterations(1)->Unit(benchmark::kMillisecond);

void ProgramOnPort(benchmark::State &bench, const char *mode)
{
    if (!QProcessEnvironment::systemEnvironment().contains(QStringLiteral("DISPLAY"))) {
        bench.SkipWithError("no display: run under xvfb-run");
        return;
    }
    QProcess analyser;
    analyser.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tests/pxr3-pty-analyser"));
    if (!analyser.waitForReadyRead(10'000)) {
        bench.SkipWithError("the analyser on a pseudo-terminal did not start");
        return;
    }
    const QString port = QString::fromLocal8Bit(analyser.readLine().trimmed());
    QList<double> percent;
    for (auto _ : bench)
        percent = Probe({QStringLiteral("--probe-port"), port, QString::fromLatin1(mode)}, 60'000);
    analyser.kill();
    analyser.waitForFinished();
    if (percent.size() != 1) {
        bench.SkipWithError("the program on the port did not run");
        return;
    }
    bench.counters["CPU % of a core"] = percent[0];
}
BENCHMARK_CAPTURE(ProgramOnPort, Measuring, "measuring")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ProgramOnPort, Idle, "idle")->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pxr3::bench
