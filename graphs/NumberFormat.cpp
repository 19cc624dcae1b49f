#include "graphs/NumberFormat.h"

#include <QLocale>
#include <cmath>

namespace pxr3 {

namespace {

QString DecimalPoint() { return QLocale().decimalPoint(); }

// Digits of a fixed pattern: zeros before the point are the least integer digits shown,
// zeros and hashes after it the decimals.
struct FixedPattern {
    int minIntDigits = 0;
    int decimals = 0;
};

FixedPattern ReadFixed(const QString &pattern)
{
    FixedPattern p;
    const int point = pattern.indexOf(QLatin1Char('.'));
    const QString integral = point < 0 ? pattern : pattern.left(point);
    p.minIntDigits = integral.count(QLatin1Char('0'));
    if (point >= 0) {
        const QString fraction = pattern.mid(point + 1);
        for (QChar c : fraction) {
            if (c == QLatin1Char('0') || c == QLatin1Char('#'))
                ++p.decimals;
            else
                break;
        }
    }
    return p;
}

QString FixedText(const FixedPattern &p, double value)
{
    QString text = QString::number(std::fabs(value), 'f', p.decimals);
    // A value that rounds to zero shows no minus sign.
    const bool negative = value < 0 && text.toDouble() != 0.0;
    int point = text.indexOf(QLatin1Char('.'));
    QString integral = point < 0 ? text : text.left(point);
    const QString fraction = point < 0 ? QString() : text.mid(point + 1);
    if (integral == QLatin1String("0") && p.minIntDigits == 0 && !fraction.isEmpty())
        integral.clear();
    while (integral.size() < p.minIntDigits)
        integral.prepend(QLatin1Char('0'));
    QString out = integral;
    if (p.decimals > 0)
        out += DecimalPoint() + fraction;
    if (out.isEmpty())
        out = QStringLiteral("0");
    return negative ? QLatin1Char('-') + out : out;
}

QString ScientificText(const QString &format, int ePos, double value)
{
    const FixedPattern mantissaPattern = ReadFixed(format.left(ePos).trimmed());
    const QString beforeE = format.left(ePos);
    // Whatever stands between the mantissa digits and the E (a blank in "0.0 E+00") is kept.
    int tail = beforeE.size();
    while (tail > 0 && !beforeE.at(tail - 1).isDigit() && beforeE.at(tail - 1) != QLatin1Char('#'))
        --tail;
    const QString gap = beforeE.mid(tail);
    const QChar sign = format.at(ePos + 1);
    const int expDigits = format.mid(ePos + 2).count(QLatin1Char('0'));

    int exponent = 0;
    double mantissa = value;
    if (value != 0.0 && std::isfinite(value)) {
        exponent = static_cast<int>(std::floor(std::log10(std::fabs(value))));
        mantissa = value / std::pow(10.0, exponent);
        // Rounding the mantissa may carry into the next power of ten (9,96 -> 10,0).
        const double scale = std::pow(10.0, mantissaPattern.decimals);
        if (std::fabs(std::round(mantissa * scale) / scale) >= 10.0) {
            ++exponent;
            mantissa /= 10.0;
        }
    }
    QString exp = QString::number(std::abs(exponent));
    while (exp.size() < expDigits)
        exp.prepend(QLatin1Char('0'));
    QString expSign;
    if (exponent < 0)
        expSign = QStringLiteral("-");
    else if (sign == QLatin1Char('+'))
        expSign = QStringLiteral("+");
    FixedPattern m = mantissaPattern;
    if (m.minIntDigits == 0)
        m.minIntDigits = 1;
    return FixedText(m, mantissa) + gap + format.at(ePos) + expSign + exp;
}

QString TimeText(const QString &format, double value)
{
    // The fraction of the day number is the time of day; whole seconds, rounded.
    const double fraction = value - std::floor(value);
    long long seconds = std::llround(fraction * 86400.0) % 86400;
    const int h = static_cast<int>(seconds / 3600);
    const int n = static_cast<int>((seconds / 60) % 60);
    const int s = static_cast<int>(seconds % 60);
    QString out;
    for (int i = 0; i < format.size();) {
        const QChar c = format.at(i).toLower();
        int run = 1;
        while (i + run < format.size() && format.at(i + run).toLower() == c)
            ++run;
        int part = -1;
        if (c == QLatin1Char('h'))
            part = h;
        else if (c == QLatin1Char('n'))
            part = n;
        else if (c == QLatin1Char('s'))
            part = s;
        if (part >= 0)
            out += QString::number(part).rightJustified(run >= 2 ? 2 : 1, QLatin1Char('0'));
        else
            out += format.mid(i, run);
        i += run;
    }
    return out;
}

// Where the pattern's exponent starts ("E+" or "e-"), or -1 for a pattern without one.
int ExponentPosition(const QString &format)
{
    for (int i = 0; i + 1 < format.size(); ++i) {
        const QChar c = format.at(i);
        const QChar next = format.at(i + 1);
        if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && (next == QLatin1Char('+') || next == QLatin1Char('-')))
            return i;
    }
    return -1;
}

// Ticks are multiples of a step in binary floating point: 0.6 comes as 0.6000000000000001.
double TickValue(double tick) { return QString::number(tick, 'g', 12).toDouble(); }

QString PlainNumber(double value)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'g', 12);
}

} // namespace

QString TickLabel(const QString &format, double tick)
{
    const int ePos = ExponentPosition(format);
    if (ePos < 0 || IsTimeFormat(format))
        return FormatNumber(format, tick);
    const double value = TickValue(tick);
    if (std::fabs(value) < 1e6)
        return PlainNumber(value);
    // More mantissa decimals until the text reads back as the tick.
    QString pattern = format;
    const int point = int(format.left(ePos).indexOf(QLatin1Char('.')));
    if (point < 0)
        pattern.insert(ePos, QStringLiteral(".")); // a mantissa without decimals gets them
    QString text = FormatNumber(format, value);
    for (int decimals = 0; decimals < 15; ++decimals) {
        QString back = text;
        back.replace(DecimalPoint(), QStringLiteral(".")).remove(QLatin1Char(' '));
        if (std::fabs(back.toDouble() - value) <= 1e-9 * std::fabs(value))
            break;
        pattern.insert(pattern.indexOf(QLatin1Char('.')) + 1, QLatin1Char('0'));
        text = FormatNumber(pattern, value);
    }
    return text;
}

QString DecadeLabel(double tick) { return PlainNumber(TickValue(tick)); }

bool IsTimeFormat(const QString &format)
{
    for (QChar c : format) {
        const QChar l = c.toLower();
        if (l == QLatin1Char('h') || l == QLatin1Char('n') || l == QLatin1Char('s'))
            return true;
    }
    return false;
}

QString FormatNumber(const QString &format, double value)
{
    if (format.isEmpty())
        return QString::number(value).replace(QLatin1Char('.'), DecimalPoint());
    if (IsTimeFormat(format))
        return TimeText(format, value);
    const int ePos = ExponentPosition(format);
    return ePos >= 0 ? ScientificText(format, ePos, value) : FixedText(ReadFixed(format), value);
}

} // namespace pxr3
