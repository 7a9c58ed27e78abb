// zelgate's command line (see options.h).
#include "options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace zelgate {

const char kUsage[] =
    "usage: zelgate [--listen ADDR:PORT] [--board PORT] [--transfer-host HOST[:PORT]]\n"
    "               [--allow CIDR]... [--register SIP-URI --auth-user USER --password-file FILE]\n"
    "               [--rings N] [--answer-limit SECONDS] [--silence-limit SECONDS]\n";

namespace {

bool number(std::string_view s, int lo, int hi, int& out) {
    int v = 0;
    auto r = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size() || v < lo || v > hi) return false;
    out = v;
    return true;
}

bool host_port(std::string_view s) {
    // ADDR:PORT with a port; IPv6 in brackets.
    std::size_t colon = s.rfind(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    int port = 0;
    return number(s.substr(colon + 1), 1, 65535, port);
}

}  // namespace

bool parse_options(int argc, const char* const* argv, const char* env_board_port, Options& out, std::string& error) {
    out = Options{};
    if (env_board_port && *env_board_port) {
        int p = 0;
        if (number(env_board_port, 1, 65535, p)) out.board_port = p;
    }
    for (int i = 1; i < argc; ++i) {
        std::string_view opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            out.help = true;
            continue;
        }
        if (i + 1 >= argc) {
            error = "missing value for " + std::string(opt);
            return false;
        }
        std::string_view value = argv[++i];
        bool ok = true;
        if (opt == "--listen") ok = host_port(value), out.listen = std::string(value);
        else if (opt == "--board") ok = number(value, 1, 65535, out.board_port);
        else if (opt == "--transfer-host") ok = !value.empty() && value.find_first_of(" <>;\"") == std::string_view::npos,
                                            out.transfer_host = std::string(value);
        else if (opt == "--allow") ok = out.allow.add(value);
        else if (opt == "--register") ok = value.rfind("sip:", 0) == 0, out.register_uri = std::string(value);
        else if (opt == "--auth-user") ok = !value.empty(), out.auth_user = std::string(value);
        else if (opt == "--password-file") ok = !value.empty(), out.password_file = std::string(value);
        else if (opt == "--rings") ok = number(value, 1, 999, out.rings);
        else if (opt == "--answer-limit") ok = number(value, 1, 3600, out.answer_limit_s);
        else if (opt == "--silence-limit") ok = number(value, 1, 3600, out.silence_limit_s);
        else {
            error = "unknown option " + std::string(opt);
            return false;
        }
        if (!ok) {
            error = "bad value for " + std::string(opt) + ": " + std::string(value);
            return false;
        }
    }
    if (!out.register_uri.empty() && (out.auth_user.empty() || out.password_file.empty())) {
        error = "--register needs --auth-user and --password-file";
        return false;
    }
    return true;
}

}  // namespace zelgate
