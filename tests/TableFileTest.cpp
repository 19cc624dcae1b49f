// The ".dat" table files: their exact bytes, the reading of odd lines, files that fail, and the
// commands that empty, save and load the table.

#include "records/MeasurementTable.h"
#include "records/TableCommands.h"
#include "records/TableFile.h"
#include "TestSupport.h"

#include <QFile>

using namespace pxr3;

namespace {

bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class TableFileTest : public test::ProgramFolderFixture {
protected:
    void writeFile(const QString &name, const QByteArray &bytes) { ASSERT_TRUE(WriteBytes(path(name), bytes)); }
    // Rows 1..1000 with something in every data cell, to see what a load leaves.
    void fill(MeasurementTable &t)
    {
        for (int row = 1; row <= kTableRows; ++row)
            for (int column = 1; column <= 5; ++column)
                t.setText(row, column, QStringLiteral("old %1/%2").arg(row).arg(column));
    }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int column = 0; column <= 5; ++column)
            texts << table.text(row, column);
        return texts;
    }

    MeasurementTable table;
};

TEST_F(TableFileTest, AnEmptyTableIsAThousandLinesOfFourTabs)
{
    ASSERT_TRUE(SaveTableFile(table, path("empty.dat")).ok);
    QFile file(path("empty.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\t\t\t\t\r\n").repeated(1000));
}

