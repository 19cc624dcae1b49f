#pragma once
// How numbers travel between text and values throughout the program: one lenient reader,
// one rounding rule, one way of writing each kind of number.

#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace pxr3 {

// The longest leading number of a text: blanks anywhere are ignored, a point is the only
// decimal separator, an exponent (E or D) is taken when digits follow it; no number gives 0.
double LeadingNumber(QStringView text);

// Every comma of the text becomes a point (the caller's text changes), then LeadingNumber.
double ParseDecimal(QString &text);

// Nearest integer with halves to the even neighbour; empty when it does not fit 16 bits.
std::optional<int16_t> RoundToInt16(double value);

// A whole text that is one number (blanks around it allowed), else empty.
std::optional<double> WholeNumber(QStringView text);

// Plain decimal, no leading blank: "250", "-3".
QString IntText(long long value);
// The same added to the end of `text`, with no string of its own made: for texts written
// with every frame.
void AppendIntText(QString &text, long long value);

// Plain decimal with a blank where a minus sign would stand: " 250", "-3".
QString SignedIntText(long long value);

// A 32-bit float in its shortest form with up to 7 significant digits and the decimal
// separator of the user's locale; exponent form ("1,5E+07") when very large or small.
QString FloatText(float value);

// Mantissa with the given number of decimals, a signed exponent of at least two digits:
// ExpText(1234.5, 4) is "1,2345E+03" under a Czech locale.
QString ExpText(double value, int decimals);

} // namespace pxr3
