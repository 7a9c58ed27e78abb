// The board's settings from the environment (see board_config.h).
#include "board_config.h"

#include <cmath>
#include <cstdlib>

namespace simboard {

namespace {
// Beyond these a scaled duration is either below the clock's grain or absurdly long.
constexpr double kMinSpeed = 0.01;
constexpr double kMaxSpeed = 1000.0;
}  // namespace

int parse_port(const char* text, int fallback) {
    if (!text || !*text) return fallback;
    char* end = nullptr;
    long v = std::strtol(text, &end, 10);
    if (*end != '\0' || v < 1 || v > 65535) return fallback;
    return static_cast<int>(v);
}

double parse_speed(const char* text) {
    if (!text || !*text) return 1.0;
    char* end = nullptr;
    double v = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(v) || v < kMinSpeed || v > kMaxSpeed) return 1.0;
    return v;
}

std::vector<std::string> parse_device_list(std::string_view text) {
    std::vector<std::string> out;
    while (!text.empty()) {
        std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        if (!item.empty()) out.emplace_back(item);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return out;
}

BoardConfig read_board_config(const EnvLookup& env) {
    BoardConfig c;
    c.port = parse_port(env("SIMBOARD_PORT"), kDefaultPort);
    c.speed = parse_speed(env("SIMBOARD_SPEED"));
    const char* fail = env("SIMBOARD_FAIL");
    if (fail) c.fail_devices = parse_device_list(fail);
    return c;
}

}  // namespace simboard
