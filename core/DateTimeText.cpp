#include "core/DateTimeText.h"

#include "core/Clock.h"

#include <cmath>

namespace pxr3 {

namespace {
const QDate kEpoch(1899, 12, 30);
constexpr double kSecondsPerDay = 86400.0;
} // namespace

double DaysFromDateTime(const QDateTime &when)
{
    const QDate date = when.date();
    const QTime time = when.time();
    return double(kEpoch.daysTo(date)) + time.msecsSinceStartOfDay() / (kSecondsPerDay * 1000.0);
}

QDateTime DateTimeFromDays(double days)
{
    // Whole seconds, rounded, so that 23:59:59.9996 does not show as the next day's 00:00:00 late.
    const long long seconds = std::llround(days * kSecondsPerDay);
    const long long dayPart = seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
    const int secondOfDay = int(seconds - dayPart * 86400);
    return QDateTime(kEpoch.addDays(dayPart), QTime(0, 0).addSecs(secondOfDay));
}

double NowDays() { return DaysFromDateTime(programClock().wallNow()); }

QString DateText(double days) { return DateTimeFromDays(days).date().toString(QStringLiteral("dd.MM.yyyy")); }
QString TimeText(double days) { return DateTimeFromDays(days).time().toString(QStringLiteral("hh:mm:ss")); }

QString NowText()
{
    const double now = NowDays();
    return DateText(now) + QLatin1Char(' ') + TimeText(now);
}

} // namespace pxr3
