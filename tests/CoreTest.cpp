#include "core/CommLog.h"
#include "core/RoiSums.h"
#include "core/Startup.h"
#include "core/WaitSeconds.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <limits>

using namespace pxr3;

TEST(RoiSums, IncludeBothBoundsStayInsideTheSpectrumAndSaturate)
{
    ResetSharedState();
    // Channel n holds n in the received spectrum and 2n in the cycle, so one expected sum
    // checks both.
    for (int channel = 1; channel <= kChannels; ++channel) {
        state().ReceivedSpectrum(channel) = channel;
        state().CycleSpectrum(channel) = 2 * channel;
    }
    const struct {
        int16_t left, right;
        int32_t sum;
    } cases[] = {
        {10, 12, 10 + 11 + 12}, {7, 7, 7},       {200, 100, 0},         {-5, 3, 1 + 2 + 3},
        {255, 400, 255 + 256},  {300, 400, 0},   {-32768, 32767, 256 * 257 / 2},
    };
    for (const auto &c : cases) {
        state().RoiBounds(1) = c.left;
        state().RoiBounds(2) = c.right;
        EXPECT_EQ(RoiSumReceived(), c.sum) << c.left << ".." << c.right;
        EXPECT_EQ(RoiSumCycle(), 2 * c.sum) << c.left << ".." << c.right;
    }
    state().RoiBounds(1) = 1;
    state().RoiBounds(2) = 256;
    for (int32_t extreme : {std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        state().CycleSpectrum.fill(extreme);
        EXPECT_EQ(RoiSumCycle(), extreme); // saturated, not wrapped
    }
}

TEST(WaitSeconds, WaitsAtLeastTheTimeOnTheMonotonicClockWithoutRunningEvents)
{
    using namespace std::chrono;
    steady_clock::time_point fake{};
    int sleeps = 0;
    const WaitClock previous = SetWaitClock({[&] { return fake; },
                                             [&](steady_clock::duration d) {
                                                 ++sleeps;
                                                 fake += d;
                                             }});
    const auto start = fake;
    float seconds = 0.5f;
    WaitSeconds(seconds);
    EXPECT_GE(fake - start, milliseconds(500));
    EXPECT_LT(fake - start, milliseconds(520));
    EXPECT_GT(sleeps, 0); // slept rather than spun
    float none = 0.0f;
    float negative = -1.0f;
    const auto before = fake;
    WaitSeconds(none);
    WaitSeconds(negative);
    EXPECT_EQ(fake, before);
    SetWaitClock(previous);
}

TEST(CommLog, AppendsEntriesAfterCrLfAndEmptiesPastTheLimit)
{
    CommLog log;
    log.append(QStringLiteral("USB Open"));
    log.append(QStringLiteral("OK"));
    EXPECT_EQ(log.text(), QStringLiteral("\r\nUSB Open\r\nOK"));
    log.setText(QString(CommLog::kMaxLength, QLatin1Char('x')));
    EXPECT_EQ(log.text().size(), CommLog::kMaxLength);
    log.append(QStringLiteral("y"));
    EXPECT_TRUE(log.text().isEmpty());
    log.setStatus(QStringLiteral("A"));
    log.setStatus(QStringLiteral("B"));
    EXPECT_EQ(log.status(), QStringLiteral("B"));
}

using StartupTest = test::ProgramFolderFixture;

TEST_F(StartupTest, CreatesTheWorkingFoldersOnlyWhenAbsent)
{
    PrepareProgramFolders();
    EXPECT_TRUE(QFileInfo(path("SPEKTRA")).isDir());
    EXPECT_TRUE(QFileInfo(path("DATA")).isDir());
    QFile marker(path("DATA/keep.dat"));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
    marker.close();
    PrepareProgramFolders();
    EXPECT_TRUE(QFileInfo::exists(path("DATA/keep.dat")));
}

TEST_F(StartupTest, NamesAreComparedExactly)
{
    QFile file(path("SPEKTRA"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)); // an entry of that name, even a file, counts
    file.close();
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("data")));
    PrepareProgramFolders();
    EXPECT_TRUE(QFileInfo(path("SPEKTRA")).isFile());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).contains(QStringLiteral("DATA")));
}

TEST_F(StartupTest, CopiesOnlyARecordThatIsInUse)
{
    NuclideRecord radon;
    radon.name = StoredNuclideName(QStringLiteral("Rn-222"));
    radon.leftRoi = 120;
    radon.rightRoi = 180;
    radon.highVoltage = 750;
    radon.calFactor = 2.5f;
    radon.background = 0.25f;
    state().NuclideTable(1) = radon;
    state().NuclideTable(2) = radon; // a stale slot beyond the records in use
    state().NuclideCount = 1;

    state().CurrentNuclide = 2;
    EXPECT_FALSE(CopyCurrentRecordToWork());
    EXPECT_EQ(state().WorkHighVoltage, 0);
    state().CurrentNuclide = 0;
    EXPECT_FALSE(CopyCurrentRecordToWork());

    state().CurrentNuclide = 1;
    ASSERT_TRUE(CopyCurrentRecordToWork());
    EXPECT_EQ(state().WorkLeftRoi, 120);
    EXPECT_EQ(state().WorkRightRoi, 180);
    EXPECT_EQ(state().WorkHighVoltage, 750);
    EXPECT_EQ(state().WorkCalFactor, 2.5f);
    EXPECT_EQ(state().WorkBackground, 0.25f);
}

TEST(ProgramFolder, FallsBackToTheUserFolderWhenTheWantedOneIsNotWritable)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    // A file where the folder should be: no folder can be made there, not even by root.
    QFile blocker(base.filePath(QStringLiteral("blocker")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unusable = base.filePath(QStringLiteral("blocker/pxr3"));
    const QString fallback = base.filePath(QStringLiteral("user/pxr3"));

    const FolderChoice writable = ChooseProgramFolder(base.path(), fallback);
    EXPECT_EQ(writable.folder, QDir::cleanPath(base.path()));
    EXPECT_TRUE(writable.notice.isEmpty());

    const FolderChoice choice = ChooseProgramFolder(unusable, fallback);
    EXPECT_EQ(choice.folder, QDir::cleanPath(fallback));
    EXPECT_TRUE(QFileInfo(fallback).isDir());
    EXPECT_TRUE(choice.notice.contains(QStringLiteral("nelze zapisovat")));
    EXPECT_TRUE(choice.notice.contains(QStringLiteral("blocker")));
}
