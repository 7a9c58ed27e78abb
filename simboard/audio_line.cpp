// The board's audio lines (see audio_line.h).
#include "audio_line.h"

#include <cstdio>

namespace simboard {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    if (c >= 'A' && c <= 'Z') return c - 'A';
    if (c >= 'a' && c <= 'z') return c - 'a' + 26;
    if (c >= '0' && c <= '9') return c - '0' + 52;
    if (c == '+') return 62;
    if (c == '/') return 63;
    return -1;
}

}  // namespace

std::string format_audio_line(int line, int rate, const std::int16_t* samples, std::size_t count) {
    char head[48];
    std::snprintf(head, sizeof head, "audio %d %d ", line, rate);
    std::string out = head;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(count * 2);
    for (std::size_t i = 0; i < count; ++i) {
        auto v = static_cast<std::uint16_t>(samples[i]);
        bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    out.reserve(out.size() + (bytes.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        std::uint32_t n = static_cast<std::uint32_t>(bytes[i]) << 16;
        const std::size_t left = bytes.size() - i;
        if (left > 1) n |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
        if (left > 2) n |= bytes[i + 2];
        out += kAlphabet[(n >> 18) & 63];
        out += kAlphabet[(n >> 12) & 63];
        out += left > 1 ? kAlphabet[(n >> 6) & 63] : '=';
        out += left > 2 ? kAlphabet[n & 63] : '=';
    }
    return out;
}

bool decode_audio_samples(std::string_view base64, std::vector<std::int16_t>& out) {
    out.clear();
    if (base64.size() % 4 != 0) return false;
    std::vector<std::uint8_t> bytes;
    bytes.reserve(base64.size() / 4 * 3);
    for (std::size_t i = 0; i < base64.size(); i += 4) {
        const bool last = i + 4 == base64.size();
        int pad = 0;
        std::uint32_t n = 0;
        for (int k = 0; k < 4; ++k) {
            char c = base64[i + k];
            int v;
            if (c == '=') {
                // Padding only at the very end, and only in the last two places.
                if (!last || k < 2) return false;
                ++pad;
                v = 0;
            } else {
                if (pad) return false;
                v = sextet(c);
                if (v < 0) return false;
            }
            n = (n << 6) | static_cast<std::uint32_t>(v);
        }
        bytes.push_back(static_cast<std::uint8_t>(n >> 16));
        if (pad < 2) bytes.push_back(static_cast<std::uint8_t>((n >> 8) & 0xFF));
        if (pad < 1) bytes.push_back(static_cast<std::uint8_t>(n & 0xFF));
    }
    if (bytes.size() % 2 != 0) return false;
    out.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
    return true;
}

}  // namespace simboard
