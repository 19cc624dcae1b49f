// The counting statistics against values worked out by hand.

#include "acquisition/CountingStatistics.h"

#include <gtest/gtest.h>

namespace pxr3::test {
namespace {

TEST(CountingStatistics, WorkedValues)
{
    const struct {
        double counts, seconds, background, calFactor;
        double netRate, netRateU, threshold, limit;
        bool detected;
    } cases[] = {
        // r0 = 0.5/s over 600 s: rn* = 1.6449 sqrt(0.5/600), rn# = 2 rn* + 1.6449^2/600.
        {300, 600, 0.5, 1, 0.0, 0.028868, 0.047484, 0.099478, false},
        {360, 600, 0.5, 1, 0.1, 0.031623, 0.047484, 0.099478, true},
        // The same net rate with KF 12.5: everything in Bq/m3 scales with it.
        {360, 600, 0.5, 12.5, 1.25, 0.395285, 0.593552, 1.243473, true},
        // No counts: no spread of its own, and far below the background.
        {0, 600, 0.5, 1, -0.5, 0.0, 0.047484, 0.099478, false},
        // No background: the threshold is 0, the limit k^2 / t.
        {4, 100, 0, 2, 0.08, 0.04, 0.0, 0.054113, true},
    };
    for (const auto &c : cases) {
        const auto r = EvaluateCounts(c.counts, c.seconds, c.background, c.calFactor);
        ASSERT_TRUE(r.has_value()) << c.counts;
        EXPECT_NEAR(r->activity, c.netRate, 1e-6) << c.counts;
        EXPECT_NEAR(r->activityU, c.netRateU, 1e-6) << c.counts;
        EXPECT_NEAR(r->threshold, c.threshold, 1e-6) << c.counts;
        EXPECT_NEAR(r->limit, c.limit, 1e-6) << c.counts;
        EXPECT_EQ(r->detected, c.detected) << c.counts;
        EXPECT_NEAR(r->grossRate, c.counts / c.seconds, 1e-12);
    }
    // In counts over the 600 s.
    const auto r = EvaluateCounts(300, 600, 0.5, 1);
    EXPECT_NEAR(r->netThreshold * 600, 28.4905, 1e-3);
    EXPECT_NEAR(r->netLimit * 600, 59.6867, 1e-3);
}

TEST(CountingStatistics, NoTimeGivesNoResult)
{
    EXPECT_FALSE(EvaluateCounts(10, 0, 0.5, 1).has_value());
    EXPECT_FALSE(EvaluateCounts(10, -2, 0.5, 1).has_value());
}

} // namespace
} // namespace pxr3::test
