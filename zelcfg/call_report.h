// zelcfg calls: the summary of Vornline's call logs (calls per day, outcomes and their
// shares, callers who hung up before keying anything, the extensions most called, calls
// per hour of the day), as text or as one self-contained HTML page with an SVG chart.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace zelcfg {

// RFC 4180 rows: fields split at commas, quoted fields may hold commas, doubled quotes and
// line ends; rows end at CR LF or LF. An empty last line gives no row.
std::vector<std::vector<std::string>> parse_csv(std::string_view text);

struct CallTotals {
    int calls = 0;
    int unreadable_lines = 0;         // rows without the columns the summary needs
    unsigned long lost_lines = 0;     // call lines the log itself says went missing
    std::map<std::string, int> per_day;      // "YYYY-MM-DD"
    std::map<std::string, int> outcomes;
    int silent_hang_ups = 0;                 // hung up before keying anything
    std::map<std::string, int> silent_hang_up_steps;
    std::map<std::string, int> extensions;   // the route's extension, for calls that reached one
    int per_hour[24] = {};
};

// Adds one log's rows (its first row is its header). False with a problem text when the
// header lacks a column the summary needs.
bool add_call_log(std::string_view text, CallTotals& totals, std::string& problem);

// The extensions by calls, most first (ties by extension), at most `limit`.
std::vector<std::pair<std::string, int>> top_extensions(const CallTotals& totals, std::size_t limit);

std::string calls_text(const CallTotals& totals);
std::string calls_html(const CallTotals& totals, const std::vector<std::string>& sources);

}  // namespace zelcfg
