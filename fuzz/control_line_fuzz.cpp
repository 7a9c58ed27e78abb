// The stand-in board's control lines, and the board that carries them out. Each input
// line is either a controller line (parsed, then applied as the control connection does)
// or, after '@', one program-side library call with fuzzed arguments, so that callers
// and the program meet on the board in any order. The board runs a million times faster
// than real time, so every wait, play, collection and dial ends at once.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "board.h"
#include "board_clock.h"
#include "control_line.h"
#include "fuzz_check.h"
#include "scratch.h"
#include "term_table.h"

namespace {

class Events : public simboard::EventSink {
public:
    // Every event starts with one of the protocol's words (the hub, not the board, keeps
    // control characters of program-given names off the wire).
    void emit(const std::string& text) override
    {
        static const char* const kWords[] = {"open", "openfail", "close", "hook", "wait", "answer",
                                             "play", "playend", "playfail", "collect", "collectend",
                                             "clear", "dial", "dialend", "status"};
        const std::string word = text.substr(0, text.find(' '));
        bool known = false;
        for (const char* w : kWords) known = known || word == w;
        FUZZ_CHECK(known && word.size() < text.size(), "event '%s'", text.c_str());
    }
};

// The canonical text of a parsed command, which must parse back to the same command.
std::string canonical(const simboard::ControlCommand& c)
{
    using simboard::CommandKind;
    const std::string line = std::to_string(c.line);
    switch (c.kind) {
    case CommandKind::Ring: return "ring " + line + " " + std::to_string(c.count);
    case CommandKind::Dtmf: return "dtmf " + line + " " + c.keys;
    case CommandKind::Hangup: return "hangup " + line;
    case CommandKind::Fail: return std::string("fail ") + simboard::fail_op_name(c.op) + " " + line;
    case CommandKind::Record: return "record " + line + " " + c.path;
    case CommandKind::Status: return "status";
    }
    return {};
}

bool same(const simboard::ControlCommand& a, const simboard::ControlCommand& b)
{
    return a.kind == b.kind && a.line == b.line && a.count == b.count && a.keys == b.keys && a.op == b.op &&
           a.path == b.path;
}

void check_parsed(std::string_view line, const simboard::ParsedControl& p)
{
    FUZZ_CHECK(p.ok == p.error.empty(), "ok %d with error '%s'", p.ok, p.error.c_str());
    if (!p.ok) return;
    const simboard::ControlCommand& c = p.command;
    FUZZ_CHECK(line.size() <= simboard::kMaxControlLine + 1, "a %zu-byte line accepted", line.size());
    if (c.kind != simboard::CommandKind::Status) FUZZ_CHECK(c.line >= 1 && c.line <= 4, "line %d", c.line);
    if (c.kind == simboard::CommandKind::Ring) FUZZ_CHECK(c.count >= 1 && c.count <= 999, "count %d", c.count);
    if (c.kind == simboard::CommandKind::Dtmf) {
        FUZZ_CHECK(!c.keys.empty() && c.keys.size() <= simboard::kMaxDtmfKeys, "%zu keys", c.keys.size());
        for (char k : c.keys) FUZZ_CHECK(std::strchr("0123456789*#", k) != nullptr && k != 0, "key %02x", k);
    }
    // Sent with its CR LF line end: a path may itself end in CR, which a bare line would lose.
    const simboard::ParsedControl again = simboard::parse_control_line(canonical(c) + "\r");
    FUZZ_CHECK(again.ok && same(again.command, c), "'%s' does not parse back", canonical(c).c_str());
}

struct Program {
    simboard::Board& board;
    FuzzedDataProvider& in;
    std::vector<int> handles;

    int handle()
    {
        if (handles.empty() || in.ConsumeIntegralInRange(0, 9) == 0) return in.ConsumeIntegralInRange(-1, 12);
        return handles[in.ConsumeIntegralInRange<std::size_t>(0, handles.size() - 1)];
    }

    // A table the board may read in full: 16 entries, the last one ending it.
    std::vector<VlTermEntry> table()
    {
        std::vector<VlTermEntry> t(simboard::kMaxTermEntries);
        const std::size_t used = in.ConsumeIntegralInRange<std::size_t>(1, t.size());
        for (std::size_t i = 0; i < used; ++i) {
            t[i].kind = in.ConsumeBool() ? VL_ENTRY_CHAIN : VL_ENTRY_LAST;
            t[i].condition = in.PickValueInArray<std::uint16_t>({1, 4, 6, 6, 2});
            t[i].value = in.ConsumeIntegral<std::uint16_t>();
            t[i].flags = in.ConsumeIntegral<std::uint16_t>();
        }
        t[used - 1].kind = VL_ENTRY_LAST;
        return t;
    }

