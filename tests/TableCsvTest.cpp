// The table as CSV for a spreadsheet.

#include "records/TableCsv.h"
#include "TestSupport.h"
#include "core/Clock.h"
#include "records/MeasurementTable.h"
#include "records/MeasuringConditions.h"

#include <QDir>

namespace pxr3 {
namespace {

class TableCsvTest : public test::ProgramFolderFixture {
protected:
    void Fill(int row, const QString &counts, const QString &seconds, const QString &note)
    {
        const QStringList cells{"02.03.2026 14:37:50", "1,234E+01", counts, seconds, note};
        for (int column = 1; column <= 5; ++column)
            table.setText(row, column, cells[column - 1]);
    }
    // The CSV without its first line, the measuring conditions.
    QString RowsCsv(const QLocale &locale) const { return TableCsv(table, locale).section(QStringLiteral("\r\n"), 1); }
    MeasurementTable table;
    const QString headers = QStringLiteral(
        "č.;Datum / čas měření;Emise [1/s];N (ROI);Čas měření;Poznámka;u(a) [Bq/m3];a* [Bq/m3];a# [Bq/m3]\r\n");
};

TEST_F(TableCsvTest, TheLocaleChoosesTheSeparatorAndFieldsAreQuotedOnlyWhenNeeded)
{
    test::LocaleScope czech(QLocale::Czech);
    Fill(1, QStringLiteral("123"), QStringLiteral("60"), QString());
    Fill(3, QStringLiteral("123"), QStringLiteral("60"), QStringLiteral("filtr; \"nový\""));
    // Czech: ';' between fields, so comma decimals stay plain; rows without data are left out.
    // No KF yet: every activity figure is 0.
    EXPECT_EQ(RowsCsv(QLocale()),
              headers +
                  QStringLiteral("1;02.03.2026 14:37:50;1,234E+01;123;60;;0,000E+00;0,000E+00;0,000E+00\r\n"
                                 "3;02.03.2026 14:37:50;1,234E+01;123;60;\"filtr; \"\"nový\"\"\";"
                                 "0,000E+00;0,000E+00;0,000E+00\r\n"));
    // English: ',' between fields, so a comma decimal is quoted.
    EXPECT_TRUE(RowsCsv(QLocale(QLocale::English))
                    .endsWith(QStringLiteral("3,02.03.2026 14:37:50,\"1,234E+01\",123,60,\"filtr; \"\"nový\"\"\","
                                             "\"0,000E+00\",\"0,000E+00\",\"0,000E+00\"\r\n")));
    EXPECT_EQ(CsvField(QStringLiteral("dva\nřádky"), ';'), QStringLiteral("\"dva\nřádky\""));
}

// u(a) = w sqrt(N) / t, a* = w k sqrt(r0 / t), a# = w (2 rn* + k^2 / t), worked by hand for
// N = 900 counts in t = 600 s against r0 = 0.5 1/s: rn* = 0.04748 1/s, rn# = 0.09947 1/s.
TEST_F(TableCsvTest, EachRowCarriesItsUncertaintyThresholdAndLimitInItsOwnTime)
{
    test::LocaleScope czech(QLocale::Czech);
    SharedState &s = state();
    s.NuclideCount = 1;
    s.CurrentNuclide = 1;
    s.NuclideTable(1).name = QStringLiteral("Rn-222    ");
    s.NuclideTable(1).calFactor = 2.0f;
    s.NuclideTable(1).background = 0.5f;
    s.WorkCalFactor = 4.0f; // not the measuring set's while a record is current
    s.WorkBackground = 9.0f;
    s.MeasureTime = 100; // the rows' own time counts, not the set's
    Fill(1, QStringLiteral("900"), QStringLiteral("600"), QString());
    Fill(2, QStringLiteral("—"), QString(), QStringLiteral("filtr vyměněn")); // a typed note row
    Fill(3, QStringLiteral("900"), QStringLiteral("0"), QString());           // no time, no result
    const auto statistics = [this] {
        QStringList rows = RowsCsv(QLocale()).split(QStringLiteral("\r\n"));
        for (QString &row : rows)
            row = row.section(QLatin1Char(';'), 6);
        return rows;
    };
    EXPECT_EQ(statistics(),
              (QStringList{"u(a) [Bq/m3];a* [Bq/m3];a# [Bq/m3]", "1,000E-01;9,497E-02;1,990E-01", ";;", ";;", ""}));
    s.CurrentNuclide = 0; // no set current: the working values stand in
    s.WorkBackground = 0.5f;
    EXPECT_EQ(statistics()[1], QStringLiteral("2,000E-01;1,899E-01;3,979E-01"));
    // The conditions line above the headers, one field, as the printout has it.
    EXPECT_EQ(TableCsv(table, QLocale()).section(QStringLiteral("\r\n"), 0, 0),
              CsvField(MeasuringConditionsLine(table), ';'));
}

TEST_F(TableCsvTest, WritesUtf8WithAMarkIntoTheDataFolderUnderANewName)
{
    VirtualClock clock; // one instant for both exports
    VirtualClockScope scope(clock);
    const CsvExport empty = ExportTableCsv(table, QLocale(QLocale::Czech));
    EXPECT_TRUE(empty.result.ok && empty.path.isEmpty()); // nothing to export, nothing written
    EXPECT_TRUE(QDir(path(QStringLiteral("DATA"))).entryList(QDir::Files).isEmpty());

    Fill(2, QStringLiteral("pozadí"), QString(), QString());
    const CsvExport first = ExportTableCsv(table, QLocale(QLocale::Czech));
    const CsvExport second = ExportTableCsv(table, QLocale(QLocale::Czech));
    ASSERT_TRUE(first.result.ok && second.result.ok) << first.result.error.toStdString();
    EXPECT_EQ(first.path, QDir(path(QStringLiteral("DATA"))).filePath(QStringLiteral("Data_2026-03-02_14-37-50.csv")));
    EXPECT_NE(second.path, first.path);
    EXPECT_EQ(test::FileBytes(first.path), "\xEF\xBB\xBF" + TableCsv(table, QLocale(QLocale::Czech)).toUtf8());
}

} // namespace
} // namespace pxr3
