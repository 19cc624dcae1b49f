#include "records/SettingsFiles.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <limits>

using namespace pxr3;

namespace {

// A main window stand-in that records what the settings apply to it.
struct RecordingWindow : MainWindowPlacement {
    WindowPlacement current{0, 100, 200, 9000, 7000};
    QStringList calls;
    WindowPlacement placement() const override { return current; }
    void applyState(int16_t s) override { calls << QStringLiteral("state %1").arg(s); }
    void applyPosition(int32_t top, int32_t left) override
    {
        calls << QStringLiteral("position %1 %2").arg(top).arg(left);
    }
    void applySize(int32_t w, int32_t h) override { calls << QStringLiteral("size %1 %2").arg(w).arg(h); }
};

NuclideRecord record(const char *name, int16_t left, int16_t right, int16_t hv, float kf, float background)
{
    return NuclideRecord{StoredNuclideName(QString::fromUtf8(name)), left, right, hv, kf, background};
}

// A radionuclide file: the header and one "name 1 2 3 4 5" record per name.
QByteArray KalFile(std::initializer_list<const char *> names, const char *tail = "")
{
    QByteArray content("PXR3.KAL\r\n");
    for (const char *name : names)
        content += QByteArray(name) + "\r\n1\r\n2\r\n3\r\n4\r\n5\r\n";
    return content + tail;
}

class SettingsFilesTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        SetMainWindowPlacement(&window);
    }
    void TearDown() override
    {
        SetMainWindowPlacement(nullptr);
        ProgramFolderFixture::TearDown();
    }
    QByteArray readFile(const char *name) const { return test::FileBytes(path(name)); }
    void load(const char *name, const QByteArray &bytes)
    {
        test::WriteFile(path(name), bytes);
        LoadSaveConfig(1);
    }
    void fillThreeRecords()
    {
        state().NuclideTable(1) = record("Radon-222", 120, 180, 750, 2.5f, 0.25f);
        state().NuclideTable(2) = record("Thoron Ř", -1, 255, 0, 1234567.0f, 1e-6f);
        state().NuclideTable(3) = record("Příliš žluťoučký", 1, 2, -32768, -0.1f, 15000000.0f);
        state().NuclideCount = 3;
    }

    RecordingWindow window;
};

} // namespace

TEST_F(SettingsFilesTest, WritesTheSettingsByteForByteTopBeforeLeftAndWithoutAWindowWhatWasRead)
{
    state().LinkStatus = 1;
    state().MeasureTime = 300;
    state().RepeatCount = 1999;
    state().CurrentNuclide = 2;
    window.current = {0, 0x01020304, -2, 12000, 9000};
    LoadSaveConfig(0);
    const QByteArray expected("\x01\x00"
                              "\x2C\x01"
                              "\xCF\x07"
                              "\x02\x00"
                              "\x00\x00\x00\x00"
                              "\x04\x03\x02\x01"
                              "\xFE\xFF\xFF\xFF"
                              "\xE0\x2E\x00\x00"
                              "\x28\x23\x00\x00",
                              28);
    EXPECT_EQ(readFile("PARAMETRY.CFG"), expected);
    EXPECT_TRUE(messages.empty());

    SetMainWindowPlacement(nullptr);
    const QByteArray bytes = SettingsBytes(0, 120, 3, 0, {0, 11, 22, 3333, 4444});
    load("PARAMETRY.CFG", bytes);
    LoadSaveConfig(0);
    EXPECT_EQ(readFile("PARAMETRY.CFG"), bytes);
}

TEST_F(SettingsFilesTest, AnAbsentSettingsFileIsCreatedAndAFirstStartIsNoError)
{
    LoadSaveConfig(1);
    EXPECT_TRUE(QFile::exists(path("PARAMETRY.CFG")));
    EXPECT_EQ(readFile("PARAMETRY.CFG").size(), 0);
    EXPECT_TRUE(window.calls.isEmpty()); // the window keeps its design placement
    EXPECT_TRUE(messages.empty());       // a first start is not an error
}

