#pragma once
// Axis label texts from the format patterns the graphs are set up with: "000" (at least
// three integer digits), "#0.0" (one decimal), "0.0 E+00" (mantissa, signed two-digit
// exponent) and "h:nn" (time of day of a day-number date-time). Decimal separators follow
// the user's locale, as everywhere else in the program.

#include <QString>

namespace pxr3 {

QString FormatNumber(const QString &format, double value);

// The label of an axis tick, which shows the tick exactly: the format's text when it does;
// otherwise, for an exponent format, the tick in plain decimals ("12,5", not "1,3 E+01") up to
// a million and beyond that with as many mantissa decimals as it needs.
QString TickLabel(const QString &format, double tick);

// The label of a decade of a logarithmic axis: "1", "10", "100", ..., "0,1".
QString DecadeLabel(double tick);

// True for the patterns that show a date-time's time of day (they contain h, n or s).
bool IsTimeFormat(const QString &format);

} // namespace pxr3
