#pragma once
// One radionuclide parameter set and the table of them, as kept in PXR3.KAL.

#include "core/OneBased.h"

#include <QString>
#include <cstdint>

namespace pxr3 {

constexpr int kNuclideSlots = 100;
constexpr int kNuclideNameLength = 10;

struct NuclideRecord {
    QString name = QString(kNuclideNameLength, QLatin1Char(' '));
    int16_t leftRoi = 0;
    int16_t rightRoi = 0;
    int16_t highVoltage = 0;
    float calFactor = 0.0f;
    float background = 0.0f;

    bool operator==(const NuclideRecord &o) const
    {
        return name == o.name && leftRoi == o.leftRoi && rightRoi == o.rightRoi && highVoltage == o.highVoltage &&
            calFactor == o.calFactor && background == o.background;
    }
};

using NuclideTable = OneBased<NuclideRecord, kNuclideSlots>;

// The name as stored: blanks padded on the right or cut to 10 characters. A double quote
// becomes an apostrophe, because the file's name field could not carry it back.
QString StoredNuclideName(const QString &typed);

} // namespace pxr3
