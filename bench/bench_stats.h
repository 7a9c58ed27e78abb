// Summaries of repeated measurements: these machines are noisy, so every figure the
// benchmarks report is a median (or a high percentile) over several runs, never one run.
#pragma once

#include <cstddef>
#include <vector>

namespace zelbench {

// The nearest-rank percentile: the smallest sample with at least p percent of the
// samples at or below it (p in 0-100). p 50 of an even count is the lower middle.
// An empty set gives 0.
double percentile(std::vector<double> samples, double p);

// The median as usually defined: the middle sample, or the mean of the two middle ones.
double median(std::vector<double> samples);

struct Summary {
    std::size_t count = 0;
    double median = 0;
    double p99 = 0;
    double max = 0;
};

Summary summarize(const std::vector<double>& samples);

}  // namespace zelbench
