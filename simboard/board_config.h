// The board's settings, taken from the environment when the board loads:
// SIMBOARD_PORT, SIMBOARD_SPEED and SIMBOARD_FAIL.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace simboard {

constexpr int kDefaultPort = 7311;

struct BoardConfig {
    int port = kDefaultPort;
    double speed = 1.0;
    std::vector<std::string> fail_devices;  // device names whose open is refused
};

// A lookup of one environment variable; nullptr when unset.
using EnvLookup = std::function<const char*(const char*)>;

// Reads the three variables; a value that does not parse keeps the default.
BoardConfig read_board_config(const EnvLookup& env);

// Pieces of the above, exposed for their own tests.
int parse_port(const char* text, int fallback);
double parse_speed(const char* text);
std::vector<std::string> parse_device_list(std::string_view text);

}  // namespace simboard
