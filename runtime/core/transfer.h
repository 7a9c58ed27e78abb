// Transfer dialing: the route for the caller's entry, the choice between a route's
// port and its alternate number, and the dial string of a flash-hook transfer
// ('&' flashes the hook, ',' is one pause, every other character is dialled).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "config_record.h"
#include "schedule.h"

namespace zel {

inline constexpr int kRouteCount = 16;  // routes 0-15 are the ones callers reach
inline constexpr int kMaxPauses = 5;    // pauses after the flash or an outside-line digit

// Bytes of the dial string handed to the library, NUL included. The longest string a
// record can produce is 35 characters: "&" + 5 pauses + an outside-line digit
// + 5 pauses + the 23 further characters that a route_alt_number slot holds.
inline constexpr std::size_t kDialStringSize = 40;

// Picture number of the default transfer; a route's picture is its index + 1.
inline constexpr int kDefaultTransferPicture = 0;

// What the call flow needs to pass a call on.
struct TransferPlan {
    std::string voice;                 // voice file played before dialling
    char dial[kDialStringSize] = {};   // NUL-terminated dial string
    int picture = kDefaultTransferPicture;
    int route = -1;                    // index of the route used, -1 for the default transfer
    bool alternate = false;            // the route's alternate number was chosen over its port
    bool cut = false;                  // the dial string did not fit and was cut
};

// Index (0-15) of the route whose route_ext has the same number as the entry, both
// read by their leading digits; the highest matching route wins. A route with an
// empty route_ext never matches. -1 when none matches.
int find_route(const ConfigRecord& cmd, std::string_view entry);

// "&" followed by int_transfer_delay pauses, at most kMaxPauses.
std::string flash_prefix(const ConfigRecord& cmd);

// True when the route's window (from-time inclusive to to-time exclusive, either
// within one day or across midnight) holds the current time. Equal texts mean no
// window.
bool in_alternate_window(std::string_view from_text, std::string_view to_text,
                         const std::string& time_text);

// The window choice followed by the schedule overrides: closed gives the alternate,
// special-open gives the port, equal window texts give the port.
bool use_alternate(const ConfigRecord& cmd, int route, const std::string& time_text,
                   const ScheduleOutcome& schedule);

// An alternate of more than 5 characters is an outside number: its first character
// (the outside-line digit), then `pauses` commas (capped at kMaxPauses, none for 0 or
// less), then the rest. Shorter alternates are ports and stay as stored.
std::string alternate_target(std::string_view alt_number, int pauses);

// Writes prefix then target into `out` (`size` bytes, NUL included). Returns false
// when they did not fit whole: the string is then cut at the buffer's end, and a
// target is never started without its complete prefix.
bool build_dial_string(char* out, std::size_t size, std::string_view prefix, std::string_view target);

// The transfer to route `route` (0-15), given the call's time text and schedule.
TransferPlan prepare_route_transfer(const ConfigRecord& cmd, int route, const std::string& time_text,
                                    const ScheduleOutcome& schedule);

// The transfer for a caller without a valid entry: no_input_vox, then default_port.
TransferPlan prepare_default_transfer(const ConfigRecord& cmd);

}  // namespace zel
