#include "records/TablePrintout.h"

#include "core/NumberText.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"
#include "records/MeasuringConditions.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>

namespace pxr3 {

namespace {

constexpr int kLeft = 10;
constexpr double kTop = 10;
constexpr double kBottomMargin = 10;
constexpr double kGapAfterHeader = 5;

struct LayoutEntry {
    int width = 0; // whole millimetres
    QChar align;   // '>', '^' or none
};

LayoutEntry ParseEntry(const QString &entry)
{
    LayoutEntry parsed;
    QStringView number(entry);
    if (!entry.isEmpty() && !entry.front().isDigit()) {
        if (entry.front() == QLatin1Char('>') || entry.front() == QLatin1Char('^'))
            parsed.align = entry.front();
        number = number.mid(1);
    }
    parsed.width = RoundToInt16(LeadingNumber(number)).value_or(0);
    return parsed;
}

// The longest start of the text that fits; a pasted cell may be long, so halving beats
// dropping one character at a time.
QString CutToWidth(const QString &text, double w, const std::function<double(const QString &)> &width)
{
    if (width(text) <= w)
        return text;
    qsizetype fits = 0;
    qsizetype tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = (fits + tooLong) / 2;
        if (width(text.left(middle)) <= w)
            fits = middle;
        else
            tooLong = middle;
    }
    return text.left(fits);
}

// The print layout with its number column widened, when need be, to hold the widest row number
// printed whole: the layout's 7 mm take "100", not "1000".
QString LayoutForRowNumbers(const MeasurementTable &table, const PrintMetrics &metrics)
{
    QString layout = QString::fromLatin1(kPrintLayout);
    const int firstEnd = int(layout.indexOf(QLatin1Char('|')));
    int width = ParseEntry(layout.left(firstEnd)).width;
    for (int row = 1; row <= kTableRows; ++row)
        if (table.rowHasData(row))
            width = std::max(width, int(std::ceil(metrics.textWidth(PrintFont::Row, table.text(row, 0)))) + 1);
    return QString::number(width) + layout.mid(firstEnd);
}

} // namespace

QString FitText(const QString &text, const QString &entry, const std::function<double(const QString &)> &width)
{
    const LayoutEntry column = ParseEntry(entry);
    QString fitted = CutToWidth(text, column.width, width);
    if (!column.align.isNull()) {
        for (double now = width(fitted); now < column.width;) {
            const QString padded = column.align == QLatin1Char('^') ? QLatin1Char(' ') + fitted + QLatin1Char(' ')
                                                                    : QLatin1Char(' ') + fitted;
            const double wider = width(padded);
            if (wider <= now)
                break; // blanks of no width would never fill the column
            fitted = padded;
            now = wider;
        }
    }
    while (fitted.endsWith(QLatin1Char(' ')))
        fitted.chop(1);
    return fitted;
}

QVector<PrintedText> PrintRow(int left, double y, const QString &layout, const QStringList &line, PrintFont font,
                              const PrintMetrics &metrics)
{
    const QStringList entries = layout.split(QLatin1Char('|'));
    const auto width = [&](const QString &text) { return metrics.textWidth(font, text); };
    QVector<PrintedText> texts;
    double x = left;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const QString part = i < line.size() ? line[i] : QString();
        texts.append({x, y, font, FitText(part, entries[i], width)});
        x += ParseEntry(entries[i]).width;
    }
    return texts;
}

QVector<PrintedPage> TablePrintout(const MeasurementTable &table, const PrintMetrics &metrics)
{
    const QString layout = LayoutForRowNumbers(table, metrics);
    const auto cells = [&table](int row) {
        QStringList texts;
        for (int column = 0; column < kTableColumns; ++column)
            texts << (row == 0 ? MeasurementTable::shownHeader(column) : table.text(row, column));
        return texts;
    };

    QVector<PrintedPage> pages(1);
    double y = kTop;
    pages.back().append({kLeft, y, PrintFont::Title, QCoreApplication::translate("TablePrintout", "Data z měření")});
    y += metrics.lineHeight(PrintFont::Title);
    pages.back().append({kLeft, y, PrintFont::Conditions, MeasuringConditionsLine(table, true)});
    y += metrics.lineHeight(PrintFont::Conditions) + metrics.lineHeight(PrintFont::Title); // and an empty line
    const auto header = [&] {
        pages.back() += PrintRow(kLeft, y, layout, cells(0), PrintFont::Header, metrics);
        y += metrics.lineHeight(PrintFont::Header) + kGapAfterHeader;
    };
    header();

    const double rowHeight = metrics.lineHeight(PrintFont::Row);
    bool pageHasRows = false;
    for (int row = 1; row <= kTableRows; ++row) {
        if (!table.rowHasData(row))
            continue;
        // A page always takes one row, however small the paper: no endless empty pages.
        if (pageHasRows && y + rowHeight > metrics.pageHeight - kBottomMargin) {
            pages.append(PrintedPage());
            y = kTop;
            header();
            pageHasRows = false;
        }
        pages.back() += PrintRow(kLeft, y, layout, cells(row), PrintFont::Row, metrics);
        y += rowHeight;
        pageHasRows = true;
    }
    return pages;
}

} // namespace pxr3
