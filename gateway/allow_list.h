// Who may call: a list of CIDR blocks (IPv4 "10.0.0.0/8", IPv6 "fd00::/8", a bare address
// meaning the one host). Empty means loopback only (127.0.0.0/8 and ::1).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zelgate {

class AllowList {
public:
    // False (nothing added) when the text is not an address with an optional prefix length
    // that fits the family.
    bool add(std::string_view cidr);
    // Whether `address` (dotted IPv4 or IPv6 text; IPv4-mapped IPv6 counts as IPv4) may call.
    bool allows(std::string_view address) const;

private:
    struct Block {
        bool v6;
        std::array<std::uint8_t, 16> bytes;
        int prefix;
    };
    std::vector<Block> blocks_;
};

}  // namespace zelgate
