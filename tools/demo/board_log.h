// The board's event lines as the demo understands them, and the demo's log of a run: every
// board event with its stamp, the callers' own actions (which the board does not report)
// stamped on the board's clock, and the reading of that clock against the wall clock.
//
// Log file, one entry a line:
//   # clock <board ms> <wall ms>      board time <board ms> was wall time <wall ms>
//                                     (milliseconds since 1970-01-01 00:00 UTC)
//   <ms> <board event text>           e.g. "15102 playend 1 1"
//   <ms> caller ring <line> <count>   the demo rang a line
//   <ms> caller keys <line> <keys>    the caller pressed keys
//   <ms> caller hangup <line>         the caller hung up
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "event_line.h"

namespace demo {

// The board's event lines, and the demo's own "caller" lines, are read as simboard reads
// them.
using simboard::EventKind;
using simboard::LineEvent;
using simboard::parse_event;

// The text of a caller action as the log writes it after the stamp ("caller keys 1 1234").
std::string caller_text(EventKind kind, int line, std::string_view argument);

// The board's clock against the wall clock.
struct ClockPair {
    long board_ms = 0;
    std::int64_t wall_ms = 0;
    bool known = false;
};

struct RunLog {
    ClockPair clock;
    std::vector<LineEvent> events;
};

// Reads a whole log; lines that are neither an entry nor the clock are skipped.
RunLog parse_log(std::string_view text);
bool read_log(const std::string& path, RunLog* log);

// One entry line of a log, without the line end.
std::string log_line(long ms, std::string_view text);
std::string clock_line(const ClockPair& clock);

// The events of one telephone line, in order.
std::vector<LineEvent> events_of_line(const std::vector<LineEvent>& events, int line);

}  // namespace demo
