// Medians and percentiles of measurement samples.
#include "bench_stats.h"

#include <algorithm>
#include <cmath>

namespace zelbench {

double percentile(std::vector<double> samples, double p)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const double clamped = std::clamp(p, 0.0, 100.0);
    // Rank 1 is the smallest sample; p 0 still names a sample.
    std::size_t rank = static_cast<std::size_t>(std::ceil(clamped / 100.0 * static_cast<double>(samples.size())));
    rank = std::clamp<std::size_t>(rank, 1, samples.size());
    return samples[rank - 1];
}

double median(std::vector<double> samples)
{
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 == 1 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

Summary summarize(const std::vector<double>& samples)
{
    Summary s;
    s.count = samples.size();
    if (samples.empty()) return s;
    s.median = median(samples);
    s.p99 = percentile(samples, 99);
    s.max = *std::max_element(samples.begin(), samples.end());
    return s;
}

}  // namespace zelbench
