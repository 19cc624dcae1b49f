#pragma once
// Date-times as the files keep them: days since 30.12.1899, the fraction the time of day.

#include <QDateTime>
#include <QString>

namespace pxr3 {

double DaysFromDateTime(const QDateTime &when);
QDateTime DateTimeFromDays(double days);
double NowDays();

QString DateText(double days); // "dd.mm.yyyy"
QString TimeText(double days); // "hh:nn:ss"
QString NowText();             // the present as "dd.mm.yyyy hh:nn:ss"

} // namespace pxr3
