#pragma once
// Printing the measurement table: on the printer that the printer set-up chose, as a
// preview, or into a PDF file.

#include "records/TablePrintout.h"

#include <QString>

class QPagedPaintDevice;
class QPaintDevice;
class QWidget;

namespace pxr3 {

class MeasurementTable;

// The listing's fonts as the device measures them, in millimetres of its printable area.
PrintMetrics DeviceMetrics(const QPaintDevice &device);

// Paints the listing page by page in millimetres of the device's printable area. False
// when the device cannot be painted on or refuses a new page.
bool PaintTable(QPagedPaintDevice &device, const MeasurementTable &table);

// The print command: "Data jsou vytištěna !", or a message saying why nothing was printed.
void PrintTable();

void PreviewTable(QWidget *parent);

// The listing as a PDF file with the chosen printer's paper; false when it cannot be written.
bool PrintTableToPdfFile(const QString &path, const MeasurementTable &table);
// Asks for the file (in the DATA folder by default), prints into it and says how it went.
void PrintTableToPdf(QWidget *parent);

} // namespace pxr3
