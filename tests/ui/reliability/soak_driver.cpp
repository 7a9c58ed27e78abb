// The soak: thousands of calls across the four lines of a real Vornline.exe under Wine,
// played through the stand-in board at a high speed. Each line runs its own stream of
// callers, a mix of valid entries, wrong entries, a wrong entry put right, silence and
// hang-ups, with every few rounds all four lines rung at the same moment. Every dial
// string is compared with what the caller's keys and the schedule call for.
//
//   soak_driver [--calls N] [--speed S] [--warmup N] [--max-growth PERCENT] [--max-late PERCENT]
//
// Prints the figures (calls completed, mismatched outcomes, keys and hang-ups that came too
// late, dead lines, fault boxes, the runtime's working set after Open, after warm-up and at
// the end) and exits 0 only when there is no mismatch, no dead line, no fault box, at most
// one call in a hundred lost its keys to a collection's time limit, most hang-ups took
// effect, and the working set grew by at most the allowed share after warm-up.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "net_socket.h"
#include "record_file.h"
#include "reliability_office.h"

namespace {

namespace net = simboard::net;
using Clock = std::chrono::steady_clock;

// The board's event lines, read as they come; no history is kept.
class EventStream {
public:
    bool connect(int port)
    {
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while ((socket_ = net::connect_local(port)) == net::kInvalid) {
            if (Clock::now() > deadline) return false;
            Sleep(50);
        }
        return true;
    }
    ~EventStream()
    {
        if (socket_ != net::kInvalid) net::close(socket_);
    }
    bool send(const std::string& line)
    {
        const std::string text = line + "\n";
        return net::send_all(socket_, text.data(), text.size());
    }
    // The next event's text (without its stamp), waiting up to timeout_ms; "" for none.
    std::string next(int timeout_ms)
    {
        for (;;) {
            const std::size_t nl = pending_.find('\n');
            if (nl != std::string::npos) {
                std::string line = pending_.substr(0, nl);
                pending_.erase(0, nl + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                const std::size_t space = line.find(' ');
                return space == std::string::npos ? line : line.substr(space + 1);
            }
            if (!net::wait_readable(socket_, timeout_ms)) return {};
            char buffer[4096];
            const long n = net::receive_some(socket_, buffer, sizeof buffer);
            if (n <= 0) {
                closed_ = true;
                return {};
            }
            pending_.append(buffer, static_cast<std::size_t>(n));
            timeout_ms = 0;
        }
    }
    bool closed() const { return closed_; }

private:
    net::Socket socket_ = net::kInvalid;
    std::string pending_;
    bool closed_ = false;
};

enum class Kind { valid, valid_early, wrong_twice, wrong_then_valid, silent, hangup_greeting, hangup_collect };

const char* kind_name(Kind k)
{
    static const char* const names[] = {"valid",  "valid_early",     "wrong_twice",   "wrong_then_valid",
                                        "silent", "hangup_greeting", "hangup_collect"};
    return names[static_cast<int>(k)];
}

constexpr int kKinds = 7;

struct Line {
    int number = 0;
    enum class State { waiting, ringing, in_call, ending, dead } state = State::waiting;
    bool ready = false;       // the line waits for a call (its "wait" was seen)
    Kind kind = Kind::valid;
    std::string keys;         // the valid entry of this call
    int collections = 0;
    std::string dialled;
    bool dial_seen = false;
    std::string last_entry;   // reason and keys of the call's last collection ("1 1002", "32")
    Clock::time_point last_progress = Clock::now();
    long calls = 0;
};

struct Figures {
    long completed = 0;
    long mismatches = 0;
    long late = 0;  // calls whose keys reached the line only after the collection had ended
    long late_by_kind[kKinds] = {};
    long late_hangups = 0;  // hang-ups that reached the board only after the call moved on
    long by_kind[kKinds] = {};
    std::vector<std::string> faults;
    std::vector<std::string> mismatch_samples;
    std::vector<std::string> board_errors;
};

// The keys the caller meant to leave in the end.
std::string intended_entry(const Line& l)
{
    switch (l.kind) {
    case Kind::valid:
    case Kind::valid_early:
    case Kind::wrong_then_valid:
        return l.keys;
    case Kind::wrong_twice:
        return "9999";
    default:
        return "";
    }
}

// What the call must dial: nothing for a caller who hung up; otherwise the route of the
// four keys that ended the last collection, or the default port when it ended without
// them. The keys the board delivered decide, since at a high board speed a key sent just
// after a collection began can reach the line after its time limit: the program then
// rightly treats that caller as silent.
std::string expected_for(const Line& l)
{
    if (l.kind == Kind::hangup_greeting || l.kind == Kind::hangup_collect) return "";
    if (l.last_entry.rfind("1 ", 0) == 0) return rel::expected_dial(l.last_entry.substr(2));
    return rel::expected_dial("");
}

int arg_int(int argc, char** argv, const char* name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) return std::atoi(argv[i + 1]);
    }
    return fallback;
}

}  // namespace

