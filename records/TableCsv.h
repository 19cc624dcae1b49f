#pragma once
// The measurement table for a spreadsheet: what the rows were measured with, the header row and
// every row that holds data with its counting uncertainty, decision threshold and detection
// limit, as CSV with the list separator a spreadsheet of the user's locale expects.

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

// The measuring conditions line, the headers and the filled rows, lines ending in CR LF. Cell
// texts stay as they are (numbers are not reformatted). Each row adds u(a), a* and a# of its
// counts (column 3) in its own time (column 4) with the measuring set's KF and background;
// empty where either cell is not a number. They are written as the table's emission is, in the
// program's locale, which the caller passes.
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
