// The soundness check of a record file's bytes: its size, its 195 CR LF line ends and
// no other CR, LF or 0x1A, a NUL inside every slot, and the labels in place. Each
// finding names the byte offset in the file where the problem is.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zelcfg {

struct Finding {
    std::size_t offset = 0;   // byte offset in the file
    std::string text;
    bool structural = false;  // size, line ends or stray bytes, as opposed to slot contents
};

struct CheckReport {
    std::vector<Finding> findings;   // in the order found, at most kMaxFindings
    std::size_t omitted = 0;         // findings beyond the cap
    bool structure_sound = true;     // no structural finding at all (counting the omitted ones)

    bool sound() const { return findings.empty(); }
};

// A badly damaged file (say, all 0x1A) would otherwise give one finding per byte.
inline constexpr std::size_t kMaxFindings = 50;

CheckReport check_disk_bytes(std::string_view disk);

}  // namespace zelcfg
