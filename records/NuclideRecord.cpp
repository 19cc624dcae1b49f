#include "records/NuclideRecord.h"

namespace pxr3 {

QString StoredNuclideName(const QString &typed)
{
    QString name = typed.left(kNuclideNameLength);
    name.replace(QLatin1Char('"'), QLatin1Char('\''));
    return name.leftJustified(kNuclideNameLength, QLatin1Char(' '));
}

} // namespace pxr3