    void call(std::string_view what)
    {
        static const std::string vox = fuzzscratch::path("voice.vox");
        const char op = what.empty() ? 'o' : what[0];
        const std::string rest(what.substr(what.empty() ? 0 : 1));
        switch (op) {
        case 'o': {  // open a device by a name that is mostly right
            static const char* const kNames[] = {"dxxxB1", "dxxxB1C1", "dxxxB1C2", "dxxxB1C3", "dxxxB1C4"};
            const std::string name = in.ConsumeBool() ? kNames[in.ConsumeIntegralInRange(0, 4)] : rest;
            const int h = board.open(name.c_str(), 0);
            if (h > 0) handles.push_back(h);
            break;
        }
        case 'c': board.close(handle()); break;
        case 'h': board.sethook(handle(), in.ConsumeIntegralInRange(-1, 2), 0); break;
        case 'w': board.wtring(handle(), in.ConsumeIntegralInRange(-2, 5), in.ConsumeIntegralInRange(0, 1),
                               in.ConsumeIntegralInRange(0, 3)); break;
        case 'v': fuzzscratch::write(vox, rest); break;  // the voice file's bytes
        case 'p': {
            const std::vector<VlTermEntry> t = table();
            VlPlayFormat format{static_cast<std::uint16_t>(in.ConsumeIntegralInRange(0, 2)),
                                static_cast<std::uint16_t>(in.ConsumeIntegralInRange(0, 2)),
                                in.PickValueInArray<std::uint32_t>({48, 64, 88, 0, 65}),
                                static_cast<std::uint16_t>(in.PickValueInArray<int>({4, 4, 8}))};
            const std::string path = in.ConsumeBool() ? vox : rest;
            board.play_file(handle(), path.c_str(), in.ConsumeBool() ? t.data() : nullptr, &format, 0);
            break;
        }
        case 'k': {
            const std::vector<VlTermEntry> t = table();
            simboard::TermConditions cond;
            // Without a time limit a collection waits for keys that no one will press.
            if (!simboard::read_term_table(t.data(), &cond) || cond.max_time_ms < 0) break;
            char digits[VL_DIGIT_BUFFER_SIZE + 8];
            std::memset(digits, 0x55, sizeof digits);
            if (board.collect_digits(handle(), t.data(), digits, 0) == 0) {
                FUZZ_CHECK(std::memchr(digits, 0, VL_DIGIT_BUFFER_SIZE) != nullptr, "digits not terminated");
                for (std::size_t i = VL_DIGIT_BUFFER_SIZE; i < sizeof digits; ++i) {
                    FUZZ_CHECK(digits[i] == 0x55, "collect wrote past the digit buffer");
                }
            }
            break;
        }
        case 'd': board.dial(handle(), rest.c_str(), 0); break;
        case 'r': board.term_reason(handle()); break;
        case 'x': board.clear_digits(handle()); break;
        default: break;
        }
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    static const simboard::BoardClock clock(1e6);
    Events events;
    simboard::Board board(clock, {"dxxxB1C3"}, events);
    Program program{board, in, {}};
    static const std::string recording = fuzzscratch::path("line.wav");

    for (int n = 0; n < 64 && in.remaining_bytes() > 0; ++n) {
        const std::string text = in.ConsumeRandomLengthString(simboard::kMaxControlLine + 8);
        std::string_view line(text);
        if (!line.empty() && line[0] == '@') {
            program.call(line.substr(1));
            continue;
        }
        const simboard::ParsedControl parsed = simboard::parse_control_line(line);
        check_parsed(line, parsed);
        if (!parsed.ok) continue;
        simboard::ControlCommand c = parsed.command;
        // Recordings go to the scratch folder, never to a path the input names.
        if (c.kind == simboard::CommandKind::Record) c.path = recording;
        board.apply(c);
        for (int l = 1; l <= simboard::kLineCount; ++l) {
            const std::string keys = board.pending_digits(l);
            FUZZ_CHECK(keys.size() <= simboard::kDigitCapacity, "%zu keys waiting on line %d", keys.size(), l);
        }
    }
    return 0;
}
