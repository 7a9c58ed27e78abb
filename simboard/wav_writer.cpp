// WAV recording (see wav_writer.h).
#include "wav_writer.h"

#include <algorithm>
#include <vector>

namespace simboard {

namespace {

// A RIFF size field holds 32 bits; beyond that the recording stops growing.
constexpr std::uint64_t kMaxSamples = (0xFFFFFFFFull - 36) / 2;

void put32(unsigned char* p, std::uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

void put16(unsigned char* p, std::uint16_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

}  // namespace

WavWriter::~WavWriter() { finish(); }

bool WavWriter::open(const std::string& path, std::uint32_t rate) {
    finish();
    // Binary mode: the Windows runtime would otherwise turn sample bytes 0x0A into CR LF.
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) return false;
    rate_ = rate;
    samples_ = 0;
    ok_ = true;
    return write_header();
}

bool WavWriter::set_rate(std::uint32_t rate) {
    if (!file_ || samples_ != 0) return false;
    rate_ = rate;
    return write_header();
}

bool WavWriter::append(const std::int16_t* samples, std::size_t count) {
    if (!file_) return false;
    if (samples_ + count > kMaxSamples) count = static_cast<std::size_t>(kMaxSamples - samples_);
    if (count == 0) return ok_;
    std::vector<unsigned char> bytes(count * 2);
    for (std::size_t i = 0; i < count; ++i) put16(&bytes[2 * i], static_cast<std::uint16_t>(samples[i]));
    if (std::fseek(file_, static_cast<long>(44 + samples_ * 2), SEEK_SET) != 0 ||
        std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        ok_ = false;
    samples_ += count;
    return write_header() && ok_;
}

bool WavWriter::write_header() {
    unsigned char h[44];
    std::uint32_t data = static_cast<std::uint32_t>(samples_ * 2);
    std::copy_n("RIFF", 4, h);
    put32(h + 4, 36 + data);
    std::copy_n("WAVEfmt ", 8, h + 8);
    put32(h + 16, 16);             // fmt chunk size
    put16(h + 20, 1);              // PCM
    put16(h + 22, 1);              // mono
    put32(h + 24, rate_);
    put32(h + 28, rate_ * 2);      // bytes per second
    put16(h + 32, 2);              // block align
    put16(h + 34, 16);             // bits per sample
    std::copy_n("data", 4, h + 36);
    put32(h + 40, data);
    if (std::fseek(file_, 0, SEEK_SET) != 0 || std::fwrite(h, 1, sizeof h, file_) != sizeof h ||
        std::fflush(file_) != 0)
        ok_ = false;
    return ok_;
}

bool WavWriter::finish() {
    if (!file_) return true;
    bool ok = write_header();
    if (std::fclose(file_) != 0) ok = false;
    file_ = nullptr;
    return ok;
}

}  // namespace simboard
