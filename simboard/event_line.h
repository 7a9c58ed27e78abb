// The board's event lines as a controller reads them (docs/simboard.md, "Board to
// controller"), after the stamp. The demo's run log and the SIP gateway read them alike.
#pragma once

#include <string>
#include <string_view>

namespace simboard {

enum class EventKind {
    open, openfail, close,
    hook, wait, answer,
    play, playend, playfail,
    collect, collectend, clear,
    dial, dialend,
    status, audio, error,
    ring, keys, hangup,  // a controller's own ring, keys and hang-up, as a log records them
    other,
};

struct LineEvent {
    long ms = -1;
    EventKind kind = EventKind::other;
    int line = 0;     // 1-4; 0 when the event names no line
    long number = 0;  // play, audio: rate in Hz; playend, collectend: reason; wait, ring: rings;
                      // hook: 1 off-hook, 0 on-hook
    std::string text; // play, playfail: path; audio: the base64 samples; collectend: digits;
                      // dial: dial string;
                      // keys: keys; status: state; open, close: device; error, other: whole text
};

// One event from its text without the stamp ("play 1 8000 C:\v\a.vox"), or a
// controller's own action written as "caller ring 1 4", "caller keys 1 1234" or
// "caller hangup 1". Text that does not have the shape of its kind comes back as
// EventKind::other with the whole text.
LineEvent parse_event(long ms, std::string_view text);

// A whole line as the board sends it, "<ms> <event>" (a CR before the line end is
// dropped); false when it has no whole, non-negative stamp of at most twelve digits, or
// nothing after it.
bool parse_stamped_event(std::string_view line, LineEvent& out);

}  // namespace simboard
