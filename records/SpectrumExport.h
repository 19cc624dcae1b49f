#pragma once
// The cycle spectrum in the formats that spectrum analysis programs read: ANSI N42.42 XML,
// the IAEA / ORTEC ASCII SPE and CSV. Each carries the counts, the time they took, when the
// counting began and what they were measured with.

#include "core/TextFile.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace pxr3 {

struct SpectrumRecord {
    std::vector<qint64> counts; // channel 1 first
    int seconds = 0;            // real time; the analyser reports no dead time, so live time too
    QDateTime start;            // invalid when nothing was counted yet
    QString identity;           // the analyser's answer to "I"; empty when none answered
    int highVoltage = 0;        // V
    int leftRoi = 0, rightRoi = 0;
    QString setName; // of the radionuclide set, empty when none is selected
    bool simulated = false;
};

enum class SpectrumFormat { N42, Spe, Csv };

// The facts the formats carry as remarks, one per line, "SIMULACE" first when simulated.
QStringList SpectrumRemarks(const SpectrumRecord &spectrum);

QByteArray SpectrumN42(const SpectrumRecord &spectrum); // UTF-8
QByteArray SpectrumSpe(const SpectrumRecord &spectrum); // Windows-1250, CR LF
// UTF-8 with a byte-order mark; the list separator a spreadsheet of the locale expects.
QByteArray SpectrumCsv(const SpectrumRecord &spectrum, const QLocale &locale);
QByteArray SpectrumBytes(const SpectrumRecord &spectrum, SpectrumFormat format);

// The format a file name's suffix names (".n42", ".spe", ".csv", any case).
std::optional<SpectrumFormat> SpectrumFormatOfName(const QString &path);
QString SpectrumSuffix(SpectrumFormat format);

// CycleSpectrum, channels 1 to 256, with its time, start and measuring conditions.
SpectrumRecord CurrentCycleSpectrum();

// Writes the current cycle spectrum in full or not at all; an old file stays on failure.
FileResult SaveCycleSpectrumAs(const QString &path, SpectrumFormat format);

// The folder every series cycle's spectrum is kept in: SPEKTRA in the program folder.
QString SpectraFolder();

} // namespace pxr3
