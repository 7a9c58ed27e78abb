// The call flow: what a caller meets between the answer and the hang-up. A greeting
// chosen by the schedule, the entry of a four-digit extension with a bounded number of
// retries, and a flash-hook transfer to the extension's port, its alternate number or
// the default port. An explicit state machine: one action per state, which returns an
// event, and one transition table that says where each event leads.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

#include "call_clock.h"
#include "config_record.h"
#include "schedule.h"
#include "voicelib.h"

namespace zel {

enum class CallState : unsigned char {
    greeting,          // play the schedule's greeting
    collect,           // collect up to four keys within five seconds
    lookup,            // find the route for the keys
    invalid,           // a wrong or short entry counts as an attempt
    reprompt,          // clear the keys and play the retry prompt
    route_transfer,    // prepare the transfer to the route found
    default_transfer,  // prepare the transfer to the default port
    announce,          // show the transfer picture and play the transfer voice
    dial,              // flash and dial
    closing,           // play the system error goodbye
    end,
    count_
};

enum class CallEvent : unsigned char {
    done,                        // the state's ordinary way on
    caller_gone,                 // reason 4 or 8: the caller hung up
    gone_at_end_of_file,         // the greeting ran out and a second reading says hung up
    four_digits,                 // collection ended at the digit count
    silence_first,               // time up, no key, no attempt made yet
    silence_again,               // time up, no key, after a wrong entry
    partial_entry,               // time up with keys short of four
    collect_other,               // any other reason: collect again
    collect_stuck,               // the third such collection in a row: give up the call
    found,                       // a route has the entry's number
    not_found,
    attempts_used,               // three attempts made before the retry prompt
    attempts_used_after_prompt,  // the retry prompt used up the last attempt
    count_
};

struct CallTransition {
    CallState from;
    CallEvent event;
    CallState to;
};

// The whole machine, row by row.
std::span<const CallTransition> call_transitions();

const char* call_state_name(CallState s);
const char* call_event_name(CallEvent e);

// Consecutive "other reason" collections after which a call is given up: a library
// that fails every collection at once would otherwise hold the line for ever.
inline constexpr int kMaxOtherCollections = 3;

// Attempts after which a caller goes to the default transfer.
inline constexpr int kMaxAttempts = 3;

// Termination tables handed to the library: a play stops at a hang-up or the first
// key (which stays in the digit buffer); a collection stops at a hang-up, after five
// seconds in all, or at four keys.
extern const VlTermEntry kPlayTermination[2];
extern const VlTermEntry kCollectTermination[3];

// What the call flow needs from the program around it. Called on the call's own
// channel thread only.
class CallHost {
public:
    virtual ~CallHost() = default;

    // Shows a status picture by its resource name ("ZERO" .. "16A") in the channel's
    // window, at once.
    virtual void show_picture(const char* name) = 0;

    // Shows a fault to the operator. The text is complete and fixed; it is never a
    // format (pass it as an argument to "%s"). It may block (a system-modal box holds
    // only this channel); the call goes on when it returns.
    virtual void report_fault(const char* text) = 0;

    // Each transition as it is taken, for tracing; ignored unless overridden.
    virtual void on_transition(CallState /*from*/, CallEvent /*event*/, CallState /*to*/) {}
};

enum class CallEnd {
    transferred,     // the dial string was dialled and the goodbye played
    caller_gone,     // the caller hung up before the transfer was complete
    collect_failed,  // collections kept ending for no usable reason
};

// What became of a call, for the channel's log and for tests.
struct CallSummary {
    CallEnd end = CallEnd::caller_gone;
    ScheduleOutcome schedule;
    std::string reason;  // why the greeting was chosen (schedule_reason)
    int attempts = 0;
    int picture = -1;  // transfer picture number shown, -1 when none was
    std::string dial;  // the string that was dialled, empty when none was
    bool dialled = false;
    std::vector<std::string> entries;  // the keys of every collection that got any, in order
    int route = -1;                    // the route the transfer was prepared for, -1 for none or the default
    bool alternate = false;            // that route's alternate number was chosen over its port
    bool default_transfer = false;     // the default transfer was prepared
    bool default_after_silence = false;  // ... because the caller keyed nothing at all
    CallState gone_at = CallState::end;  // the state in which the caller was found gone
    std::vector<std::string> failed;     // operations that failed, in order ("play greeting", "collect", ...)
};

// Runs one answered call on channel `device` (a dx_open handle) and returns when it
// is over; the caller then puts the line on-hook.
//   cmd     the loaded command record, read only
//   format  the play format for every play (the rate code chosen at "Open")
//   now     one reading of the local clock, taken when the call was answered
//   host    pictures and fault reports for this channel
// Takes the line off-hook itself. Holds no state outside its own frame, so the four
// channel threads may each run a call at the same time with the same `cmd` and `format`.
CallSummary run_call(int device, const ConfigRecord& cmd, const VlPlayFormat& format,
                     const CallClock& now, CallHost& host);

// Rings to wait for before answering: answer_ring read as a number, at least 1
// (a wait for 0 rings is not defined by the library).
int answer_rings(const ConfigRecord& cmd);

}  // namespace zel
