#include "records/MeasuringConditions.h"

#include "core/NumberText.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"

#include <QCoreApplication>
#include <QStringList>

namespace pxr3 {

NuclideRecord MeasuringSet()
{
    if (const NuclideRecord *record = CurrentRecord())
        return *record;
    const SharedState &s = state();
    NuclideRecord working;
    working.leftRoi = s.WorkLeftRoi;
    working.rightRoi = s.WorkRightRoi;
    working.highVoltage = s.WorkHighVoltage;
    working.calFactor = s.WorkCalFactor;
    working.background = s.WorkBackground;
    return working;
}

QString MeasuringConditionsLine(const MeasurementTable &table, bool shown)
{
    const auto text = [shown](const char *source) {
        return shown ? QCoreApplication::translate("MeasuringConditions", source) : QString::fromUtf8(source);
    };
    const NuclideRecord set = MeasuringSet();
    const QString name = set.name.trimmed();
    QStringList parts;
    if (table.rowsFromSimulator())
        parts << text(QT_TRANSLATE_NOOP("MeasuringConditions", "SIMULACE"));
    parts << text(QT_TRANSLATE_NOOP("MeasuringConditions", "Radionuklid: %1"))
                 .arg(name.isEmpty() ? text(QT_TRANSLATE_NOOP("MeasuringConditions", "nevybrán")) : name)
          << QStringLiteral("ROI: %1–%2").arg(set.leftRoi).arg(set.rightRoi)
          << QStringLiteral("U: %1 V").arg(set.highVoltage)
          << text(QT_TRANSLATE_NOOP("MeasuringConditions", "KF: ")) + FloatText(set.calFactor)
          << text(QT_TRANSLATE_NOOP("MeasuringConditions", "pozadí: %1 1/s")).arg(FloatText(set.background))
          << QStringLiteral("T: %1 s").arg(state().MeasureTime);
    return parts.join(QStringLiteral(", "));
}

} // namespace pxr3
