// The controller's language (see control_line.h).
#include "control_line.h"

#include <vector>

namespace simboard {

namespace {

const char* const kFailOpNames[kFailOpCount] = {"sethook", "wtring", "play", "collect", "dial"};

ParsedControl refuse(std::string why) {
    ParsedControl p;
    p.error = std::move(why);
    return p;
}

// Splits into at most `max_words` words; the last word takes the rest of the line.
bool split(std::string_view line, std::size_t max_words, std::vector<std::string_view>& words) {
    while (!line.empty()) {
        if (words.size() + 1 == max_words) {
            words.push_back(line);
            return true;
        }
        std::size_t space = line.find(' ');
        std::string_view word = line.substr(0, space);
        if (word.empty()) return false;  // leading or doubled space
        words.push_back(word);
        if (space == std::string_view::npos) return true;
        line.remove_prefix(space + 1);
        if (line.empty()) return false;  // trailing space
    }
    return true;
}

bool read_line_number(std::string_view w, int* line) {
    if (w.size() != 1 || w[0] < '1' || w[0] > '4') return false;
    *line = w[0] - '0';
    return true;
}

bool read_count(std::string_view w, int* count) {
    if (w.empty() || w.size() > 3) return false;
    int v = 0;
    for (char c : w) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < 1) return false;
    *count = v;
    return true;
}

bool is_key(char c) { return (c >= '0' && c <= '9') || c == '*' || c == '#'; }

}  // namespace

const char* fail_op_name(FailOp op) { return kFailOpNames[static_cast<int>(op)]; }

ParsedControl parse_control_line(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() > kMaxControlLine) return refuse("line too long");
    if (line.empty()) return refuse("empty line");

    std::string_view verb = line.substr(0, line.find(' '));
    bool is_record = verb == "record";
    std::vector<std::string_view> w;
    if (!split(line, is_record ? 3 : 8, w)) return refuse("words must be separated by single spaces");

    ParsedControl p;
    ControlCommand& c = p.command;
    if (verb == "ring") {
        if (w.size() != 3) return refuse("usage: ring <line> <count>");
        if (!read_line_number(w[1], &c.line)) return refuse("line must be 1 to 4");
        if (!read_count(w[2], &c.count)) return refuse("ring count must be 1 to 999");
        c.kind = CommandKind::Ring;
    } else if (verb == "dtmf") {
        if (w.size() != 3) return refuse("usage: dtmf <line> <keys>");
        if (!read_line_number(w[1], &c.line)) return refuse("line must be 1 to 4");
        if (w[2].size() > kMaxDtmfKeys) return refuse("too many keys");
        for (char k : w[2])
            if (!is_key(k)) return refuse("keys are 0-9, * and #");
        c.keys = std::string(w[2]);
        c.kind = CommandKind::Dtmf;
    } else if (verb == "hangup") {
        if (w.size() != 2) return refuse("usage: hangup <line>");
        if (!read_line_number(w[1], &c.line)) return refuse("line must be 1 to 4");
        c.kind = CommandKind::Hangup;
    } else if (verb == "fail") {
        if (w.size() != 3) return refuse("usage: fail <op> <line>");
        bool known = false;
        for (int i = 0; i < kFailOpCount; ++i) {
            if (w[1] == kFailOpNames[i]) {
                c.op = static_cast<FailOp>(i);
                known = true;
            }
        }
        if (!known) return refuse("op must be sethook, wtring, play, collect or dial");
        if (!read_line_number(w[2], &c.line)) return refuse("line must be 1 to 4");
        c.kind = CommandKind::Fail;
    } else if (is_record) {
        if (w.size() != 3) return refuse("usage: record <line> <path>");
        if (!read_line_number(w[1], &c.line)) return refuse("line must be 1 to 4");
        c.path = std::string(w[2]);
        c.kind = CommandKind::Record;
    } else if (verb == "status") {
        if (w.size() != 1) return refuse("usage: status");
        c.kind = CommandKind::Status;
    } else {
        return refuse("unknown command");
    }
    p.ok = true;
    return p;
}

}  // namespace simboard
