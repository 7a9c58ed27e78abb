// How zelcfg shows a field's bytes on one line, and how it reads them back from a
// command line: printable ASCII stands for itself, a backslash is written "\\", and
// every other byte is written "\xNN".
#pragma once

#include <string>
#include <string_view>

namespace zelcfg {

std::string escape_bytes(std::string_view raw);

// Turns an escaped text back into bytes. On a malformed escape returns false and
// describes the problem; `bytes` is then unspecified.
bool unescape_bytes(std::string_view text, std::string& bytes, std::string& problem);

}  // namespace zelcfg
