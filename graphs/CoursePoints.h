#pragma once
// The points of the time course, oldest first, kept to a fixed number: the acquisition adds
// one per good frame all day long, while the axis shows only the last few cycles drawn over
// each other, so older points are dropped rather than kept to slow every redraw.

#include "graphs/SpectrumGraphModel.h"

#include <vector>

namespace pxr3 {

struct CoursePoint {
    double x = 0; // date-time of the frame
    double y = 0; // count value
};

class CoursePoints {
public:
    // An hour of frames: six full ten-minute axes of history.
    static constexpr int kCapacity = 3600;

    explicit CoursePoints(int capacity = kCapacity);

    // Adds a point; returns how many old points were dropped to make room (0 or 1).
    int Add(double x, double y);
    void Clear();

    int Count() const { return int(m_points.size()); }
    int Capacity() const { return m_capacity; }
    // 0 is the oldest point kept, Count() - 1 the newest.
    CoursePoint At(int index) const;

    // A y range that fits the kept points: from 0 (or the lowest value, when below it) to a
    // little above the highest; 0 .. 0 without points.
    AxisRange ValueRange() const;

private:
    int m_capacity;
    std::vector<CoursePoint> m_points; // a ring once full; m_oldest is where it starts
    int m_oldest = 0;
};

} // namespace pxr3
