// Telling a call from the board's events.
#include "call_story.h"

#include <cstdio>
#include <ctime>

#include "host_path.h"

namespace demo {

namespace {

bool is_board_event_of_call(EventKind k)
{
    return k != EventKind::keys && k != EventKind::ring && k != EventKind::hangup && k != EventKind::wait &&
           k != EventKind::status && k != EventKind::other;
}

// After each collection: did Vornline go straight on to a play (a transfer voice) with
// the entry, or clear the keys first (a retry)? Only a full entry can lead to a route.
void mark_accepted(CallStory& call)
{
    std::size_t entry = 0;
    for (std::size_t i = 0; i < call.events.size(); ++i) {
        if (call.events[i].kind != EventKind::collectend) continue;
        if (entry >= call.entries.size()) break;
        Entry& e = call.entries[entry++];
        for (std::size_t j = i + 1; j < call.events.size(); ++j) {
            const EventKind k = call.events[j].kind;
            if (!is_board_event_of_call(k)) continue;
            e.accepted = e.reason == 1 && !e.digits.empty() && (k == EventKind::play || k == EventKind::playfail);
            break;
        }
    }
}

void assign_roles(CallStory& call)
{
    std::size_t last_before_dial = call.prompts.size();
    if (call.dial_ms >= 0) {
        for (std::size_t i = 0; i < call.prompts.size(); ++i) {
            if (call.prompts[i].start_ms <= call.dial_ms) last_before_dial = i;
        }
    }
    // Which prompts came right after the keys were cleared.
    std::vector<bool> after_clear(call.prompts.size(), false);
    {
        std::size_t prompt = 0;
        bool cleared = false;
        for (const LineEvent& e : call.events) {
            if (e.kind == EventKind::clear) cleared = true;
            else if (e.kind == EventKind::play || e.kind == EventKind::playfail) {
                if (prompt < after_clear.size()) after_clear[prompt++] = cleared;
                cleared = false;
            } else if (is_board_event_of_call(e.kind)) {
                cleared = false;
            }
        }
    }
    for (std::size_t i = 0; i < call.prompts.size(); ++i) {
        Prompt& p = call.prompts[i];
        if (call.dial_ms >= 0 && p.start_ms > call.dial_ms) p.role = PromptRole::goodbye;
        else if (i == last_before_dial) p.role = PromptRole::transfer;
        else if (i == 0) p.role = PromptRole::greeting;
        else if (after_clear[i]) p.role = PromptRole::retry;
        else p.role = PromptRole::other;
    }
}

void finish(CallStory& call)
{
    mark_accepted(call);
    assign_roles(call);
}

std::string seconds_text(long ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string pauses_text(int n)
{
    return n == 1 ? "1 pause" : std::to_string(n) + " pauses";
}

std::string dial_meaning(const std::string& dial)
{
    const DialParts d = split_dial(dial);
    std::string out = d.flash ? "hook flash, " + pauses_text(d.pauses) + ", " : "";
    if (d.outside) {
        out += "outside line " + d.line_digit;
        if (d.line_pauses > 0) out += ", " + pauses_text(d.line_pauses);
        out += ", " + d.number;
    } else {
        out += "port " + d.number;
    }
    return out;
}

std::string prompt_row(const Prompt& p)
{
    std::string out = "hears \"" + p.name + "\" (" + role_name(p.role) + ")";
    if (p.failed) return out + ": the play failed, " + p.path;
    if (p.end_ms < 0) return out + ", still playing";
    return out + ", " + seconds_text(p.end_ms - p.start_ms) + ", " + reason_text(p.reason);
}

std::string entry_row(const Entry& e)
{
    if (e.reason == 8 || e.reason == 4) return "collection ended: the caller is gone";
    if (e.reason == 1) {
        return "takes the entry " + e.digits + (e.accepted ? "" : ": no such extension");
    }
    if (e.reason == 32) {
        if (e.digits.empty()) return "no key within the time limit";
        return "takes the short entry " + e.digits + " at the time limit";
    }
    return "collection ended with reason " + std::to_string(e.reason) + (e.digits.empty() ? "" : ", keys " + e.digits);
}

}  // namespace

DialParts split_dial(const std::string& dial)
{
    DialParts d;
    std::size_t i = 0;
    if (i < dial.size() && dial[i] == '&') {
        d.flash = true;
        ++i;
        while (i < dial.size() && dial[i] == ',') {
            ++d.pauses;
            ++i;
        }
    }
    d.target = dial.substr(i);
    d.outside = d.target.find(',') != std::string::npos || d.target.size() > 5;
    if (d.outside && !d.target.empty()) {
        d.line_digit = d.target.substr(0, 1);
        std::size_t j = 1;
        while (j < d.target.size() && d.target[j] == ',') {
            ++d.line_pauses;
            ++j;
        }
        d.number = d.target.substr(j);
    } else {
        d.number = d.target;
    }
    return d;
}

std::vector<CallStory> calls_of_line(const std::vector<LineEvent>& events, int line)
{
    std::vector<CallStory> calls;
    bool open = false;  // the last call has not ended
    for (const LineEvent& e : events) {
        if (e.line != line) continue;
        if (e.kind == EventKind::ring || (e.kind == EventKind::answer && (!open || calls.back().answer_ms >= 0))) {
            if (open) finish(calls.back());
            calls.emplace_back();
            calls.back().line = line;
            open = true;
        }
        if (!open) continue;
        CallStory& c = calls.back();
        c.events.push_back(e);
        switch (e.kind) {
        case EventKind::ring: c.ring_ms = e.ms; break;
        case EventKind::answer: c.answer_ms = e.ms; break;
        case EventKind::hook:
            if (e.number == 0 && c.answer_ms >= 0) {
                c.onhook_ms = e.ms;
                finish(c);
                open = false;
            }
            break;
        case EventKind::hangup: c.caller_hangup_ms = e.ms; break;
        case EventKind::play: {
            Prompt p;
            p.path = e.text;
            p.name = stem_of(e.text);
            p.hz = e.number;
            p.start_ms = e.ms;
            c.prompts.push_back(p);
            break;
        }
        case EventKind::playfail: {
            Prompt p;
            p.path = e.text;
            p.name = stem_of(e.text);
            p.start_ms = p.end_ms = e.ms;
            p.failed = true;
            c.prompts.push_back(p);
            break;
        }
        case EventKind::playend:
            for (auto it = c.prompts.rbegin(); it != c.prompts.rend(); ++it) {
                if (!it->failed && it->end_ms < 0) {
                    it->end_ms = e.ms;
                    it->reason = e.number;
                    break;
                }
            }
            break;
        case EventKind::collectend: {
            Entry en;
            en.ms = e.ms;
            en.reason = e.number;
            en.digits = e.text;
            c.entries.push_back(en);
            break;
        }
        case EventKind::dial:
            c.dial = e.text;
            c.dial_ms = e.ms;
            break;
        case EventKind::dialend: c.dialend_ms = e.ms; break;
        default: break;
        }
    }
    if (open) finish(calls.back());
    return calls;
}

Outcome outcome_of(const CallStory& call)
{
    if (call.dial.empty() || call.answer_ms < 0) {
        return call.caller_hangup_ms >= 0 ? Outcome::caller_left : Outcome::unfinished;
    }
    for (const Entry& e : call.entries) {
        if (e.accepted) return split_dial(call.dial).outside ? Outcome::outside_number : Outcome::route_port;
    }
    return wrong_entries(call) > 0 ? Outcome::default_after_wrong : Outcome::default_after_silence;
}

int wrong_entries(const CallStory& call)
{
    int n = 0;
    for (const Entry& e : call.entries) {
        if (!e.accepted && !e.digits.empty() && e.reason != 8 && e.reason != 4) ++n;
    }
    return n;
}

std::string describe_outcome(const CallStory& call)
{
    const DialParts d = split_dial(call.dial);
    std::string accepted;
    std::string wrong;
    for (const Entry& e : call.entries) {
        if (e.accepted) accepted = e.digits;
        else if (!e.digits.empty()) wrong += (wrong.empty() ? "" : ", ") + e.digits;
    }
    switch (outcome_of(call)) {
    case Outcome::route_port:
        return "extension " + accepted + ": transferred to its port " + d.number;
    case Outcome::outside_number:
        return "extension " + accepted + ": transferred to its outside number " + d.number + " through outside line " +
               d.line_digit;
    case Outcome::default_after_silence:
        return "no key pressed: transferred to the default port " + d.number;
    case Outcome::default_after_wrong:
        return std::to_string(wrong_entries(call)) + " wrong entr" + (wrong_entries(call) == 1 ? "y" : "ies") +
               " (" + wrong + "): transferred to the default port " + d.number;
    case Outcome::caller_left:
        return "the caller hung up before a transfer";
    case Outcome::unfinished:
        break;
    }
    return "the call did not finish";
}

bool transfers_under_way(const std::vector<LineEvent>& events, const std::vector<int>& lines)
{
    if (lines.empty()) return false;
    bool all_dialling = true;
    bool one_done = false;
    for (int line : lines) {
        const std::vector<CallStory> calls = calls_of_line(events, line);
        if (calls.empty() || calls.back().answer_ms < 0) return false;
        const CallStory& c = calls.back();
        if (c.dial_ms < 0) all_dialling = false;
        if (c.dialend_ms >= 0 || c.onhook_ms >= 0) one_done = true;
    }
    return all_dialling || one_done;
}

std::string wall_time(long board_ms, const ClockPair& clock)
{
    char text[32];
    if (!clock.known) {
        std::snprintf(text, sizeof text, "%9.1f", static_cast<double>(board_ms) / 1000.0);
        return text;
    }
    const std::int64_t wall = clock.wall_ms + (board_ms - clock.board_ms);
    const std::time_t seconds = static_cast<std::time_t>(wall / 1000);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    std::snprintf(text, sizeof text, "%02d:%02d:%02d.%d", local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>((wall % 1000) / 100));
    return text;
}

std::vector<std::string> transcript_rows(const CallStory& call, const ClockPair& clock)
{
    std::vector<std::string> rows;
    std::size_t prompt = 0;
    std::size_t entry = 0;
    for (const LineEvent& e : call.events) {
        std::string what;
        switch (e.kind) {
        case EventKind::ring: what = "the phone rings (the caller waits up to " + std::to_string(e.number) + " rings)"; break;
        case EventKind::answer: what = "Vornline answers"; break;
        case EventKind::play:
        case EventKind::playfail:
            if (prompt < call.prompts.size()) what = prompt_row(call.prompts[prompt++]);
            break;
        case EventKind::collect: what = "listens for an extension"; break;
        case EventKind::collectend:
            if (entry < call.entries.size()) what = entry_row(call.entries[entry++]);
            break;
        case EventKind::keys: what = "the caller presses " + e.text; break;
        case EventKind::dial: what = "dials " + e.text + " (" + dial_meaning(e.text) + ")"; break;
        case EventKind::hangup: what = "the caller hangs up"; break;
        case EventKind::hook:
            if (e.number == 0) what = "Vornline hangs up";
            break;
        default: break;
        }
        if (!what.empty()) rows.push_back(wall_time(e.ms, clock) + "  " + what);
    }
    return rows;
}

const char* role_name(PromptRole role)
{
    switch (role) {
    case PromptRole::greeting: return "greeting";
    case PromptRole::retry: return "retry request";
    case PromptRole::transfer: return "transfer voice";
    case PromptRole::goodbye: return "goodbye";
    case PromptRole::other: break;
    }
    return "prompt";
}

const char* reason_text(long reason)
{
    switch (reason) {
    case 512: return "to the end";
    case 1: return "cut short by a key";
    case 4:
    case 8: return "cut off: the caller hung up";
    case 32: return "stopped at the time limit";
    default: break;
    }
    return "stopped";
}

}  // namespace demo
