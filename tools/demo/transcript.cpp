// Writing the demo's transcript.
#include "transcript.h"

#include <algorithm>
#include <cstdio>

#include "host_path.h"
#include "wav_info.h"

namespace demo {

namespace {

const char* outcome_name(Outcome o)
{
    switch (o) {
    case Outcome::route_port: return "the route's port";
    case Outcome::outside_number: return "the route's outside number";
    case Outcome::default_after_silence: return "the default port after silence";
    case Outcome::default_after_wrong: return "the default port after wrong entries";
    case Outcome::caller_left: return "the caller left";
    case Outcome::unfinished: break;
    }
    return "no end";
}

}  // namespace

std::string recording_name(int line, int call)
{
    return "line" + std::to_string(line) + "-call" + std::to_string(call) + ".wav";
}

double prompt_seconds(const CallStory& call, double speed)
{
    double total = 0;
    for (const Prompt& p : call.prompts) {
        if (p.failed || p.end_ms < 0) continue;
        const long long bytes = p.reason == 512 ? file_size(own_path(p.path)) : -1;
        if (bytes >= 0 && p.hz > 0) {
            total += 2.0 * static_cast<double>(bytes) / static_cast<double>(p.hz);
        } else {
            total += static_cast<double>(p.end_ms - p.start_ms) / 1000.0 * speed;
        }
    }
    return total;
}

TranscriptResult make_transcript(const RunLog& log, const std::vector<CallerScript>& callers,
                                 const std::string& out_dir, double speed)
{
    TranscriptResult result;
    std::vector<LineEvent> events = log.events;
    // Callers' actions are stamped by the demo's reading of the board clock; keep the
    // board's own order where stamps tie.
    std::stable_sort(events.begin(), events.end(),
                     [](const LineEvent& a, const LineEvent& b) { return a.ms < b.ms; });
    char text[1024];
    for (const CallerScript& caller : callers) {
        const std::vector<CallStory> calls = calls_of_line(events, caller.line);
        result.text += "Line " + std::to_string(caller.line) + ": the caller " + caller.who + "\n";
        if (calls.empty()) {
            result.text += "  no call was seen on this line\n\n";
            result.as_expected = false;
            continue;
        }
        for (std::size_t n = 0; n < calls.size(); ++n) {
            const CallStory& call = calls[n];
            if (calls.size() > 1) result.text += "  call " + std::to_string(n + 1) + "\n";
            for (const std::string& row : transcript_rows(call, log.clock)) result.text += "  " + row + "\n";
            const Outcome got = outcome_of(call);
            const bool fits = n > 0 || got == caller.expected;
            if (!fits) result.as_expected = false;
            result.text += "  outcome: " + describe_outcome(call);
            if (n == 0) {
                result.text += fits ? std::string(" [") + outcome_name(got) + ", as expected]"
                                    : std::string(" [NOT AS EXPECTED: wanted ") + outcome_name(caller.expected) + "]";
            }
            result.text += "\n";
            const std::string wav_path = join_path(out_dir, recording_name(caller.line, static_cast<int>(n + 1)));
            const WavInfo wav = read_wav(wav_path);
            if (wav.ok) {
                std::snprintf(text, sizeof text, "  recording: %s, %.2f s at %ld Hz (prompts played: %.2f s)\n",
                              wav_path.c_str(), wav.seconds(), wav.rate, prompt_seconds(call, speed));
            } else {
                std::snprintf(text, sizeof text, "  recording: none (%s: %s)\n", wav_path.c_str(),
                              wav.problem.c_str());
            }
            result.text += text;
        }
        result.text += "\n";
    }
    return result;
}

}  // namespace demo
