#include "graphs/CoursePoints.h"

#include <algorithm>

namespace pxr3 {

CoursePoints::CoursePoints(int capacity) : m_capacity(std::max(1, capacity)) { }

int CoursePoints::Add(double x, double y)
{
    if (Count() < m_capacity) {
        m_points.push_back({x, y});
        return 0;
    }
    m_points[m_oldest] = {x, y};
    m_oldest = (m_oldest + 1) % m_capacity;
    return 1;
}

void CoursePoints::Clear()
{
    m_points.clear();
    m_oldest = 0;
}

CoursePoint CoursePoints::At(int index) const { return m_points[(m_oldest + index) % Count()]; }

AxisRange CoursePoints::ValueRange() const
{
    // Headroom above the highest point, so that it is not drawn on the frame.
    constexpr double kHeadroom = 0.05;
    AxisRange range{true, 0, 0};
    for (const CoursePoint &p : m_points) {
        range.min = std::min(range.min, p.y);
        range.max = std::max(range.max, p.y);
    }
    range.max += (range.max - range.min) * kHeadroom;
    return range;
}

} // namespace pxr3
