// The controller's language: one text line per command, words separated by single
// spaces, a path always last (it may hold spaces). Parsing only; the board acts.
#pragma once

#include <string>
#include <string_view>

namespace simboard {

enum class CommandKind { Ring, Dtmf, Hangup, Fail, Record, Status };

// The program operations a `fail` command can make fail once.
enum class FailOp { Sethook, Wtring, Play, Collect, Dial };
constexpr int kFailOpCount = 5;
const char* fail_op_name(FailOp op);

struct ControlCommand {
    CommandKind kind = CommandKind::Status;
    int line = 0;          // 1-4
    int count = 0;         // ring: rings, 1-999
    std::string keys;      // dtmf: 0-9 * #
    FailOp op = FailOp::Play;
    std::string path;      // record
};

struct ParsedControl {
    bool ok = false;
    ControlCommand command;
    std::string error;     // why the line was not understood
};

// Longest control line the board reads; longer ones are refused whole.
constexpr std::size_t kMaxControlLine = 1024;
constexpr std::size_t kMaxDtmfKeys = 64;

// The line without its line end (a trailing CR is tolerated).
ParsedControl parse_control_line(std::string_view line);

}  // namespace simboard
