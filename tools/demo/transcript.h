// The demo's transcript: per line, what the caller did and heard, what Vornline keyed and
// dialled, the outcome set against what the caller's script expected, and the recording
// set against the prompts that were played into it.
#pragma once

#include <string>
#include <vector>

#include "board_log.h"
#include "callers.h"

namespace demo {

// The recording of call `call` (1-based) on `line`, as the demo names it.
std::string recording_name(int line, int call);

// Audio seconds of the prompts a call played: whole files for plays that ran to their
// end (read from the voice files), board time times `speed` for plays cut short.
double prompt_seconds(const CallStory& call, double speed);

struct TranscriptResult {
    std::string text;
    bool as_expected = true;  // every line's first call ended as its caller expected
};

// `out_dir` (this program's name for it) holds the recordings.
TranscriptResult make_transcript(const RunLog& log, const std::vector<CallerScript>& callers,
                                 const std::string& out_dir, double speed);

}  // namespace demo
