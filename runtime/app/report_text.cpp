// Formatting of "Program Message" texts.
#include "report_text.h"

#include <cstdio>

namespace vorn {

std::string format_report_v(const char* format, std::va_list args)
{
    char text[kReportMaxChars + 1];
    int n = std::vsnprintf(text, sizeof text, format, args);
    if (n < 0) return {};
    return text;
}

std::string format_report(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string text = format_report_v(format, args);
    va_end(args);
    return text;
}

}  // namespace vorn
