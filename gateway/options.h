// zelgate's command line.
#pragma once

#include "allow_list.h"

#include <string>
#include <vector>

namespace zelgate {

struct Options {
    std::string listen = "127.0.0.1:5060";
    int board_port = 7311;
    std::string transfer_host;   // empty: the registrar's domain, else the INVITE's source
    AllowList allow;
    std::string register_uri, auth_user, password_file;
    int rings = 999;
    int answer_limit_s = 60;    // a call the board has not answered by then: 480
    int silence_limit_s = 60;   // no RTP from the caller for this long: both sides hung up
    bool help = false;
};

// Fills `out` from argv; false with `error` set on an unknown option, a missing or bad
// value, or a registration without its user and password file. `env_board_port` is
// $SIMBOARD_PORT (nullptr when unset).
bool parse_options(int argc, const char* const* argv, const char* env_board_port, Options& out, std::string& error);

extern const char kUsage[];

}  // namespace zelgate
