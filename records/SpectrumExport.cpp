#include "records/SpectrumExport.h"

#include "core/Clock.h"
#include "core/ProgramFolder.h"
#include "core/SharedState.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/USB_KOM.h"
#include "records/MeasuringConditions.h"
#include "records/TableCsv.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamWriter>

namespace pxr3 {

namespace {

const QString kN42Namespace = QStringLiteral("http://physics.nist.gov/N42/2011/N42");
const QString kCreator = QStringLiteral("pxr3 " PXR3_VERSION);
const QString kCrLf = QStringLiteral("\r\n");

// ISO 8601 with the offset from UTC, so the moment is the same wherever the file is read.
QString IsoWithOffset(const QDateTime &when)
{
    return when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);
}

QString Duration(int seconds) { return QStringLiteral("PT%1S").arg(seconds); }

bool RoiInRange(const SpectrumRecord &spectrum)
{
    return spectrum.leftRoi >= 1 && spectrum.leftRoi <= spectrum.rightRoi &&
        spectrum.rightRoi <= int(spectrum.counts.size());
}

void WriteN42Element(QXmlStreamWriter &xml, const QString &name, const QString &text)
{
    xml.writeTextElement(kN42Namespace, name, text);
}

void StartN42Element(QXmlStreamWriter &xml, const QString &name, const QString &id)
{
    xml.writeStartElement(kN42Namespace, name);
    xml.writeAttribute(QStringLiteral("id"), id);
}

} // namespace

QStringList SpectrumRemarks(const SpectrumRecord &spectrum)
{
    QStringList remarks;
    if (spectrum.simulated)
        remarks << QStringLiteral("SIMULACE – spektrum ze simulovaného analyzátoru");
    remarks << QStringLiteral("Analyzátor: %1")
                   .arg(spectrum.identity.isEmpty() ? QStringLiteral("neidentifikován") : spectrum.identity)
            << QStringLiteral("Vysoké napětí: %1 V").arg(spectrum.highVoltage)
            << QStringLiteral("ROI: kanály %1–%2").arg(spectrum.leftRoi).arg(spectrum.rightRoi)
            << QStringLiteral("Radionuklid: %1")
                   .arg(spectrum.setName.isEmpty() ? QStringLiteral("nevybrán") : spectrum.setName)
            << QStringLiteral("Mrtvou dobu analyzátor neudává: živá doba = reálná doba");
    return remarks;
}

QByteArray SpectrumN42(const SpectrumRecord &spectrum)
{
    QByteArray bytes;
    QXmlStreamWriter xml(&bytes);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kN42Namespace);
    xml.writeStartElement(kN42Namespace, QStringLiteral("RadInstrumentData"));
    WriteN42Element(xml, QStringLiteral("RadInstrumentDataCreatorName"), kCreator);

    StartN42Element(xml, QStringLiteral("RadInstrumentInformation"), QStringLiteral("RadInstrumentInformation-1"));
    WriteN42Element(xml, QStringLiteral("RadInstrumentManufacturerName"), QStringLiteral("Unknown"));
    WriteN42Element(xml, QStringLiteral("RadInstrumentModelName"), QStringLiteral("PXR3"));
    if (!spectrum.identity.isEmpty())
        WriteN42Element(xml, QStringLiteral("RadInstrumentDescription"), spectrum.identity);
    WriteN42Element(xml, QStringLiteral("RadInstrumentClassCode"), QStringLiteral("Other"));
    xml.writeStartElement(kN42Namespace, QStringLiteral("RadInstrumentVersion"));
    WriteN42Element(xml, QStringLiteral("RadInstrumentComponentName"), QStringLiteral("Software"));
    WriteN42Element(xml, QStringLiteral("RadInstrumentComponentVersion"), kCreator);
    xml.writeEndElement();
    xml.writeEndElement();

    StartN42Element(xml, QStringLiteral("RadDetectorInformation"), QStringLiteral("RadDetectorInformation-1"));
    WriteN42Element(xml, QStringLiteral("RadDetectorCategoryCode"), QStringLiteral("Other"));
    WriteN42Element(xml, QStringLiteral("RadDetectorKindCode"), QStringLiteral("Other"));
    xml.writeEndElement();

    // No energy calibration exists: the energy axis is the channel index.
    StartN42Element(xml, QStringLiteral("EnergyCalibration"), QStringLiteral("EnergyCalibration-1"));
    WriteN42Element(xml, QStringLiteral("CoefficientValues"), QStringLiteral("0 1 0"));
    xml.writeEndElement();

    StartN42Element(xml, QStringLiteral("RadMeasurement"), QStringLiteral("RadMeasurement-1"));
    for (const QString &remark : SpectrumRemarks(spectrum))
        WriteN42Element(xml, QStringLiteral("Remark"), remark);
    WriteN42Element(xml, QStringLiteral("MeasurementClassCode"), QStringLiteral("Foreground"));
    WriteN42Element(xml, QStringLiteral("StartDateTime"), IsoWithOffset(spectrum.start));
    WriteN42Element(xml, QStringLiteral("RealTimeDuration"), Duration(spectrum.seconds));
    StartN42Element(xml, QStringLiteral("Spectrum"), QStringLiteral("RadMeasurement-1-Spectrum-1"));
    xml.writeAttribute(QStringLiteral("radDetectorInformationReference"), QStringLiteral("RadDetectorInformation-1"));
    xml.writeAttribute(QStringLiteral("energyCalibrationReference"), QStringLiteral("EnergyCalibration-1"));
    WriteN42Element(xml, QStringLiteral("LiveTimeDuration"), Duration(spectrum.seconds));
    QStringList channels;
    for (const qint64 count : spectrum.counts)
        channels << QString::number(count);
    WriteN42Element(xml, QStringLiteral("ChannelData"), channels.join(QLatin1Char(' ')));
    xml.writeEndElement();
    xml.writeEndElement();

    xml.writeEndElement();
    xml.writeEndDocument();
    return bytes;
}

