#pragma once
// The measurement table as a ".dat" file, the form the operators keep their results in.

#include "core/TextFile.h"

#include <QByteArray>
#include <QString>

namespace pxr3 {

class MeasurementTable;

// The table as a ".dat" file: 1000 lines, columns 1..5 joined by TABs, Windows-1250, CR LF;
// UTF-8 with a byte-order mark instead when Windows-1250 would not read back as the same text
// (a character it lacks, or bytes that look like UTF-8).
QByteArray TableFileBytes(const MeasurementTable &table);
// Writes atomically (temporary file, then rename). On failure the old file stays; ok false, error set.
FileResult SaveTableFile(const MeasurementTable &table, const QString &path);
// Reads at most the first 1000 lines (never the whole of a huge file: read line by line with a
// bounded line length); on a file that cannot be opened returns ok false and leaves the table unchanged.
FileResult LoadTableFile(MeasurementTable &table, const QString &path);

} // namespace pxr3
