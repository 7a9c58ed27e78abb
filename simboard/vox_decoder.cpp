// VOX (OKI ADPCM) decoding, sox-exact (see vox_decoder.h).
#include "vox_decoder.h"

#include <algorithm>
#include <array>

namespace simboard {

namespace {

constexpr int kSteps[49] = {16,  17,  19,  21,  23,  25,  28,  31,  34,  37,  41,  45,   50,   55,   60,   66,   73,
                            80,  88,  97,  107, 118, 130, 143, 157, 173, 190, 209, 230,  253,  279,  307,  337,
                            371, 408, 449, 494, 544, 598, 658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552};
constexpr int kIndexShift[16] = {-1, -1, -1, -1, 2, 4, 6, 8, -1, -1, -1, -1, 2, 4, 6, 8};

// The signed difference of every (step index, code) pair, worked out once: the multiply,
// the rounding and the sign leave the per-sample path, which is then an add, a clip and
// a table read. sox works on 12-bit samples scaled by 16: hence the shift and the
// cleared low bits.
using DiffTable = std::array<std::array<int, 16>, 49>;

constexpr DiffTable make_diffs()
{
    DiffTable t{};
    for (int i = 0; i < 49; ++i) {
        for (int code = 0; code < 16; ++code) {
            const int magnitude = code & 7;
            const int diff = ((16 * kSteps[i] * (2 * magnitude + 1)) >> 3) & ~0xF;
            t[static_cast<std::size_t>(i)][static_cast<std::size_t>(code)] = (code & 8) ? -diff : diff;
        }
    }
    return t;
}

constexpr DiffTable kDiffs = make_diffs();

// One code: moves predictor and index on and returns the sample.
inline std::int16_t step(int& predictor, int& index, unsigned code)
{
    predictor = std::clamp(predictor + kDiffs[static_cast<std::size_t>(index)][code], -32768, 32767);
    // The next index is worked out arithmetically rather than read from a table: a read
    // would put a memory load on the chain that carries from one sample to the next.
    index = std::clamp(index + kIndexShift[code], 0, 48);
    return static_cast<std::int16_t>(predictor);
}

}  // namespace

std::int16_t VoxDecoder::next(std::uint8_t code) {
    return step(predictor_, index_, code & 0xFu);
}

void VoxDecoder::decode(const std::uint8_t* data, std::size_t size, std::vector<std::int16_t>& out) {
    const std::size_t start = out.size();
    out.resize(start + 2 * size);
    std::int16_t* samples = out.data() + start;
    // The state lives in registers for the whole run.
    int predictor = predictor_;
    int index = index_;
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned byte = data[i];
        samples[2 * i] = step(predictor, index, byte >> 4);
        samples[2 * i + 1] = step(predictor, index, byte & 0xFu);
    }
    predictor_ = predictor;
    index_ = index;
}

std::vector<std::int16_t> decode_vox(const std::vector<std::uint8_t>& data) {
    std::vector<std::int16_t> out;
    VoxDecoder d;
    d.decode(data.data(), data.size(), out);
    return out;
}

}  // namespace simboard
