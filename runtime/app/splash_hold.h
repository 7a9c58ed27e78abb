// The splash pictures' holds: busy waits on the 32-bit millisecond tick counter,
// skipped when the counter would wrap during the hold (a wrapped counter would
// otherwise make the wait run for about 49 days).
#pragma once

#include <cstdint>

namespace vorn {

inline constexpr std::uint32_t kSplash2HoldMs = 2200;
inline constexpr std::uint32_t kSplash3HoldMs = 1800;

// True when a hold of `hold_ms` starting at tick `start` would pass 2^32 - 1.
bool hold_would_overflow(std::uint32_t start, std::uint32_t hold_ms);

using TickSource = std::uint32_t (*)(void* context);

// Polls `tick` until `hold_ms` have passed since the first reading, or returns at
// once when the hold would overflow. Returns whether it held.
bool hold(std::uint32_t hold_ms, TickSource tick, void* context);

// False when the command line holds the word "/nosplashwait" (any case): the pictures
// are then drawn without their holds.
bool splash_waits(const char* command_line);

}  // namespace vorn
