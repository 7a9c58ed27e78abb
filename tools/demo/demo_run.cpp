// Playing the four callers of `make run`.
#include "demo_run.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>
#include <vector>

#include "board_log.h"
#include "call_story.h"
#include "callers.h"
#include "host_path.h"
#include "line_controller.h"
#include "transcript.h"

namespace demo {

namespace {

using Steady = std::chrono::steady_clock;

std::int64_t wall_now_ms()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// A short form of a board event for the live view: paths shown by their file name.
std::string live_text(const LineEvent& e, const std::string& raw)
{
    if (e.kind == EventKind::play || e.kind == EventKind::playfail) {
        return raw.substr(0, raw.size() - e.text.size()) + stem_of(e.text);
    }
    return raw;
}

}  // namespace

int run_callers(const RunSettings& s)
{
    zeltest::LineController board;
    if (auto connected = board.connect(s.port, std::chrono::seconds(30)); !connected) {
        std::printf("zeldemo: %s\n", connected.message());
        return 1;
    }
    std::ofstream log(s.log_path, std::ios::binary | std::ios::trunc);
    if (!log) {
        std::printf("zeldemo: cannot write the log %s\n", s.log_path.c_str());
        return 1;
    }

    // The connection's own status round trip gives one reading of the board's clock.
    const std::vector<zeltest::BoardEvent> first = board.events();
    ClockPair clock;
    clock.board_ms = first.empty() ? 0 : first.back().ms;
    clock.wall_ms = wall_now_ms();
    clock.known = true;
    const Steady::time_point start = Steady::now();
    auto board_now = [&] {
        return clock.board_ms + static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                      Steady::now() - start)
                                                      .count());
    };
    log << clock_line(clock) << "\n";

    RunLog run;
    run.clock = clock;
    std::vector<std::string> texts;  // board event texts the callers look at
    std::size_t taken = first.size();
    std::vector<CallerScript> scripts = demo_callers(s.rings);
    std::vector<CallerRun> callers;
    std::vector<int> lines;
    for (const CallerScript& script : scripts) {
        const std::string wav = board_path(join_path(s.out_dir, recording_name(script.line, 1)));
        board.send("record " + std::to_string(script.line) + " " + wav);
        callers.emplace_back(script, s.speed);
        lines.push_back(script.line);
    }
    std::printf("zeldemo: four callers ring at once; the board's events as they come:\n");
    std::fflush(stdout);

    const double deadline = s.deadline > 0 ? s.deadline : 30.0 + 90.0 / s.speed;
    bool pictured = false;
    bool failed = false;
    for (;;) {
        const double now = std::chrono::duration<double>(Steady::now() - start).count();
        const std::vector<zeltest::BoardEvent> all = board.events();
        for (; taken < all.size(); ++taken) {
            const zeltest::BoardEvent& b = all[taken];
            const LineEvent e = parse_event(b.ms, b.text);
            texts.push_back(b.text);
            run.events.push_back(e);
            log << log_line(b.ms, b.text) << "\n";
            if (e.kind == EventKind::status) continue;
            std::printf("  %s  %s\n", wall_time(b.ms, clock).c_str(), live_text(e, b.text).c_str());
            if (e.kind == EventKind::error) failed = true;
        }
        for (CallerRun& c : callers) {
            for (const CallerAction& a : c.advance(texts, now)) {
                board.send(a.control);
                const long ms = board_now();
                const std::string text = caller_text(a.kind, c.script().line, a.argument);
                run.events.push_back(parse_event(ms, text));
                log << log_line(ms, text) << "\n";
                std::printf("  %s  %s\n", wall_time(ms, clock).c_str(), text.c_str());
            }
        }
        std::fflush(stdout);
        if (!pictured && transfers_under_way(run.events, lines)) {
            pictured = true;
            std::printf("-- mid-call: every line is in its call\n");
            std::fflush(stdout);
        }
        bool done = true;
        for (const CallerRun& c : callers) done = done && c.done();
        if (done || failed || !board.connected()) break;
        if (now > deadline) {
            std::printf("zeldemo: the calls did not end within %.0f s\n", deadline);
            for (const CallerRun& c : callers) {
                if (!c.done()) {
                    std::printf("  the caller on line %d is waiting for %s\n", c.script().line,
                                c.waiting_for().c_str());
                }
            }
            failed = true;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    log.flush();
    if (!pictured) std::printf("-- mid-call: (late) the calls are over\n");

    const TranscriptResult t = make_transcript(run, scripts, s.out_dir, s.speed);
    std::printf("\n%s", t.text.c_str());
    const std::string transcript_path = join_path(s.out_dir, "transcript.txt");
    std::ofstream out(transcript_path, std::ios::binary | std::ios::trunc);
    out << t.text;
    if (!out) {
        std::printf("zeldemo: cannot write %s\n", transcript_path.c_str());
        failed = true;
    }
    if (!t.as_expected) std::printf("zeldemo: not every call ended as its caller expected\n");
    return failed || !t.as_expected ? 1 : 0;
}

}  // namespace demo
