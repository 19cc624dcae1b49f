#include "core/TextFile.h"
#include "TestSupport.h"

#include <QFile>

using namespace pxr3;

TEST(Windows1250, EncodesAndDecodesTheCzechLetters)
{
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
    const QByteArray bytes = EncodeWindows1250(czech);
    EXPECT_EQ(bytes.size(), czech.size()); // one byte a character
    EXPECT_EQ(EncodeWindows1250(QStringLiteral("řŘšŠžŽ")), QByteArray("\xF8\xD8\x9A\x8A\x9E\x8E"));
    EXPECT_EQ(DecodeWindows1250(bytes), czech);
    EXPECT_EQ(EncodeWindows1250(QStringLiteral("a€b日c")), QByteArray("a\x80" "b?c"));
}

TEST(DecodeTextFile, TakesUtf8WhenValidElseWindows1250)
{
    EXPECT_EQ(DecodeTextFile(QStringLiteral("Radon ř").toUtf8()), QStringLiteral("Radon ř"));
    EXPECT_EQ(DecodeTextFile(QByteArray("\xEF\xBB\xBFPXR3")), QStringLiteral("PXR3"));
    EXPECT_EQ(DecodeTextFile(QByteArray("Radon \xF8")), QStringLiteral("Radon ř"));
    EXPECT_EQ(DecodeTextFile(QByteArray("\x81\x83\x90")).size(), 3); // undefined bytes do not crash
}

TEST(SplitLines, KnowsEveryLineEnd)
{
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\nb\nc\rd")), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines(QStringLiteral("a\r\n\r\n")), QStringList({"a", ""}));
    EXPECT_TRUE(SplitLines(QString()).isEmpty());
}

using TextFileTest = test::ProgramFolderFixture;

TEST_F(TextFileTest, WritesCrLfWindows1250AndAppends)
{
    ASSERT_TRUE(WriteTextLines(path("a.txt"), {QStringLiteral("Čas"), QStringLiteral("1")}).ok);
    ASSERT_TRUE(AppendText(path("a.txt"), QStringLiteral("ž\r\n")).ok);
    QFile file(path("a.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xC8" "as\r\n1\r\n\x9E\r\n"));
}

TEST_F(TextFileTest, AFailedSaveLeavesTheOldFile)
{
    ASSERT_TRUE(WriteTextLines(path("keep.txt"), {QStringLiteral("old")}).ok);
    const FileResult failed = WriteFileAtomically(path("missing-folder/keep.txt"), "new");
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    QString text;
    ASSERT_TRUE(ReadTextFile(path("keep.txt"), text).ok);
    EXPECT_EQ(text, QStringLiteral("old\r\n"));
    EXPECT_FALSE(ReadTextFile(path("absent.txt"), text).ok);
}
