// Translation between this program's file names and the names Wine programs use.
#include "host_path.h"

namespace demo {

namespace {

bool has_drive(std::string_view p)
{
    return p.size() >= 2 && p[1] == ':' &&
           ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

}  // namespace

std::string board_path(std::string_view own)
{
    if (has_drive(own)) return std::string(own);
#ifdef _WIN32
    // Under Wine a name without a drive is already on the current drive; make it explicit
    // only when it is absolute in the Linux way.
    if (own.empty() || own.front() != '/') return std::string(own);
#endif
    std::string out = "Z:";
    for (char c : own) out += (c == '/') ? '\\' : c;
    return out;
}

std::string own_path(std::string_view board)
{
#ifdef _WIN32
    return std::string(board);
#else
    if (board.size() >= 2 && (board[0] == 'Z' || board[0] == 'z') && board[1] == ':') board.remove_prefix(2);
    std::string out;
    for (char c : board) out += (c == '\\') ? '/' : c;
    return out;
#endif
}

std::string join_path(std::string_view dir, std::string_view name)
{
    std::string out(dir);
    if (out.empty()) return std::string(name);
    const bool windows = out.find('\\') != std::string::npos && out.find('/') == std::string::npos;
    if (out.back() != '/' && out.back() != '\\') out += windows ? '\\' : '/';
    out += name;
    return out;
}

std::string stem_of(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    if (slash != std::string_view::npos) path.remove_prefix(slash + 1);
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot > 0) path = path.substr(0, dot);
    return std::string(path);
}

}  // namespace demo