QByteArray SpectrumSpe(const SpectrumRecord &spectrum)
{
    // The identity names the PXR3 already; without one the model stands for it.
    QStringList lines{QStringLiteral("$SPEC_ID:"),
                      spectrum.identity.isEmpty() ? QStringLiteral("PXR3") : spectrum.identity,
                      QStringLiteral("$SPEC_REM:")};
    lines << SpectrumRemarks(spectrum);
    lines << QStringLiteral("$DATE_MEA:") << spectrum.start.toString(QStringLiteral("MM/dd/yyyy HH:mm:ss"))
          << QStringLiteral("$MEAS_TIM:") << QStringLiteral("%1 %1").arg(spectrum.seconds) << QStringLiteral("$DATA:")
          << QStringLiteral("0 %1").arg(qsizetype(spectrum.counts.size()) - 1);
    for (const qint64 count : spectrum.counts)
        lines << QStringLiteral("%1").arg(count, 8);
    // Regions and the energy fit count channels from 0.
    if (RoiInRange(spectrum))
        lines << QStringLiteral("$ROI:") << QStringLiteral("1")
              << QStringLiteral("%1 %2").arg(spectrum.leftRoi - 1).arg(spectrum.rightRoi - 1);
    lines << QStringLiteral("$ENER_FIT:") << QStringLiteral("0.000000 1.000000");
    // The identity holds the analyser's bytes as characters; they go out as those bytes.
    return EncodeKeepingBytes(lines.join(kCrLf) + kCrLf);
}

QByteArray SpectrumCsv(const SpectrumRecord &spectrum, const QLocale &locale)
{
    const QChar separator = CsvSeparator(locale);
    QStringList lines{QStringLiteral("# Spektrum PXR3 (%1)").arg(kCreator)};
    for (const QString &remark : SpectrumRemarks(spectrum))
        lines << QStringLiteral("# ") + remark;
    lines << QStringLiteral("# Začátek: ") + IsoWithOffset(spectrum.start)
          << QStringLiteral("# Reálná doba [s]: %1").arg(spectrum.seconds)
          << QStringLiteral("# Živá doba [s]: %1").arg(spectrum.seconds)
          << QStringLiteral("Kanál") + separator + QStringLiteral("Impulzy");
    for (size_t k = 0; k < spectrum.counts.size(); ++k)
        lines << QString::number(k + 1) + separator + QString::number(spectrum.counts[k]);
    return QByteArrayLiteral("\xEF\xBB\xBF") + (lines.join(kCrLf) + kCrLf).toUtf8();
}

QByteArray SpectrumBytes(const SpectrumRecord &spectrum, SpectrumFormat format)
{
    switch (format) {
    case SpectrumFormat::N42: return SpectrumN42(spectrum);
    case SpectrumFormat::Spe: return SpectrumSpe(spectrum);
    case SpectrumFormat::Csv: return SpectrumCsv(spectrum, QLocale());
    }
    return {};
}

std::optional<SpectrumFormat> SpectrumFormatOfName(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    for (const SpectrumFormat format : {SpectrumFormat::N42, SpectrumFormat::Spe, SpectrumFormat::Csv}) {
        if (suffix == SpectrumSuffix(format))
            return format;
    }
    return std::nullopt;
}

QString SpectrumSuffix(SpectrumFormat format)
{
    switch (format) {
    case SpectrumFormat::N42: return QStringLiteral("n42");
    case SpectrumFormat::Spe: return QStringLiteral("spe");
    case SpectrumFormat::Csv: return QStringLiteral("csv");
    }
    return {};
}

SpectrumRecord CurrentCycleSpectrum()
{
    const SharedState &s = state();
    SpectrumRecord spectrum;
    for (int k = 1; k <= kChannels; ++k)
        spectrum.counts.push_back(s.CycleSpectrum(k));
    spectrum.seconds = s.CycleSpectrumTime;
    // Nothing counted yet: the empty spectrum is as of now.
    spectrum.start = s.CycleSpectrumStart.isValid() ? s.CycleSpectrumStart : programClock().wallNow();
    spectrum.identity = link().AnalyserIdentity;
    spectrum.highVoltage = link().HighVoltageValue;
    spectrum.leftRoi = s.RoiBounds(1);
    spectrum.rightRoi = s.RoiBounds(2);
    spectrum.setName = MeasuringSet().name.trimmed();
    spectrum.simulated = IsSimulated();
    return spectrum;
}

FileResult SaveCycleSpectrumAs(const QString &path, SpectrumFormat format)
{
    return WriteFileAtomically(path, SpectrumBytes(CurrentCycleSpectrum(), format));
}

QString SpectraFolder()
{
    const QString folder = ProgramPath(QStringLiteral("SPEKTRA"));
    QDir().mkpath(folder);
    return folder;
}

} // namespace pxr3
