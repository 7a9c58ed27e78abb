// The stand-in board's event lines as the gateway reads them: "<ms> <kind> <line> <rest>".
// Parsing only; what an event means for a call is decided in the gateway.
#pragma once

#include <string>
#include <string_view>

namespace zelgate {

enum class BoardEventKind { Other, Answer, HookOn, HookOff, Play, PlayEnd, Dial, Audio, Status, Error };

struct BoardEvent {
    long ms = -1;
    BoardEventKind kind = BoardEventKind::Other;
    int line = 0;          // 1-4, 0 when the event names no line
    int rate = 0;          // play and audio: samples per second
    std::string rest;      // dial: the dial string; audio: the base64; status: the state
};

// False for a line that is not "<ms> <word> ..." with a whole stamp; an unknown word or a
// line number out of range gives kind Other (the board may say more than we act on).
bool parse_board_event(std::string_view text, BoardEvent& out);

}  // namespace zelgate
