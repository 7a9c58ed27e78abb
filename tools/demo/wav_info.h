// What a WAV recording holds, read from its header: enough to say how long it lasts and to
// compare it with the prompts that were played into it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace demo {

struct WavInfo {
    bool ok = false;
    std::string problem;          // why ok is false
    int format = 0;               // 1: PCM
    int channels = 0;
    long rate = 0;
    int bits = 0;
    std::uint64_t data_bytes = 0; // the data chunk's declared size, capped at what the file holds
    double seconds() const;
};

// Parses a RIFF/WAVE image: the fmt chunk and the data chunk, skipping any other chunk.
WavInfo parse_wav(std::string_view bytes);
WavInfo read_wav(const std::string& path);

// Size of a file in bytes, or -1 when it cannot be read.
long long file_size(const std::string& path);

}  // namespace demo
