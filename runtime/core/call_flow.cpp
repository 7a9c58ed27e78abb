// The call flow's state machine. Each state's action does its library work and
// answers with an event; the transition table alone decides the next state, so the
// flow can be read, traced and tested row by row.
#include "call_flow.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "status_pictures.h"
#include "text_number.h"
#include "transfer.h"

namespace zel {

const VlTermEntry kPlayTermination[2] = {
    {VL_ENTRY_CHAIN, VL_COND_LOOP_DROP, 6, 11},
    {VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 1, 9},
};

const VlTermEntry kCollectTermination[3] = {
    {VL_ENTRY_CHAIN, VL_COND_LOOP_DROP, 6, 11},
    {VL_ENTRY_CHAIN, VL_COND_MAX_TIME, 50, 0},
    {VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 4, 9},
};

namespace {

using S = CallState;
using E = CallEvent;

constexpr CallTransition kTransitions[] = {
    {S::greeting, E::caller_gone, S::end},
    {S::greeting, E::gone_at_end_of_file, S::end},
    {S::greeting, E::done, S::collect},

    {S::collect, E::four_digits, S::lookup},
    {S::collect, E::silence_first, S::default_transfer},
    {S::collect, E::silence_again, S::reprompt},
    {S::collect, E::partial_entry, S::invalid},
    {S::collect, E::caller_gone, S::end},
    {S::collect, E::collect_other, S::collect},
    {S::collect, E::collect_stuck, S::end},

    {S::lookup, E::found, S::route_transfer},
    {S::lookup, E::not_found, S::invalid},

    {S::invalid, E::done, S::reprompt},

    {S::reprompt, E::attempts_used, S::default_transfer},
    {S::reprompt, E::caller_gone, S::end},
    {S::reprompt, E::attempts_used_after_prompt, S::default_transfer},
    {S::reprompt, E::done, S::collect},

    {S::route_transfer, E::done, S::announce},
    {S::default_transfer, E::done, S::announce},

    {S::announce, E::caller_gone, S::end},
    {S::announce, E::done, S::dial},

    {S::dial, E::caller_gone, S::end},
    {S::dial, E::done, S::closing},

    {S::closing, E::done, S::end},
};

constexpr const char* kStateNames[] = {
    "greeting", "collect", "lookup", "invalid", "reprompt", "route_transfer",
    "default_transfer", "announce", "dial", "closing", "end",
};
static_assert(std::size(kStateNames) == static_cast<std::size_t>(CallState::count_));

constexpr const char* kEventNames[] = {
    "done", "caller_gone", "gone_at_end_of_file", "four_digits", "silence_first",
    "silence_again", "partial_entry", "collect_other", "collect_stuck", "found",
    "not_found", "attempts_used", "attempts_used_after_prompt",
};
static_assert(std::size(kEventNames) == static_cast<std::size_t>(CallEvent::count_));

bool caller_gone(long reason)
{
    return reason == VL_REASON_HANGUP || reason == VL_REASON_HANGUP_ALT;
}

class CallFlow {
public:
    CallFlow(int device, const ConfigRecord& cmd, const VlPlayFormat& format, const CallClock& now,
             CallHost& host)
        : device_(device), cmd_(cmd), format_(format), host_(host), texts_(make_clock_texts(now))
    {
    }

    CallSummary run()
    {
        summary_.schedule = evaluate_schedule(cmd_, texts_);
        summary_.reason = schedule_reason(summary_.schedule, texts_);
        if (dx_sethook(device_, VL_OFFHOOK, VL_SYNC) < 0) {
            summary_.failed.push_back("offhook");
            host_.report_fault("SET OFFHOOK failed");
        }

        CallState state = CallState::greeting;
        while (state != CallState::end) {
            const CallEvent event = (this->*kActions[static_cast<std::size_t>(state)])();
            const CallState next = next_state(state, event);
            if (event == E::caller_gone || event == E::gone_at_end_of_file) summary_.gone_at = state;
            host_.on_transition(state, event, next);
            state = next;
        }
        summary_.attempts = attempts_;
        return summary_;
    }

private:
    using Action = CallEvent (CallFlow::*)();
    static const Action kActions[static_cast<std::size_t>(CallState::count_)];

    static CallState next_state(CallState from, CallEvent event)
    {
        for (const CallTransition& t : kTransitions) {
            if (t.from == from && t.event == event) return t.to;
        }
        return CallState::end;  // unreachable while every action's events have rows
    }

    int play(const std::string& path, const char* what, const char* fault)
    {
        const int result = dx_play_file(device_, path.c_str(), kPlayTermination, &format_, VL_SYNC);
        if (result < 0) {
            summary_.failed.push_back(what);
            host_.report_fault(fault);
        }
        return result;
    }

    long reason() { return dx_term_reason(device_); }

    CallEvent greeting()
    {
        play(summary_.schedule.greeting, "play greeting", "PLAY FAILED.");
        const long r = reason();
        if (caller_gone(r)) return E::caller_gone;
        // A caller who hangs up just as the greeting runs out is only seen by asking again.
        if (r == VL_REASON_END_OF_FILE && caller_gone(reason())) return E::gone_at_end_of_file;
        return E::done;
    }

