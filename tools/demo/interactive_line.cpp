// The interactive line of `make call`: a person rings a line, presses keys and hangs up at
// a prompt, and sees the board's events as they come. With a player, every prompt that the
// line plays is heard too, and stops where the board stops it.
#include "demo_run.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "board_log.h"
#include "call_story.h"
#include "host_path.h"
#include "line_controller.h"

namespace demo {

namespace {

// Plays one voice file at a time through an outside program; silent where none is given
// or processes cannot be started this way.
class Speaker {
public:
    explicit Speaker(std::string player) : player_(std::move(player)) {}
    ~Speaker() { stop(); }

    void start(long hz, const std::string& file)
    {
        stop();
        if (player_.empty()) return;
#ifndef _WIN32
        const std::string rate = std::to_string(hz);
        std::vector<std::string> words = {player_, "-q", "-t", "vox", "-r", rate, "-c", "1", file};
        std::vector<char*> argv;
        for (std::string& w : words) argv.push_back(w.data());
        argv.push_back(nullptr);
        pid_t pid = 0;
        if (posix_spawnp(&pid, player_.c_str(), nullptr, nullptr, argv.data(), environ) == 0) child_ = pid;
#else
        (void)hz;
        (void)file;
#endif
    }

    void stop()
    {
#ifndef _WIN32
        if (child_ > 0) {
            kill(child_, SIGTERM);
            waitpid(child_, nullptr, 0);
            child_ = -1;
        }
#endif
    }

private:
    std::string player_;
#ifndef _WIN32
    pid_t child_ = -1;
#endif
};

// Standard input on a thread of its own, so that events keep coming while a person types.
class Keyboard {
public:
    Keyboard()
    {
        std::thread([this] {
            std::string line;
            while (std::getline(std::cin, line)) push(line, false);
            push("", true);
        }).detach();
    }

    // The next line typed, if any; `ended` at end of input.
    bool next(std::string* line, bool* ended)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (lines_.empty()) {
            *ended = ended_;
            return false;
        }
        *line = lines_.front();
        lines_.pop_front();
        *ended = false;
        return true;
    }

private:
    void push(const std::string& line, bool end)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (end) ended_ = true;
        else lines_.push_back(line);
    }

    std::mutex mutex_;
    std::deque<std::string> lines_;
    bool ended_ = false;
};

const char* kHelp =
    "  r [rings]   ring the line (it rings up to 4 times unless you say)\n"
    "  1001        press keys: digits, * and #\n"
    "  h           hang up\n"
    "  l <n>       use line n (1-4)\n"
    "  s           ask the board how the four lines stand\n"
    "  q           quit (Ctrl-D too)\n"
    "  ?           this help\n";

bool all_keys(const std::string& s)
{
    if (s.empty()) return false;
    for (char c : s) {
        if (!((c >= '0' && c <= '9') || c == '*' || c == '#')) return false;
    }
    return true;
}

void prompt(int line)
{
    std::printf("line %d> ", line);
    std::fflush(stdout);
}

}  // namespace

int run_interactive(const LineSettings& s)
{
    zeltest::LineController board;
    if (auto connected = board.connect(s.port, std::chrono::seconds(30)); !connected) {
        std::printf("zeldemo: %s\n", connected.message());
        return 1;
    }
    int line = s.line;
    Speaker speaker(s.player);
    Keyboard keyboard;
    std::vector<LineEvent> events;
    std::size_t taken = board.events().size();
    std::printf("You are a caller on line %d of the stand-in board; Vornline answers.%s\n%s", line,
                s.player.empty() ? " (No sound on this machine: the prompts are shown, not heard.)" : "",
                kHelp);
    prompt(line);

    for (;;) {
        std::string typed;
        bool ended = false;
        while (keyboard.next(&typed, &ended)) {
            std::string word = typed.substr(0, typed.find(' '));
            const std::string rest = typed.size() > word.size() ? typed.substr(word.size() + 1) : "";
            const std::string n = std::to_string(line);
            if (word == "q" || word == "quit") {
                std::printf("bye\n");
                return 0;
            } else if (word == "r" || word == "ring") {
                const std::string rings = rest.empty() ? "4" : rest;
                board.send("ring " + n + " " + rings);
                std::printf("  you: line %d rings (up to %s rings)\n", line, rings.c_str());
                events.push_back(parse_event(0, caller_text(EventKind::ring, line, rings)));
            } else if (word == "h" || word == "hangup") {
                board.send("hangup " + n);
                std::printf("  you: hang up line %d\n", line);
                events.push_back(parse_event(0, caller_text(EventKind::hangup, line, "")));
            } else if (word == "l" || word == "line") {
                const int chosen = std::atoi(rest.c_str());
                if (chosen >= 1 && chosen <= 4) line = chosen;
                else std::printf("lines are 1 to 4\n");
            } else if (word == "s" || word == "status") {
                board.send("status");
            } else if (all_keys(word)) {
                board.send("dtmf " + n + " " + word);
                std::printf("  you: press %s on line %d\n", word.c_str(), line);
            } else if (!word.empty()) {
                std::printf("%s", kHelp);
            }
            prompt(line);
        }
        if (ended) {
            std::printf("\nbye\n");
            return 0;
        }

        const std::vector<zeltest::BoardEvent> all = board.events();
        bool printed = false;
        for (; taken < all.size(); ++taken) {
            const zeltest::BoardEvent& b = all[taken];
            const LineEvent e = parse_event(b.ms, b.text);
            events.push_back(e);
            std::printf("\n  board: %s", b.text.c_str());
            printed = true;
            if (e.line == line && e.kind == EventKind::play) speaker.start(e.number, own_path(e.text));
            if (e.line == line && e.kind == EventKind::playend) speaker.stop();
            if (e.kind == EventKind::hook && e.number == 0) {
                const std::vector<CallStory> calls = calls_of_line(events, e.line);
                if (!calls.empty() && calls.back().onhook_ms == e.ms && calls.back().answer_ms >= 0) {
                    std::printf("\n  line %d: %s", e.line, describe_outcome(calls.back()).c_str());
                }
            }
        }
        if (printed) {
            std::printf("\n");
            prompt(line);
        }
        if (!board.connected()) {
            std::printf("\nzeldemo: the board has gone (Vornline ended?)\n");
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

}  // namespace demo
