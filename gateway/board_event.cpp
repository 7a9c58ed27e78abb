// The board's event lines (see board_event.h), read by simboard's own reader.
#include "board_event.h"

#include "event_line.h"

namespace zelgate {

bool parse_board_event(std::string_view text, BoardEvent& out) {
    out = BoardEvent{};
    simboard::LineEvent e;
    if (!simboard::parse_stamped_event(text, e)) return false;
    out.ms = e.ms;
    using K = simboard::EventKind;
    switch (e.kind) {
    case K::answer: out.kind = BoardEventKind::Answer; break;
    case K::hook: out.kind = e.number == 1 ? BoardEventKind::HookOff : BoardEventKind::HookOn; break;
    case K::playend: out.kind = BoardEventKind::PlayEnd; break;
    case K::dial: out.kind = BoardEventKind::Dial; break;
    case K::status: out.kind = BoardEventKind::Status; break;
    case K::play:
    case K::audio:
        // Rates the resampler is not asked to take are not trusted.
        if (e.number >= 1000 && e.number <= 48000) {
            out.kind = e.kind == K::play ? BoardEventKind::Play : BoardEventKind::Audio;
            out.rate = static_cast<int>(e.number);
        }
        break;
    case K::error:
        out.kind = BoardEventKind::Error;
        out.rest = e.text;
        return true;
    default: break;
    }
    if (out.kind == BoardEventKind::Other) return true;
    out.line = e.line;
    out.rest = e.text;
    return true;
}

}  // namespace zelgate
