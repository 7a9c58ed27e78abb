// The board's audio lines: what a line plays, as 16-bit little-endian samples in base64,
// one text line per ~20 ms so that audio and event lines share one parseable stream:
//   <ms> audio <line> <rate> <base64>
// Formatting for the board, parsing for whoever listens (the SIP gateway, tests).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace simboard {

// Samples per audio line at `rate`: 20 ms, rounded down (6000: 120, 8000: 160, 11025: 220).
inline std::size_t audio_chunk_samples(int rate) { return static_cast<std::size_t>(rate / 50); }

// "audio <line> <rate> <base64>" without the stamp.
std::string format_audio_line(int line, int rate, const std::int16_t* samples, std::size_t count);

// Decodes the base64 of 16-bit LE samples; false on a character outside base64, a length
// that is not whole samples, or padding in the middle.
bool decode_audio_samples(std::string_view base64, std::vector<std::int16_t>& out);

}  // namespace simboard
