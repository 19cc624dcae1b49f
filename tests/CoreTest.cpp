#include "TestSupport.h"
#include "core/Clock.h"
#include "core/CommLog.h"
#include "core/CommandLine.h"
#include "core/RoiSums.h"
#include "core/Startup.h"
#include "core/TerminationSignals.h"
#include "core/UiLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
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
        {10, 12, 10 + 11 + 12},
        {7, 7, 7},
        {200, 100, 0},
        {-5, 3, 1 + 2 + 3},
        {255, 400, 255 + 256},
        {300, 400, 0},
        {-32768, 32767, 256 * 257 / 2},
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

TEST(CommLog, AppendsEntriesInPlaceEvenItsOwnTextAndEmptiesPastTheLimit)
{
    CommLog log;
    log.append(QStringLiteral("Data received ..."));
    log.extend(QStringLiteral("\r\n"));
    log.append(log.text()); // the entry is the text as it was, without the line end put in front
    EXPECT_EQ(log.text(), QStringLiteral("\r\nData received ...\r\n\r\n\r\nData received ...\r\n"));

    QString gone;
    QObject::connect(&log, &CommLog::emptied, [&gone](const QString &text) { gone = text; });
    const QString entry(100, QLatin1Char('x'));
    QString expected = log.text();
    while (gone.isEmpty()) {
        log.append(entry);
        expected += QStringLiteral("\r\n") + entry;
    }
    // The entry that went past the limit is in what was emptied, nothing is left behind.
    EXPECT_GT(gone.size(), CommLog::kMaxLength);
    EXPECT_EQ(gone, expected);
    EXPECT_TRUE(log.text().isEmpty());
}

TEST(WaitSeconds, LetsAtLeastTheTimePassWithoutRunningEvents)
{
    VirtualClock clock;
    VirtualClockScope scope(clock);
    bool eventRan = false;
    clock.schedule(100'000, [&eventRan] { eventRan = true; });
    for (float seconds : {0.5f, 0.0f, -1.0f})
        WaitSeconds(seconds);
    EXPECT_GE(clock.nowUs(), 500'000);
    EXPECT_LT(clock.nowUs(), 520'000);
    EXPECT_FALSE(eventRan);
}

using StartupTest = test::ProgramFolderFixture;

TEST_F(StartupTest, CreatesTheWorkingFoldersOnlyWhenAbsentComparingNamesExactly)
{
    test::WriteFile(path("SPEKTRA"), {}); // an entry of that name, even a file, counts
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("data")));
    PrepareProgramFolders();
    EXPECT_TRUE(QFileInfo(path("SPEKTRA")).isFile());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).contains(QStringLiteral("DATA")));
    test::WriteFile(path("DATA/keep.dat"), {});
    PrepareProgramFolders();
    EXPECT_TRUE(QFileInfo::exists(path("DATA/keep.dat")));
}

TEST_F(StartupTest, AppliesOnlyARecordThatIsInUseAndItsRoiWithIt)
{
    const NuclideRecord radon{StoredNuclideName(QStringLiteral("Rn-222")), 120, 180, 750, 2.5f, 0.25f};
    state().NuclideTable(1) = radon;
    state().NuclideTable(2) = radon; // a stale slot beyond the records in use
    state().NuclideCount = 1;
    ResetMeasurementState();
    for (int16_t current : {2, 0}) {
        state().CurrentNuclide = current;
        EXPECT_FALSE(ApplyCurrentRecord());
        EXPECT_EQ(state().WorkHighVoltage, 0);
        EXPECT_EQ(state().RoiBounds(1), 1);
    }
    state().CurrentNuclide = 1;
    ASSERT_TRUE(ApplyCurrentRecord());
    const SharedState &s = state();
    EXPECT_EQ(NuclideRecord(
                  {radon.name, s.WorkLeftRoi, s.WorkRightRoi, s.WorkHighVoltage, s.WorkCalFactor, s.WorkBackground}),
              radon);
    EXPECT_EQ(s.RoiBounds(1), 120);
    EXPECT_EQ(s.RoiBounds(2), 180);
}

