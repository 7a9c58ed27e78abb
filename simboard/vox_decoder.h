// VOX decoding: headerless 4-bit OKI/Dialogic ADPCM, two samples per byte, high nibble
// first, decoded to 16-bit samples exactly as sox decodes it (same rounding and clipping),
// so what the board records can be compared with sox sample for sample.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace simboard {

class VoxDecoder {
public:
    // Decodes one 4-bit code (sign bit 8, magnitude 0-7) and returns the next sample.
    std::int16_t next(std::uint8_t code);

    // Appends the two samples of every byte.
    void decode(const std::uint8_t* data, std::size_t size, std::vector<std::int16_t>& out);

private:
    int predictor_ = 0;
    int index_ = 0;
};

// A whole file's samples, from a fresh decoder state.
std::vector<std::int16_t> decode_vox(const std::vector<std::uint8_t>& data);

}  // namespace simboard
