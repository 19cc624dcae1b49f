#pragma once
// What the table's rows were measured with, for the outputs that carry the rows away from the
// program (the printout, the PDF, the CSV): a number without its calibration and its time means
// little, and a simulated one must say so.

#include "records/NuclideRecord.h"

#include <QString>

namespace pxr3 {

class MeasurementTable;

// The set the rows' emission is computed with: the current record, or the working values when
// no record is current (then with a blank name).
NuclideRecord MeasuringSet();

// One line: the set's name, ROI, high voltage, KF and background, the measurement time, and
// "SIMULACE" first when the simulated analyser produced the rows, so that no cut or glance
// misses it.
// `shown`: in the user's language, for the printout; a file keeps the Czech line.
QString MeasuringConditionsLine(const MeasurementTable &table, bool shown = false);

} // namespace pxr3
