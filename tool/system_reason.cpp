// System error texts for the operator's boxes.
#include "system_reason.h"

#include <windows.h>

#include "working_file.h"

std::string system_reason(int err)
{
    const DWORD code = GetLastError();
    if (code != ERROR_SUCCESS) {
        char buffer[512];
        const DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                       0, buffer, static_cast<DWORD>(sizeof buffer), nullptr);
        std::string text(buffer, n);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
            text.pop_back();
        if (!text.empty()) return text;
    }
    return zel::crt_reason(err);
}
