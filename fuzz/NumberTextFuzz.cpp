// The lenient number reader that every box and file goes through, and ParseDecimal, which
// the radionuclide file's factors take. The input is the text (UTF-8); its first four bytes are
// also a float, written the way the files write factors and read back.

#include "core/NumberText.h"
#include "fuzz/FuzzSupport.h"

#include <QLocale>
#include <cmath>
#include <cstring>

using namespace pxr3;

namespace {

QString WithoutBlanks(QString text)
{
    text.remove(QLatin1Char(' '));
    text.remove(QLatin1Char('\t'));
    return text;
}

QString Shown(double value) { return QString::number(value, 'g', 17); }

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzz::SetUpProgram(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic)); // a comma, as the operators write
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const double value = LeadingNumber(text);
    if (!std::isfinite(value))
        fuzz::Broken("not a finite number:", text);
    // Blanks are ignored anywhere, and a letter after the text cannot make the number longer.
    if (LeadingNumber(WithoutBlanks(text)) != value)
        fuzz::Broken("blanks changed the number:", text);
    if (LeadingNumber(text + QLatin1Char('x')) != value)
        fuzz::Broken("what follows changed the number:", text);

    if (const std::optional<double> whole = WholeNumber(text)) {
        if (*whole != value)
            fuzz::Broken("the whole number is not the leading one:", text + QLatin1String(" ") + Shown(*whole));
        if (WholeNumber(text + QLatin1String(" \t")) != whole || WholeNumber(text + QLatin1Char('x')))
            fuzz::Broken("a whole number is not ended by its blanks alone:", text);
    }
    if (const std::optional<int16_t> rounded = RoundToInt16(value); rounded && std::fabs(*rounded - value) > 0.5)
        fuzz::Broken("rounded to a farther integer:", Shown(value));

    // A comma is read as the decimal point.
    QString decimal = text;
    const double parsed = ParseDecimal(decimal);
    QString pointed = text;
    pointed.replace(QLatin1Char(','), QLatin1Char('.'));
    if (parsed != LeadingNumber(pointed))
        fuzz::Broken("a comma was not read as the point:", text);

    if (size >= sizeof(float)) {
        float factor;
        std::memcpy(&factor, data, sizeof factor);
        if (std::isnormal(factor)) {
            QString written = FloatText(factor);
            const double back = ParseDecimal(written);
            if (std::fabs(back - factor) > 1e-6 * std::fabs(factor))
                fuzz::Broken("a factor does not read back:", FloatText(factor) + QLatin1String(" ") + Shown(back));
        }
    }
    return 0;
}
