#pragma once
// The data log DATA_LOG.TXT: one TAB-separated line per logged tick with the rate and the
// activity, kept in the program folder and only ever appended to.

#include "core/TextFile.h"

#include <QString>

namespace pxr3 {

// The activity the log carries, (rate - background) * factor, from the window's fields. Unlike
// the shown activity it is computed whatever the factor, so the log holds the raw result.
double LogActivity(double rate, double background, double calFactor);

// Date, time, rate, activity and tick time, TAB-separated, without the line end; the numbers
// carry the decimal separator of the user's locale.
QString DataLogLine(double atDays, double rate, double activity, int tickTime);

// Appends the line and its CR LF to DATA_LOG.TXT, creating the file when absent.
FileResult AppendDataLog(const QString &line);

} // namespace pxr3
