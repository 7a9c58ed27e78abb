// One call on one line, told from the board's events: what the caller heard, the keys,
// the entries Vornline took, the dial string, the hang-up, and what became of the call.
// Everything is read from what the board saw; nothing is taken from the configuration.
#pragma once

#include <string>
#include <vector>

#include "board_log.h"

namespace demo {

// What a prompt was for, by where it stands in the call.
enum class PromptRole {
    greeting,  // the first play after the answer
    retry,     // a play after the keys were cleared, followed by another collection
    transfer,  // the last play before the dial
    goodbye,   // a play after the dial
    other,     // anything else (a call cut short, a prompt that failed)
};

struct Prompt {
    std::string path;  // as Vornline named it
    std::string name;  // the file's stem
    long hz = 0;
    long start_ms = -1;
    long end_ms = -1;  // -1 while playing
    long reason = -1;  // the playend reason; -1 while playing or when the play failed
    bool failed = false;
    PromptRole role = PromptRole::other;
};

struct Entry {
    long ms = -1;
    long reason = 0;     // the collectend reason: 1 four keys, 32 time up, 8 caller gone
    std::string digits;
    bool accepted = false;  // Vornline went on to a transfer with it, not to a retry
};

enum class Outcome {
    route_port,             // an extension was found and its port dialled
    outside_number,         // an extension was found and its outside number dialled
    default_after_silence,  // no key at all: the default port
    default_after_wrong,    // wrong entries: the default port
    caller_left,            // the caller hung up before the transfer
    unfinished,             // the call has not ended (or was never answered)
};

// A dial string taken apart: '&' (hook flash), pauses, then the target; an outside number
// shows as its outside-line digit, further pauses and the rest of the number.
struct DialParts {
    bool flash = false;
    int pauses = 0;            // ',' right after the flash
    std::string target;        // everything after those pauses, as dialled
    bool outside = false;      // the target holds pauses or more than five characters
    std::string line_digit;    // outside: the first character
    int line_pauses = 0;       // outside: ',' after it
    std::string number;        // outside: the rest; otherwise the port
};

DialParts split_dial(const std::string& dial);

struct CallStory {
    int line = 0;
    long ring_ms = -1;           // the caller's ring (-1 when the log does not say)
    long answer_ms = -1;
    long onhook_ms = -1;         // Vornline put the line back on-hook after the call
    long caller_hangup_ms = -1;
    std::vector<Prompt> prompts;
    std::vector<Entry> entries;
    std::string dial;
    long dial_ms = -1;
    long dialend_ms = -1;
    std::vector<LineEvent> events;  // the call's own events, caller actions included
};

// The calls of one line, oldest first. A call starts at the caller's ring, or at an answer
// that no ring preceded, and ends when the line goes on-hook after its answer.
std::vector<CallStory> calls_of_line(const std::vector<LineEvent>& events, int line);

Outcome outcome_of(const CallStory& call);
int wrong_entries(const CallStory& call);

// One sentence saying what became of the call ("transferred to port 201 (extension 1001)").
std::string describe_outcome(const CallStory& call);

// The call as readable rows: "<time>  <what happened>", time by `clock` (HH:MM:SS.t) or,
// when the clock is unknown, seconds from the call's start.
std::vector<std::string> transcript_rows(const CallStory& call, const ClockPair& clock);

// The moment for a picture of the channels in the middle of their calls: every line has
// answered its latest call, and either every one of them has begun its transfer dial or
// one has finished dialling (its goodbye follows, then the hang-up and the idle picture).
bool transfers_under_way(const std::vector<LineEvent>& events, const std::vector<int>& lines);

// "HH:MM:SS.t" local time of a board stamp.
std::string wall_time(long board_ms, const ClockPair& clock);

const char* role_name(PromptRole role);
const char* reason_text(long reason);

}  // namespace demo
