// How every benchmark hands its figures to tools/bench.sh: one tab-separated line per
// figure, starting with "ROW", which the script gathers into one table. Everything else a
// benchmark prints is commentary for the log.
#pragma once

#include <string>

namespace zelbench {

enum class Verdict { none, met, missed };

// The row as printed, line end included. Tabs and line ends inside a cell become spaces,
// so that no text (a path, a message) can split or add a row.
std::string format_row(const std::string& area, const std::string& measure, const std::string& value,
                       const std::string& goal = {}, Verdict verdict = Verdict::none);

// Goal text and verdict are empty when the figure has no goal.
void print_row(const std::string& area, const std::string& measure, const std::string& value,
               const std::string& goal = {}, Verdict verdict = Verdict::none);

inline Verdict verdict_below(double value, double limit)
{
    return value < limit ? Verdict::met : Verdict::missed;
}
inline Verdict verdict_at_least(double value, double floor)
{
    return value >= floor ? Verdict::met : Verdict::missed;
}

// printf-style number formatting with an explicit precision ("%.*f").
std::string fixed(double value, int decimals);

}  // namespace zelbench
