#include "core/NumberText.h"

#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

namespace pxr3 {

namespace {

QChar decimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? QLatin1Char('.') : point.front();
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }
bool isBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Collects the characters of the leading number, blanks dropped, into a C locale string.
// Returns the count of characters of the text that the number used.
qsizetype leadingNumberChars(QStringView text, std::string &out)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(text[i]))
            ++i;
    };
    skipBlanks();
    if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        out += char(text[i].unicode());
        ++i;
    }
    bool digits = false;
    qsizetype end = 0;
    auto takeDigits = [&] {
        for (;;) {
            skipBlanks();
            if (i < n && isDigit(text[i])) {
                out += char(text[i].unicode());
                digits = true;
                ++i;
                end = i;
            } else {
                break;
            }
        }
    };
    takeDigits();
    skipBlanks();
    if (i < n && text[i] == QLatin1Char('.')) {
        out += '.';
        ++i;
        if (digits)
            end = i;
        takeDigits();
    }
    if (!digits) {
        out.clear();
        return 0;
    }
    const std::string mantissa = out;
    const qsizetype mantissaEnd = end;
    skipBlanks();
    if (i < n &&
        (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e') || text[i] == QLatin1Char('D') ||
         text[i] == QLatin1Char('d'))) {
        ++i;
        std::string exponent = "e";
        skipBlanks();
        if (i < n && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
            exponent += char(text[i].unicode());
            ++i;
        }
        bool expDigits = false;
        for (;;) {
            skipBlanks();
            if (i < n && isDigit(text[i])) {
                exponent += char(text[i].unicode());
                expDigits = true;
                ++i;
            } else {
                break;
            }
        }
        if (expDigits) {
            out = mantissa + exponent;
            return i;
        }
    }
    out = mantissa;
    return mantissaEnd;
}

} // namespace

double LeadingNumber(QStringView text)
{
    std::string number;
    if (leadingNumberChars(text, number) == 0)
        return 0.0;
    const double value = std::strtod(number.c_str(), nullptr);
    return std::isfinite(value) ? value : 0.0;
}

double ParseDecimal(QString &text)
{
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    return LeadingNumber(text);
}

std::optional<int16_t> RoundToInt16(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded < -32768.0 || rounded > 32767.0)
        return std::nullopt;
    return static_cast<int16_t>(rounded);
}

std::optional<double> WholeNumber(QStringView text)
{
    std::string number;
    const qsizetype used = leadingNumberChars(text, number);
    if (used == 0)
        return std::nullopt;
    for (qsizetype i = used; i < text.size(); ++i)
        if (!isBlank(text[i]))
            return std::nullopt;
    const double value = std::strtod(number.c_str(), nullptr);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

QString IntText(long long value) { return QString::number(value); }

void AppendIntText(QString &text, long long value)
{
    char16_t digits[24];
    char16_t *const end = std::end(digits);
    char16_t *first = end;
    // The magnitude unsigned, so that the most negative value has one too.
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value) : value;
    do {
        *--first = char16_t(u'0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--first = u'-';
    text.append(QStringView(first, end));
}

QString SignedIntText(long long value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

QString FloatText(float value)
{
    if (value == 0.0f || !std::isfinite(value))
        return value == 0.0f ? QStringLiteral("0") : QString::number(double(value));
    // Shortest text of at most 7 significant digits that reads back as the same float.
    char buffer[64];
    int digits = 1;
    for (; digits < 7; ++digits) {
        std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, double(value));
        if (std::strtof(buffer, nullptr) == value)
            break;
    }
    std::snprintf(buffer, sizeof buffer, "%.*e", digits - 1, double(value));
    const std::string sci(buffer);
    const auto ePos = sci.find('e');
    const int exponent = std::atoi(sci.c_str() + ePos + 1);
    std::string mantissaDigits;
    for (char c : sci.substr(0, ePos))
        if (c >= '0' && c <= '9')
            mantissaDigits += c;
    while (mantissaDigits.size() > 1 && mantissaDigits.back() == '0')
        mantissaDigits.pop_back();
    const QChar sep = decimalSeparator();
    QString text = value < 0 ? QStringLiteral("-") : QString();
    if (exponent >= 7 || exponent < -5) {
        text += QLatin1Char(mantissaDigits[0]);
        if (mantissaDigits.size() > 1)
            text += sep + QString::fromLatin1(mantissaDigits.c_str() + 1);
        text += QStringLiteral("E%1%2")
                    .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                    .arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
        return text;
    }
    if (exponent < 0) {
        text += QLatin1Char('0') + sep + QString(-exponent - 1, QLatin1Char('0')) +
            QString::fromLatin1(mantissaDigits.c_str());
        return text;
    }
    const auto intDigits = std::size_t(exponent) + 1;
    if (mantissaDigits.size() <= intDigits) {
        text += QString::fromLatin1(mantissaDigits.c_str()) +
            QString(int(intDigits - mantissaDigits.size()), QLatin1Char('0'));
    } else {
        text += QString::fromLatin1(mantissaDigits.substr(0, intDigits).c_str()) + sep +
            QString::fromLatin1(mantissaDigits.substr(intDigits).c_str());
    }
    return text;
}

QString ExpText(double value, int decimals)
{
    if (!std::isfinite(value) || value == 0.0)
        value = 0.0;
    decimals = std::clamp(decimals, 0, 14);
    // The decimal digits of the value to 15 places, then rounded half away from zero, as an
    // operator rounds the digits he reads (1234.5 with three decimals is 1,235E+03).
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14e", std::abs(value));
    std::string digits;
    for (const char *p = buffer; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9')
            digits += *p;
    int exponent = std::atoi(std::strchr(buffer, 'e') + 1);
    const std::size_t keep = std::size_t(decimals) + 1;
    bool carry = digits[keep] >= '5';
    digits.resize(keep);
    for (std::size_t i = keep; carry && i-- > 0;) {
        carry = digits[i] == '9';
        digits[i] = carry ? '0' : char(digits[i] + 1);
    }
    if (carry) {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
    }
    if (value == 0.0)
        exponent = 0;
    QString text = value < 0 ? QStringLiteral("-") : QString();
    text += QLatin1Char(digits[0]);
    if (decimals > 0)
        text += decimalSeparator() + QString::fromLatin1(digits.c_str() + 1);
    text += QStringLiteral("E%1%2")
                .arg(exponent < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                .arg(std::abs(exponent), 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace pxr3
