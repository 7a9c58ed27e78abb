// Vornline's call log: what one call was (greeting and why, keys, route, outcome, dial
// string, times), the CSV line that records it, and the appender that adds that line to
// the day's file "calls-YYYYMMDD.csv". The appender opens, appends and closes the file for
// every call, so a crash loses at most the call in progress, and it counts the lines it
// could not write so that the next line written says how many went missing before it.
#pragma once

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "call_clock.h"
#include "call_flow.h"
#include "config_record.h"

namespace zel {

// One call as the log records it.
struct CallLogEntry {
    CallClock start;             // the clock reading the call was evaluated against (answer time)
    int line = 0;                // 1-4
    double answer_seconds = 0;   // from the first ring (as far as the channel can tell) to the answer
    std::string greeting_field;  // "open_greeting_vox", ...
    std::string greeting;        // its path
    std::string reason;          // schedule_reason
    std::vector<std::string> entries;
    int route = -1;              // the route the entry matched (0-15), -1 for none or the default
    std::string extension;       // its route_ext
    std::string outcome;         // port, alternate, default-silence, default-wrong, hung-up, error
    std::string outcome_at;      // hung-up: the step; error: the operation; else empty
    std::string dial;            // the dial string, empty when nothing was dialled
    double length_seconds = 0;   // from the answer to the line going on-hook
    std::vector<std::string> failed;  // operations that failed during the call
};

// The outcome of a finished call, from what the call flow says it did.
struct CallOutcome {
    std::string outcome;
    std::string at;
};
CallOutcome call_outcome(const CallSummary& summary);

// Everything but the times and the line, from the call flow's summary and the record.
CallLogEntry call_log_entry(const CallSummary& summary, const ConfigRecord& cmd, const CallClock& start);

// The CSV column names, in order.
const std::vector<std::string>& call_log_columns();

// A field as CSV requires it: quoted (and its quotes doubled) when it holds a comma, a
// quote, a CR or LF, or starts or ends with a blank; as it is otherwise.
std::string csv_field(std::string_view text);

// The header line and one call's line, each ending in CR LF.
std::string call_log_header();
std::string call_log_line(const CallLogEntry& entry, unsigned long lost_before);

// The seconds a caller waited for the answer, as far as a channel can tell: the ring
// wait's length, but no more than `rings` rings take at the 6-second ring cadence, since
// a wait that began before the call rang also counts the idle time before it.
double answer_seconds(double waited, int rings);

// The folder part of a file path, its last separator ('\\' or '/') included; "" for a
// bare name.
std::string folder_of(std::string_view path);

// "calls-YYYYMMDD.csv" for the day of `when`.
std::string call_log_file_name(const CallClock& when);

// Appends call lines to the day's file in `folder` (a prefix put before the file name as it
// is, so it ends with a separator; empty for the current folder). Safe to share between
// threads: each append holds the log's lock from the open to the close.
class CallLog {
public:
    explicit CallLog(std::string folder = {}) : folder_(std::move(folder)) {}

    // Writes the header first when the file is new or empty. False when the line could
    // not be written whole; it is then counted as lost, and the count goes out with the
    // next line that is written.
    bool append(const CallLogEntry& entry);

    // Lines lost since the last line written.
    unsigned long lost() const;

private:
    mutable std::mutex mutex_;
    std::string folder_;
    unsigned long lost_ = 0;
};

}  // namespace zel
