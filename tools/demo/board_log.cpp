// Parsing the board's events and the demo's run log.
#include "board_log.h"

#include <cstdio>
#include <fstream>
#include <sstream>

namespace demo {

namespace {

struct KindName {
    const char* name;
    EventKind kind;
};

constexpr KindName kBoardKinds[] = {
    {"open", EventKind::open},         {"openfail", EventKind::openfail}, {"close", EventKind::close},
    {"hook", EventKind::hook},         {"wait", EventKind::wait},         {"answer", EventKind::answer},
    {"play", EventKind::play},         {"playend", EventKind::playend},   {"playfail", EventKind::playfail},
    {"collect", EventKind::collect},   {"collectend", EventKind::collectend},
    {"clear", EventKind::clear},       {"dial", EventKind::dial},         {"dialend", EventKind::dialend},
    {"status", EventKind::status},     {"error", EventKind::error},
};

constexpr KindName kCallerKinds[] = {
    {"ring", EventKind::ring},
    {"keys", EventKind::keys},
    {"hangup", EventKind::hangup},
};

// Splits off the first word; the rest keeps its inner spaces (paths may hold them).
std::string_view take_word(std::string_view& rest)
{
    const std::size_t space = rest.find(' ');
    std::string_view word = rest.substr(0, space);
    rest = space == std::string_view::npos ? std::string_view() : rest.substr(space + 1);
    return word;
}

bool read_number(std::string_view word, long* out)
{
    if (word.empty() || word.size() > 9) return false;
    long v = 0;
    for (char c : word) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    *out = v;
    return true;
}

bool read_line_number(std::string_view word, int* line)
{
    long v = 0;
    if (!read_number(word, &v) || v < 1 || v > 4) return false;
    *line = static_cast<int>(v);
    return true;
}

LineEvent other(long ms, std::string_view text)
{
    LineEvent e;
    e.ms = ms;
    e.text = std::string(text);
    return e;
}

// The part of an event after its line number, by kind.
bool fill_line_event(LineEvent& e, std::string_view rest)
{
    long n = 0;
    switch (e.kind) {
    case EventKind::hook:
        if (rest == "on") e.number = 0;
        else if (rest == "off") e.number = 1;
        else return false;
        return true;
    case EventKind::wait:
    case EventKind::ring:
    case EventKind::playend:
        if (!read_number(rest, &n)) return false;
        e.number = n;
        return true;
    case EventKind::play: {
        if (!read_number(take_word(rest), &n) || rest.empty()) return false;
        e.number = n;
        e.text = std::string(rest);
        return true;
    }
    case EventKind::collectend:
        // No digits: the line ends after the reason.
        if (!read_number(take_word(rest), &n)) return false;
        e.number = n;
        e.text = std::string(rest);
        return true;
    case EventKind::playfail:
    case EventKind::dial:
    case EventKind::keys:
    case EventKind::status:
        if (rest.empty()) return false;
        e.text = std::string(rest);
        return true;
    case EventKind::answer:
    case EventKind::collect:
    case EventKind::clear:
    case EventKind::dialend:
    case EventKind::hangup:
        return rest.empty();
    default:
        return false;
    }
}

}  // namespace

LineEvent parse_event(long ms, std::string_view text)
{
    std::string_view rest = text;
    std::string_view word = take_word(rest);
    LineEvent e;
    e.ms = ms;
    bool caller = false;
    if (word == "caller") {
        caller = true;
        word = take_word(rest);
    }
    bool known = false;
    if (caller) {
        for (const KindName& k : kCallerKinds) {
            if (word == k.name) {
                e.kind = k.kind;
                known = true;
            }
        }
    } else {
        for (const KindName& k : kBoardKinds) {
            if (word == k.name) {
                e.kind = k.kind;
                known = true;
            }
        }
    }
    if (!known) return other(ms, text);
    switch (e.kind) {
    case EventKind::open:
    case EventKind::openfail:
    case EventKind::close:
        if (rest.empty()) return other(ms, text);
        e.text = std::string(rest);
        return e;
    case EventKind::error:
        e.text = std::string(rest);
        return e;
    default:
        break;
    }
    if (!read_line_number(take_word(rest), &e.line) || !fill_line_event(e, rest)) return other(ms, text);
    return e;
}

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
        std::string_view rest = line;
        long ms = 0;
        if (!read_number(take_word(rest), &ms) || rest.empty()) continue;
        log.events.push_back(parse_event(ms, rest));
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