TEST_F(TableFileTest, CzechTextComesBackExactly)
{
    const QString note = QStringLiteral("Poznámka č. 1 – žluťoučký kůň");
    table.setText(1, 1, QStringLiteral("07.03.2024 09:05:03"));
    table.setText(1, 2, QStringLiteral("1.234E+01"));
    table.setText(1, 5, note);
    table.setText(1000, 3, QStringLiteral("321"));
    table.setText(1000, 5, QStringLiteral("a\tb")); // the last column keeps its TABs
    table.setText(500, 2, QStringLiteral("x\ty"));  // elsewhere a TAB or a line end would shift cells
    table.setText(500, 5, QStringLiteral("řádek\r\ndva"));
    ASSERT_TRUE(SaveTableFile(table, path("a.dat")).ok);

    QFile file(path("a.dat"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("07.03.2024 09:05:03\t1.234E+01\t\t\tPozn\xE1mka \xE8. 1 \x96 \x9Elu\x9Dou\xE8k\xFD k\xF9\xF2\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 1000);

    MeasurementTable loaded;
    fill(loaded);
    loaded.setText(7, 0, QStringLiteral("row numbers stay"));
    ASSERT_TRUE(LoadTableFile(loaded, path("a.dat")).ok);
    EXPECT_EQ(loaded.text(1, 5), note);
    EXPECT_EQ(loaded.text(1000, 5), QStringLiteral("a\tb"));
    EXPECT_EQ(loaded.text(500, 2), QStringLiteral("x y"));
    EXPECT_EQ(loaded.text(500, 5), QStringLiteral("řádek  dva"));
    EXPECT_EQ(loaded.text(7, 0), QStringLiteral("row numbers stay"));
    table.setText(500, 2, QStringLiteral("x y"));
    table.setText(500, 5, QStringLiteral("řádek  dva"));
    for (int row = 1; row <= kTableRows; ++row)
        for (int column = 1; column <= 5; ++column)
            ASSERT_EQ(loaded.text(row, column), table.text(row, column)) << row << "/" << column;
}

TEST_F(TableFileTest, OddLinesFillWhatTheirTabsReach)
{
    fill(table);
    writeFile("odd.dat", QByteArray("one\ttwo\tdropped\r\n"          // two TABs: cells 1, 2
                                    "a\tb\tc\td\te\tf\tg\n"         // more than four: the rest in cell 5
                                    "no tab at all\r"               // a row emptied
                                    "\xE8\x61s\t\xF8\t3\t4\t5\r\n"  // Windows-1250
                                    "last\t\t\t\t"));               // a short file ends here
    ASSERT_TRUE(LoadTableFile(table, path("odd.dat")).ok);
    EXPECT_EQ(rowTexts(1), QStringList({"1", "one", "two", "old 1/3", "old 1/4", "old 1/5"}));
    EXPECT_EQ(rowTexts(2), QStringList({"2", "a", "b", "c", "d", "e\tf\tg"}));
    EXPECT_EQ(rowTexts(3), QStringList({"3", "", "", "", "", ""}));
    EXPECT_EQ(rowTexts(4), QStringList({"4", "čas", "ř", "3", "4", "5"}));
    EXPECT_EQ(rowTexts(5), QStringList({"5", "last", "", "", "", ""}));
    for (int row : {6, 7, 1000})
        EXPECT_EQ(rowTexts(row), QStringList({QString::number(row), "", "", "", "", ""}));
}

TEST_F(TableFileTest, UnreadableOrUnwritableFilesFailWithoutHarm)
{
    fill(table);
    const FileResult missing = LoadTableFile(table, path("absent.dat"));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());
    EXPECT_EQ(table.text(1000, 5), QStringLiteral("old 1000/5"));

    writeFile("keep.dat", "old");
    const FileResult failed = SaveTableFile(table, path("keep.dat/inside.dat"));
    EXPECT_FALSE(failed.ok);
    EXPECT_FALSE(failed.error.isEmpty());
    QFile kept(path("keep.dat"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
}

TEST_F(TableFileTest, AHugeLineIsCutAtItsBoundAndItsRestSkipped)
{
    // A first line of 20 MB without a line end, sparse on disk: only its start is taken.
    writeFile("huge.dat", QByteArray("a\tb\tc\td\t") + QByteArray(100, 'e'));
    QFile huge(path("huge.dat"));
    ASSERT_TRUE(huge.resize(20 * 1024 * 1024));
    ASSERT_TRUE(huge.open(QIODevice::Append));
    huge.write("\r\nnext\t2\t3\t4\t5\r\n");
    huge.close();
    ASSERT_TRUE(LoadTableFile(table, path("huge.dat")).ok);
    EXPECT_EQ(table.text(1, 4), QStringLiteral("d"));
    EXPECT_EQ(table.text(1, 5).size(), 64 * 1024 - 8);
    EXPECT_EQ(rowTexts(2), QStringList({"2", "next", "2", "3", "4", "5"}));
    EXPECT_EQ(table.text(3, 1), QString());
}

} // namespace

namespace {

// The commands work on the program's one table and ask their questions through the sink.
class TableCommandTest : public test::ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        measurementTable().reset();
    }
    void TearDown() override
    {
        measurementTable().reset();
        ProgramFolderFixture::TearDown();
    }
    QByteArray fileBytes(const QString &name)
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("absent");
    }
    void expectAsked(const char *title, const char *text)
    {
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_TRUE(messages[0].question);
        EXPECT_EQ(messages[0].icon, MessageIcon::Question);
        EXPECT_EQ(messages[0].title, QString::fromUtf8(title));
        EXPECT_EQ(messages[0].text, QString::fromUtf8(text));
        messages.clear();
    }
};

TEST_F(TableCommandTest, ClearingAsksOnlyOverUnsavedChanges)
{
    MeasurementTable &table = measurementTable();
    std::vector<std::pair<int, int>> currentCells;
    QObject::connect(&table, &MeasurementTable::currentCellSet,
                     [&](int row, int column) { currentCells.emplace_back(row, column); });
    table.setText(3, 5, QStringLiteral("note"));
    state().TableModified = 2;
    state().CurrentRow = 4;
    state().CycleTick = 7;

    EXPECT_FALSE(ClearTable());
    expectAsked("Upozornění", "Pozor, data nejsou uložena. Chcete je zrušit ?");
    EXPECT_EQ(table.text(3, 5), QStringLiteral("note"));
    EXPECT_EQ(state().CurrentRow, 4);

    answer = true;
    table.setTopRow(600);
    EXPECT_TRUE(ClearTable());
    expectAsked("Upozornění", "Pozor, data nejsou uložena. Chcete je zrušit ?");
    EXPECT_EQ(table.text(3, 5), QString());
    EXPECT_EQ(table.topRow(), 1);
    EXPECT_EQ(currentCells, (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_EQ(state().TableModified, 0);
    EXPECT_EQ(state().CurrentRow, 0);
    EXPECT_EQ(state().CycleTick, 0);

    EXPECT_TRUE(ClearTable()); // nothing unsaved: no question
    EXPECT_TRUE(messages.empty());
}

TEST_F(TableCommandTest, SavingOverwritesOnlyWhenAllowedAndReportsFailure)
{
    measurementTable().setText(1, 1, QStringLiteral("01.02.2024 03:04:05"));
    state().TableModified = 2;
    SaveTableCommand(QString()); // cancelled
    EXPECT_TRUE(messages.empty());

    ASSERT_TRUE(WriteBytes(path("old.dat"), {}));
    SaveTableCommand(path("old.dat"));
    expectAsked("Pozor ...", "Soubor s tímto jménem již existuje. Chcete jej přepsat ?");
    EXPECT_EQ(fileBytes("old.dat"), QByteArray());
    EXPECT_EQ(state().TableModified, 2);

    SaveTableCommand(path("missing/new.dat"));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, MessageIcon::Critical);
    EXPECT_TRUE(messages[0].text.startsWith(QStringLiteral("Soubor se nepodařilo uložit: ")));
    EXPECT_GT(messages[0].text.size(), 30);
    EXPECT_EQ(state().TableModified, 2);
    messages.clear();

    answer = true;
    SaveTableCommand(path("old.dat"));
    expectAsked("Pozor ...", "Soubor s tímto jménem již existuje. Chcete jej přepsat ?");
    EXPECT_TRUE(fileBytes("old.dat").startsWith("01.02.2024 03:04:05\t\t\t\t\r\n"));
    EXPECT_EQ(state().TableModified, 0);
    SaveTableCommand(path("bez přípony")); // no extension added
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(fileBytes("bez přípony").size(), fileBytes("old.dat").size());
}

TEST_F(TableCommandTest, LoadingKeepsUnsavedChangesUnlessGivenUp)
{
    MeasurementTable &table = measurementTable();
    ASSERT_TRUE(WriteBytes(path("a.dat"), "x\ty\tz\t1\t2\r\n"));
    table.setText(1, 5, QStringLiteral("unsaved"));
    state().TableModified = 2;

    LoadTableCommand(path("a.dat"));
    expectAsked("Upozornění", "Pozor, data nejsou uložena. Chcete je zrušit ?");
    EXPECT_EQ(table.text(1, 5), QStringLiteral("unsaved"));

    answer = true;
    LoadTableCommand(path("absent.dat"));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].icon, MessageIcon::Critical);
    EXPECT_TRUE(messages[1].text.startsWith(QStringLiteral("Soubor se nepodařilo načíst: ")));
    EXPECT_EQ(table.text(1, 5), QStringLiteral("unsaved"));
    EXPECT_EQ(state().TableModified, 2);
    messages.clear();

    LoadTableCommand(path("a.dat"));
    expectAsked("Upozornění", "Pozor, data nejsou uložena. Chcete je zrušit ?");
    EXPECT_EQ(table.text(1, 5), QStringLiteral("2"));
    EXPECT_EQ(state().TableModified, 0);
}

} // namespace
