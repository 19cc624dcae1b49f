#pragma once
// The time axis of the time course: ten minutes from the minute it was opened in, widened
// when a cycle runs past its end.

namespace pxr3 {

// Date-times as day numbers, the fraction the time of day.
struct CourseAxis {
    double CourseStart = 0;
    double CourseEnd = 0;
};

// Length of the axis as opened: ten minutes.
inline constexpr double kCourseSpan = 1.0 / 6 / 24;

// The axis opened at `nowDays`: from the current minute (seconds dropped) to ten minutes on.
CourseAxis CourseAxisAt(double nowDays);

// The axis that also shows a point at `courseTime`: the end moves on by whole ten-minute
// spans from the start until it covers the point; it never moves back.
CourseAxis CoveringPoint(const CourseAxis &axis, double courseTime);

} // namespace pxr3
