#include "core/TextFile.h"
#include "TestSupport.h"

#include <QFile>

using namespace pxr3;

TEST(Windows1250, EncodesAndDecodesTheCzechLetters)
{
    const QString czech = QStringLiteral("Příliš žluťoučký kůň úpěl ďábelské ódy");
    QByteArray bytes;
    ASSERT_TRUE(EncodeWindows1250(czech, bytes).ok);
    EXPECT_EQ(bytes.size(), czech.size()); // one byte a character
    QByteArray letters;
    EncodeWindows1250(QStringLiteral("ř€Ř"), letters);
    EXPECT_EQ(letters, QByteArray("\xF8\x80\xD8"));
    EXPECT_EQ(DecodeWindows1250(bytes), czech);
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
