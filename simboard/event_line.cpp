// The board's event lines (see event_line.h).
#include "event_line.h"

#include <charconv>

namespace simboard {

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
    {"status", EventKind::status},     {"audio", EventKind::audio},       {"error", EventKind::error},
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
    case EventKind::play:
    case EventKind::audio: {
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

bool parse_stamped_event(std::string_view line, LineEvent& out)
{
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view stamp = take_word(line);
    long ms = -1;
    const auto read = std::from_chars(stamp.data(), stamp.data() + stamp.size(), ms);
    // Twelve digits are 31 years of milliseconds; a longer stamp is not the board's.
    if (stamp.empty() || stamp.size() > 12 || read.ec != std::errc() || read.ptr != stamp.data() + stamp.size() || ms < 0 ||
        line.empty())
        return false;
    out = parse_event(ms, line);
    return true;
}

}  // namespace simboard
