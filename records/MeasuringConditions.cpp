#include "records/MeasuringConditions.h"

#include "core/NumberText.h"
#include "core/SharedState.h"
#include "records/MeasurementTable.h"

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

QString MeasuringConditionsLine(const MeasurementTable &table)
{
    const NuclideRecord set = MeasuringSet();
    const QString name = set.name.trimmed();
    QStringList parts;
    if (table.rowsFromSimulator())
        parts << QStringLiteral("SIMULACE");
    parts << QStringLiteral("Radionuklid: %1").arg(name.isEmpty() ? QStringLiteral("nevybrán") : name)
          << QStringLiteral("ROI: %1–%2").arg(set.leftRoi).arg(set.rightRoi)
          << QStringLiteral("U: %1 V").arg(set.highVoltage) << QStringLiteral("KF: ") + FloatText(set.calFactor)
          << QStringLiteral("pozadí: %1 1/s").arg(FloatText(set.background))
          << QStringLiteral("T: %1 s").arg(state().MeasureTime);
    return parts.join(QStringLiteral(", "));
}

} // namespace pxr3
