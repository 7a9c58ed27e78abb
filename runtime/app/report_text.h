// The text of a "Program Message" report: formatted from a fixed format and its
// arguments into at most 255 characters. Outside text (a device or picture name) is
// only ever an argument, never the format.
#pragma once

#include <cstdarg>
#include <string>

namespace vorn {

inline constexpr std::size_t kReportMaxChars = 255;

#if defined(__GNUC__)
#define VORN_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define VORN_PRINTF_FORMAT(f, a)
#endif

std::string format_report(const char* format, ...) VORN_PRINTF_FORMAT(1, 2);
std::string format_report_v(const char* format, std::va_list args);

}  // namespace vorn
