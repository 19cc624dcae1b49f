#include "records/TableCsv.h"

#include "acquisition/CountingStatistics.h"
#include "core/NumberText.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"
#include "records/MeasuringConditions.h"
#include "records/TableCommands.h"

#include <QStringList>

namespace pxr3 {

namespace {

constexpr int kCountsColumn = 3;
constexpr int kTimeColumn = 4;
constexpr int kEmissionDecimals = 3; // as the emission in column 2

const char16_t *const kStatisticsHeaders[] = {u"u(a) [Bq/m3]", u"a* [Bq/m3]", u"a# [Bq/m3]"};

QStringList RowStatistics(const MeasurementTable &table, int row, const NuclideRecord &set)
{
    const std::optional<double> counts = WholeNumber(table.text(row, kCountsColumn));
    const std::optional<double> seconds = WholeNumber(table.text(row, kTimeColumn));
    const std::optional<CountResult> result =
        counts && seconds ? EvaluateCounts(*counts, *seconds, set.background, set.calFactor) : std::nullopt;
    if (!result)
        return QStringList(std::size(kStatisticsHeaders), QString());
    return {ExpText(result->activityU, kEmissionDecimals), ExpText(result->threshold, kEmissionDecimals),
            ExpText(result->limit, kEmissionDecimals)};
}

} // namespace

QChar CsvSeparator(const QLocale &locale)
{
    return locale.decimalPoint() == QLatin1String(",") ? QLatin1Char(';') : QLatin1Char(',');
}

QString CsvField(const QString &text, QChar separator)
{
    const bool quote = text.contains(separator) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n'));
    if (!quote)
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString TableCsv(const MeasurementTable &table, const QLocale &locale)
{
    const QChar separator = CsvSeparator(locale);
    const NuclideRecord set = MeasuringSet();
    QString csv = CsvField(MeasuringConditionsLine(table), separator) + QLatin1String("\r\n");
    for (int row = 0; row <= kTableRows; ++row) {
        if (row > 0 && !table.rowHasData(row))
            continue;
        QStringList cells;
        for (int column = 0; column < kTableColumns; ++column)
            cells << table.text(row, column);
        if (row == 0) {
            for (const char16_t *header : kStatisticsHeaders)
                cells << QString::fromUtf16(header);
        } else {
            cells << RowStatistics(table, row, set);
        }
        QStringList fields;
        for (const QString &cell : cells)
            fields << CsvField(cell, separator);
        csv += fields.join(separator) + QLatin1String("\r\n");
    }
    return csv;
}

CsvExport ExportTableCsv(const MeasurementTable &table, const QLocale &locale)
{
    bool hasData = false;
    for (int row = 1; row <= kTableRows && !hasData; ++row)
        hasData = table.rowHasData(row);
    if (!hasData)
        return {};

    const QString path = NewDataFilePath(QStringLiteral("Data"), QStringLiteral("csv"));
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + TableCsv(table, locale).toUtf8();
    return {WriteFileAtomically(path, bytes), path};
}

} // namespace pxr3