TEST_F(SettingsFilesTest, AppliesTheRangeRulesOnReading)
{
    const struct {
        int16_t link, time, repeat, current, wantLink, wantTime, wantRepeat, wantCurrent;
    } cases[] = {
        {0, 1, 1, 0, 0, 1, 1, 0},
        {16, 9999, 1999, 100, 16, 9999, 1999, 100},
        {-1, 0, 0, -1, 0, 100, 10, 0},
        {17, 10000, 2000, 101, 0, 100, 10, 0},
        {-32768, -5, 32767, 32767, 0, 100, 10, 0},
    };
    for (const auto &c : cases) {
        load("PARAMETRY.CFG", SettingsBytes(c.link, c.time, c.repeat, c.current, {}));
        EXPECT_EQ(state().LinkStatus, c.wantLink);
        EXPECT_EQ(state().MeasureTime, c.wantTime);
        EXPECT_EQ(state().RepeatCount, c.wantRepeat);
        EXPECT_EQ(state().CurrentNuclide, c.wantCurrent);
    }
}

TEST_F(SettingsFilesTest, RestoresTheWindowPlacement)
{
    const std::pair<WindowPlacement, QStringList> cases[] = {
        {{0, 300, 400, 12000, 8000}, {"state 0", "position 300 400", "size 12000 8000"}},
        {{2, 300, 400, 12000, 8000}, {"state 2"}},                 // maximised: size and position left alone
        {{0, 300, 400, 0, 8000}, {"state 0", "position 300 400"}}, // zero width keeps the design size
        {{7, 300, 400, 12000, 8000}, {}},                          // no such state
    };
    for (const auto &[placement, calls] : cases) {
        window.calls.clear();
        load("PARAMETRY.CFG", SettingsBytes(0, 100, 10, 0, placement));
        EXPECT_EQ(window.calls, calls);
    }
}

TEST_F(SettingsFilesTest, AShortSettingsFileKeepsTheDesignPlacement)
{
    const QByteArray full = SettingsBytes(3, 250, 5, 1, {0, 300, 400, 12000, 8000});
    for (int length : {0, 1, 3, 7, 11, 12, 20, 27}) {
        window.calls.clear();
        load("PARAMETRY.CFG", full.left(length));
        EXPECT_EQ(state().MeasureTime, length >= 4 ? 250 : 100) << length;
        EXPECT_EQ(state().CurrentNuclide, length >= 8 ? 1 : 0) << length;
        EXPECT_EQ(window.calls, length >= 12 ? QStringList({"state 0"}) : QStringList()) << length;
    }
}

TEST_F(SettingsFilesTest, RadionuclidesRoundTripWithTheLocalesDecimalSeparator)
{
    for (QLocale::Language language : {QLocale::Czech, QLocale::English}) {
        test::LocaleScope scope(language);
        const bool czech = language == QLocale::Czech;
        ResetSharedState();
        fillThreeRecords();
        const NuclideTable written = state().NuclideTable;
        LoadSaveConfig(0);
        const QByteArray bytes = readFile("PXR3.KAL");
        EXPECT_TRUE(bytes.startsWith(czech ? "PXR3.KAL\r\nRadon-222 \r\n 120\r\n 180\r\n 750\r\n2,5\r\n0,25\r\n"
                                           : "PXR3.KAL\r\nRadon-222 \r\n 120\r\n 180\r\n 750\r\n2.5\r\n0.25\r\n"));
        EXPECT_TRUE(bytes.contains("Thoron \xD8  \r\n-1\r\n 255\r\n 0\r\n1234567\r\n1E-06\r\n"));
        EXPECT_TRUE(bytes.contains(czech ? "P\xF8\xEDli\x9A \x9Elu\r\n 1\r\n 2\r\n-32768\r\n-0,1\r\n1,5E+07\r\n"
                                         : "P\xF8\xEDli\x9A \x9Elu\r\n 1\r\n 2\r\n-32768\r\n-0.1\r\n1.5E+07\r\n"));
        EXPECT_TRUE(bytes.endsWith("\r\n"));
        ResetSharedState();
        LoadSaveConfig(1);
        ASSERT_EQ(state().NuclideCount, 3);
        EXPECT_EQ(state().NuclideTable, written);
        EXPECT_EQ(state().NuclideTable(3).name, QStringLiteral("Příliš žlu"));
    }
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFilesTest, NamesWithCommasQuotesAndLeadingBlanksComeBack)
{
    state().NuclideTable(1) = record("Rn,Tn", 1, 2, 3, 1, 1);
    state().NuclideTable(2) = record("  Po\"214", 1, 2, 3, 1, 1);
    state().NuclideCount = 2;
    LoadSaveConfig(0);
    ResetSharedState();
    LoadSaveConfig(1);
    ASSERT_EQ(state().NuclideCount, 2);
    EXPECT_EQ(state().NuclideTable(1).name, QStringLiteral("Rn,Tn     "));
    EXPECT_EQ(state().NuclideTable(2).name, QStringLiteral("  Po'214  "));
}

