// The printed listing's layout, measured with a font of fixed character widths so that every
// position can be worked out by hand.

#include "records/TablePrintout.h"
#include "TestSupport.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"
#include "records/MeasuringConditions.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace pxr3 {
namespace {

PrintMetrics FixedMetrics(double pageHeight)
{
    // 2.2 mm a character; lines of 5 (title), 4.5 (header) and 4 mm (conditions, rows).
    return {[](PrintFont, const QString &text) { return 2.2 * text.size(); },
            [](PrintFont font) { return font == PrintFont::Title ? 5
                                     : font == PrintFont::Header ? 4.5
                                                                 : 4; },
            pageHeight};
}

void Fill(MeasurementTable &table, int from, int to)
{
    const QStringList cells{"02.03.2026 14:37:50", "1,234E+01", "123", "60"};
    for (int row = from; row <= to; ++row)
        for (int column = 1; column <= 4; ++column)
            table.setText(row, column, cells[column - 1]);
}

// Column 0 of the printed rows, page by page.
QList<QStringList> RowNumbers(const QVector<PrintedPage> &pages)
{
    QList<QStringList> numbers;
    for (const PrintedPage &page : pages) {
        numbers.append(QStringList());
        for (const PrintedText &text : page)
            if (text.font == PrintFont::Row && text.x == 10)
                numbers.back() << text.text;
    }
    return numbers;
}

TEST(TablePrintout, TitleHeaderAndTheRowsThatHoldData)
{
    MeasurementTable table;
    Fill(table, 1, 3);
    table.setText(5, 1, QStringLiteral(" "));  // what an emptied date edit leaves
    table.setText(12, 5, QStringLiteral("x")); // a note alone is data
    const QVector<PrintedPage> pages = TablePrintout(table, FixedMetrics(297));
    ASSERT_EQ(RowNumbers(pages), (QList<QStringList>{{"1", "2", "3", "12"}}));
    const PrintedPage &page = pages[0];
    EXPECT_EQ(page[0].text, QStringLiteral("Data z měření"));
    EXPECT_TRUE(page[0].x == 10 && page[0].y == 10);
    // Under the title the conditions, then an empty line.
    EXPECT_EQ(page[1].text, MeasuringConditionsLine(table));
    EXPECT_TRUE(page[1].x == 10 && page[1].y == 15 && page[1].font == PrintFont::Conditions);
    ASSERT_EQ(page.size(), 2 + 5 * 7); // the header line and four rows of seven columns
    const double lefts[] = {10, 17, 57, 82, 107, 132, 162};
    for (int i = 0; i < 5 * 7; ++i) {
        const PrintedText &text = page[2 + i];
        EXPECT_EQ(text.x, lefts[i % 7]) << i;
        // The header after 5 + 4 + 5 mm, 5 mm below it the rows.
        EXPECT_DOUBLE_EQ(text.y, i < 7 ? 24 : 33.5 + (i / 7 - 1) * 4) << i;
        EXPECT_EQ(text.font, i < 7 ? PrintFont::Header : PrintFont::Row);
    }
    // 19 characters are 41.8 mm: the date loses its last one to fit 40 mm.
    EXPECT_EQ(page[2 + 7 + 1].text, QStringLiteral("02.03.2026 14:37:5"));
}

TEST(TablePrintout, TheNumberColumnHoldsRowThousandWhole)
{
    MeasurementTable table;
    Fill(table, 3, 3);
    Fill(table, kTableRows, kTableRows);
    const PrintedPage page = TablePrintout(table, FixedMetrics(297)).front();
    ASSERT_EQ(RowNumbers({page}), (QList<QStringList>{{"3", "1000"}}));
    // "1000" is 8.8 mm wide; the date column moves right to leave it room, on every line.
    for (qsizetype i = 2; i + 1 < page.size(); i += 7) {
        EXPECT_GE(page[i + 1].x, 10 + 8.8) << i;
        EXPECT_EQ(page[i + 1].x - page[i].x, page[3].x - page[2].x) << i;
    }
}

TEST(MeasuringConditions, NameTheMeasuringSetAndSimulatedRowsFirst)
{
    ResetSharedState();
    test::LocaleScope czech(QLocale::Czech);
    SharedState &s = state();
    s.NuclideCount = 2;
    s.CurrentNuclide = 2;
    s.NuclideTable(2) = {QStringLiteral("Rn-222    "), 120, 180, 800, 1.5f, 0.5f};
    s.MeasureTime = 600;
    s.WorkLeftRoi = 5;
    s.WorkRightRoi = 250;
    s.WorkHighVoltage = 700;
    s.WorkCalFactor = 1.0f;
    s.WorkBackground = 1.25f;
    MeasurementTable table;
    table.noteRowsFromSimulator();
    EXPECT_EQ(
        MeasuringConditionsLine(table),
        QStringLiteral("SIMULACE, Radionuklid: Rn-222, ROI: 120–180, U: 800 V, KF: 1,5, pozadí: 0,5 1/s, T: 600 s"));
    table.reset(); // emptied: no longer the simulator's rows
    s.CurrentNuclide = 0;
    EXPECT_EQ(MeasuringConditionsLine(table),
              QStringLiteral("Radionuklid: nevybrán, ROI: 5–250, U: 700 V, KF: 1, pozadí: 1,25 1/s, T: 600 s"));
    ResetSharedState();
}

TEST(TablePrintout, EveryFilledRowOnPagesThatRepeatTheHeader)
{
    MeasurementTable table;
    Fill(table, 1, 150);
    const QVector<PrintedPage> pages = TablePrintout(table, FixedMetrics(120));
    ASSERT_GT(pages.size(), 1);
    QStringList printed;
    for (const QStringList &numbers : RowNumbers(pages))
        printed += numbers;
    ASSERT_EQ(printed.size(), 150);
    EXPECT_EQ(printed.back(), QStringLiteral("150"));
    for (qsizetype p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(pages[p][p == 0 ? 2 : 0].text, QStringLiteral("č.")) << p;
        EXPECT_LE(pages[p].back().y + 4, 120 - 10) << p; // above the bottom margin
    }
    // Paper too short for any row still gets every row, one a page, and the printout ends.
    MeasurementTable two;
    Fill(two, 1, 2);
    EXPECT_EQ(RowNumbers(TablePrintout(two, FixedMetrics(5))), (QList<QStringList>{{"1"}, {"2"}}));
}

TEST(FitText, CutsThenCentresOrRightAligns)
{
    const auto width = [](const QString &text) { return 2.0 * text.size(); };
    // "^": blanks on both ends until 30 mm, the trailing ones dropped: the middle at 15 mm.
    EXPECT_EQ(FitText(QStringLiteral("abc"), QStringLiteral("^30"), width), QString(6, ' ') + "abc");
    EXPECT_EQ(FitText(QStringLiteral("abc"), QStringLiteral(">30"), width), QString(12, ' ') + "abc");
    EXPECT_EQ(FitText(QStringLiteral("abc  "), QStringLiteral("30"), width), QStringLiteral("abc"));
    EXPECT_EQ(FitText(QStringLiteral("abcdefgh"), QStringLiteral("^10"), width), QStringLiteral("abcde"));
    // A font whose blank has no width cannot fill the column, and must not hang trying.
    const auto noBlank = [](const QString &text) { return 2.0 * QString(text).remove(' ').size(); };
    EXPECT_EQ(FitText(QStringLiteral("abc"), QStringLiteral("^30"), noBlank), QStringLiteral("abc"));
}

} // namespace
} // namespace pxr3
