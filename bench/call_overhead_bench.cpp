// The runtime's own overhead per call, under Wine with the stand-in board at speed 1:
// Vornline answers calls on all four lines at once, and the board's event stamps give the
// six gaps in which only our code runs (see call_gaps.h). Also Vornline's memory before
// Open, idle with its channels open, and with four calls in progress.
//
// The callers: every line rings as soon as its channel waits (one ring answers), keys a
// route's four digits as soon as the collection starts, and leaves the rest to the runtime.
// The voice files are a quarter of a second each, so that the calls are short and the
// gaps are many; the dial string is "&" and the target (no pauses configured).
//
//   call_overhead_bench [--calls N]   result rows for tools/bench.sh (N >= 200 for the figures)
//   call_overhead_bench --smoke       one call per line: every call must go the expected way
//                                     and give its six gaps; no timing judged
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "bench_report.h"
#include "bench_stats.h"
#include "call_gaps.h"
#include "full_record.h"
#include "line_controller.h"
#include "record_file.h"
#include "win_probe.h"
#include "window_driver.h"

#ifndef VORNLINE_EXE
#error "VORNLINE_EXE names the Vornline program to measure"
#endif

namespace {

using namespace std::chrono_literals;

constexpr int kOpenCommand = 40001;
constexpr int kLines = 4;
constexpr int kVoiceBytes = 1000;  // 0.25 s at 8 kHz
constexpr auto kQuietLimit = 20s;  // no board event for this long: something is stuck

std::string voice_bytes()
{
    // Any bytes decode; a varied pattern keeps the decoder's work realistic.
    std::string bytes(kVoiceBytes, '\0');
    unsigned x = 12345;
    for (char& c : bytes) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return bytes;
}

int fail(const std::string& step, const std::string& why)
{
    std::fprintf(stderr, "%s: %s\n", step.c_str(), why.c_str());
    return 1;
}

// The line number and the rest of a board event ("collect 3" -> 3).
int line_of(std::string_view text)
{
    const std::size_t space = text.find(' ');
    if (space == std::string_view::npos || space + 1 >= text.size()) return 0;
    const char c = text[space + 1];
    const bool alone = space + 2 == text.size() || text[space + 2] == ' ';
    return c >= '1' && c <= '4' && alone ? c - '0' : 0;
}

bool starts_with(std::string_view text, std::string_view word)
{
    return text.size() > word.size() && text.substr(0, word.size()) == word && text[word.size()] == ' ';
}

}  // namespace

