#include "graphs/CourseAxis.h"

#include <algorithm>
#include <cmath>

namespace pxr3 {

namespace {

constexpr double kMillisecondsPerDay = 86400000.0;
constexpr long long kMillisecondsPerMinute = 60000;
constexpr long long kMinutesPerDay = 1440;

// Whole quotient rounded down, so that times before the epoch fall on their own day.
long long FloorDiv(long long a, long long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

} // namespace

CourseAxis CourseAxisAt(double nowDays)
{
    // The clock counts milliseconds; rounding to them first keeps 14:37:00 from reading as
    // 14:36:59.999... and losing its minute.
    const long long minutes = FloorDiv(std::llround(nowDays * kMillisecondsPerDay), kMillisecondsPerMinute);
    // The date is the whole day number, not the rounded one: rounding would date every
    // afternoon axis, and every point on it, a day after the wall clock.
    const long long day = FloorDiv(minutes, kMinutesPerDay);
    const long long minuteOfDay = minutes - day * kMinutesPerDay;
    CourseAxis axis;
    axis.CourseStart = double(day) + double(minuteOfDay / 60) / 24 + double(minuteOfDay % 60) / 1440;
    axis.CourseEnd = axis.CourseStart + kCourseSpan;
    return axis;
}

CourseAxis CoveringPoint(const CourseAxis &axis, double courseTime)
{
    // A millisecond of slack: the point of second 600 lies on the end, not a rounding error past it.
    constexpr double kSlack = 1.0 / kMillisecondsPerDay / kCourseSpan;
    const double spans = std::ceil((courseTime - axis.CourseStart) / kCourseSpan - kSlack);
    CourseAxis widened = axis;
    widened.CourseEnd = std::max(axis.CourseEnd, axis.CourseStart + spans * kCourseSpan);
    return widened;
}

} // namespace pxr3
