// The table as CSV for a spreadsheet.

#include "core/Clock.h"
#include "records/MeasurementTable.h"
#include "records/TableCsv.h"
#include "TestSupport.h"

#include <QDir>

namespace pxr3 {
namespace {

class TableCsvTest : public test::ProgramFolderFixture {
protected:
    void Fill(int row, const QString &note)
    {
        const QStringList cells{"02.03.2026 14:37:50", "1,234E+01", "123", "60", note};
        for (int column = 1; column <= 5; ++column)
            table.setText(row, column, cells[column - 1]);
    }
    MeasurementTable table;
    const QString headers = QStringLiteral("č.;Datum / čas měření;Emise [1/s];N (ROI);Čas měření;Poznámka\r\n");
};

TEST_F(TableCsvTest, TheLocaleChoosesTheSeparatorAndFieldsAreQuotedOnlyWhenNeeded)
{
    Fill(1, QString());
    Fill(3, QStringLiteral("filtr; \"nový\""));
    // Czech: ';' between fields, so comma decimals stay plain; rows without data are left out.
    EXPECT_EQ(TableCsv(table, QLocale(QLocale::Czech)),
              headers + QStringLiteral("1;02.03.2026 14:37:50;1,234E+01;123;60;\r\n"
                                       "3;02.03.2026 14:37:50;1,234E+01;123;60;\"filtr; \"\"nový\"\"\"\r\n"));
    // English: ',' between fields, so a comma decimal is quoted.
    EXPECT_TRUE(TableCsv(table, QLocale(QLocale::English))
                    .endsWith(QStringLiteral("3,02.03.2026 14:37:50,\"1,234E+01\",123,60,\"filtr; \"\"nový\"\"\"\r\n")));
    EXPECT_EQ(CsvField(QStringLiteral("dva\nřádky"), ';'), QStringLiteral("\"dva\nřádky\""));
}

TEST_F(TableCsvTest, WritesUtf8WithAMarkIntoTheDataFolderUnderANewName)
{
    VirtualClock clock; // one instant for both exports
    VirtualClockScope scope(clock);
    const CsvExport empty = ExportTableCsv(table, QLocale(QLocale::Czech));
    EXPECT_TRUE(empty.result.ok && empty.path.isEmpty()); // nothing to export, nothing written
    EXPECT_TRUE(QDir(path(QStringLiteral("DATA"))).entryList(QDir::Files).isEmpty());

    Fill(2, QStringLiteral("pozadí"));
    const CsvExport first = ExportTableCsv(table, QLocale(QLocale::Czech));
    const CsvExport second = ExportTableCsv(table, QLocale(QLocale::Czech));
    ASSERT_TRUE(first.result.ok && second.result.ok) << first.result.error.toStdString();
    EXPECT_EQ(first.path, QDir(path(QStringLiteral("DATA"))).filePath(QStringLiteral("Data_2026-03-02_14-37-50.csv")));
    EXPECT_NE(second.path, first.path);
    EXPECT_EQ(test::FileBytes(first.path), "\xEF\xBB\xBF" + (headers + QStringLiteral("2;02.03.2026 14:37:50;1,234E+01;123;60;pozadí\r\n")).toUtf8());
}

} // namespace
} // namespace pxr3