int main(int argc, char** argv)
{
    bool smoke = false;
    int calls = 200;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            smoke = true;
        } else if (std::strcmp(argv[i], "--calls") == 0 && i + 1 < argc) {
            calls = std::atoi(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: %s [--smoke] [--calls N]\n", argv[0]);
            return 2;
        }
    }
    if (smoke) calls = kLines;
    if (calls < 1) calls = 1;

    // ---- the program's folder: command file and voices ----
    wd::Program vornline;
    if (!CreateDirectoryA(vornline.path("voices").c_str(), nullptr)) return fail("folder", "cannot make voices");
    zelbench::FullRecordOptions options;
    options.voice_folder = vornline.path("voices") + "\\";
    options.int_transfer_delay = 0;
    options.ext_transfer_delay = 0;
    options.answer_ring = 1;
    const zelbench::VoiceSet voices = zelbench::voice_set(options.voice_folder);
    const std::string bytes = voice_bytes();
    for (const std::string& path : voices.all()) {
        const std::string name = "voices\\" + path.substr(options.voice_folder.size());
        if (wd::Status s = vornline.put_file(name, bytes); !s) return fail("voice " + name, s.message);
    }
    if (wd::Status s = vornline.put_file("zel_system.cmd", zel::to_disk(zelbench::full_record(options))); !s)
        return fail("command file", s.message);

    zelbench::GapTracker tracker([&](std::string_view path) {
        if (path == voices.system_error) return zelbench::PlayKind::goodbye;
        for (const std::string& v : voices.routes)
            if (path == v) return zelbench::PlayKind::transfer;
        for (const std::string* v : {&voices.open, &voices.closed, &voices.special_open, &voices.special_closed,
                                     &voices.holiday})
            if (path == *v) return zelbench::PlayKind::greeting;
        return zelbench::PlayKind::other;
    });

    // ---- start, connect, Open ----
    const int port = zelbench::free_port();
    if (port == 0) return fail("port", "no free port");
    if (wd::Status s = vornline.start(VORNLINE_EXE, {}, {{"SIMBOARD_PORT", std::to_string(port)}, {"SIMBOARD_SPEED", "1"}});
        !s)
        return fail("start", s.message);
    zeltest::LineController board;
    if (auto r = board.connect(port, 60s); !r) return fail("connect", r.message());
    HWND main = nullptr;
    if (wd::Status s = vornline.wait_window({.cls = "ZEL_VORN"}, 60000, &main); !s) return fail("main window", s.message);
    const zelbench::MemoryFigures before_open = zelbench::process_memory(vornline.process());
    if (wd::Status s = wd::post_command(main, kOpenCommand); !s) return fail("Open", s.message);

    // ---- the callers ----
    int started = 0;
    int next_route = 0;
    int errors = 0;
    int waiting_lines = 0;
    bool waiting[kLines] = {};
    zelbench::MemoryFigures idle{}, busy{};
    ULONGLONG last_sample = 0;
    long first_answer = -1, last_onhook = 0, four_busy_since = -1, four_busy_ms = 0;
    int in_call = 0;
    bool calling[kLines] = {};

    while (tracker.regular_calls() + tracker.irregular_calls() < calls) {
        zeltest::BoardEvent ev;
        if (auto r = board.expect("*", std::chrono::duration_cast<std::chrono::milliseconds>(kQuietLimit), &ev); !r) {
            return fail("calls", "no board event for " + std::to_string(kQuietLimit.count()) + " s after " +
                                     std::to_string(tracker.regular_calls()) + " regular and " +
                                     std::to_string(tracker.irregular_calls()) + " irregular calls; on screen:\n" +
                                     wd::describe_screen());
        }
        tracker.feed(ev.ms, ev.text);
        const std::string_view text = ev.text;
        const int line = line_of(text);
        if (starts_with(text, "error")) {
            ++errors;
            std::fprintf(stderr, "board: %s\n", ev.text.c_str());
            continue;
        }
        if (line == 0) continue;
        const int n = line - 1;

        if (starts_with(text, "wait")) {
            if (!waiting[n]) {
                waiting[n] = true;
                ++waiting_lines;
            }
            // Idle: all channels open and waiting, before the first call.
            if (started == 0 && waiting_lines == kLines) idle = zelbench::process_memory(vornline.process());
            // Ring every line once all four wait, so that the four calls start together.
            if (started == 0 && waiting_lines < kLines) continue;
            for (int k = 0; k < kLines; ++k) {
                if (waiting[k] && started < calls) {
                    waiting[k] = false;
                    --waiting_lines;
                    board.send("ring " + std::to_string(k + 1) + " 1");
                    ++started;
                }
            }
        } else if (starts_with(text, "answer")) {
            if (first_answer < 0) first_answer = ev.ms;
            if (!calling[n]) {
                calling[n] = true;
                if (++in_call == kLines) four_busy_since = ev.ms;
            }
        } else if (starts_with(text, "collect")) {
            const std::string entry = zelbench::route_entry(next_route);
            next_route = (next_route + 1) % zelbench::kRoutes;
            board.send("dtmf " + std::to_string(line) + " " + entry);
        } else if (text == "hook " + std::to_string(line) + " on" && calling[n]) {
            calling[n] = false;
            if (in_call-- == kLines && four_busy_since >= 0) four_busy_ms += ev.ms - four_busy_since;
            last_onhook = ev.ms;
        }
        // Memory with four calls, now and then (reading it costs the program nothing).
        if (in_call == kLines && GetTickCount64() - last_sample > 500) {
            last_sample = GetTickCount64();
            const zelbench::MemoryFigures m = zelbench::process_memory(vornline.process());
            if (m.ok && m.working_set > busy.working_set) busy = m;
        }
    }
    const zelbench::MemoryFigures after = zelbench::process_memory(vornline.process());

    // ---- close: the command file's box, then the exit ----
    wd::post_close(main);
    wd::MessageBoxInfo box;
    if (vornline.wait_message_box(15000, &box)) wd::dismiss(box);
    vornline.wait_exit(15000);

    std::printf("%d calls: %d regular, %d irregular; %d board errors\n", calls, tracker.regular_calls(),
                tracker.irregular_calls(), errors);
    for (int g = 0; g < zelbench::kGapCount; ++g) {
        const zelbench::Summary s = zelbench::summarize(tracker.samples(static_cast<zelbench::Gap>(g)));
        std::printf("  %-42s n %3zu  median %5.1f  p99 %5.1f  max %5.1f ms\n",
                    zelbench::gap_name(static_cast<zelbench::Gap>(g)), s.count, s.median, s.p99, s.max);
    }
    const zelbench::Summary part = zelbench::summarize(tracker.answer_to_offhook());
    std::printf("    of which answer -> the call flow's off-hook:  median %5.1f  p99 %5.1f  max %5.1f ms\n", part.median,
                part.p99, part.max);
    const double span = last_onhook > first_answer ? static_cast<double>(last_onhook - first_answer) : 0;
    std::printf("all four lines in calls for %ld of %.0f ms\n", four_busy_ms, span);

    if (smoke) {
        const bool ok = tracker.regular_calls() == calls && errors == 0 &&
                        tracker.samples(zelbench::Gap::goodbye_to_onhook).size() == static_cast<std::size_t>(calls);
        if (!ok) std::fprintf(stderr, "smoke: every call should have gone the expected way\n%s", board.report().c_str());
        return ok ? 0 : 1;
    }

    using namespace zelbench;
    print_row("Vornline calls", "calls measured (regular / irregular), four lines at once",
              std::to_string(tracker.regular_calls()) + " / " + std::to_string(tracker.irregular_calls()) +
                  ", all four busy " + fixed(span > 0 ? 100.0 * four_busy_ms / span : 0, 0) + "% of the time",
              ">= 200 regular", verdict_at_least(tracker.regular_calls(), 200));
    for (int g = 0; g < kGapCount; ++g) {
        const Summary s = summarize(tracker.samples(static_cast<Gap>(g)));
        const bool met = s.count > 0 && s.median < 2 && s.p99 < 10;
        print_row("Vornline calls", gap_name(static_cast<Gap>(g)),
                  "median " + fixed(s.median, 1) + " ms, p99 " + fixed(s.p99, 1) + " ms (max " + fixed(s.max, 0) + ")",
                  "median < 2, p99 < 10 ms", met ? Verdict::met : Verdict::missed);
    }
    if (before_open.ok) print_row("footprint", "Vornline working set, before Open", mebibytes(before_open.working_set));
    if (idle.ok) print_row("footprint", "Vornline working set, idle (four channels waiting)", mebibytes(idle.working_set));
    if (busy.ok) print_row("footprint", "Vornline working set, four calls in progress", mebibytes(busy.working_set));
    if (after.ok) print_row("footprint", "Vornline working set, idle after the calls", mebibytes(after.working_set));
    return tracker.regular_calls() > 0 ? 0 : 1;
}
