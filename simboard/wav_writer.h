// WAV recording: a 16-bit mono PCM file written as samples arrive. The header is brought
// up to date after every append, so the file is a valid WAV at every moment between
// appends, even when the process ends before finish().
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace simboard {

class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates (truncates) the file and writes a header for zero samples at `rate`.
    bool open(const std::string& path, std::uint32_t rate);
    bool is_open() const { return file_ != nullptr; }

    // The rate may change only while no sample has been written.
    bool set_rate(std::uint32_t rate);
    std::uint32_t rate() const { return rate_; }

    bool append(const std::int16_t* samples, std::size_t count);
    std::uint64_t samples() const { return samples_; }

    // Final header, close. Safe to call twice.
    bool finish();

private:
    bool write_header();

    std::FILE* file_ = nullptr;
    std::uint32_t rate_ = 8000;
    std::uint64_t samples_ = 0;
    bool ok_ = true;
};

}  // namespace simboard