// The handler is not run inside the signal handler, where almost nothing is safe, but from
// the event loop; each signal once.
TEST(TerminationSignals, ReachTheHandlerFromTheEventLoop)
{
    auto received = std::make_shared<std::vector<int>>();
    OnTerminationSignal([received](int signal) { received->push_back(signal); });
    std::raise(SIGTERM);
    std::raise(SIGINT);
    EXPECT_TRUE(received->empty());
    for (int i = 0; i < 100 && received->size() < 2; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(*received, std::vector<int>({SIGTERM, SIGINT}));
}

TEST(ProgramFolder, FallsBackToTheUserFolderWhenTheWantedOneIsNotWritable)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    // A file where the folder should be: no folder can be made there, not even by root.
    test::WriteFile(base.filePath(QStringLiteral("blocker")), {});
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
    EXPECT_EQ(choice.loggedNotice, choice.notice); // no translation installed: the log's Czech
}

TEST(UiLanguage, TheLocaleChoosesAndLangOverrides)
{
    const auto choose = [](const char *option, const char *locale) {
        return ChooseUiLanguage(QString::fromLatin1(option), QString::fromLatin1(locale));
    };
    for (const char *czech : {"cs_CZ", "cs_CZ.UTF-8", "cs", "sk_SK", "C", "POSIX", ""})
        EXPECT_EQ(choose("", czech), UiLanguage::Czech) << czech;
    for (const char *english : {"en_US", "en_GB.UTF-8", "de_DE", "pl_PL"})
        EXPECT_EQ(choose("", english), UiLanguage::English) << english;
    EXPECT_EQ(choose("en", "cs_CZ"), UiLanguage::English);
    EXPECT_EQ(choose("cs", "en_US"), UiLanguage::Czech);

    const auto parse = [](const char *value) {
        return ParseCommandLine({QStringLiteral("pxr3"), QStringLiteral("--lang"), QString::fromLatin1(value)});
    };
    EXPECT_EQ(parse("en").language, QStringLiteral("en"));
    EXPECT_TRUE(parse("en").error.isEmpty());
    EXPECT_TRUE(parse("de").error.contains(QStringLiteral("Neznámý jazyk")));
    EXPECT_TRUE(parse("cs").helpText.contains(QStringLiteral("--lang")));
}

// Installed, the program's files belong in the user's folder: no notice, as for a folder chosen.
TEST(ProgramFolder, AnInstalledProgramWantsTheUserFolderAndABuildFolderItsOwn)
{
    QTemporaryDir base;
    ASSERT_TRUE(base.isValid());
    const QDir root(base.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("usr/bin")) && root.mkpath(QStringLiteral("build")));
    // /bin and /usr/bin are one folder on Debian: the program may be started through either.
    ASSERT_TRUE(QFile::link(root.filePath(QStringLiteral("usr/bin")), root.filePath(QStringLiteral("bin"))));
    const QString bindir = root.filePath(QStringLiteral("usr/bin"));
    const QString user = root.filePath(QStringLiteral("home/.local/share/pxr3"));
    const QString chosen = root.filePath(QStringLiteral("chosen"));

    for (const QString &installed : {bindir, root.filePath(QStringLiteral("bin"))}) {
        const QString wanted = WantedProgramFolder({}, installed, bindir, user);
        EXPECT_EQ(wanted, user);
        const FolderChoice choice = ChooseProgramFolder(wanted, user);
        EXPECT_EQ(choice.folder, user);
        EXPECT_TRUE(choice.notice.isEmpty());
        EXPECT_TRUE(choice.setUpReport.isEmpty());
        EXPECT_EQ(WantedProgramFolder(chosen, installed, bindir, user), chosen);
    }
    const QString build = root.filePath(QStringLiteral("build"));
    EXPECT_EQ(WantedProgramFolder({}, build, bindir, user), build);
    EXPECT_EQ(WantedProgramFolder(chosen, build, bindir, user), chosen);
    // An install folder that is not there is no installation.
    EXPECT_EQ(WantedProgramFolder({}, build, root.filePath(QStringLiteral("nowhere")), user), build);
}
