// The one-line escaped form of field bytes, both directions.
#include "escape.h"

#include <cstdio>

namespace zelcfg {

namespace {

int hex_value(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string escape_bytes(std::string_view raw)
{
    std::string out;
    out.reserve(raw.size());
    for (char ch : raw) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c == '\\') {
            out += "\\\\";
        } else if (c >= 0x20 && c <= 0x7E) {
            out.push_back(ch);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02x", static_cast<unsigned>(c));
            out += hex;
        }
    }
    return out;
}

bool unescape_bytes(std::string_view text, std::string& bytes, std::string& problem)
{
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes.push_back(text[i]);
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == '\\') {
            bytes.push_back('\\');
            ++i;
            continue;
        }
        if (i + 1 < text.size() && text[i + 1] == 'x') {
            const int hi = i + 2 < text.size() ? hex_value(text[i + 2]) : -1;
            const int lo = i + 3 < text.size() ? hex_value(text[i + 3]) : -1;
            if (hi >= 0 && lo >= 0) {
                bytes.push_back(static_cast<char>(hi * 16 + lo));
                i += 3;
                continue;
            }
            problem = "\\x at position " + std::to_string(i) + " needs two hex digits";
            return false;
        }
        problem = "backslash at position " + std::to_string(i) +
                  " starts no escape (write \\\\ for a backslash, \\xNN for a byte)";
        return false;
    }
    return true;
}

}  // namespace zelcfg
