#pragma once
// Axis label texts from the format patterns the graphs are set up with: "000" (at least
// three integer digits), "#0.0" (one decimal), "0.0 E+00" (mantissa, signed two-digit
// exponent) and "h:nn" (time of day of a day-number date-time). Decimal separators follow
// the user's locale, as everywhere else in the program.

#include <QString>

namespace pxr3 {

QString FormatNumber(const QString &format, double value);

// True for the patterns that show a date-time's time of day (they contain h, n or s).
bool IsTimeFormat(const QString &format);

} // namespace pxr3
