// The splash holds.
#include "splash_hold.h"

#include <cctype>
#include <cstddef>

namespace vorn {

bool hold_would_overflow(std::uint32_t start, std::uint32_t hold_ms)
{
    return std::uint64_t{start} + hold_ms > std::uint64_t{UINT32_MAX};
}

bool hold(std::uint32_t hold_ms, TickSource tick, void* context)
{
    std::uint32_t start = tick(context);
    if (hold_would_overflow(start, hold_ms)) return false;
    std::uint32_t end = start + hold_ms;
    // Messages are not handled meanwhile: the main window is not shown yet.
    while (tick(context) < end) {
    }
    return true;
}

bool splash_waits(const char* command_line)
{
    static const char option[] = "/nosplashwait";
    const std::size_t length = sizeof option - 1;
    for (const char* p = command_line ? command_line : ""; *p;) {
        while (*p == ' ' || *p == '\t') ++p;
        const char* word = p;
        while (*p && *p != ' ' && *p != '\t') ++p;
        if (static_cast<std::size_t>(p - word) != length) continue;
        bool same = true;
        for (std::size_t i = 0; i < length && same; ++i)
            same = std::tolower(static_cast<unsigned char>(word[i])) == option[i];
        if (same) return false;
    }
    return true;
}

}  // namespace vorn
