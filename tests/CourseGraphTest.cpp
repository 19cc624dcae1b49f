// The time course's axis (its start minute and widening) and the value range of its kept points.

#include "core/DateTimeText.h"
#include "graphs/CourseAxis.h"
#include "graphs/CoursePoints.h"
#include "graphs/NumberFormat.h"

#include <gtest/gtest.h>

namespace pxr3 {
namespace {

const QDate kDay(2026, 12, 7);
const QString kTime = QStringLiteral("h:nn");

double Days(const QTime &time) { return DaysFromDateTime(QDateTime(kDay, time)); }

TEST(CourseAxisTest, StartsOnTheWallClocksMinuteOfTheSameDay)
{
    const struct {
        QTime opened;
        QTime minute;
        const char *from;
        const char *to;
    } cases[] = {
        {QTime(14, 37, 50), QTime(14, 37), "14:37", "14:47"}, // afternoon: the date must not move on
        {QTime(9, 5, 59, 999), QTime(9, 5), "9:05", "9:15"},  {QTime(12, 0), QTime(12, 0), "12:00", "12:10"},
        {QTime(23, 55, 30), QTime(23, 55), "23:55", "0:05"},  {QTime(0, 0), QTime(0, 0), "0:00", "0:10"},
    };
    for (const auto &c : cases) {
        const CourseAxis axis = CourseAxisAt(Days(c.opened));
        // A point 13 frames on lies at that second of the wall clock, date included.
        EXPECT_EQ(DateTimeFromDays(axis.CourseStart + 13 / 86400.0), QDateTime(kDay, c.minute.addSecs(13))) << c.from;
        EXPECT_EQ(FormatNumber(kTime, axis.CourseStart), QLatin1String(c.from));
        EXPECT_EQ(FormatNumber(kTime, axis.CourseEnd), QLatin1String(c.to));
    }
}

TEST(CourseAxisTest, WidensByWholeSpansWhenAPointPassesTheEnd)
{
    const CourseAxis opened = CourseAxisAt(Days(QTime(14, 37, 50)));
    const struct {
        int second;
        int minutes;
    } cases[] = {{-30, 10}, {1, 10}, {600, 10}, {601, 20}, {1200, 20}, {1500, 30}};
    for (const auto &c : cases) {
        const CourseAxis axis = CoveringPoint(opened, opened.CourseStart + c.second / 86400.0);
        EXPECT_EQ(axis.CourseStart, opened.CourseStart) << c.second;
        EXPECT_NEAR((axis.CourseEnd - axis.CourseStart) * 1440, c.minutes, 1e-6) << c.second;
    }
    // The next cycle starts again at the left; the axis keeps its width.
    const CourseAxis wide = CoveringPoint(opened, opened.CourseStart + 1500 / 86400.0);
    EXPECT_EQ(CoveringPoint(wide, opened.CourseStart + 1 / 86400.0).CourseEnd, wide.CourseEnd);
}

TEST(CoursePointsTest, ValueRangeFitsTheKeptPointsOnly)
{
    const struct {
        std::vector<double> values;
        double min;
        double max;
    } cases[] = {
        {{}, 0, 0},
        {{5, 20}, 0, 21},
        {{-10, 10}, -10, 11},
        {{1000, 1, 2, 20, 3}, 0, 21}, // the early spike has been dropped, and the store wrapped twice
    };
    for (const auto &c : cases) {
        CoursePoints points(3);
        for (double v : c.values)
            points.Add(0, v);
        const AxisRange range = points.ValueRange();
        EXPECT_TRUE(range.set);
        EXPECT_DOUBLE_EQ(range.min, c.min);
        EXPECT_DOUBLE_EQ(range.max, c.max);
    }
}

} // namespace
} // namespace pxr3
