// Result rows for tools/bench.sh.
#include "bench_report.h"

#include <cstdio>

namespace zelbench {

namespace {

// Tabs and line ends would split the row; nothing we print should hold them.
std::string cell(std::string text)
{
    for (char& c : text) {
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

}  // namespace

std::string format_row(const std::string& area, const std::string& measure, const std::string& value,
                       const std::string& goal, Verdict verdict)
{
    const char* v = verdict == Verdict::met ? "met" : verdict == Verdict::missed ? "MISSED" : "";
    return "ROW\t" + cell(area) + "\t" + cell(measure) + "\t" + cell(value) + "\t" + cell(goal) + "\t" + v + "\n";
}

void print_row(const std::string& area, const std::string& measure, const std::string& value,
               const std::string& goal, Verdict verdict)
{
    const std::string row = format_row(area, measure, value, goal, verdict);
    std::fputs(row.c_str(), stdout);
    std::fflush(stdout);
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace zelbench