TEST_F(SettingsFilesTest, ReadsOldFilesLeniently)
{
    // A lower-case header; lines ended the Unix and the old Mac way; unquoted names end at a
    // comma; leading blanks are skipped; floats take a comma or a point.
    load("PXR3.KAL", "pxr3.kal\n  Rn,extra\r 10\r\n 20\n 500\r\n 1,5 \r\n0.25\r\n");
    ASSERT_EQ(state().NuclideCount, 1);
    EXPECT_EQ(state().NuclideTable(1), record("Rn", 10, 20, 500, 1.5f, 0.25f));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFilesTest, AFactorBeyondAFloatIsTheLargestAndComesBackFromTheSave)
{
    // Once read as infinity, which saved as "inf" and read back as 0.
    load("PXR3.KAL", "PXR3.KAL\r\nAm\r\n 20\r\n 40\r\n 700\r\n+,5E220\r\n-1E39\r\n");
    ASSERT_EQ(state().NuclideCount, 1);
    EXPECT_EQ(state().NuclideTable(1).calFactor, std::numeric_limits<float>::max());
    EXPECT_EQ(state().NuclideTable(1).background, -std::numeric_limits<float>::max());
    LoadSaveConfig(0);
    ResetSharedState();
    LoadSaveConfig(1);
    ASSERT_EQ(state().NuclideCount, 1);
    EXPECT_GT(state().NuclideTable(1).calFactor, 3.4e38f);
    EXPECT_LT(state().NuclideTable(1).background, -3.4e38f);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFilesTest, AHeaderOnlyFileEmptiesTheTableAndAnyOtherFirstLineLeavesItAlone)
{
    fillThreeRecords();
    const NuclideTable before = state().NuclideTable;
    for (const char *content : {"PXR2.KAL\r\nX\r\n1\r\n2\r\n3\r\n4\r\n5\r\n", "", "\x00\x01\x02garbage"}) {
        load("PXR3.KAL", QByteArray(content, int(qstrlen(content))));
        EXPECT_EQ(state().NuclideCount, 3);
        EXPECT_EQ(state().NuclideTable, before);
    }
    load("PXR3.KAL", "PXR3.KAL\r\n");
    EXPECT_EQ(state().NuclideCount, 0);
    LoadSaveConfig(0);
    EXPECT_EQ(readFile("PXR3.KAL"), QByteArray("PXR3.KAL\r\n"));
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFilesTest, ABrokenRecordIsReportedOnceAndTheCompleteOnesKept)
{
    const std::pair<QByteArray, int> cases[] = {
        {KalFile({"A"}, "B\r\n1\r\nxx\r\n3\r\n4\r\n5\r\nC\r\n1\r\n2\r\n3\r\n4\r\n5\r\n"), 1},
        {KalFile({"A"}, "B\r\n1\r\n2"), 1},                    // truncated in a record
        {"PXR3.KAL\r\nA\r\n1\r\n40000\r\n3\r\n4\r\n5\r\n", 0}, // beyond 16 bits
    };
    for (const auto &[content, kept] : cases) {
        messages.clear();
        load("PXR3.KAL", content);
        EXPECT_EQ(state().NuclideCount, kept) << content.constData();
        EXPECT_EQ(messages.size(), 1u) << content.constData();
    }
    EXPECT_EQ(state().NuclideTable(1).name, QStringLiteral("A         "));
    messages.clear();
    load("PXR3.KAL", KalFile({"A"}, "\r\n\r\n")); // trailing empty lines end the list
    EXPECT_EQ(state().NuclideCount, 1);
    EXPECT_TRUE(messages.empty());
}

