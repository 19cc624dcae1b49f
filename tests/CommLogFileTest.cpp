// MCA_Com.TXT: the communication log kept past its emptying, in the file's code page.

#include "core/CommLogFile.h"
#include "TestSupport.h"
#include "core/CommLog.h"
#include "core/TextFile.h"

#include <QCoreApplication>
#include <QTimer>

namespace pxr3::test {
namespace {

class CommLogFileTest : public ProgramFolderFixture {
protected:
    QByteArray File(const char *name = "MCA_Com.TXT") const { return FileBytes(path(QString::fromLatin1(name))); }
    // Appends `count` numbered entries of some 220 characters: 90 of them fill the log.
    void Fill(int count, int &next, QByteArray *expected = nullptr)
    {
        for (const int end = next + count; next < end; ++next) {
            // Czech text and an analyser byte that Windows-1250 lacks as a character.
            log.append(QStringLiteral("entry %1 Přetečení ").arg(next) + QChar(0x8A) + QString(200, QLatin1Char('x')));
            if (expected)
                *expected += "\r\nentry " + QByteArray::number(next) +
                    " P\xF8"
                    "ete\xE8"
                    "en\xED \x8A" +
                    QByteArray(200, 'x');
        }
    }
    CommLog log;
};

TEST_F(CommLogFileTest, EveryEntryOnceInOrderThroughEmptyingsConnectionsAndTheEnd)
{
    CommLogFile keeper(log);
    QByteArray expected;
    int next = 0;
    Fill(200, next, &expected);
    keeper.writeNew(); // as a connection attempt does, with the last entry still to be extended
    log.extend(QStringLiteral(" Time:2 [s]"));
    expected += " Time:2 [s]";
    Fill(100, next, &expected);
    log.append(QStringLiteral("before F8"));
    log.clear();
    log.append(QStringLiteral("at the end"));
    expected += "\r\nbefore F8\r\nat the end\r\n";
    keeper.finish();
    keeper.finish();
    EXPECT_EQ(File(), expected);
}

TEST_F(CommLogFileTest, AnEditedLogBoxIsNotWrittenTwice)
{
    CommLogFile keeper(log);
    log.append(QStringLiteral("A"));
    log.append(QStringLiteral("B"));
    keeper.writeNew();
    log.setText(log.text() + QStringLiteral("\r\nC typed")); // the old text and more
    log.append(QStringLiteral("D"));
    log.setText(log.text().mid(3)); // the written first entry deleted
    log.append(QStringLiteral("E"));
    keeper.writeNew();
    EXPECT_EQ(File(), "\r\nA\r\nB\r\nC typed\r\nD\r\nE");

    log.append(QStringLiteral("F"));
    QString straddling = log.text();
    log.setText(straddling.replace(QStringLiteral("E\r\nF"), QStringLiteral("G"))); // from written into new
    log.append(QStringLiteral("H"));
    keeper.finish();
    EXPECT_EQ(File(), "\r\nA\r\nB\r\nC typed\r\nD\r\nE\r\nH\r\n");
}

TEST_F(CommLogFileTest, PastTheBoundTheFileStartsAfreshKeepingThePreviousOne)
{
    CommLogFile keeper(log, 100);
    for (const char letter : {'a', 'b', 'c'}) {
        log.append(QString(60, QLatin1Char(letter)));
        keeper.writeNew();
    }
    EXPECT_EQ(File("MCA_Com.1.TXT"), "\r\n" + QByteArray(60, 'b'));
    EXPECT_EQ(File(), "\r\n" + QByteArray(60, 'c'));
}

TEST_F(CommLogFileTest, AFailedWriteIsSaidOnceAndItsEntriesWrittenWhenWritingWorksAgain)
{
    CommLogFile keeper(log);
    SetProgramFolder(path(QStringLiteral("missing")));
    int next = 0;
    Fill(300, next);
    SetProgramFolder(folder.path());
    keeper.writeNew();

    int said = 0;
    int expected = 0;
    for (const QString &line : SplitLines(DecodeWindows1250(File()))) {
        if (line.contains(QStringLiteral("MCA_Com.TXT nelze zapsat"))) {
            ++said;
        } else if (!line.isEmpty()) {
            EXPECT_TRUE(line.startsWith(QStringLiteral("entry %1 ").arg(expected++))) << qPrintable(line);
        }
    }
    EXPECT_EQ(said, 1);
    EXPECT_EQ(expected, next);
}

TEST_F(CommLogFileTest, TheProgramsLogReachesTheFileWhenTheApplicationQuits)
{
    InstallCommLogFile();
    commLog().append(QStringLiteral("start-up"));
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); }); // as the quit question does
    QCoreApplication::exec();
    EXPECT_TRUE(File().endsWith("\r\nstart-up\r\n"));
}

} // namespace
} // namespace pxr3::test
