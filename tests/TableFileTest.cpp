// The ".dat" table files: their exact bytes and the reading of odd lines; the commands that
// empty, save and load the program's table, with their questions and failures.

#include "records/TableFile.h"
#include "TestSupport.h"
#include "records/MeasurementTable.h"
#include "records/TableCommands.h"

#include <QFile>

using namespace pxr3;

namespace {

class TableFileTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        table.reset();
        for (int row = 1; row <= kTableRows; ++row) // something in every data cell, to see what a load leaves
            for (int column = 1; column <= 5; ++column)
                table.setText(row, column, QStringLiteral("old %1/%2").arg(row).arg(column));
    }
    void TearDown() override
    {
        table.reset();
        ProgramFolderFixture::TearDown();
    }
    void writeFile(const QString &name, const QByteArray &bytes) { test::WriteFile(path(name), bytes); }
    QByteArray fileBytes(const QString &name) const { return test::FileBytes(path(name)); }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int column = 0; column <= 5; ++column)
            texts << table.text(row, column);
        return texts;
    }
    // The one question asked since the last check.
    void expectAsked(const char *title, const char *text)
    {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].question && messages[0].icon == MessageIcon::Question);
        EXPECT_EQ(messages[0].title, QString::fromUtf8(title));
        EXPECT_EQ(messages[0].text, QString::fromUtf8(text));
        messages.clear();
    }
    void expectAskedToDropChanges() { expectAsked("Upozornění", "Pozor, data nejsou uložena. Chcete je zrušit ?"); }

    MeasurementTable &table = measurementTable();
};

