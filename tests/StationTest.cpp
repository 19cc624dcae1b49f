// A series without a screen: on the logic alone under the virtual clock, its lines checked
// against the autosave's rows worked by hand; then the built program, with no display at all.

#include "core/Station.h"
#include "LinkTestSupport.h"
#include "StationTestSupport.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "core/TextFile.h"
#include "records/CycleMessage.h"
#include "records/MeasurementTable.h"
#include "records/SettingsFiles.h"
#include "records/TableFile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <cmath>
#include <csignal>

namespace pxr3::test {
namespace {

class StationTest : public LinkFixture {
protected:
    StationTest() : LinkFixture(SimulatedAnalyser::Pace::RealTime) { }
};

// What a row's counts in its time say, as the station's line shows it.
QString HandLine(const QString &counts, const QString &seconds)
{
    const HandWorked h = WorkByHand(counts.toDouble(), seconds.toDouble());
    QString line = QStringLiteral("ROI %1 T %2 s rate %3 ± %4 1/s activity ")
                       .arg(counts, seconds, ExpText(h.rate, 4), ExpText(h.rateU, 2));
    if (h.detected)
        return line + ExpText(h.activity, 4) + QStringLiteral(" ± ") + ExpText(h.activityU, 2) +
            QStringLiteral(" Bq/m³");
    return line + QStringLiteral("< ") + ExpText(h.limit, 4) + QStringLiteral(" Bq/m³");
}

// The published numbers worked by hand from the row's counts and time, as the line's.
void ExpectMessageOfRow(const QJsonObject &m, const MeasurementTable &rows, int k, const QString &series)
{
    const double n = rows.text(k, 3).toDouble();
    const double t = rows.text(k, 4).toDouble();
    const HandWorked h = WorkByHand(n, t);
    const auto number = [&m](const char *key) { return m.value(QLatin1String(key)).toDouble(); };
    EXPECT_EQ(m.value(QStringLiteral("series")).toString(), series);
    EXPECT_EQ(m.value(QStringLiteral("cycle")).toInt(), k);
    EXPECT_EQ(m.value(QStringLiteral("cycles")).toInt(), 3);
    EXPECT_EQ(m.value(QStringLiteral("row")).toInt(), k);
    EXPECT_EQ(m.value(QStringLiteral("set")).toString(), QStringLiteral("Rn-222"));
    EXPECT_EQ(m.value(QStringLiteral("counts")).toDouble(), n);
    EXPECT_EQ(m.value(QStringLiteral("time")).toDouble(), t);
    EXPECT_DOUBLE_EQ(number("rate"), h.rate);
    EXPECT_DOUBLE_EQ(number("rate_u"), h.rateU);
    EXPECT_DOUBLE_EQ(number("activity"), h.activity);
    EXPECT_DOUBLE_EQ(number("activity_u"), h.activityU);
    EXPECT_NEAR(number("threshold"), h.threshold, 1e-9);
    EXPECT_NEAR(number("limit"), h.limit, 1e-9);
    EXPECT_EQ(m.value(QStringLiteral("detected")).toBool(), h.detected);
    EXPECT_TRUE(m.value(QStringLiteral("simulated")).toBool());
    const QDateTime start = QDateTime::fromString(m.value(QStringLiteral("start")).toString(), Qt::ISODate);
    const QDateTime end = QDateTime::fromString(m.value(QStringLiteral("end")).toString(), Qt::ISODate);
    EXPECT_EQ(start.secsTo(end), qint64(t)) << "the counting began T before the cycle ended";
}

TEST_F(StationTest, ThreeCyclesPrintThreeLinesOfTheAutosavesRows)
{
    ASSERT_TRUE(StoreRadonSet()); // the station reads its set from the files, as at a start

    QStringList lines, warnings;
    std::vector<QJsonObject> messages;
    int exitCode = -1;
    Station station(
        {3, 4, false}, [&lines](const QString &l) { lines << l; }, [&warnings](const QString &w) { warnings << w; });
    QObject::connect(&station, &Station::ended, [&exitCode](int code) { exitCode = code; });
    QObject::connect(&station, &Station::cycleRecorded, [&messages](const CycleReport &report) {
        messages.push_back(QJsonDocument::fromJson(CycleMessage(report, QStringLiteral("st"))).object());
    });
    ASSERT_TRUE(station.start());
    for (int i = 0; i < 600 && exitCode < 0; ++i)
        clock.runFor(kSecond);
    EXPECT_EQ(exitCode, 0);
    EXPECT_TRUE(sim->written().back().contains('E')) << "the analyser is stopped before the device closes";

    const QStringList saves = QDir(path(QStringLiteral("DATA"))).entryList({QStringLiteral("serie_*.dat")});
    ASSERT_EQ(saves.size(), 1);
    MeasurementTable rows;
    ASSERT_TRUE(LoadTableFile(rows, QDir(path(QStringLiteral("DATA"))).filePath(saves[0])).ok);
    ASSERT_EQ(lines.size(), 3) << qPrintable(warnings.join('\n'));
    EXPECT_TRUE(rows.text(4, 1).isEmpty());
    for (int k = 1; k <= 3; ++k) {
        const QString &line = lines[k - 1];
        EXPECT_EQ(rows.text(k, 4), QStringLiteral("4"));
        EXPECT_EQ(line,
                  rows.text(k, 1) + QStringLiteral(" cycle %1/3 ").arg(k) + HandLine(rows.text(k, 3), rows.text(k, 4)));
    }
    ASSERT_EQ(messages.size(), 3u);
    for (int k = 1; k <= 3; ++k)
        ExpectMessageOfRow(messages[size_t(k - 1)], rows, k, QFileInfo(saves[0]).completeBaseName());
}

TEST_F(StationTest, UntilStoppedTheSeriesGoesOnInANewFileWhenTheTableIsFull)
{
    QStringList lines;
    int exitCode = -1;
    Station station(
        {0, 2, false}, [&lines](const QString &l) { lines << l; }, [](const QString &) {});
    QObject::connect(&station, &Station::ended, [&exitCode](int code) { exitCode = code; });
    ASSERT_TRUE(station.start());
    for (int i = 0; i < 4000 && lines.size() < 1002; ++i)
        clock.runFor(kSecond);
    ASSERT_EQ(lines.size(), 1002);
    EXPECT_TRUE(lines.back().contains(QStringLiteral(" cycle 1002 ROI "))) << qPrintable(lines.back());
    station.stop();
    for (int i = 0; i < 60 && exitCode < 0; ++i)
        clock.runFor(kSecond);
    EXPECT_EQ(exitCode, 0);

    QStringList saves =
        QDir(path(QStringLiteral("DATA"))).entryList({QStringLiteral("serie_*.dat")}, QDir::Files, QDir::Name);
    ASSERT_EQ(saves.size(), 2) << "the first thousand rows, then the rest";
    MeasurementTable first, second;
    ASSERT_TRUE(LoadTableFile(first, QDir(path(QStringLiteral("DATA"))).filePath(saves[0])).ok);
    ASSERT_TRUE(LoadTableFile(second, QDir(path(QStringLiteral("DATA"))).filePath(saves[1])).ok);
    EXPECT_TRUE(
        lines[999].startsWith(first.text(1000, 1) + QStringLiteral(" cycle 1000 ROI ") + first.text(1000, 3) + ' '));
    EXPECT_TRUE(
        lines[1000].startsWith(second.text(1, 1) + QStringLiteral(" cycle 1001 ROI ") + second.text(1, 3) + ' '))
        << "cycle 1001 is not written over row 1000";
    EXPECT_TRUE(lines[1001].startsWith(second.text(2, 1) + QStringLiteral(" cycle 1002 ROI ")));
}

struct ProgramRun {
    int exitCode = -1;
    QProcess::ExitStatus status = QProcess::CrashExit;
    QStringList lines;
    QString err;
};

QProcessEnvironment WithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(QString::fromLatin1(name));
    return environment;
}

// `stopAfterLines`: SIGTERM once that many lines came; 0 lets the series run to its end.
ProgramRun RunProgram(const QString &folder, const QStringList &arguments, int stopAfterLines)
{
    QProcess program;
    program.setProcessEnvironment(WithoutDisplay());
    program.start(QStringLiteral(PXR3_EXECUTABLE),
                  QStringList{QStringLiteral("--headless"), QStringLiteral("--data-dir"), folder} + arguments);
    ProgramRun run;
    QByteArray out;
    if (stopAfterLines > 0) {
        while (out.count('\n') < stopAfterLines && program.waitForReadyRead(-1))
            out += program.readAllStandardOutput();
        ::kill(pid_t(program.processId()), SIGTERM);
    }
    program.waitForFinished(-1);
    out += program.readAllStandardOutput();
    run.exitCode = program.exitCode();
    run.status = program.exitStatus();
    run.lines = QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
    run.err = QString::fromUtf8(program.readAllStandardError());
    return run;
}

QString OnlyAutosave(const QString &folder)
{
    const QDir data(folder + QStringLiteral("/DATA"));
    const QStringList saves = data.entryList(QDir::Files);
    return saves.size() == 1 && saves[0].startsWith(QLatin1String("serie_")) ? data.filePath(saves[0]) : QString();
}

TEST(StationProgram, RunsTwoCyclesWithoutADisplayAndExitsZero)
{
    QTemporaryDir folder;
    const ProgramRun run = RunProgram(folder.path(),
                                      {QStringLiteral("--simulate"), QStringLiteral("--cycles"), QStringLiteral("2"),
                                       QStringLiteral("--time"), QStringLiteral("4")},
                                      0);
    ASSERT_EQ(run.status, QProcess::NormalExit) << qPrintable(run.err);
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    ASSERT_EQ(run.lines.size(), 2) << qPrintable(run.err);
    EXPECT_TRUE(run.lines[1].contains(QStringLiteral(" cycle 2/2 ROI "))) << qPrintable(run.lines[1]);
    EXPECT_FALSE(OnlyAutosave(folder.path()).isEmpty());
}

TEST(StationProgram, SigtermInTheSecondCycleExitsZeroWithTheFirstRowSaved)
{
    QTemporaryDir folder;
    const ProgramRun run = RunProgram(folder.path(),
                                      {QStringLiteral("--simulate"), QStringLiteral("--cycles"), QStringLiteral("3"),
                                       QStringLiteral("--time"), QStringLiteral("4")},
                                      1);
    ASSERT_EQ(run.status, QProcess::NormalExit) << qPrintable(run.err);
    EXPECT_EQ(run.exitCode, 0) << qPrintable(run.err);
    ASSERT_EQ(run.lines.size(), 1) << qPrintable(run.err);
    const QString autosave = OnlyAutosave(folder.path());
    ASSERT_FALSE(autosave.isEmpty()) << "one file, no part of a save left behind";
    MeasurementTable rows;
    ASSERT_TRUE(LoadTableFile(rows, autosave).ok);
    EXPECT_TRUE(run.lines[0].startsWith(rows.text(1, 1) + QStringLiteral(" cycle 1/3 ROI ") + rows.text(1, 3) + ' '));
    EXPECT_TRUE(rows.text(2, 1).isEmpty());
    QFile log(folder.path() + QStringLiteral("/MCA_Com.TXT"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(DecodeWindows1250(log.readAll()).contains(QStringLiteral("Program ukončen signálem 15")));
}

TEST(StationProgram, WithoutAnAnalyserItExitsOneWithItsLogWritten)
{
    QTemporaryDir folder;
    const ProgramRun run =
        RunProgram(folder.path(), {QStringLiteral("--port"), folder.filePath(QStringLiteral("none"))}, 0);
    ASSERT_EQ(run.status, QProcess::NormalExit) << qPrintable(run.err);
    EXPECT_EQ(run.exitCode, 1) << qPrintable(run.err);
    EXPECT_TRUE(run.lines.isEmpty());
    EXPECT_TRUE(QFile::exists(folder.filePath(QStringLiteral("MCA_Com.TXT"))));
}

} // namespace
} // namespace pxr3::test