int main(int argc, char** argv)
{
    const long total = arg_int(argc, argv, "--calls", 10000);
    const int speed = arg_int(argc, argv, "--speed", 20);
    const long warmup = arg_int(argc, argv, "--warmup", static_cast<int>(total / 10));
    const int max_growth = arg_int(argc, argv, "--max-growth", 5);
    const int max_late = arg_int(argc, argv, "--max-late", 1);
    // A line that shows no progress for this long, with the board this fast, is dead.
    const auto stall = std::chrono::seconds(60);

    rel::VornlineRun run;
    if (wd::Status s = run.put_command(zel::to_disk(rel::open_office())); !s) {
        std::printf("soak: %s\n", s.message.c_str());
        return 2;
    }
    if (wd::Status s = run.start({.speed = static_cast<double>(speed)}); !s) {
        std::printf("soak: Vornline did not start: %s\n", s.message.c_str());
        return 2;
    }
    run.board.close();
    EventStream board;
    if (!board.connect(run.port)) {
        std::printf("soak: no board on port %d\n", run.port);
        return 2;
    }
    run.choose_open();

    std::mt19937 random(20260);
    std::vector<Line> lines(4);
    for (int i = 0; i < 4; ++i) lines[i].number = i + 1;
    Figures fig;
    long started = 0;
    long rounds_until_burst = 5;
    std::size_t ws_open = 0, ws_warm = 0;
    const auto began = Clock::now();

    auto start_call = [&](Line& l) {
        l.kind = static_cast<Kind>(random() % kKinds);
        l.keys = std::to_string(1001 + random() % 16);
        l.collections = 0;
        l.dialled.clear();
        l.dial_seen = false;
        l.last_entry.clear();
        l.state = Line::State::ringing;
        l.ready = false;
        l.last_progress = Clock::now();
        ++started;
        board.send("ring " + std::to_string(l.number) + " 3");
    };
    auto dtmf = [&](const Line& l, const std::string& keys) { board.send("dtmf " + std::to_string(l.number) + " " + keys); };

    for (;;) {
        // Dismiss and count any fault box: there should be none.
        for (const wd::MessageBoxInfo& box : wd::message_boxes(run.program.pid())) {
            fig.faults.push_back(box.caption + ": " + vt::plain_text(box.text));
            wd::dismiss(box);
        }
        if (!run.program.running()) {
            std::printf("soak: Vornline ended unexpectedly\n");
            break;
        }
        const bool all_ready = lines[0].ready && lines[1].ready && lines[2].ready && lines[3].ready;
        if (ws_open == 0 && all_ready) ws_open = run.working_set();
        if (ws_warm == 0 && fig.completed >= warmup && all_ready) ws_warm = run.working_set();

        // Ring the lines that wait: one by one, or all four together for a burst.
        if (started < total) {
            if (rounds_until_burst <= 0) {
                if (all_ready) {
                    for (Line& l : lines) {
                        if (started < total) start_call(l);
                    }
                    rounds_until_burst = 3 + static_cast<long>(random() % 5);
                }
            } else {
                for (Line& l : lines) {
                    if (l.ready && l.state == Line::State::waiting && started < total) {
                        start_call(l);
                        if (l.number == 4) --rounds_until_burst;
                    }
                }
            }
        } else if (fig.completed >= total) {
            break;
        }

        const std::string e = board.next(20);
        if (board.closed()) {
            std::printf("soak: the board's connection closed\n");
            break;
        }
        const auto now = Clock::now();
        bool stalled = false;
        for (Line& l : lines) {
            if (l.state != Line::State::dead && (l.state != Line::State::waiting || !l.ready) &&
                now - l.last_progress > stall) {
                std::printf("soak: line %d made no progress for %lld s (state %d, call %s)\n", l.number,
                            static_cast<long long>(std::chrono::duration_cast<std::chrono::seconds>(stall).count()),
                            static_cast<int>(l.state), kind_name(l.kind));
                l.state = Line::State::dead;
                stalled = true;
            }
        }
        if (stalled && started >= total) break;
        bool any_alive = false;
        for (const Line& l : lines) any_alive = any_alive || l.state != Line::State::dead;
        if (!any_alive) break;
        if (e.empty()) continue;
        if (e.rfind("error ", 0) == 0) {
            if (fig.board_errors.size() < 20) fig.board_errors.push_back(e);
            continue;
        }

        // "<verb> <line> ..."
        const std::size_t sp = e.find(' ');
        if (sp == std::string::npos || sp + 1 >= e.size()) continue;
        const std::string verb = e.substr(0, sp);
        const int n = e[sp + 1] - '0';
        if (n < 1 || n > 4) continue;
        Line& l = lines[n - 1];
        const std::string rest = e.size() > sp + 3 ? e.substr(sp + 3) : std::string();
        if (l.state == Line::State::dead) continue;
        l.last_progress = now;

        if (verb == "wait") {
            l.ready = true;
            if (l.state == Line::State::ending) l.state = Line::State::waiting;
            if (l.state != Line::State::ringing) l.state = Line::State::waiting;
        } else if (verb == "answer") {
            l.state = Line::State::in_call;
        } else if (verb == "play" && l.state == Line::State::in_call) {
            const bool greeting = rest.find("open.vox") != std::string::npos;
            const bool prompt = rest.find("wrong.vox") != std::string::npos;
            if (greeting) {
                if (l.kind == Kind::hangup_greeting) board.send("hangup " + std::to_string(n));
                // Keys pressed during a greeting stay for the collection.
                if (l.kind == Kind::valid_early) dtmf(l, l.keys);
                if (l.kind == Kind::wrong_twice || l.kind == Kind::wrong_then_valid) dtmf(l, "9999");
            } else if (prompt) {
                // Keys pressed during the retry prompt count for the next collection.
                dtmf(l, l.kind == Kind::wrong_then_valid ? l.keys : "9999");
            }
        } else if (verb == "collect" && l.state == Line::State::in_call) {
            ++l.collections;
            if (l.kind == Kind::hangup_collect && l.collections == 1) board.send("hangup " + std::to_string(n));
            if (l.kind == Kind::valid && l.collections == 1) dtmf(l, l.keys);
        } else if (verb == "collectend") {
            l.last_entry = rest;
        } else if (verb == "dial") {
            l.dialled = rest;
            l.dial_seen = true;
        } else if (verb == "hook" && rest == "on" && l.state == Line::State::in_call) {
            std::string want = expected_for(l);
            ++fig.completed;
            ++fig.by_kind[static_cast<int>(l.kind)];
            const bool hung_up = l.kind == Kind::hangup_greeting || l.kind == Kind::hangup_collect;
            const std::string entered = l.last_entry.rfind("1 ", 0) == 0 ? l.last_entry.substr(2) : "";
            if (!hung_up && entered != intended_entry(l)) {
                ++fig.late;
                ++fig.late_by_kind[static_cast<int>(l.kind)];
            }
            ++l.calls;
            // A hang-up sent when the board reports the collection can reach the board only
            // after a loaded machine has let the collection time out and the call move on; the
            // call then goes on as a silent one and must dial what silence calls for.
            const bool hangs_up = l.kind == Kind::hangup_greeting || l.kind == Kind::hangup_collect;
            if (hangs_up && !l.dialled.empty()) {
                ++fig.late_hangups;
                want = rel::expected_dial("");
            }
            if (l.dialled != want) {
                ++fig.mismatches;
                if (fig.mismatch_samples.size() < 20) {
                    fig.mismatch_samples.push_back("line " + std::to_string(n) + " " + kind_name(l.kind) + " keys " +
                                                   l.keys + ": dialled '" + l.dialled + "', expected '" + want + "'");
                }
            }
            l.state = Line::State::ending;
            if (fig.completed % 500 == 0) {
                std::printf("soak: %ld calls, %ld mismatched, %.0f s, working set %zu KiB\n", fig.completed,
                            fig.mismatches,
                            std::chrono::duration<double>(Clock::now() - began).count(), run.working_set() / 1024);
                std::fflush(stdout);
            }
        }
    }

    // Let the lines settle, then read the working set of a program at rest.
    Sleep(500);
    const std::size_t ws_end = run.working_set();
    int dead = 0;
    for (const Line& l : lines) dead += l.state == Line::State::dead ? 1 : 0;
    const double seconds = std::chrono::duration<double>(Clock::now() - began).count();
    const double growth = ws_warm > 0 ? 100.0 * (static_cast<double>(ws_end) - static_cast<double>(ws_warm)) /
                                            static_cast<double>(ws_warm)
                                      : 0.0;

    std::printf("soak: calls asked %ld, started %ld, completed %ld in %.0f s at board speed %d\n", total, started,
                fig.completed, seconds, speed);
    std::printf("soak: by kind:");
    for (int k = 0; k < kKinds; ++k) std::printf(" %s %ld", kind_name(static_cast<Kind>(k)), fig.by_kind[k]);
    std::printf("\n");
    std::printf("soak: calls per line: %ld %ld %ld %ld\n", lines[0].calls, lines[1].calls, lines[2].calls,
                lines[3].calls);
    std::printf("soak: mismatched outcomes %ld\n", fig.mismatches);
    std::printf("soak: calls whose keys reached the line after the collection ended (taken as silence) %ld",
                fig.late);
    for (int k = 0; k < kKinds; ++k) {
        if (fig.late_by_kind[k] > 0) std::printf(" %s %ld", kind_name(static_cast<Kind>(k)), fig.late_by_kind[k]);
    }
    std::printf("\n");
    std::printf("soak: hang-ups that came after the call moved on %ld\n", fig.late_hangups);
    for (const std::string& m : fig.mismatch_samples) std::printf("soak:   %s\n", m.c_str());
    std::printf("soak: dead lines %d\n", dead);
    std::printf("soak: fault boxes %zu\n", fig.faults.size());
    for (std::size_t i = 0; i < fig.faults.size() && i < 10; ++i) std::printf("soak:   %s\n", fig.faults[i].c_str());
    for (const std::string& b : fig.board_errors) std::printf("soak: board said: %s\n", b.c_str());
    std::printf("soak: working set after Open %zu KiB, after %ld calls %zu KiB, at the end %zu KiB (%+.1f%% after "
                "warm-up)\n",
                ws_open / 1024, warmup, ws_warm / 1024, ws_end / 1024, growth);
    std::fflush(stdout);

    // Most hang-ups must take effect: a runtime that ignored them would show up here.
    const long hangup_calls = fig.by_kind[static_cast<int>(Kind::hangup_greeting)] +
                              fig.by_kind[static_cast<int>(Kind::hangup_collect)];
    // A key now and then loses its race with a collection's time limit when the machine
    // stalls (9 in 10,000 calls at speed 20 beside two fuzzers; 3 in 200 at speed 10 beside
    // two other GUI tests and a build); more than `max_late` calls in a hundred means keys
    // are being lost.
    const bool keys_kept = fig.late <= std::max(1L, fig.completed * max_late / 100);
    const bool ok = fig.completed >= total && fig.mismatches == 0 && dead == 0 && fig.faults.empty() &&
                    ws_warm > 0 && growth <= max_growth && fig.late_hangups * 2 <= hangup_calls && keys_kept;
    if (wd::Status s = run.close_and_exit(true); !s) {
        std::printf("soak: Vornline did not end cleanly: %s\n", s.message.c_str());
        return 1;
    }
    std::printf("soak: %s\n", ok ? "passed" : "FAILED");
    return ok ? 0 : 1;
}
