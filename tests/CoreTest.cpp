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

TEST(OneBased, IndexesFromOneAndNeverOutside)
{
    OneBased<int, 3> values;
    values(1) = 10;
    values(3) = 30;
    values(0) = 99; // lands in scratch, touches nothing
    values(4) = 99;
    EXPECT_EQ(values(1), 10);
    EXPECT_EQ(values(2), 0);
    EXPECT_EQ(values(3), 30);
    const auto &view = values;
    EXPECT_EQ(view(0), 0);
    EXPECT_EQ(view(4), 0);
}

class RoiSumsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSharedState();
        for (int channel = 1; channel <= kChannels; ++channel) {
            state().ReceivedSpectrum(channel) = channel;
            state().CycleSpectrum(channel) = 2 * channel;
        }
    }
    void roi(int16_t left, int16_t right)
    {
        state().RoiBounds(1) = left;
        state().RoiBounds(2) = right;
    }
};

TEST_F(RoiSumsTest, SumsBothBoundsIncluded)
{
    roi(10, 12);
    EXPECT_EQ(RoiSumReceived(), 10 + 11 + 12);
    EXPECT_EQ(RoiSumCycle(), 2 * (10 + 11 + 12));
    roi(7, 7);
    EXPECT_EQ(RoiSumReceived(), 7);
}

TEST_F(RoiSumsTest, ReversedBoundsGiveZero)
{
    roi(200, 100);
    EXPECT_EQ(RoiSumReceived(), 0);
    EXPECT_EQ(RoiSumCycle(), 0);
}

TEST_F(RoiSumsTest, OutOfRangeBoundsAreLimitedToTheSpectrum)
{
    roi(-5, 3);
    EXPECT_EQ(RoiSumReceived(), 1 + 2 + 3);
    roi(255, 400);
    EXPECT_EQ(RoiSumReceived(), 255 + 256);
    roi(300, 400);
    EXPECT_EQ(RoiSumReceived(), 0);
    roi(-32768, 32767);
    EXPECT_EQ(RoiSumReceived(), 256 * 257 / 2);
}

TEST_F(RoiSumsTest, SaturatesInsteadOfOverflowing)
{
    state().CycleSpectrum.fill(std::numeric_limits<int32_t>::max());
    roi(1, 256);
    EXPECT_EQ(RoiSumCycle(), std::numeric_limits<int32_t>::max());
    state().CycleSpectrum.fill(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(RoiSumCycle(), std::numeric_limits<int32_t>::min());
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

TEST_F(StartupTest, ResetsTheMeasurementStateAndRoi)
{
    state().MeasureState = 1;
    state().StopRequest = -1;
    state().LogY = -1;
    state().ReceivedSpectrum(5) = 9;
    state().CourseWindowOpen = -1;
    ResetMeasurementState();
    EXPECT_EQ(state().MeasureState, 0);
    EXPECT_EQ(state().StopRequest, 0);
    EXPECT_EQ(state().LogY, 0);
    EXPECT_EQ(state().ReceivedSpectrum(5), 0);
    EXPECT_EQ(state().RoiBounds(1), 1);
    EXPECT_EQ(state().RoiBounds(2), 255);
    EXPECT_EQ(state().CourseWindowOpen, 0);
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
