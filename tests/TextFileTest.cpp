// Text files and the program's saves: encodings, and what a save does when the disk is full.

#include "core/TextFile.h"
#include "TestSupport.h"
#include "acquisition/CycleSpectrum.h"
#include "records/MeasurementTable.h"
#include "records/SettingsFiles.h"
#include "records/TableCsv.h"
#include "records/TableFile.h"

#include <QDir>
#include <QDirIterator>
#include <cerrno>
#include <functional>
#include <map>

using namespace pxr3;

TEST(DecodeTextFile, DropsAByteOrderMarkAndSurvivesUndefinedBytes)
{
    EXPECT_EQ(DecodeTextFile(QByteArray("\xEF\xBB\xBFPXR3")), QStringLiteral("PXR3"));
    EXPECT_EQ(DecodeTextFile(QByteArray("\x81\x83\x90")).size(), 3);
}

using TextFileTest = test::ProgramFolderFixture;

TEST_F(TextFileTest, AFailedSaveLeavesTheOldFile)
{
    ASSERT_TRUE(WriteTextLines(path("keep.txt"), {QStringLiteral("old")}).ok);
    const FileResult failed = WriteFileAtomically(path("missing-folder/keep.txt"), "new");
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    // A character the code page lacks fails the whole save rather than being lost from it.
    const FileResult unencodable = WriteTextLines(path("keep.txt"), {QStringLiteral("new"), QStringLiteral("a日b")});
    EXPECT_FALSE(unencodable.ok);
    EXPECT_TRUE(unencodable.error.contains(QStringLiteral("日")));
    EXPECT_FALSE(AppendText(path("keep.txt"), QStringLiteral("日\r\n")).ok);
    QString text;
    ASSERT_TRUE(ReadTextFile(path("keep.txt"), text).ok);
    EXPECT_EQ(text, QStringLiteral("old\r\n"));
    EXPECT_FALSE(ReadTextFile(path("absent.txt"), text).ok);
}

