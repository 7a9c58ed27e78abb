// Who may call (see allow_list.h).
#include "allow_list.h"

#include <arpa/inet.h>

#include <charconv>
#include <cstring>

namespace zelgate {

namespace {

// Parses an address into bytes; v4 addresses fill the first four bytes.
bool parse_address(std::string_view text, bool& v6, std::array<std::uint8_t, 16>& bytes) {
    if (text.empty() || text.size() > 45) return false;
    char buf[64];
    std::memcpy(buf, text.data(), text.size());
    buf[text.size()] = '\0';
    bytes.fill(0);
    if (inet_pton(AF_INET, buf, bytes.data()) == 1) {
        v6 = false;
        return true;
    }
    if (inet_pton(AF_INET6, buf, bytes.data()) == 1) {
        static const std::uint8_t mapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
        if (std::memcmp(bytes.data(), mapped, 12) == 0) {
            std::memmove(bytes.data(), bytes.data() + 12, 4);
            std::memset(bytes.data() + 4, 0, 12);
            v6 = false;
        } else {
            v6 = true;
        }
        return true;
    }
    return false;
}

bool prefix_equal(const std::array<std::uint8_t, 16>& a, const std::array<std::uint8_t, 16>& b, int bits) {
    int whole = bits / 8;
    if (std::memcmp(a.data(), b.data(), static_cast<std::size_t>(whole)) != 0) return false;
    int rest = bits % 8;
    if (rest == 0) return true;
    auto mask = static_cast<std::uint8_t>(0xFF << (8 - rest));
    return (a[whole] & mask) == (b[whole] & mask);
}

}  // namespace

bool AllowList::add(std::string_view cidr) {
    std::size_t slash = cidr.find('/');
    Block b{};
    if (!parse_address(cidr.substr(0, slash), b.v6, b.bytes)) return false;
    const int max = b.v6 ? 128 : 32;
    b.prefix = max;
    if (slash != std::string_view::npos) {
        std::string_view p = cidr.substr(slash + 1);
        int n = -1;
        auto r = std::from_chars(p.data(), p.data() + p.size(), n);
        if (p.empty() || r.ec != std::errc() || r.ptr != p.data() + p.size() || n < 0 || n > max) return false;
        b.prefix = n;
    }
    blocks_.push_back(b);
    return true;
}

bool AllowList::allows(std::string_view address) const {
    bool v6 = false;
    std::array<std::uint8_t, 16> bytes{};
    if (!parse_address(address, v6, bytes)) return false;
    if (blocks_.empty()) {
        if (!v6) return bytes[0] == 127;
        std::array<std::uint8_t, 16> one{};
        one[15] = 1;
        return bytes == one;
    }
    for (const Block& b : blocks_)
        if (b.v6 == v6 && prefix_equal(b.bytes, bytes, b.prefix)) return true;
    return false;
}

}  // namespace zelgate
