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

void print_row(const std::string& area, const std::string& measure, const std::string& value,
               const std::string& goal, Verdict verdict)
{
    const char* v = verdict == Verdict::met ? "met" : verdict == Verdict::missed ? "MISSED" : "";
    std::printf("ROW\t%s\t%s\t%s\t%s\t%s\n", cell(area).c_str(), cell(measure).c_str(), cell(value).c_str(),
                cell(goal).c_str(), v);
    std::fflush(stdout);
}

std::string fixed(double value, int decimals)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

}  // namespace zelbench