// Every atomic save of the program on a disk that fills part way: it fails with the system's
// reason, every file stays byte for byte and no temporary file is left; with room it saves.
TEST_F(TextFileTest, EverySaveOnAFullDiskFailsAndLeavesTheOldFiles)
{
    MeasurementTable table;
    table.setText(1, 1, QStringLiteral("02.03.2026 14:37:50"));
    table.setText(1, 3, QStringLiteral("123"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("DATA")));
    for (const char *name : {"DATA/serie.dat", "PARAMETRY.CFG", "PXR3.KAL", "SpektrumPXR3.TXT"})
        test::WriteFile(path(name), QByteArray("complete old ") + name);
    const auto folderContent = [this] { // every file's name and bytes
        std::map<std::string, std::string> files;
        for (QDirIterator it(folder.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
            const QString file = it.next();
            files[file.toStdString()] = test::FileBytes(file).toStdString();
        }
        return files;
    };
    const auto reported = [this](bool ok) {
        return FileResult{ok, messages.empty() ? QString() : messages.back().text};
    };
    const std::pair<const char *, std::function<FileResult()>> saves[] = {
        {"table (Uložit, autosave)", [&] { return SaveTableFile(table, path("DATA/serie.dat")); }},
        {"PARAMETRY.CFG, PXR3.KAL", [&] { return reported(LoadSaveConfig(0)); }},
        {"SpektrumPXR3.TXT", [] { return SaveCycleSpectrum(); }},
        {"CSV", [&] { return ExportTableCsv(table, QLocale::c()).result; }},
    };
    for (const auto &[name, save] : saves) {
        const auto before = folderContent();
        for (qint64 limit : {0, 1, 9}) { // the smallest file, an empty PXR3.KAL, has 10 bytes
            test::WriteLimitScope full(limit);
            const FileResult failed = save();
            EXPECT_FALSE(failed.ok) << name << " " << limit;
            EXPECT_TRUE(failed.error.contains(qt_error_string(ENOSPC))) << name << " " << failed.error.toStdString();
            EXPECT_EQ(folderContent(), before) << name << " " << limit;
        }
        EXPECT_TRUE(save().ok) << name;
        EXPECT_NE(folderContent(), before) << name;
    }
}

// The same on a real full disk, where Qt's buffered writes used to report success.
TEST_F(TextFileTest, OnARealFullDiskASaveFailsAndAnAppendLeavesNoBrokenLine)
{
    test::SmallDisk disk;
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small tmpfs needs root";
    MeasurementTable table;
    const QString tablePath = disk.filePath(QStringLiteral("t.dat"));
    const QString logPath = disk.filePath(QStringLiteral("DATA_LOG.TXT"));
    ASSERT_TRUE(SaveTableFile(table, tablePath).ok);
    const QByteArray old = test::FileBytes(tablePath);
    const QByteArray line = QByteArray(4088, 'x') + "\r\n"; // its page has 6 bytes to spare
    ASSERT_TRUE(AppendBytes(logPath, line).ok);

    QFile filler(disk.filePath(QStringLiteral("filler")));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    const auto fillUp = [&filler] {
        const QByteArray block(4096, 'f');
        while (filler.write(block) == block.size()) { }
    };
    fillUp();
    ASSERT_TRUE(filler.resize(filler.size() - 4096)); // one page free, less than the table needs
    table.setText(1, 5, QStringLiteral("new"));
    const FileResult saved = SaveTableFile(table, tablePath);
    EXPECT_FALSE(saved.ok);
    EXPECT_EQ(saved.error, qt_error_string(ENOSPC));
    EXPECT_EQ(test::FileBytes(tablePath), old);
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files).size(), 3); // no temporary file left

    fillUp();
    EXPECT_FALSE(AppendBytes(logPath, "12.03.2026\t16:31:20\t1,0E+00\r\n").ok);
    EXPECT_EQ(test::FileBytes(logPath).toStdString(), line.toStdString());
    filler.remove();
    ASSERT_TRUE(AppendBytes(logPath, "next\r\n").ok);
    EXPECT_EQ(test::FileBytes(logPath).toStdString(), (line + "next\r\n").toStdString());
}

// Only what a killed save leaves ("<name>.<six letters>.part", or from an older version
// "<name>.<six letters of both cases>") beside the program's own files goes; a copy someone
// named so, or anything else, stays.
TEST_F(TextFileTest, StartUpRemovesOnlyWhatKilledSavesLeft)
{
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("DATA")));
    const QStringList removed{"PARAMETRY.CFG.aBcDeF",
                              "PXR3.KAL.QwErTy",
                              "DATA/serie_2026-03-02_14-37-50.dat.XyZabc",
                              "DATA/Data_2026-03-02_14-37-50.csv.AbCdEf",
                              "DATA/mereni.DAT.pQrStU",
                              "DATA/kopie.dat.mvvetl.part",
                              "PXR3.KAL.QWERTY.part"};
    const QStringList kept{"PARAMETRY.CFG",        "PARAMETRY.CFG.zaloha",   "PARAMETRY.CFG.ZALOHA",
                           "PARAMETRY.CFG.aBc1eF", "PARAMETRY.CFG.aBcDeFg",  "DATA_LOG.TXT.aBcDeF",
                           "DATA/mereni.dat",      "DATA/mereni.dat.zaloha", "DATA/poznamky.txt.AbCdEf",
                           "DATA/PXR3.KAL.QwErTy", "DATA/mereni.dat.part",   "DATA/mereni.dat.ab1def.part"};
    for (const QString &name : removed + kept)
        test::WriteFile(path(name), "x");
    QStringList expected;
    for (const QString &name : removed)
        expected << path(name);
    QStringList gone = RemoveUnfinishedSaves({QStringLiteral("PARAMETRY.CFG"), QStringLiteral("PXR3.KAL")});
    gone.sort();
    expected.sort();
    EXPECT_EQ(gone, expected);
    for (const QString &name : kept)
        EXPECT_TRUE(QFile::exists(path(name))) << name.toStdString();
}
