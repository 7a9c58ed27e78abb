// Medians and percentiles: the figures every benchmark reports.
#include <gtest/gtest.h>

#include <vector>

#include "bench_stats.h"

namespace {

using zelbench::median;
using zelbench::percentile;

struct PercentileCase {
    std::vector<double> samples;
    double p;
    double expected;
};

TEST(BenchStats, PercentileIsTheNearestRankOfTheSortedSamples)
{
    std::vector<double> hundred;
    for (int i = 100; i >= 1; --i) hundred.push_back(i);  // unsorted on purpose
    std::vector<double> two_hundred;
    for (int i = 1; i <= 200; ++i) two_hundred.push_back(i);
    const PercentileCase cases[] = {
        {hundred, 99, 99},         // rank 99 of 100
        {hundred, 100, 100},
        {hundred, 50, 50},
        {hundred, 0, 1},           // still a sample, never below the smallest
        {hundred, 150, 100},       // clamped
        {two_hundred, 99, 198},    // rank 198 of 200
        {{5, 1, 9}, 99, 9},        // few samples: the p99 is the largest
        {{5, 1, 9}, 50, 5},
        {{7}, 99, 7},
        {{}, 99, 0},
        {{3, 3, 3, 40}, 75, 3},    // rank 3 of 4
        {{3, 3, 3, 40}, 76, 40},
    };
    for (const PercentileCase& c : cases) {
        EXPECT_EQ(percentile(c.samples, c.p), c.expected) << "p" << c.p << " of " << c.samples.size() << " samples";
    }
}

TEST(BenchStats, MedianOfOddAndEvenCounts)
{
    EXPECT_EQ(median({9, 1, 5}), 5);
    EXPECT_EQ(median({4, 1, 3, 2}), 2.5);
    EXPECT_EQ(median({0.25}), 0.25);
    EXPECT_EQ(median({}), 0);
}

TEST(BenchStats, SummaryHoldsCountMedianP99AndMax)
{
    std::vector<double> gaps(197, 1.0);
    for (double slow : {31.0, 12.0, 30.0}) gaps.push_back(slow);
    const zelbench::Summary s = zelbench::summarize(gaps);
    EXPECT_EQ(s.count, 200u);
    EXPECT_EQ(s.median, 1);
    EXPECT_EQ(s.p99, 12);  // p99 of 200 is rank 198: the first of the three slow ones
    EXPECT_EQ(s.max, 31);
}

}  // namespace
