// Flash-and-dial to transfer digits (see refer_target.h).
#include "refer_target.h"

namespace zelgate {

std::optional<std::string> refer_digits(std::string_view dial) {
    if (dial.empty() || dial.front() != '&') return std::nullopt;
    std::string digits;
    for (char c : dial) {
        if ((c >= '0' && c <= '9') || c == '*' || c == '#') digits += c;
        else if (c != '&' && c != ',') return std::nullopt;
    }
    if (digits.empty() || digits.size() > 32) return std::nullopt;
    return digits;
}

}  // namespace zelgate
