// Reading WAV headers.
#include "wav_info.h"

#include <fstream>
#include <sstream>

namespace demo {

namespace {

std::uint32_t le32(std::string_view b, std::size_t at)
{
    return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
           static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

unsigned le16(std::string_view b, std::size_t at)
{
    return static_cast<unsigned>(static_cast<unsigned char>(b[at])) |
           static_cast<unsigned>(static_cast<unsigned char>(b[at + 1])) << 8;
}

WavInfo fail(const char* problem)
{
    WavInfo w;
    w.problem = problem;
    return w;
}

}  // namespace

double WavInfo::seconds() const
{
    const long bytes_per_second = rate * channels * (bits / 8);
    return bytes_per_second > 0 ? static_cast<double>(data_bytes) / static_cast<double>(bytes_per_second) : 0.0;
}

WavInfo parse_wav(std::string_view b)
{
    if (b.size() < 12 || b.substr(0, 4) != "RIFF" || b.substr(8, 4) != "WAVE") return fail("not a RIFF/WAVE file");
    WavInfo w;
    bool have_format = false;
    std::size_t at = 12;
    while (at + 8 <= b.size()) {
        const std::string_view id = b.substr(at, 4);
        const std::uint64_t size = le32(b, at + 4);
        const std::size_t body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > b.size()) return fail("short fmt chunk");
            w.format = static_cast<int>(le16(b, body));
            w.channels = static_cast<int>(le16(b, body + 2));
            w.rate = static_cast<long>(le32(b, body + 4));
            w.bits = static_cast<int>(le16(b, body + 14));
            have_format = true;
        } else if (id == "data") {
            if (!have_format) return fail("data chunk before the fmt chunk");
            const std::uint64_t held = b.size() - body;
            w.data_bytes = size < held ? size : held;
            w.ok = true;
            return w;
        }
        // Chunks are padded to an even size.
        const std::uint64_t next = body + size + (size & 1);
        if (next > b.size()) break;
        at = static_cast<std::size_t>(next);
    }
    return fail(have_format ? "no data chunk" : "no fmt chunk");
}

WavInfo read_wav(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return fail("cannot open the file");
    std::ostringstream all;
    all << in.rdbuf();
    return parse_wav(all.str());
}

long long file_size(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) return -1;
    return static_cast<long long>(in.tellg());
}

}  // namespace demo
