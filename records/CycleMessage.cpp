#include "records/CycleMessage.h"

#include "acquisition/AcquisitionTick.h"
#include "acquisition/CountingStatistics.h"
#include "core/Clock.h"
#include "core/SharedState.h"
#include "devicelink/DriverChoice.h"
#include "devicelink/USB_KOM.h"
#include "records/MeasurementTable.h"
#include "records/MeasuringConditions.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace pxr3 {

CycleReport CompletedCycleReport(const QString &series, int row, int cycle, int cycles)
{
    const SharedState &s = state();
    const MeasurementTable &table = measurementTable();
    const NuclideRecord set = MeasuringSet();
    CycleReport report;
    report.series = series;
    report.row = row;
    report.cycle = cycle;
    report.cycles = cycles;
    report.end = programClock().wallNow();
    report.start = s.CycleSpectrumStart.isValid() ? s.CycleSpectrumStart : report.end;
    report.setName = set.name.trimmed();
    report.roiLeft = s.RoiBounds(1);
    report.roiRight = s.RoiBounds(2);
    report.highVoltage = link().HighVoltageValue;
    report.seconds = table.text(row, 4).toInt();
    report.counts = table.text(row, 3).toLongLong();
    report.background = set.background;
    report.calFactor = set.calFactor;
    report.failedReadings = acquisition().completedFailedReadings;
    report.gapSeconds = acquisition().completedGapSeconds;
    report.simulated = IsSimulated();
    return report;
}

QByteArray CycleMessage(const CycleReport &report, const QString &station)
{
    // With the offset: a subscriber in another time zone reads the same instant.
    const auto iso = [](const QDateTime &t) { return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate); };
    QJsonObject message{
        {QStringLiteral("station"), station},
        {QStringLiteral("series"), report.series},
        {QStringLiteral("row"), report.row},
        {QStringLiteral("cycle"), report.cycle},
        {QStringLiteral("cycles"), report.cycles},
        {QStringLiteral("start"), iso(report.start)},
        {QStringLiteral("end"), iso(report.end)},
        {QStringLiteral("set"), report.setName},
        {QStringLiteral("roi_left"), report.roiLeft},
        {QStringLiteral("roi_right"), report.roiRight},
        {QStringLiteral("high_voltage"), report.highVoltage},
        {QStringLiteral("time"), report.seconds},
        {QStringLiteral("counts"), report.counts},
        {QStringLiteral("failed_readings"), report.failedReadings},
        {QStringLiteral("gap_seconds"), report.gapSeconds},
        {QStringLiteral("simulated"), report.simulated},
    };
    const auto r = EvaluateCounts(double(report.counts), report.seconds, report.background, report.calFactor);
    message.insert(QStringLiteral("rate"), r ? QJsonValue(r->grossRate) : QJsonValue());
    message.insert(QStringLiteral("rate_u"), r ? QJsonValue(r->netRateU) : QJsonValue());
    // As on the screen: a calibration factor of 1 or less is not applied, so there is no activity.
    const bool activity = r && report.calFactor > 1;
    message.insert(QStringLiteral("activity"), activity ? QJsonValue(r->activity) : QJsonValue());
    message.insert(QStringLiteral("activity_u"), activity ? QJsonValue(r->activityU) : QJsonValue());
    message.insert(QStringLiteral("threshold"), activity ? QJsonValue(r->threshold) : QJsonValue());
    message.insert(QStringLiteral("limit"), activity ? QJsonValue(r->limit) : QJsonValue());
    message.insert(QStringLiteral("detected"), activity ? QJsonValue(r->detected) : QJsonValue());
    return QJsonDocument(message).toJson(QJsonDocument::Compact);
}

QByteArray StationStatusMessage(const QString &station, bool online, const QString &setName, bool simulated)
{
    QJsonObject message{{QStringLiteral("status"), online ? QStringLiteral("online") : QStringLiteral("offline")},
                        {QStringLiteral("station"), station}};
    if (online) {
        message.insert(QStringLiteral("version"), QStringLiteral(PXR3_VERSION));
        message.insert(QStringLiteral("set"), setName);
        message.insert(QStringLiteral("simulated"), simulated);
    }
    return QJsonDocument(message).toJson(QJsonDocument::Compact);
}

} // namespace pxr3
