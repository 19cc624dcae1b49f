#pragma once
// The measurement table for a spreadsheet: the header row and every row that holds data, as
// CSV with the list separator a spreadsheet of the user's locale expects.

#include "core/TextFile.h"

#include <QLocale>
#include <QString>

namespace pxr3 {

class MeasurementTable;

// ';' where the decimal separator is a comma (so "1,234E+01" stays one field), else ','.
QChar CsvSeparator(const QLocale &locale);

// The field as it stands, or quoted with its quotes doubled when it holds the separator, a
// quote or a line break.
QString CsvField(const QString &text, QChar separator);

// Cell texts as they are (numbers are not reformatted), lines ending in CR LF.
QString TableCsv(const MeasurementTable &table, const QLocale &locale);

struct CsvExport {
    FileResult result;
    QString path;
};

// Writes the table in UTF-8 with a byte-order mark, which spreadsheets take as UTF-8, into
// a new file of the DATA folder. Nothing is written when the
// table holds no data (result.ok with an empty path).
CsvExport ExportTableCsv(const MeasurementTable &table, const QLocale &locale);

} // namespace pxr3
