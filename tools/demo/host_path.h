// Paths as the two sides of the demo name them. Vornline and its board run under Wine and
// name files the Windows way (Z:\work\...), while the demo's own programs may run natively
// (/work/...) or under Wine too. Wine maps drive Z: onto the root of the Linux file system.
#pragma once

#include <string>
#include <string_view>

namespace demo {

// The name under which a program running under Wine finds the file that this program
// calls `own`. Already-Windows names (a drive letter) are returned as they are.
std::string board_path(std::string_view own);

// The name under which this program finds a file that a program under Wine calls
// `board`. The inverse of board_path for names on drive Z:.
std::string own_path(std::string_view board);

// `dir` and `name` joined with the separator that `dir` already uses ('/' unless it
// holds only backslashes).
std::string join_path(std::string_view dir, std::string_view name);

// The last component of a path of either kind, without its extension: the prompt's name.
std::string stem_of(std::string_view path);

}  // namespace demo