TEST_F(TableFileTest, SavedCzechTextComesBackExactly)
{
    table.reset();
    ASSERT_TRUE(SaveTableFile(table, path("empty.dat")).ok);
    EXPECT_EQ(fileBytes("empty.dat"), QByteArray("\t\t\t\t\r\n").repeated(1000));

    const QString note = QStringLiteral("Poznámka č. 1 – žluťoučký kůň");
    table.setText(1, 1, QStringLiteral("07.03.2024 09:05:03"));
    table.setText(1, 5, note);
    table.setText(1000, 5, QStringLiteral("a\tb")); // the last column keeps its TABs
    table.setText(500, 2, QStringLiteral("x\ty"));  // elsewhere a TAB or a line end would shift cells
    table.setText(500, 5, QStringLiteral("řádek\r\ndva"));
    ASSERT_TRUE(SaveTableFile(table, path("a.dat")).ok);
    const QByteArray bytes = fileBytes("a.dat");
    EXPECT_TRUE(
        bytes.startsWith("07.03.2024 09:05:03\t\t\t\tPozn\xE1mka \xE8. 1 \x96 \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 1000);

    MeasurementTable loaded;
    loaded.setText(2, 3, QStringLiteral("emptied"));
    ASSERT_TRUE(LoadTableFile(loaded, path("a.dat")).ok);
    table.setText(500, 2, QStringLiteral("x y"));
    table.setText(500, 5, QStringLiteral("řádek  dva"));
    for (int row = 1; row <= kTableRows; ++row)
        for (int column = 0; column <= 5; ++column)
            ASSERT_EQ(loaded.text(row, column), table.text(row, column)) << row << "/" << column;

    // A character Windows-1250 lacks must not cost the file (an autosave above all).
    table.setText(7, 5, QStringLiteral("α-záření"));
    ASSERT_TRUE(SaveTableFile(table, path("greek.dat")).ok);
    ASSERT_TRUE(LoadTableFile(loaded, path("greek.dat")).ok);
    EXPECT_EQ(loaded.text(7, 5), QStringLiteral("α-záření"));
    EXPECT_EQ(loaded.text(1, 5), note);

    // "MÍŠA" in Windows-1250 happens to be valid UTF-8 ("M͊A"): such a table goes in UTF-8 too.
    table.reset();
    table.setText(3, 5, QStringLiteral("MÍŠA"));
    ASSERT_TRUE(SaveTableFile(table, path("misa.dat")).ok);
    ASSERT_TRUE(LoadTableFile(loaded, path("misa.dat")).ok);
    EXPECT_EQ(loaded.text(3, 5), QStringLiteral("MÍŠA"));
    EXPECT_TRUE(fileBytes("misa.dat").startsWith("\xEF\xBB\xBF")); // marked, so that no reader guesses
}

TEST_F(TableFileTest, OddLinesFillWhatTheirTabsReach)
{
    writeFile("odd.dat",
              QByteArray("one\ttwo\tdropped\r\n"        // two TABs: cells 1, 2
                         "a\tb\tc\td\te\tf\tg\n"        // more than four: the rest in cell 5
                         "no tab at all\r"              // a row emptied
                         "\xE8\x61s\t\xF8\t3\t4\t5\r\n" // Windows-1250
                         "last\t\t\t\t"));              // a short file ends here
    ASSERT_TRUE(LoadTableFile(table, path("odd.dat")).ok);
    EXPECT_EQ(rowTexts(1), QStringList({"1", "one", "two", "old 1/3", "old 1/4", "old 1/5"}));
    EXPECT_EQ(rowTexts(2), QStringList({"2", "a", "b", "c", "d", "e\tf\tg"}));
    EXPECT_EQ(rowTexts(3), QStringList({"3", "", "", "", "", ""}));
    EXPECT_EQ(rowTexts(4), QStringList({"4", "čas", "ř", "3", "4", "5"}));
    EXPECT_EQ(rowTexts(5), QStringList({"5", "last", "", "", "", ""}));
    for (int row : {6, 1000}) // the rows after the file's last line are emptied
        EXPECT_EQ(rowTexts(row), QStringList({QString::number(row), "", "", "", "", ""}));
}

TEST_F(TableFileTest, AHugeLineIsCutAtItsBoundAndItsRestSkipped)
{
    writeFile("huge.dat", QByteArray("a\tb\tc\td\t") + QByteArray(100, 'e'));
    QFile huge(path("huge.dat")); // a first line of 20 MB without an end, sparse on disk
    ASSERT_TRUE(huge.resize(20 * 1024 * 1024));
    ASSERT_TRUE(huge.open(QIODevice::Append));
    huge.write("\r\nnext\t2\t3\t4\t5\r\n");
    huge.close();
    ASSERT_TRUE(LoadTableFile(table, path("huge.dat")).ok);
    EXPECT_EQ(table.text(1, 5).size(), 64 * 1024 - 8);
    EXPECT_EQ(rowTexts(2), QStringList({"2", "next", "2", "3", "4", "5"}));

    // In UTF-8, with the bound inside a "č": only that character goes, the file stays UTF-8.
    writeFile("utf8.dat", "a\tb\tc\td\tx" + QString(40000, QChar(u'č')).toUtf8() + "\nžluťoučký\t2\t3\t4\t5\n");
    ASSERT_TRUE(LoadTableFile(table, path("utf8.dat")).ok);
    EXPECT_EQ(table.text(1, 5), QLatin1Char('x') + QString((64 * 1024 - 9) / 2, QChar(u'č')));
    EXPECT_EQ(table.text(2, 1), QStringLiteral("žluťoučký"));
}

TEST_F(TableFileTest, ClearingAsksOnlyOverUnsavedChanges)
{
    state().TableModified = 2;
    state().CurrentRow = 4;
    state().CycleTick = 7;
    EXPECT_FALSE(ClearTable());
    expectAskedToDropChanges();
    EXPECT_EQ(table.text(3, 5), QStringLiteral("old 3/5"));
    EXPECT_EQ(state().CurrentRow, 4);

    answer = true;
    table.setTopRow(600);
    EXPECT_TRUE(ClearTable());
    expectAskedToDropChanges();
    EXPECT_EQ(rowTexts(3), QStringList({"3", "", "", "", "", ""}));
    EXPECT_EQ(table.topRow(), 1);
    EXPECT_EQ(state().TableModified + state().CurrentRow + state().CycleTick, 0);
    EXPECT_TRUE(ClearTable()); // nothing unsaved: no question
    EXPECT_TRUE(messages.empty());
}

TEST_F(TableFileTest, SavingOverwritesOnlyWhenAllowedAndReportsFailure)
{
    state().TableModified = 2;
    SaveTableCommand(QString()); // cancelled
    writeFile("old.dat", "kept");
    SaveTableCommand(path("old.dat"));
    expectAsked("Pozor ...", "Soubor s tímto jménem již existuje. Chcete jej přepsat ?");
    EXPECT_EQ(fileBytes("old.dat"), QByteArray("kept"));

    SaveTableCommand(path("missing/new.dat"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
    EXPECT_EQ(state().TableModified, 2);
    messages.clear();

    answer = true;
    SaveTableCommand(path("old.dat"));
    expectAsked("Pozor ...", "Soubor s tímto jménem již existuje. Chcete jej přepsat ?");
    EXPECT_TRUE(fileBytes("old.dat").startsWith("old 1/1\told 1/2\t"));
    EXPECT_EQ(state().TableModified, 0);
}

TEST_F(TableFileTest, ANameWithoutExtensionIsSavedAsDat)
{
    SaveTableCommand(path("bez přípony")); // else the load dialog would not list it
    EXPECT_TRUE(fileBytes("bez přípony.dat").startsWith("old 1/1\t"));
    EXPECT_FALSE(QFile::exists(path("bez přípony")));
    writeFile("mereni 02.03.2026.dat", "kept"); // the question is about the name saved to
    SaveTableCommand(path("mereni 02.03.2026"));
    expectAsked("Pozor ...", "Soubor s tímto jménem již existuje. Chcete jej přepsat ?");
    EXPECT_EQ(fileBytes("mereni 02.03.2026.dat"), QByteArray("kept"));

    const struct {
        const char *chosen;
        const char *saved;
    } names[] = {{"DATA/a", "DATA/a.dat"},           {"DATA/a.dat", "DATA/a.dat"},
                 {"DATA/a.DAT", "DATA/a.DAT"},       {"DATA/a.txt", "DATA/a.txt"},
                 {"DATA/v1.5/a", "DATA/v1.5/a.dat"}, {"DATA/serie.2026", "DATA/serie.2026.dat"}};
    for (const auto &name : names)
        EXPECT_EQ(WithDefaultExtension(QString::fromUtf8(name.chosen), QStringLiteral("dat")),
                  QString::fromUtf8(name.saved))
            << name.chosen;
}

TEST_F(TableFileTest, LoadingKeepsUnsavedChangesUnlessGivenUp)
{
    writeFile("a.dat", "x\ty\tz\t1\t2\r\n");
    state().TableModified = 2;
    LoadTableCommand(path("a.dat"));
    expectAskedToDropChanges();
    EXPECT_EQ(table.text(1, 5), QStringLiteral("old 1/5"));

    answer = true;
    LoadTableCommand(path("absent.dat"));
    EXPECT_EQ(messages.size(), 2u);
    EXPECT_EQ(table.text(1, 5), QStringLiteral("old 1/5"));
    EXPECT_EQ(state().TableModified, 2);
    messages.clear();

    table.noteRowsFromSimulator();
    SaveTableCommand(path("simulated.dat")); // saved, the rows are still the simulator's
    EXPECT_TRUE(table.rowsFromSimulator());
    state().TableModified = 2;
    LoadTableCommand(path("a.dat"));
    expectAskedToDropChanges();
    EXPECT_EQ(table.text(1, 5), QStringLiteral("2"));
    EXPECT_EQ(state().TableModified, 0);
    EXPECT_FALSE(table.rowsFromSimulator()); // the file's rows now
}

} // namespace
