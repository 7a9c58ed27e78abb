// The splash holds.
#include "splash_hold.h"

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

}  // namespace vorn
