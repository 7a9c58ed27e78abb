// The "Program Message" box.
#include "program_message.h"

#include <windows.h>

#include <cstdarg>
#include <string>

namespace vorn {

void program_message(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::string text = format_report_v(format, args);
    va_end(args);
    MessageBoxA(nullptr, text.c_str(), "Program Message", MB_OK | MB_SYSTEMMODAL);
}

}  // namespace vorn
