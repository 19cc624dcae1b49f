#include "records/TableCsv.h"

#include "core/Clock.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"

#include <QDir>
#include <QFileInfo>
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

QString NewDataFilePath(const QString &extension)
{
    const QString stamp = programClock().wallNow().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    const QDir folder(ProgramPath(QStringLiteral("DATA")));
    folder.mkpath(QStringLiteral("."));
    // Two exports within one second must not overwrite each other.
    QString path = folder.filePath(QStringLiteral("Data_%1.%2").arg(stamp, extension));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(QStringLiteral("Data_%1_%2.%3").arg(stamp).arg(n).arg(extension));
    return path;
}

CsvExport ExportTableCsv(const MeasurementTable &table, const QLocale &locale)
{
    bool hasData = false;
    for (int row = 1; row <= kTableRows && !hasData; ++row)
        hasData = table.rowHasData(row);
    if (!hasData)
        return {};

    const QString path = NewDataFilePath(QStringLiteral("csv"));
    const QByteArray bytes = QByteArrayLiteral("\xEF\xBB\xBF") + TableCsv(table, locale).toUtf8();
    return {WriteFileAtomically(path, bytes), path};
}

} // namespace pxr3