TEST_F(SettingsFilesTest, MoreThanAHundredRecordsKeepTheFirstHundred)
{
    QByteArray content("PXR3.KAL\r\n");
    for (int i = 1; i <= 105; ++i)
        content += "N" + QByteArray::number(i) + "\r\n1\r\n2\r\n3\r\n4\r\n5\r\n";
    load("PXR3.KAL", content);
    EXPECT_EQ(state().NuclideCount, 100);
    EXPECT_EQ(state().NuclideTable(100).name, QStringLiteral("N100      "));
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(SettingsFilesTest, BinaryGarbageNeverCrashesEitherFile)
{
    QRandomGenerator random(1234);
    for (int round = 0; round < 200; ++round) {
        QByteArray noise(int(random.bounded(0, 400)), '\0');
        for (char &c : noise)
            c = char(random.bounded(256));
        if (round % 2)
            noise.prepend("PXR3.KAL\r\n");
        test::WriteFile(path("PARAMETRY.CFG"), noise.left(int(random.bounded(40))));
        load("PXR3.KAL", noise);
        EXPECT_TRUE(state().NuclideCount >= 0 && state().NuclideCount <= 100);
        EXPECT_TRUE(state().MeasureTime >= 1 && state().MeasureTime <= 9999);
        EXPECT_LE(messages.size(), size_t(round + 1)); // at most one report a call
    }
}

TEST_F(SettingsFilesTest, AFailureWithOneFileIsReportedOnceAndTheOtherIsStillHandled)
{
    fillThreeRecords();
    ASSERT_TRUE(LoadSaveConfig(0));
    // A PARAMETRY.CFG that cannot be opened, even by root: the radionuclides are still read,
    // and an edited table is still written.
    ASSERT_TRUE(QFile::remove(path("PARAMETRY.CFG")));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("PARAMETRY.CFG")));
    ResetSharedState();
    EXPECT_FALSE(LoadSaveConfig(1));
    EXPECT_EQ(state().NuclideCount, 3);
    state().NuclideCount = 2;
    EXPECT_FALSE(LoadSaveConfig(0));
    EXPECT_TRUE(readFile("PXR3.KAL").contains("Thoron"));
    EXPECT_FALSE(readFile("PXR3.KAL").contains("P\xF8\xEDli\x9A"));
    EXPECT_EQ(messages.size(), 2u);

    // A name PXR3.KAL cannot hold in Windows-1250: that file keeps its old content whole and
    // the settings are still written.
    ASSERT_TRUE(QDir(folder.path()).rmdir(QStringLiteral("PARAMETRY.CFG")));
    const QByteArray kal = readFile("PXR3.KAL");
    messages.clear();
    state().NuclideTable(1).name = QStringLiteral("Rn-日");
    state().MeasureTime = 321;
    EXPECT_FALSE(LoadSaveConfig(0));
    EXPECT_EQ(readFile("PXR3.KAL"), kal);
    EXPECT_EQ(readFile("PARAMETRY.CFG").mid(2, 2), QByteArray("\x41\x01"));
    EXPECT_EQ(messages.size(), 1u);
}

// A read-only program folder: its settings are copied into the user's folder when that has
// none yet, each file on its own, and the move is worth a message box only when it sets up.
TEST_F(SettingsFilesTest, AReadOnlyProgramFolderHandsItsSettingsToTheUserFolder)
{
    test::SmallDisk wanted;
    if (!wanted.mounted())
        GTEST_SKIP() << "mounting a read-only tmpfs needs root";
    const QByteArray settings = SettingsBytes(0, 250, 7, 1, {});
    const QByteArray nuclides = KalFile({"Rn-222"});
    test::WriteFile(wanted.filePath("PARAMETRY.CFG"), settings);
    test::WriteFile(wanted.filePath("PXR3.KAL"), nuclides);
    ASSERT_TRUE(wanted.makeReadOnly());
    const QString user = path("user/pxr3");
    const QStringList names{"PARAMETRY.CFG", "PXR3.KAL"};

    const FolderChoice first = ChooseProgramFolder(wanted.path(), user, names);
    ASSERT_EQ(first.folder, user);
    EXPECT_FALSE(first.notice.isEmpty());
    EXPECT_FALSE(first.setUpReport.isEmpty());
    SetProgramFolder(first.folder);
    LoadSaveConfig(1);
    EXPECT_EQ(state().MeasureTime, 250);
    EXPECT_EQ(state().RepeatCount, 7);
    EXPECT_EQ(state().NuclideCount, 1);

    // Later starts keep what was saved since and say so on the status bar only.
    test::WriteFile(path("user/pxr3/PXR3.KAL"), "PXR3.KAL\r\n");
    const FolderChoice later = ChooseProgramFolder(wanted.path(), user, names);
    EXPECT_EQ(later.folder, user);
    EXPECT_FALSE(later.notice.isEmpty());
    EXPECT_TRUE(later.setUpReport.isEmpty());
    ASSERT_TRUE(QFile::remove(path("user/pxr3/PARAMETRY.CFG")));
    EXPECT_FALSE(ChooseProgramFolder(wanted.path(), user, names).setUpReport.isEmpty());
    EXPECT_EQ(readFile("user/pxr3/PARAMETRY.CFG"), settings);
    EXPECT_EQ(readFile("user/pxr3/PXR3.KAL"), QByteArray("PXR3.KAL\r\n"));
}
