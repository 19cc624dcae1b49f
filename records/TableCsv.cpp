#include "records/TableCsv.h"

#include "core/SharedState.h"
#include "records/MeasurementTable.h"
#include "records/TableCommands.h"

#include <QStringList>

namespace pxr3 {

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
    QString csv;
    for (int row = 0; row <= kTableRows; ++row) {
        if (row > 0 && !table.rowHasData(row))
            continue;
        QStringList fields;
        for (int column = 0; column < kTableColumns; ++column)
            fields << CsvField(table.text(row, column), separator);
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
