#include "acquisition/DataLog.h"

#include "core/DateTimeText.h"
#include "core/NumberText.h"
#include "core/ProgramFolder.h"

namespace pxr3 {

namespace {

// A tick time that is not positive counts as one second wherever it is used.
int TickSeconds(int tickTime) { return tickTime > 0 ? tickTime : 1; }

} // namespace

double LogActivity(double rate, double background, double calFactor) { return (rate - background) * calFactor; }

QString DataLogLine(double atDays, double rate, double activity, int tickTime)
{
    const QChar tab = QLatin1Char('\t');
    return DateText(atDays) + tab + TimeText(atDays) + tab + ExpText(rate, 4) + tab + ExpText(activity, 4) + tab +
        IntText(TickSeconds(tickTime));
}

FileResult AppendDataLog(const QString &line)
{
    return AppendText(ProgramPath(QStringLiteral("DATA_LOG.TXT")), line + QStringLiteral("\r\n"));
}

} // namespace pxr3
