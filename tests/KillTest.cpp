// The program killed (SIGKILL) at random moments of a series with "LOG data" ticked, again
// and again in the same folder: every row announced as complete is in the autosave, every
// file the program keeps reads back whole, and the next start reads everything without a
// word of complaint.

#include "TestSupport.h"
#include "core/TextFile.h"
#include "records/MeasurementTable.h"
#include "records/SettingsFiles.h"
#include "records/TableFile.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <random>

namespace pxr3::test {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kKills = 15; // the sanitized build runs several times slower
#else
constexpr int kKills = 100;
#endif

struct ChildRun {
    QStringList rows;     // "row\t<cells>" of each completed cycle
    QStringList messages; // what the program showed the operator
    bool measured = false;
};

ChildRun Parse(const QByteArray &output)
{
    ChildRun run;
    for (const QString &line : QString::fromUtf8(output).split('\n')) {
        if (line == QLatin1String("measuring"))
            run.measured = true;
        else if (line.startsWith(QLatin1String("row\t")))
            run.rows << line;
        else if (line.startsWith(QLatin1String("message\t")))
            run.messages << line;
    }
    return run;
}

ChildRun RunChild(const QString &folder, int killAfterMs)
{
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QStringLiteral(PXR3_KILL_CHILD),
                killAfterMs < 0 ? QStringList{folder, QStringLiteral("--start-only")} : QStringList{folder});
    EXPECT_TRUE(child.waitForStarted());
    QByteArray output;
    if (killAfterMs >= 0) {
        while (!output.contains("measuring\n") && child.waitForReadyRead(10'000))
            output += child.readAllStandardOutput();
        QThread::msleep(killAfterMs);
        child.kill();
    }
    child.waitForFinished(20'000);
    output += child.readAllStandardOutput();
    return Parse(output);
}

// The data log holds whole lines only (the comm log's entries begin with their line break,
// so its last line is open by design).
bool EndsWithWholeLine(const QString &path)
{
    const QByteArray bytes = FileBytes(path);
    return bytes.isEmpty() || bytes.endsWith("\r\n");
}

QStringList Autosaves(const QString &folder)
{
    return QDir(folder + QStringLiteral("/DATA")).entryList({QStringLiteral("serie_*.dat")}, QDir::Files, QDir::Name);
}

class KillTest : public ProgramFolderFixture { };

TEST_F(KillTest, EveryCompletedRowAndEveryFileSurviveAKillAtAnyMoment)
{
    WriteFile(path(kSettingsFileName), SettingsBytes(0, 2, 1000, 1, WindowPlacement()));
    WriteFile(path(kNuclideFileName), "PXR3.KAL\r\nRn-222    \r\n 1\r\n 254\r\n 700\r\n12,5\r\n0,5\r\n");
    const unsigned seed =
        qEnvironmentVariableIsSet("PXR3_KILL_SEED") ? qEnvironmentVariableIntValue("PXR3_KILL_SEED") : 17;
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> moment(0, 600);
    int rowsChecked = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE(QStringLiteral("kill %1 of seed %2").arg(kill + 1).arg(seed).toStdString());
        const QStringList before = Autosaves(folder.path());
        const ChildRun run = RunChild(folder.path(), moment(random));
        ASSERT_TRUE(run.measured);
        EXPECT_EQ(run.messages, QStringList()) << "the start after a kill complained";

        QStringList made = Autosaves(folder.path());
        for (const QString &old : before)
            made.removeAll(old);
        ASSERT_LE(made.size(), 1);
        // A kill between a row's autosave and its announcement leaves a file with no row told:
        // only an announced row without its file is a loss.
        ASSERT_FALSE(made.isEmpty() && !run.rows.isEmpty()) << "a completed row without its autosave";
        if (!made.isEmpty()) {
            MeasurementTable saved;
            ASSERT_TRUE(LoadTableFile(saved, path(QStringLiteral("DATA/") + made.front())).ok);
            for (const QString &line : run.rows) {
                const QStringList cells = line.split('\t').mid(1);
                const int row = cells[0].toInt();
                for (int column = 0; column < kTableColumns; ++column)
                    ASSERT_EQ(saved.text(row, column), cells[column]) << "row " << row << " column " << column;
                ++rowsChecked;
            }
        }
        if (QFile::exists(path(QStringLiteral("DATA/kopie.dat")))) {
            MeasurementTable copy;
            EXPECT_TRUE(LoadTableFile(copy, path(QStringLiteral("DATA/kopie.dat"))).ok);
        }
        EXPECT_EQ(FileBytes(path(kSettingsFileName)).size(), kSettingsFileSize);
        EXPECT_TRUE(ParseNuclideFile(QString::fromLatin1(FileBytes(path(kNuclideFileName)))).error.isEmpty());
        EXPECT_TRUE(EndsWithWholeLine(path(QStringLiteral("DATA_LOG.TXT"))));
    }
    EXPECT_GT(rowsChecked, kKills); // the kills fell inside series, not before their first row

    // The start after the last kill clears what a cut save left, and nothing else remains.
    EXPECT_EQ(RunChild(folder.path(), -1).messages, QStringList());
    QStringList leftovers;
    for (const QString &sub : {QStringLiteral("."), QStringLiteral("DATA")})
        for (const QString &name : QDir(path(sub)).entryList(QDir::Files))
            if (!name.contains(QRegularExpression(QStringLiteral("(\\.(dat|TXT|CFG|KAL))$"))))
                leftovers << name;
    EXPECT_EQ(leftovers, QStringList());
}

} // namespace
} // namespace pxr3::test
