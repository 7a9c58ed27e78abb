// VOX (OKI ADPCM) decoding, sox-exact (see vox_decoder.h).
#include "vox_decoder.h"

#include <algorithm>

namespace simboard {

namespace {

constexpr int kSteps[49] = {16,  17,  19,  21,  23,  25,  28,  31,  34,  37,  41,  45,   50,   55,   60,   66,   73,
                            80,  88,  97,  107, 118, 130, 143, 157, 173, 190, 209, 230,  253,  279,  307,  337,
                            371, 408, 449, 494, 544, 598, 658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552};
constexpr int kIndexShift[8] = {-1, -1, -1, -1, 2, 4, 6, 8};

}  // namespace

std::int16_t VoxDecoder::next(std::uint8_t code) {
    int magnitude = code & 7;
    // sox works on 12-bit samples scaled by 16: hence the shift and the cleared low bits.
    int diff = ((16 * kSteps[index_] * (2 * magnitude + 1)) >> 3) & ~0xF;
    if (code & 8) diff = -diff;
    predictor_ = std::clamp(predictor_ + diff, -32768, 32767);
    index_ = std::clamp(index_ + kIndexShift[magnitude], 0, 48);
    return static_cast<std::int16_t>(predictor_);
}

void VoxDecoder::decode(const std::uint8_t* data, std::size_t size, std::vector<std::int16_t>& out) {
    out.reserve(out.size() + 2 * size);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(next(static_cast<std::uint8_t>(data[i] >> 4)));
        out.push_back(next(static_cast<std::uint8_t>(data[i] & 0xF)));
    }
}

std::vector<std::int16_t> decode_vox(const std::vector<std::uint8_t>& data) {
    std::vector<std::int16_t> out;
    VoxDecoder d;
    d.decode(data.data(), data.size(), out);
    return out;
}

}  // namespace simboard
