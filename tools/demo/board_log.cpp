// Parsing the board's events and the demo's run log.
#include "board_log.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace demo {

std::string caller_text(EventKind kind, int line, std::string_view argument)
{
    const char* name = kind == EventKind::ring ? "ring" : kind == EventKind::keys ? "keys" : "hangup";
    std::string out = "caller ";
    out += name;
    out += ' ';
    out += std::to_string(line);
    if (kind != EventKind::hangup) {
        out += ' ';
        out += argument;
    }
    return out;
}

std::string log_line(long ms, std::string_view text)
{
    std::string out = std::to_string(ms);
    out += ' ';
    out += text;
    return out;
}

std::string clock_line(const ClockPair& clock)
{
    char text[64];
    std::snprintf(text, sizeof text, "# clock %ld %lld", clock.board_ms, static_cast<long long>(clock.wall_ms));
    return text;
}

RunLog parse_log(std::string_view text)
{
    RunLog log;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        text = nl == std::string_view::npos ? std::string_view() : text.substr(nl + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.rfind("# clock ", 0) == 0) {
            long long board = 0, wall = 0;
            const std::string copy(line);
            if (std::sscanf(copy.c_str(), "# clock %lld %lld", &board, &wall) == 2) {
                log.clock = {static_cast<long>(board), wall, true};
            }
            continue;
        }
        LineEvent e;
        if (simboard::parse_stamped_event(line, e)) log.events.push_back(e);
    }
    return log;
}

bool read_log(const std::string& path, RunLog* log)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    *log = parse_log(all.str());
    return true;
}

std::vector<LineEvent> events_of_line(const std::vector<LineEvent>& events, int line)
{
    std::vector<LineEvent> out;
    for (const LineEvent& e : events) {
        if (e.line == line) out.push_back(e);
    }
    return out;
}

}  // namespace demo