    CallEvent collect()
    {
        std::memset(digits_, 0, sizeof digits_);
        if (dx_collect_digits(device_, kCollectTermination, digits_, VL_SYNC) < 0) {
            summary_.failed.push_back("collect");
            host_.report_fault("GET DIGIT FAILED.");
        }
        digits_[sizeof digits_ - 1] = '\0';
        if (digits_[0] != '\0') summary_.entries.emplace_back(digits_);
        const long r = reason();
        if (r == VL_REASON_DIGIT_COUNT) {
            other_collections_ = 0;
            return E::four_digits;
        }
        if (r == VL_REASON_MAX_TIME) {
            other_collections_ = 0;
            if (digits_[0] != '\0') return E::partial_entry;
            if (attempts_ > 0) return E::silence_again;
            silent_ = true;
            return E::silence_first;
        }
        if (caller_gone(r)) return E::caller_gone;
        if (++other_collections_ >= kMaxOtherCollections) {
            summary_.end = CallEnd::collect_failed;
            return E::collect_stuck;
        }
        return E::collect_other;
    }

    CallEvent lookup()
    {
        const std::string_view entry(digits_, std::min<std::size_t>(std::strlen(digits_), 4));
        route_ = find_route(cmd_, entry);
        return route_ >= 0 ? E::found : E::not_found;
    }

    CallEvent invalid()
    {
        ++attempts_;
        return E::done;
    }

    CallEvent reprompt()
    {
        // Cleared before the prompt, not after it: keys pressed during the prompt count.
        dx_clear_digits(device_);
        if (attempts_ >= kMaxAttempts) return E::attempts_used;
        ++attempts_;
        play(get_field(cmd_, Field::wrong_ext_vox), "play retry",
             "PLAY FAILED, please make sure all vox files\n are in the correct directories");
        if (caller_gone(reason())) return E::caller_gone;
        if (attempts_ >= kMaxAttempts) return E::attempts_used_after_prompt;
        return E::done;
    }

    CallEvent route_transfer()
    {
        plan_ = prepare_route_transfer(cmd_, route_, texts_.time, summary_.schedule);
        summary_.route = plan_.route;
        summary_.alternate = plan_.alternate;
        return E::done;
    }

    CallEvent default_transfer()
    {
        plan_ = prepare_default_transfer(cmd_);
        summary_.default_transfer = true;
        summary_.default_after_silence = silent_;
        return E::done;
    }

    CallEvent announce()
    {
        if (const char* name = transfer_picture_name(plan_.picture)) host_.show_picture(name);
        summary_.picture = plan_.picture;
        play(plan_.voice, "play transfer voice", "PLAY FAILED,\n please make sure all vox files are\n in the correct directories.");
        return caller_gone(reason()) ? E::caller_gone : E::done;
    }

    CallEvent dial()
    {
        // The dial's own result tells nothing the reason does not; only a hang-up stops us.
        if (dx_dial(device_, plan_.dial, nullptr, VL_SYNC) < 0) summary_.failed.push_back("dial");
        summary_.dial = plan_.dial;
        summary_.dialled = true;
        return caller_gone(reason()) ? E::caller_gone : E::done;
    }

    CallEvent closing()
    {
        play(get_field(cmd_, Field::system_error_vox), "play goodbye",
             "PLAY FAILED.\n Please make sure that all vox files \n are in the correct directories");
        reason();  // read to end the operation's report; whatever it says, the call is over
        summary_.end = CallEnd::transferred;
        return E::done;
    }

    CallEvent end() { return E::done; }

    const int device_;
    const ConfigRecord& cmd_;
    const VlPlayFormat format_;
    CallHost& host_;
    const ClockTexts texts_;
    CallSummary summary_;
    int attempts_ = 0;
    int other_collections_ = 0;
    int route_ = -1;
    bool silent_ = false;  // the first collection timed out with no key
    char digits_[VL_DIGIT_BUFFER_SIZE] = {};
    TransferPlan plan_;
};

const CallFlow::Action CallFlow::kActions[] = {
    &CallFlow::greeting,         &CallFlow::collect,  &CallFlow::lookup,  &CallFlow::invalid,
    &CallFlow::reprompt,         &CallFlow::route_transfer, &CallFlow::default_transfer,
    &CallFlow::announce,         &CallFlow::dial,     &CallFlow::closing, &CallFlow::end,
};

}  // namespace

std::span<const CallTransition> call_transitions()
{
    return kTransitions;
}

const char* call_state_name(CallState s)
{
    const auto i = static_cast<std::size_t>(s);
    return i < std::size(kStateNames) ? kStateNames[i] : "?";
}

const char* call_event_name(CallEvent e)
{
    const auto i = static_cast<std::size_t>(e);
    return i < std::size(kEventNames) ? kEventNames[i] : "?";
}

CallSummary run_call(int device, const ConfigRecord& cmd, const VlPlayFormat& format,
                     const CallClock& now, CallHost& host)
{
    return CallFlow(device, cmd, format, now, host).run();
}

int answer_rings(const ConfigRecord& cmd)
{
    return std::max(1, field_number(cmd, Field::answer_ring));
}

}  // namespace zel
