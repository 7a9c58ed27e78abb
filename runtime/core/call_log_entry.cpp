// A finished call as the log records it, from the call flow's own account of it. Kept
// apart from the lines and the appender so that a reader of logs need not link the call
// flow (and with it the voice library).
#include "call_log.h"

namespace zel {

CallOutcome call_outcome(const CallSummary& s)
{
    // Once the flash and the digits have gone out the call has been passed on, even when
    // the line reports the caller gone straight after.
    if (s.dialled) {
        if (s.default_transfer) return {s.default_after_silence ? "default-silence" : "default-wrong", ""};
        return {s.alternate ? "alternate" : "port", ""};
    }
    if (s.end == CallEnd::collect_failed) return {"error", "collect"};
    return {"hung-up", call_state_name(s.gone_at)};
}

CallLogEntry call_log_entry(const CallSummary& s, const ConfigRecord& cmd, const CallClock& start)
{
    CallLogEntry e;
    e.start = start;
    e.greeting_field = field_def(greeting_field(s.schedule.rule)).name;
    e.greeting = s.schedule.greeting;
    e.reason = s.reason;
    e.entries = s.entries;
    // The route an entry matched, even when the caller hung up before it was dialled.
    if (!s.default_transfer && s.route >= 0) {
        e.route = s.route;
        e.extension = get_field(cmd, Field::route_ext, s.route);
    }
    const CallOutcome o = call_outcome(s);
    e.outcome = o.outcome;
    e.outcome_at = o.at;
    if (s.dialled) e.dial = s.dial;
    e.failed = s.failed;
    return e;
}

}  // namespace zel
