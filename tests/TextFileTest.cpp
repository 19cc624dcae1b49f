#include "core/TextFile.h"
#include "TestSupport.h"

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
