// The table files at their full size: a table of 1000 filled rows saved and loaded with the
// table window showing it, and files of 100 MB given to the load command, whose reading is
// bounded to the table's 1000 lines of at most 64 KiB each.

#include "bench/BenchSupport.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"
#include "records/TableFile.h"
#include "records/vse_mer.h"

#include <QFile>
#include <benchmark/benchmark.h>

namespace pxr3::bench {
namespace {

constexpr qint64 kHugeBytes = 100 * 1024 * 1024;

// Every cell filled as a long series leaves it; `variant` makes two tables differ in every cell.
void FillTable(MeasurementTable &table, int variant)
{
    for (int row = 1; row <= kTableRows; ++row) {
        const int n = row + variant;
        table.setText(row, 1,
                      QStringLiteral("%1.03.2024 %2:%3:07")
                          .arg(n % 28 + 1, 2, 10, QLatin1Char('0'))
                          .arg(n % 24, 2, 10, QLatin1Char('0'))
                          .arg(n % 60, 2, 10, QLatin1Char('0')));
        table.setText(row, 2,
                      QStringLiteral("%1.%2E+0%3").arg(n % 9 + 1).arg(n % 1000, 3, 10, QLatin1Char('0')).arg(n % 4));
        table.setText(row, 3, QString::number(1000 + n * 37));
        table.setText(row, 4, QStringLiteral("100"));
        table.setText(row, 5, QStringLiteral("Poznámka č. %1 – sklep, okno zavřené, žluťoučký kůň").arg(n));
    }
}

void SaveFullTable(benchmark::State &bench)
{
    ProgramFolderScope folder;
    vse_mer window;
    window.show();
    MeasurementTable &table = measurementTable();
    FillTable(table, 0);
    const QString path = ProgramPath(QStringLiteral("full.dat"));
    for (auto _ : bench)
        if (!SaveTableFile(table, path).ok) {
            bench.SkipWithError("the table was not saved");
            break;
        }
    bench.counters["bytes"] = double(QFile(path).size());
    table.reset();
}
BENCHMARK(SaveFullTable)->Unit(benchmark::kMillisecond);

void LoadFullTable(benchmark::State &bench)
{
    ProgramFolderScope folder;
    vse_mer window;
    window.show();
    MeasurementTable &table = measurementTable();
    const QString paths[2] = {ProgramPath(QStringLiteral("a.dat")), ProgramPath(QStringLiteral("b.dat"))};
    for (int variant = 0; variant < 2; ++variant) {
        FillTable(table, variant);
        SaveTableFile(table, paths[variant]);
    }
    int next = 0;
    for (auto _ : bench) { // the two files in turn, so that every cell changes
        if (!LoadTableFile(table, paths[next]).ok) {
            bench.SkipWithError("the table was not loaded");
            break;
        }
        next = 1 - next;
    }
    table.reset();
}
BENCHMARK(LoadFullTable)->Unit(benchmark::kMillisecond);

// 100 MB of 1000-line tables one after another, or one 100 MB line without an end.
void LoadHugeFile(benchmark::State &bench)
{
    ProgramFolderScope folder;
    const bool lines = bench.range(0) == 1;
    const QString path = ProgramPath(QStringLiteral("huge.dat"));
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        const QByteArray block = lines
            ? QByteArray("07.03.2024 09:05:03\t1.234E+01\t12345\t100\tPozn\xE1mka\r\n").repeated(1000)
            : QByteArray(1024 * 1024, 'x');
        while (file.size() < kHugeBytes)
            file.write(block);
    }
    MeasurementTable table;
    const double residentBefore = ResidentMegabytes();
    for (auto _ : bench)
        if (!LoadTableFile(table, path).ok) {
            bench.SkipWithError("the file was not loaded");
            break;
        }
    bench.counters["RSS growth MB"] = ResidentMegabytes() - residentBefore;
    bench.SetLabel(lines ? "100 MB of lines" : "100 MB without a line end");
}
BENCHMARK(LoadHugeFile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pxr3::bench
